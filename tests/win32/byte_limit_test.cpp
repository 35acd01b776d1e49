// The interval field's byte limit on a real edit control: typing and pasting
// stop at the limit in Shift-JIS bytes; text set by the program is not cut.
#include "win32/byte_limit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "test_window.h"

namespace {

using namespace adapter_test;

class ByteLimit : public ::testing::Test {
protected:
    void SetUp() override {
        edit_ = window_.AddChild(L"EDIT", ES_AUTOHSCROLL, 320);
        ASSERT_NE(nullptr, edit_);
        LimitEditBytes(edit_, 8);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(edit_, WM_CHAR, c, 1);
    }
    std::wstring Text() {
        wchar_t text[64] = {};
        GetWindowTextW(edit_, text, 64);
        return text;
    }
    void Paste(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        SendMessageW(edit_, WM_PASTE, 0, 0);
    }

    TestWindow window_;
    HWND edit_ = nullptr;
};

TEST_F(ByteLimit, TypingStopsAtEightBytes) {
    Type(L"1234567890");
    EXPECT_EQ(L"12345678", Text());
    // With the field full, typing over a selection still works.
    SendMessageW(edit_, EM_SETSEL, 0, 2);
    Type(L"ab");
    EXPECT_EQ(L"ab345678", Text());
    SendMessageW(edit_, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(L"a345678", Text());
}

TEST_F(ByteLimit, FullWidthCharactersCountTwo) {
    Type(L"1\u3042\u3044\u3046\u3048");  // 1あいうえ
    EXPECT_EQ(L"1\u3042\u3044\u3046", Text());
    Type(L"x");
    EXPECT_EQ(L"1\u3042\u3044\u3046x", Text());
    Type(L"\uFF76");  // a half-width katakana is one byte
    EXPECT_EQ(L"1\u3042\u3044\u3046x", Text());
}

TEST_F(ByteLimit, PastingKeepsWhatFitsOfTheFirstLine) {
    Paste(L"ABCDEFGHIJ");
    EXPECT_EQ(L"ABCDEFGH", Text());
    SetWindowTextW(edit_, L"12");
    SendMessageW(edit_, EM_SETSEL, 2, 2);
    Paste(L"\u3042\u3044\u3046\u3048\r\nsecond line");
    EXPECT_EQ(L"12\u3042\u3044\u3046", Text());
}

TEST_F(ByteLimit, TextSetByTheProgramIsNotCut) {
    SetWindowTextW(edit_, L"0.0123456789");
    EXPECT_EQ(L"0.0123456789", Text());
    SendMessageW(edit_, EM_SETSEL, 12, 12);
    Type(L"1");
    EXPECT_EQ(L"0.0123456789", Text());
}

}  // namespace
