// The keyboard focus between Start and Stop, the focus after an auto-start
// error, the settings kept when the session ends, and a saved position on no
// screen, all against the real Dirmind.exe.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

const std::wstring kStarted = W("検索開始します...");
const std::wstring kStopped = W("中断しました。各設定を行い[開始]クリックでリスタートです");

std::string Dat(int left, int top, const std::wstring& file, const std::wstring& fileC,
                const std::string& interval, bool autoStart, bool minimized) {
    return std::to_string(left) + "\r\n" + std::to_string(top) + "\r\n" + ToCp932(file) + "\r\n" +
           ToCp932(fileC) + "\r\n\r\n" + interval + "\r\n" + (autoStart ? "1" : "0") + "\r\n" +
           (minimized ? "1" : "0") + "\r\n";
}

RECT FrameRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// What the system sends every top-level window at log-off: the query, then
// the end. The answer to the query; the process is gone after the end.
std::optional<LRESULT> EndSession(App& app) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(app.Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                             5000, &answer)) {
        return std::nullopt;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app.Main(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    return static_cast<LRESULT>(answer);
}

class FocusSessionE2E : public ::testing::Test {
protected:
    void SetUp() override { jw::DeleteAll(); }
    void TearDown() override { jw::DeleteAll(); }
    Sandbox box;
};

TEST_F(FocusSessionE2E, SpaceOnTheFocusedButtonStartsStopsAndStartsAgain) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    box.WriteDat(Dat(100, 100, jww, L"", "60", false, false));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.Focus(app.StartButton());
    ASSERT_EQ(app.StartButton(), app.Focused());
    app.Key(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStarted; }));
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.StopButton(); }));
    app.Key(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStopped; }));
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.StartButton(); }));
    app.Key(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStarted; }));
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.StopButton(); }));

    // Alt+E, then Alt+S from a folder field: the same hand-over.
    app.Key('E', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStopped; }));
    app.Focus(app.FolderField(0));
    app.Key('S', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStarted; }));
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.StopButton(); }));
    EXPECT_TRUE(app.Running());
}

TEST_F(FocusSessionE2E, AutoStartWithTheSecondFolderMissingFocusesTheSecondField) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    box.WriteDat(Dat(100, 100, jww, box.Dir() + L"Gone\\", "5", true, false));
    App app(box.ExePath(), false);
    HWND error = app.WaitForWindow(W("エラー"), 20000);
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(W("指定したフォルダが存在しません。再指定して下さい"), app.MessageText(error));
    app.PressButton(error, L"OK");
    ASSERT_TRUE(app.WaitForMain());
    SetForegroundWindow(app.Main());
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.FolderField(1); }));
    EXPECT_TRUE(app.Enabled(app.StartButton()));
}

TEST_F(FocusSessionE2E, TheSessionsEndSavesTheSettingsIdleAndWhileWatchingMinimised) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    {
        App app(box.ExePath());
        ASSERT_TRUE(app.Started());
        app.SetText(app.FolderField(0), jww);
        app.SetText(app.IntervalField(), L"2.5");
        app.SetChecked(app.AutoStartBox(), true);
        const RECT r = FrameRect(app.Main());
        EXPECT_EQ(std::optional<LRESULT>(TRUE), EndSession(app));
        EXPECT_TRUE(app.WaitForExit().has_value());
        EXPECT_EQ(Dat(r.left, r.top, jww, L"", "2.5", true, false), box.ReadDat());
    }
    // Comes up watching (auto-start); minimised by hand, the option set.
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStarted; }));
    const RECT r = FrameRect(app.Main());
    app.SetChecked(app.StartMinimisedBox(), true);
    ShowWindow(app.Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app.Main()) != FALSE; }));
    EXPECT_EQ(std::optional<LRESULT>(TRUE), EndSession(app));
    EXPECT_TRUE(app.WaitForExit().has_value());
    EXPECT_EQ(Dat(r.left, r.top, jww, L"", "2.5", true, true), box.ReadDat());
}

TEST_F(FocusSessionE2E, APositionOnNoScreenComesUpInViewAPartlyVisibleOneIsKept) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    {
        // Far off and minimised: restored, the window lies in the work area.
        const std::string farOff =
            Dat(work.right + 5000, work.bottom + 3000, L"", L"", "5", false, true);
        box.WriteDat(farOff);
        App app(box.ExePath());
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(WaitFor([&] { return IsIconic(app.Main()) != FALSE; }));
        EXPECT_EQ(farOff, box.ReadDat()) << "the file is not rewritten at start-up";
        ShowWindow(app.Main(), SW_RESTORE);
        ASSERT_TRUE(WaitFor([&] { return IsIconic(app.Main()) == FALSE; }));
        const RECT r = FrameRect(app.Main());
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        app.CloseBox();
        EXPECT_EQ(std::optional<DWORD>(0), app.WaitForExit());
    }
    // Hanging off the left edge: kept exactly.
    box.WriteDat(Dat(-200, 40, L"", L"", "5", false, false));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    const RECT r = FrameRect(app.Main());
    EXPECT_EQ(-200, r.left);
    EXPECT_EQ(40, r.top);
}

}  // namespace
