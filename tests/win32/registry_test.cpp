// RegistryKey over Win32Registry in the real registry: the shared registry
// contract, code page 932 at the boundary, and handles released. Each case
// works under its own key below HKCU\SOFTWARE\DirmindTest and removes it.
#include "win32/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "contract/registry_contract.h"
#include "watch/registry_key.h"

namespace {

// A key of its own below HKCU\SOFTWARE\DirmindTest, removed at the end.
class Win32Bench : public registry_contract::Bench {
public:
    Win32Bench() {
        base_ = L"SOFTWARE\\DirmindTest\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter_);
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        main_ = std::string("SOFTWARE\\DirmindTest\\") + std::to_string(GetCurrentProcessId()) +
                "_" + std::to_string(counter_) + "\\jw_win\\";
    }
    ~Win32Bench() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\DirmindTest");  // only when empty
    }

    IRegistry& Registry() override { return reg_; }
    std::string MainKey() const override { return main_; }
    void Put(const std::string& name, std::uint32_t type, const std::string& data) override {
        if (IsText(type)) {
            const std::wstring wide(data.begin(), data.end());
            SetRaw(Widen(name), type, wide.data(),
                   static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
        } else {
            SetRaw(Widen(name), type, data.data(), static_cast<DWORD>(data.size()));
        }
    }
    std::optional<Value> Get(const std::string& name) const override {
        BYTE buffer[1024] = {};
        DWORD type = 0;
        DWORD size = sizeof(buffer);
        if (RegGetValueW(HKEY_CURRENT_USER, Sub().c_str(), Widen(name).c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (!IsText(type)) return Value{type, std::string(reinterpret_cast<char*>(buffer), size)};
        const auto* text = reinterpret_cast<const wchar_t*>(buffer);
        return Value{type, std::string(text, text + size / sizeof(wchar_t))};
    }
    bool HasKey(const std::string& subkey) const override {
        return KeyExists(subkey.empty() ? base_ + L"\\jw_win"
                                        : base_ + L"\\jw_win\\" + Widen(subkey));
    }

    const std::wstring& Base() const { return base_; }
    std::wstring Sub() const { return base_ + L"\\jw_win\\Folder"; }

    // Sets a value directly through the API, creating the subkey.
    void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Sub().c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }
    void SetText(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
        SetRaw(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    // Reads a value back through the API: its type and its UTF-16 bytes.
    std::optional<std::pair<DWORD, std::wstring>> GetRaw(const std::wstring& name) const {
        wchar_t buffer[512] = {};
        DWORD type = 0;
        DWORD size = sizeof(buffer);
        if (RegGetValueW(HKEY_CURRENT_USER, Sub().c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &type, buffer, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::make_pair(type, std::wstring(buffer, size / sizeof(wchar_t)));
    }
    bool KeyExists(const std::wstring& path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

private:
    static bool IsText(std::uint32_t type) {
        return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    }
    static std::wstring Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

    Win32Registry reg_;
    std::wstring base_;
    std::string main_;
    static inline int counter_ = 0;
};

std::unique_ptr<registry_contract::Bench> MakeWin32Bench() {
    return std::make_unique<Win32Bench>();
}

using registry_contract::RegistryContract;
INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract, ::testing::Values(&MakeWin32Bench));

class Win32RegistryTest : public ::testing::Test {
protected:
    std::optional<std::string> Read(const std::string& name, const std::string& def = "DEF") {
        RegistryKey key(reg_, main_);
        return key.ReadText("Folder", name, def);
    }

    Win32Bench bench_;
    IRegistry& reg_ = bench_.Registry();
    const std::string main_ = bench_.MainKey();
};

// D:\ソフト\図形 in code page 932; 0x5C appears as a second byte.
const std::string kSjis = "D:\\\x83\x5C\x83\x74\x83\x67\\\x90\x7D\x8C\x60";
const std::wstring kWide = L"D:\\\x30BD\x30D5\x30C8\\\x56F3\x5F62";

TEST_F(Win32RegistryTest, StringsComeBackInCodePage932) {
    bench_.SetText(L"File", kWide);
    EXPECT_EQ(kSjis, Read("File"));
}

TEST_F(Win32RegistryTest, WriteStoresCodePage932AsUtf16OfLengthPlusOne) {
    {
        RegistryKey key(reg_, main_);
        EXPECT_TRUE(key.WriteText("Folder", "File", kSjis));
    }
    auto file = bench_.GetRaw(L"File");
    ASSERT_TRUE(file);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), file->first);
    EXPECT_EQ(kWide + L'\0', file->second);  // the text and one terminator
    EXPECT_EQ(kSjis, Read("File"));
}

// The value of a fresh handle: the handle table hands out the lowest free
// slot, so it grows only when handles stay open.
std::uintptr_t ProbeHandle() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegCloseKey(key);
    return reinterpret_cast<std::uintptr_t>(key);
}

TEST_F(Win32RegistryTest, HandlesAreReleasedOnEveryPath) {
    const DWORD number = 7;
    bench_.SetRaw(L"Dword", REG_DWORD, &number, sizeof(number));
    const std::uintptr_t before = ProbeHandle();
    ASSERT_NE(0u, before);
    for (int i = 0; i < 200; ++i) {
        RegistryKey key(reg_, main_);
        EXPECT_TRUE(key.WriteText("Folder", "File", "C:\\Jww"));
        EXPECT_EQ("C:\\Jww", key.ReadText("Folder", "File", ""));
        EXPECT_EQ("d", key.ReadText("Missing", "File", "d"));
        EXPECT_FALSE(key.ReadText("Folder", "Dword", ""));
    }
    // 1000 keys were opened; a leak of even one per round shows here.
    EXPECT_LT(ProbeHandle(), before + 100);
}

TEST_F(Win32RegistryTest, AKeyThatCannotBeOpenedFails) {
    // A key name longer than the registry allows (255 characters).
    EXPECT_FALSE(RegistryKey(reg_, main_ + std::string(300, 'x')).IsOpen());
}

}  // namespace
