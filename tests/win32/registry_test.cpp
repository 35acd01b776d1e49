// RegistryKey over Win32Registry in the real registry: the read and write
// rules, code page 932 at the boundary, and handles released. Each case works
// under its own key below HKCU\SOFTWARE\DirmindTest and removes it.
#include "win32/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "watch/registry_key.h"

namespace {

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = L"SOFTWARE\\DirmindTest\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter_);
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        main_ = std::string("SOFTWARE\\DirmindTest\\") + std::to_string(GetCurrentProcessId()) +
                "_" + std::to_string(counter_) + "\\jw_win\\";
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\DirmindTest");  // only when empty
    }

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
    std::string Read(const std::string& name, const std::string& def = "DEF") {
        RegistryKey key(reg_, main_);
        return key.ReadText("Folder", name, def);
    }

    Win32Registry reg_;
    std::wstring base_;
    std::string main_;
    static inline int counter_ = 0;
};

// D:\ソフト\図形 in code page 932; 0x5C appears as a second byte.
const std::string kSjis = "D:\\\x83\x5C\x83\x74\x83\x67\\\x90\x7D\x8C\x60";
const std::wstring kWide = L"D:\\\x30BD\x30D5\x30C8\\\x56F3\x5F62";

TEST_F(Win32RegistryTest, OpeningCreatesTheKeyWithItsTrailingBackslash) {
    { RegistryKey key(reg_, main_); }
    EXPECT_TRUE(KeyExists(base_ + L"\\jw_win"));
    EXPECT_FALSE(KeyExists(Sub()));
}

TEST_F(Win32RegistryTest, MissingSubkeyAndMissingValueGiveTheDefault) {
    EXPECT_EQ("DEF", Read("File"));
    SetText(L"FileC", L"C:\\A");
    EXPECT_EQ("DEF", Read("File"));
}

TEST_F(Win32RegistryTest, StringsComeBackInCodePage932UpToTheFirstZero) {
    SetText(L"File", kWide);
    SetText(L"ZUKEI", L"%USERPROFILE%\\Zukei", REG_EXPAND_SZ);
    const wchar_t twoStrings[] = L"C:\\First\0C:\\Second";
    SetRaw(L"FileC", REG_SZ, twoStrings, sizeof(twoStrings));
    EXPECT_EQ(kSjis, Read("File"));
    EXPECT_EQ("%USERPROFILE%\\Zukei", Read("ZUKEI"));
    EXPECT_EQ("C:\\First", Read("FileC"));
}

TEST_F(Win32RegistryTest, AStringWithoutTerminatorIsReadWhole) {
    const wchar_t text[] = {L'C', L':', L'\\', L'X'};
    SetRaw(L"File", REG_SZ, text, sizeof(text));
    EXPECT_EQ("C:\\X", Read("File"));
}

TEST_F(Win32RegistryTest, SizeZeroIsEmptyWhateverTheType) {
    SetRaw(L"File", REG_SZ, L"", 0);
    SetRaw(L"FileC", REG_DWORD, nullptr, 0);
    EXPECT_EQ("", Read("File"));
    EXPECT_EQ("", Read("FileC"));
}

TEST_F(Win32RegistryTest, NumbersBinaryAndStringListsFail) {
    const DWORD number = 7;
    SetRaw(L"Dword", REG_DWORD, &number, sizeof(number));
    SetRaw(L"Binary", REG_BINARY, "C:\\", 3);
    const wchar_t list[] = L"C:\\A\0";
    SetRaw(L"Multi", REG_MULTI_SZ, list, sizeof(list));
    RegistryKey key(reg_, main_);
    EXPECT_THROW(key.ReadText("Folder", "Dword", ""), RegistryError);
    EXPECT_THROW(key.ReadText("Folder", "Binary", ""), RegistryError);
    EXPECT_THROW(key.ReadText("Folder", "Multi", ""), RegistryError);
}

TEST_F(Win32RegistryTest, WriteCreatesTheSubkeyAndStoresAStringOfLengthPlusOne) {
    {
        RegistryKey key(reg_, main_);
        key.WriteText("Folder", "File", kSjis);
        key.WriteText("Folder", "FileC", "");
    }
    auto file = GetRaw(L"File");
    ASSERT_TRUE(file);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), file->first);
    EXPECT_EQ(kWide + L'\0', file->second);  // the text and one terminator
    auto empty = GetRaw(L"FileC");
    ASSERT_TRUE(empty);
    EXPECT_EQ(std::wstring(1, L'\0'), empty->second);
    EXPECT_EQ(kSjis, Read("File"));
}

TEST_F(Win32RegistryTest, WriteReplacesAValueOfAnotherType) {
    const DWORD number = 7;
    SetRaw(L"File", REG_DWORD, &number, sizeof(number));
    SetText(L"FileC", L"%X%", REG_EXPAND_SZ);
    {
        RegistryKey key(reg_, main_);
        key.WriteText("Folder", "File", "C:\\Jww");
        key.WriteText("Folder", "FileC", "%X%");
    }
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetRaw(L"File")->first);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetRaw(L"FileC")->first);
    EXPECT_EQ("C:\\Jww", Read("File"));
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
    SetRaw(L"Dword", REG_DWORD, &number, sizeof(number));
    const std::uintptr_t before = ProbeHandle();
    ASSERT_NE(0u, before);
    for (int i = 0; i < 200; ++i) {
        RegistryKey key(reg_, main_);
        key.WriteText("Folder", "File", "C:\\Jww");
        EXPECT_EQ("C:\\Jww", key.ReadText("Folder", "File", ""));
        EXPECT_EQ("d", key.ReadText("Missing", "File", "d"));
        EXPECT_THROW(key.ReadText("Folder", "Dword", ""), RegistryError);
    }
    // 1000 keys were opened; a leak of even one per round shows here.
    EXPECT_LT(ProbeHandle(), before + 100);
}

TEST_F(Win32RegistryTest, AKeyThatCannotBeOpenedFails) {
    // A key name longer than the registry allows (255 characters).
    EXPECT_THROW(RegistryKey(reg_, main_ + std::string(300, 'x')), RegistryError);
}

}  // namespace
