// The version resource of the built Dirmind.exe, read back with the version
// API as Explorer's file properties read it: numbers and texts agree with the
// one version definition.
#include "app/version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

// The executable built beside these tests; a Unix path is reached through
// Wine's drive Z:.
std::wstring ExePath() {
    std::wstring path;
    for (const char* c = DIRMIND_EXE_PATH; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path[0] == L'\\' ? L"Z:" + path : path;
}

std::wstring Widened(const char* ascii) {
    std::wstring out;
    for (const char* c = ascii; *c; ++c) out += static_cast<wchar_t>(*c);
    return out;
}

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring exe = ExePath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_NE(0u, size) << "no version resource, error " << GetLastError();
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data_.data()));
    }

    // A text of the Japanese, Unicode string table; empty when missing.
    std::wstring Text(const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = L"\\StringFileInfo\\041104b0\\" + name;
        if (!VerQueryValueW(data_.data(), key.c_str(), &value, &length) || length == 0) return {};
        return static_cast<const wchar_t*>(value);
    }

    std::vector<unsigned char> data_;
};

TEST_F(VersionResource, NumbersAreTheVersionOfTheSource) {
    // "M.mm": major M, minor mm.
    const std::string text = DIRMIND_VERSION;
    const WORD major = static_cast<WORD>(std::stoi(text.substr(0, text.find('.'))));
    const WORD minor = static_cast<WORD>(std::stoi(text.substr(text.find('.') + 1)));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(minor, major), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask);  // no debug or pre-release build
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed->dwFileOS);
}

TEST_F(VersionResource, TextsInTheJapaneseTable) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(sizeof(Translation), length);
    EXPECT_EQ(0x0411, translation->language);
    EXPECT_EQ(1200, translation->codePage);

    EXPECT_EQ(Widened(DIRMIND_VERSION), Text(L"FileVersion"));
    EXPECT_EQ(Widened(DIRMIND_VERSION), Text(L"ProductVersion"));
    EXPECT_EQ(L"Dirmind", Text(L"ProductName"));
    EXPECT_EQ(L"Dirmind - Jw_cadのフォルダ設定を保つツール", Text(L"FileDescription"));
    EXPECT_EQ(L"Dirmind.exe", Text(L"OriginalFilename"));
    EXPECT_EQ(L"Dirmind", Text(L"InternalName"));
    EXPECT_EQ(L"Copyright (C) 2026 The Dirmind developers", Text(L"LegalCopyright"));
}

}  // namespace
