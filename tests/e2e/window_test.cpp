// The main window as the user meets it: its frame, every control's place,
// size and text, the help text, the keyboard (Tab, Alt accelerators, Enter and
// Esc), the interval field's byte limit, and the three ways to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "expected/help_text.h"

using namespace e2e;

namespace {

struct Expected {
    const char* name;
    int left, top, width, height;
    const char* text;  // UTF-8; nullptr: not checked here
};

// The designed places, in client coordinates.
const std::vector<Expected> kControls = {
    {"banner", 0, 0, 591, 33, "◆このソフトは Jw_cadのフォルダ関連レジストリ値を設定し続けます◆"},
    {"jwwLabel", 8, 40, 151, 13, "JWWファイルのフォルダ："},
    {"otherLabel", 8, 64, 143, 13, "他ファイルのフォルダ："},
    {"figureLabel", 8, 88, 156, 13, "図形ファイルのフォルダ："},
    {"intervalLabel", 8, 120, 91, 13, "検索割込時間："},
    {"secondsLabel", 168, 120, 13, 13, "秒"},
    {"jwwField", 168, 36, 377, 21, nullptr},
    {"jwwBrowse", 544, 35, 43, 22, "参照"},
    {"otherField", 168, 60, 377, 21, nullptr},
    {"otherBrowse", 544, 59, 43, 22, "参照"},
    {"figureField", 168, 84, 377, 21, nullptr},
    {"figureBrowse", 544, 83, 43, 22, "参照"},
    {"helpMemo", 200, 112, 385, 121, nullptr},
    {"startButton", 80, 240, 113, 25, "開始(&S)"},
    {"stopButton", 240, 240, 113, 25, "中断(&E)"},
    {"exitButton", 400, 240, 113, 25, "終了(&X)"},
    {"statusLine", 0, 272, 591, 19, nullptr},
    {"intervalField", 104, 116, 57, 21, nullptr},
    {"autoStartBox", 8, 144, 185, 17, "起動時に自動的に開始"},
    {"startMinimisedBox", 8, 168, 185, 17, "起動時アイコン化(最小化)"},
};

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        jw::DeleteAll();
        app_ = std::make_unique<App>(box_.ExePath());
        ASSERT_TRUE(app_->Started());
    }
    void TearDown() override { jw::DeleteAll(); }

    App& app() { return *app_; }

    // The tab stops in their order.
    std::vector<HWND> TabOrder() {
        return {app().FolderField(0),     app().BrowseButton(0), app().FolderField(1),
                app().BrowseButton(1),    app().FolderField(2),  app().BrowseButton(2),
                app().HelpMemo(),         app().StartButton(),   app().StopButton(),
                app().ExitButton(),       app().IntervalField(), app().AutoStartBox(),
                app().StartMinimisedBox()};
    }

    // Keys are queued input: once a Tab has moved the focus on from the
    // field, every key sent before it has been handled.
    void DrainKeysFrom(HWND edit) {
        app().Key(VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return app().Focused() != edit; }));
    }

    Sandbox box_;
    std::unique_ptr<App> app_;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

TEST_F(Window, FrameHasItsCaptionSizePlaceAndBorder) {
    HWND main = app().Main();
    EXPECT_EQ(L"Dirmind Ver.1.00", app().Text(main));
    EXPECT_EQ(L"TForm1", ClassOf(main));
    RECT client = app().MainClientRect();
    EXPECT_EQ(591, client.right - client.left);
    EXPECT_EQ(291, client.bottom - client.top);
    RECT frame{};
    GetWindowRect(main, &frame);
    EXPECT_EQ(192, frame.left);
    EXPECT_EQ(107, frame.top);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(Window, EveryControlIsAtItsPlaceWithItsText) {
    EXPECT_EQ(kControls.size(), app().Children().size());
    for (const Expected& c : kControls) {
        SCOPED_TRACE(c.name);
        HWND hwnd =
            std::string(c.name) == "statusLine" ? app().StatusLine() : app().ChildAt(c.left, c.top);
        ASSERT_NE(nullptr, hwnd);
        RECT r = app().ClientRectOf(hwnd);
        EXPECT_EQ(c.left, r.left);
        EXPECT_EQ(c.top, r.top);
        EXPECT_EQ(c.width, r.right - r.left);
        EXPECT_EQ(c.height, r.bottom - r.top);
        if (c.text) {
            EXPECT_EQ(W(c.text), app().Text(hwnd));
        }
    }
    // The edits start empty apart from the interval, which the window's
    // showing fills in; the check boxes are clear.
    EXPECT_EQ(L"", app().Text(app().FolderField(0)));
    EXPECT_FALSE(app().Checked(app().AutoStartBox()));
    EXPECT_FALSE(app().Checked(app().StartMinimisedBox()));
}

TEST_F(Window, HelpTextHasItsThirtySevenLines) {
    std::string expected;
    for (std::size_t i = 0; i < std::size(kExpectedHelpLines); ++i) {
        if (i > 0) expected += "\r\n";
        expected += kExpectedHelpLines[i];
    }
    ASSERT_EQ(37u, std::size(kExpectedHelpLines));
    EXPECT_EQ(W(expected), app().Text(app().HelpMemo()));
    const LONG style = GetWindowLongW(app().HelpMemo(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
}

TEST_F(Window, FirstFocusIsEdit1) {
    SetForegroundWindow(app().Main());
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == app().FolderField(0); }));
}

TEST_F(Window, FocusComesBackAfterMinimiseAndRestore) {
    // The focus moves inside the program, as by the user.
    app().Focus(app().FolderField(1));
    app().Key(VK_TAB);
    app().Key(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return app().Focused() == app().FolderField(2); }));
    ShowWindow(app().Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app().Main()) != FALSE; }));
    ShowWindow(app().Main(), SW_RESTORE);
    SetForegroundWindow(app().Main());
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == app().FolderField(2); }));
}

TEST_F(Window, TabWalksThirteenStopsAndShiftTabWalksBack) {
    const std::vector<HWND> order = TabOrder();
    for (HWND h : order) ASSERT_NE(nullptr, h);
    // Stop is disabled while idle; enabled here, all thirteen stops take part.
    EnableWindow(app().StopButton(), TRUE);
    app().Focus(order[0]);
    ASSERT_EQ(order[0], app().Focused());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        app().Key(VK_TAB);
        HWND expected = order[i % order.size()];
        EXPECT_TRUE(WaitFor([&] { return app().Focused() == expected; }, 3000)) << "Tab step " << i;
    }
    for (std::size_t i = order.size(); i-- > 0;) {
        app().Key(VK_TAB, {VK_SHIFT});
        EXPECT_TRUE(WaitFor([&] { return app().Focused() == order[i]; }, 3000))
            << "Shift+Tab to stop " << i;
    }
}

TEST_F(Window, TabSkipsDisabledControls) {
    ASSERT_FALSE(app().Enabled(app().StopButton()));
    app().Focus(app().StartButton());
    app().Key(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == app().ExitButton(); }));
    app().Key(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == app().StartButton(); }));
}

TEST_F(Window, EnterAndEscapeDoNothing) {
    app().Focus(app().FolderField(0));
    app().Key(VK_RETURN);
    app().Key(VK_ESCAPE);
    app().Focus(app().HelpMemo());
    app().Key(VK_RETURN);
    app().Key(VK_ESCAPE);
    // Tab from the help text shows that the keys before it were handled.
    app().Key(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == app().StartButton(); }));
    EXPECT_TRUE(app().Running());
    EXPECT_TRUE(IsWindowVisible(app().Main()));
}

TEST_F(Window, IntervalFieldTakesEightBytesWhenTyped) {
    HWND edit4 = app().IntervalField();
    app().SetText(edit4, L"");
    app().Focus(edit4);
    app().Type(L"1234567890");
    DrainKeysFrom(edit4);
    EXPECT_EQ(L"12345678", app().Text(edit4));

    app().SetText(edit4, L"");
    app().Focus(edit4);
    app().Type(L"1あいうえお");
    DrainKeysFrom(edit4);
    EXPECT_EQ(L"1あいう", app().Text(edit4));
}

TEST_F(Window, IntervalFieldTakesEightBytesWhenPasted) {
    const std::wstring text = L"ABCDEFGHIJ";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(nullptr, data);
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    ASSERT_NE(nullptr, SetClipboardData(CF_UNICODETEXT, data));
    CloseClipboard();

    HWND edit4 = app().IntervalField();
    app().SetText(edit4, L"");
    app().Focus(edit4);
    app().Key('V', {VK_CONTROL});
    DrainKeysFrom(edit4);
    EXPECT_EQ(L"ABCDEFGH", app().Text(edit4));
    // A paste into a full field adds nothing.
    app().Focus(edit4);
    app().Key(VK_END);
    app().Key('V', {VK_CONTROL});
    DrainKeysFrom(edit4);
    EXPECT_EQ(L"ABCDEFGH", app().Text(edit4));
}

TEST_F(Window, ExitButtonEndsTheProcessWithCodeZero) {
    app().Click(app().ExitButton());
    EXPECT_EQ(std::optional<DWORD>(0), app().WaitForExit());
}

TEST_F(Window, CloseBoxEndsTheProcessWithCodeZero) {
    app().CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app().WaitForExit());
}

TEST_F(Window, AltXEndsTheProcessWithCodeZero) {
    app().Focus(app().FolderField(0));
    app().Key('X', {VK_MENU});
    EXPECT_EQ(std::optional<DWORD>(0), app().WaitForExit());
}

}  // namespace

TEST_F(Window, WhileWatchingTabWalksTheControlsThatStayEnabled) {
    const std::wstring folder = box_.MakeFolder(L"watched");
    app().SetText(app().FolderField(0), folder);
    app().SetText(app().IntervalField(), L"3600");
    app().Click(app().StartButton());
    ASSERT_TRUE(WaitFor([&] { return app().Enabled(app().StopButton()); }));

    const std::vector<HWND> order = {app().HelpMemo(), app().StopButton(), app().ExitButton(),
                                     app().AutoStartBox(), app().StartMinimisedBox()};
    app().Focus(order[0]);
    ASSERT_EQ(order[0], app().Focused());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        app().Key(VK_TAB);
        HWND expected = order[i % order.size()];
        EXPECT_TRUE(WaitFor([&] { return app().Focused() == expected; }, 3000)) << "Tab step " << i;
    }
    app().Key(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitFor([&] { return app().Focused() == order.back(); }, 3000));
}
