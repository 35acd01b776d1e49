// The main window as the user meets it: its frame, every control's place,
// size and text, the help text, the keyboard (Tab, Alt accelerators, Enter and
// Esc), the interval field's byte limit, and the three ways to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "driver.h"
#include "expected/help_text.h"

using namespace e2e;

namespace {

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
    EXPECT_EQ(MainCaption(), app().Text(main));
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
    EXPECT_EQ(layout::Controls().size(), app().Children().size());
    for (const layout::Control& c : layout::Controls()) {
        SCOPED_TRACE(c.name);
        HWND hwnd = app().Control(c.id);
        ASSERT_NE(nullptr, hwnd);
        RECT r = app().ClientRectOf(hwnd);
        EXPECT_EQ(c.left, r.left);
        EXPECT_EQ(c.top, r.top);
        EXPECT_EQ(c.width, r.right - r.left);
        EXPECT_EQ(c.height, r.bottom - r.top);
        // Fixed texts only: the fields, the help text and the status line
        // are filled in at run time.
        if (*c.text) {
            EXPECT_EQ(FromCp932(c.text), app().Text(hwnd));
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

TEST_F(Window, FirstFocusIsTheJwwFolderField) {
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
    HWND intervalField = app().IntervalField();
    app().SetText(intervalField, L"");
    app().Focus(intervalField);
    app().Type(L"1234567890");
    DrainKeysFrom(intervalField);
    EXPECT_EQ(L"12345678", app().Text(intervalField));

    app().SetText(intervalField, L"");
    app().Focus(intervalField);
    app().Type(L"1あいうえお");
    DrainKeysFrom(intervalField);
    EXPECT_EQ(L"1あいう", app().Text(intervalField));
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

    HWND intervalField = app().IntervalField();
    app().SetText(intervalField, L"");
    app().Focus(intervalField);
    app().Key('V', {VK_CONTROL});
    DrainKeysFrom(intervalField);
    EXPECT_EQ(L"ABCDEFGH", app().Text(intervalField));
    // A paste into a full field adds nothing.
    app().Focus(intervalField);
    app().Key(VK_END);
    app().Key('V', {VK_CONTROL});
    DrainKeysFrom(intervalField);
    EXPECT_EQ(L"ABCDEFGH", app().Text(intervalField));
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
