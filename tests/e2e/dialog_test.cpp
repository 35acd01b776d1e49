// The browse buttons with the real file-open dialog: its caption, preset name
// and place, the folder it hands back, and cancelling it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

using namespace e2e;

namespace {

const std::wstring kTitle = L"フォルダを選択して下さい";
const std::wstring kPresetName = L"\u3000";
constexpr int kFileNameCombo = 0x47c;  // cmb13: the file-name box of the Explorer-style dialog
constexpr int kFileNameEdit = 0x480;   // edt1: the same box in older versions

HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    return box ? box : GetDlgItem(dialog, kFileNameEdit);
}

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Started()); }

    // Clicks the browse button of that folder row and returns the dialog once
    // it is shown.
    HWND Browse(int row) {
        app.Click(app.BrowseButton(row));
        HWND dialog = app.WaitForWindow(kTitle);
        if (dialog) WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000);
        return dialog;
    }
    bool Closed(HWND dialog) {
        return WaitFor([&] { return !IsWindow(dialog) && app.Enabled(app.Main()); });
    }
    // Replaces the preset name in the file-name box with text, as typed.
    void TypeName(HWND dialog, const std::wstring& text) {
        app.KeyTo(dialog, VK_END);
        app.KeyTo(dialog, VK_BACK);
        app.TypeTo(dialog, text);
    }

    Sandbox box;
    App app{box.ExePath()};
};

TEST_F(FolderDialogTest, OpensWithItsCaptionAndPresetNameCentredOnTheMonitor) {
    HWND dialog = Browse(0);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(kTitle, app.Text(dialog));
    EXPECT_TRUE(WaitFor([&] { return app.Text(FileNameBox(dialog)) == kPresetName; }));
    EXPECT_FALSE(app.Enabled(app.Main())) << "the main window is disabled while the dialog is open";

    RECT frame{};
    GetWindowRect(dialog, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(app.Main(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    EXPECT_NEAR(work.left + (work.right - work.left - width) / 2, frame.left, 1);
    EXPECT_NEAR(work.top + (work.bottom - work.top - height) / 3, frame.top, 1);

    app.KeyTo(dialog, VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.BrowseButton(0); }))
        << "the focus goes back to the browse button";
}

TEST_F(FolderDialogTest, TypedNameGivesItsFolderWithTrailingBackslash) {
    // ソ ends in the byte 0x5C in code page 932.
    const std::wstring folder = box.MakeFolder(L"図面ソ");
    HWND dialog = Browse(0);
    ASSERT_NE(nullptr, dialog);
    TypeName(dialog, folder + L"plan.jww");
    app.KeyTo(dialog, VK_RETURN);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_TRUE(WaitFor([&] { return app.Text(app.FolderField(0)) == folder; }))
        << U8(app.Text(app.FolderField(0)));
}

TEST_F(FolderDialogTest, PresetNameConfirmsTheFolderOfTheField) {
    const std::wstring plain = box.MakeFolder(L"Site A");
    const std::wstring so = box.MakeFolder(L"図面ソ");
    // The field's text names the folder the dialog opens in: with or without
    // its trailing "\", and ending in a character whose second byte is "\".
    const std::wstring texts[] = {plain, so.substr(0, so.size() - 1)};
    const std::wstring expected[] = {plain, so};
    for (int i = 0; i < 2; ++i) {
        app.SetText(app.FolderField(2), texts[i]);
        HWND dialog = Browse(2);
        ASSERT_NE(nullptr, dialog);
        app.KeyTo(dialog, VK_RETURN);
        ASSERT_TRUE(Closed(dialog));
        EXPECT_TRUE(WaitFor([&] { return app.Text(app.FolderField(2)) == expected[i]; }))
            << U8(texts[i]) << " gave " << U8(app.Text(app.FolderField(2)));
    }
}

TEST_F(FolderDialogTest, CancelKeepsTheTypedText) {
    const std::wstring typed = L"D:\\途中まで入力";
    app.SetText(app.FolderField(1), typed);
    app.SetText(app.FolderField(0), L"C:\\one\\");

    HWND dialog = Browse(1);
    ASSERT_NE(nullptr, dialog);
    TypeName(dialog, box.Dir());
    app.KeyTo(dialog, VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog)) << "Esc";

    dialog = Browse(1);
    ASSERT_NE(nullptr, dialog);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closed(dialog)) << "the Cancel button";

    dialog = Browse(1);
    ASSERT_NE(nullptr, dialog);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(Closed(dialog)) << "the close box";

    EXPECT_EQ(typed, app.Text(app.FolderField(1)));
    EXPECT_EQ(L"C:\\one\\", app.Text(app.FolderField(0)));
    EXPECT_EQ(L"", app.Text(app.FolderField(2)));
}

TEST_F(FolderDialogTest, AFolderNameOutsideShiftJisIsRefusedWithTheErrorBox) {
    const std::wstring folder = box.MakeFolder(L"M\u00FCller \uD55C");
    app.SetText(app.FolderField(0), L"C:\\kept\\");
    HWND dialog = Browse(0);
    ASSERT_NE(nullptr, dialog);
    TypeName(dialog, folder + L"plan.jww");
    app.KeyTo(dialog, VK_RETURN);

    HWND errorBox = app.WaitForWindow(W("エラー"));
    ASSERT_NE(nullptr, errorBox);
    EXPECT_EQ(W("このフォルダ名は使用できない文字を含んでいます。再指定して下さい"),
              app.MessageText(errorBox));
    app.PressButton(errorBox, L"OK");
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(errorBox) && app.Enabled(app.Main()); }));
    EXPECT_EQ(L"C:\\kept\\", app.Text(app.FolderField(0)));
}

TEST_F(FolderDialogTest, MissingFolderIsRefusedAndTheDialogStaysOpen) {
    app.SetText(app.FolderField(0), L"kept");
    HWND dialog = Browse(0);
    ASSERT_NE(nullptr, dialog);
    TypeName(dialog, box.Dir() + L"無い\\a.jww");
    app.KeyTo(dialog, VK_RETURN);

    HWND warning = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        auto others = app.OtherWindows({app.Main(), dialog});
        warning = others.empty() ? nullptr : others.front();
        return warning != nullptr;
    })) << "the dialog warns";
    EXPECT_TRUE(IsWindow(dialog));
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(warning); }));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";

    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(L"kept", app.Text(app.FolderField(0)));
}

}  // namespace
