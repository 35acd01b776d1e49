// The main window as the user meets it: its frame, the help text, the
// keyboard (Tab, Alt accelerators, Enter and Esc) and the three ways to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

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

    Sandbox box_;
    std::unique_ptr<App> app_;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

TEST_F(Window, FrameHasItsCaptionPlaceAndBorder) {
    HWND main = app().Main();
    EXPECT_EQ(MainCaption(), app().Text(main));
    EXPECT_EQ(L"TForm1", ClassOf(main));
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
