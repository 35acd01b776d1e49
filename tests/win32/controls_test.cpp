// The control adapters on real controls: texts as Shift-JIS, enabling, check
// state, the status line, and the focus moved on from a disabled control.
#include "win32/controls.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "test_window.h"
#include "win32/application.h"
#include "win32/text.h"

namespace {

using namespace adapter_test;

TEST(Controls, TextsRoundTripAsShiftJis) {
    TestWindow window;
    HWND editHandle = window.AddChild(L"EDIT", ES_AUTOHSCROLL, 301);
    HWND checkHandle = window.AddChild(L"BUTTON", BS_AUTOCHECKBOX, 302);
    HWND barHandle = window.AddChild(L"msctls_statusbar32", 0, 303);
    ASSERT_NE(nullptr, barHandle);
    int parts[] = {-1};
    SendMessageW(barHandle, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    // "C:\ソ表\" with the second bytes 0x5C of ソ and 表.
    const std::string folder = "C:\\\x83\x5C\x95\x5C\\";
    Win32Edit edit(editHandle);
    edit.SetText(folder);
    EXPECT_EQ(folder, edit.Text());
    EXPECT_EQ(L"C:\\\u30BD\u8868\\", ToWide(edit.Text()));
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(editHandle));
    edit.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(editHandle));

    Win32CheckBox check(checkHandle);
    EXPECT_FALSE(check.Checked());
    check.SetChecked(true);
    EXPECT_TRUE(check.Checked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(checkHandle, BM_GETCHECK, 0, 0));

    Win32StatusLine status(barHandle);
    const std::string searching = "\x8C\x9F\x8D\xF5\x92\x86\x82\xC5\x82\xB7...";  // 検索中です...
    status.Show(searching);
    wchar_t text[64] = {};
    GetWindowTextW(barHandle, text, 64);
    EXPECT_EQ(std::wstring(L"\u691C\u7D22\u4E2D\u3067\u3059..."), text);
}

TEST(Controls, DisablingTheFocusedControlMovesTheFocusOn) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    HWND first = window.AddChild(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 310);
    HWND second = window.AddChild(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 311);
    SetFocus(first);
    ASSERT_EQ(first, GetFocus());
    Win32Button button(first);
    button.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(first));
    EXPECT_EQ(second, GetFocus());
}

}  // namespace
