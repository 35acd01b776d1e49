// The window shown at start-up (defaults, load, interval rule, controls,
// auto-start, minimising) and closed at the end (fields from the controls,
// save, the overflow that keeps the window open).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/texts.h"
#include "fakes/form_fixture.h"

namespace {

constexpr char kDat[] = "C:\\Tools\\Dirmind.dat";

std::string Dat(const std::string& left, const std::string& top, const std::string& file,
                const std::string& interval, const std::string& autoStart,
                const std::string& minimized) {
    return left + "\r\n" + top + "\r\n" + file + "\r\n\r\n\r\n" + interval + "\r\n" + autoStart +
           "\r\n" + minimized + "\r\n";
}

class ShowCloseTest : public ::testing::Test {
protected:
    void Show() {
        f.Run([this] { f.form.FormShow(); });
    }
    void Close() { f.window.Close(); }
    // The interval field after a start with the interval line holding text.
    std::string ShownInterval(const std::string& text) {
        FakeForm g;
        g.files.PutFile(kDat, Dat("0", "0", "", text, "0", "0"));
        g.Run([&g] { g.form.FormShow(); });
        return g.edit4.text;
    }

    FakeForm f;
};

TEST_F(ShowCloseTest, WithoutAFileTheDefaultsAreShown) {
    f.edit1.text = "designer text";
    Show();
    EXPECT_EQ(kDat, f.form.SettingsPath);
    EXPECT_EQ("", f.edit1.text);
    EXPECT_EQ("", f.edit2.text);
    EXPECT_EQ("", f.edit3.text);
    EXPECT_EQ("5", f.edit4.text);
    EXPECT_FALSE(f.check1.checked);
    EXPECT_FALSE(f.check2.checked);
    EXPECT_FALSE(f.button5.enabled);
    EXPECT_TRUE(f.button4.enabled);
    EXPECT_EQ(std::vector<std::string>{texts::kStatusReady}, f.status.shown);
    EXPECT_EQ(192, f.window.left);
    EXPECT_EQ(107, f.window.top);
    EXPECT_FALSE(f.window.minimized);
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_FALSE(f.files.FileExists(kDat)) << "created only at close";
}

TEST_F(ShowCloseTest, TheSettingsFileLiesBesideTheExecutable) {
    f.app.exeName = "D:\\\x83\x5C\x83\x74\x83\x67.v1\\Dirmind";  // ソフト.v1: a "\" second byte
    Show();
    EXPECT_EQ("D:\\\x83\x5C\x83\x74\x83\x67.v1\\Dirmind.dat", f.form.SettingsPath);
}

TEST_F(ShowCloseTest, TheFileFillsTheControlsAndMovesTheWindow) {
    f.files.PutFile(kDat, "-30\r\n40\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n0.25\r\n0\r\n0\r\n");
    Show();
    EXPECT_EQ(-30, f.window.left);
    EXPECT_EQ(40, f.window.top);
    EXPECT_EQ("C:\\A\\", f.edit1.text);
    EXPECT_EQ("C:\\B\\", f.edit2.text);
    EXPECT_EQ("C:\\C\\", f.edit3.text);
    EXPECT_EQ("0.25", f.edit4.text);
}

TEST_F(ShowCloseTest, TheIntervalRuleKeepsBothBoundsAndRepairsTheRest) {
    EXPECT_EQ("0.01", ShownInterval("0.01"));
    EXPECT_EQ("3600", ShownInterval("3600"));
    EXPECT_EQ("2.25", ShownInterval("2.25"));
    for (const char* bad : {"0.0099", "3600.5", "0.005", "4000", "0", "-1", "abc", "5,5", "INF",
                            "-INF", "1e400", ""}) {
        EXPECT_EQ("5", ShownInterval(bad)) << bad;
    }
}

TEST_F(ShowCloseTest, AutoStartWithAMissingFolderShowsTheErrorAndStaysIdle) {
    f.files.PutFile(kDat, Dat("0", "0", "C:\\Gone\\", "5", "1", "1"));
    bool minimizedAtError = true;
    f.boxes.onError = [&](const std::string&) { minimizedAtError = f.window.minimized; };
    Show();
    EXPECT_EQ(std::vector<std::string>{texts::kErrorFolderMissing}, f.boxes.errors);
    EXPECT_FALSE(minimizedAtError) << "auto-start runs before minimising";
    EXPECT_EQ(&f.edit1, f.Focused());
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_FALSE(f.button5.enabled);
    EXPECT_TRUE(f.edit1.enabled);
    EXPECT_TRUE(f.window.minimized);
    EXPECT_EQ(texts::kStatusReady, f.status.text);
}

TEST_F(ShowCloseTest, AutoStartAndMinimiseComeUpWatching) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "2.5", "1", "1"));
    Show();
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_TRUE(f.timer.Armed());
    EXPECT_EQ(2500u, f.timer.interval);
    EXPECT_TRUE(f.button5.enabled);
    EXPECT_FALSE(f.edit1.enabled);
    EXPECT_TRUE(f.window.minimized);
    EXPECT_EQ((std::vector<std::string>{texts::kStatusReady, texts::kStatusStarted}),
              f.status.shown);
}

TEST_F(ShowCloseTest, MinimiseWithoutAutoStartStaysIdle) {
    f.files.PutFile(kDat, Dat("0", "0", "", "5", "0", "1"));
    Show();
    EXPECT_TRUE(f.window.minimized);
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_TRUE(f.check2.checked);
    EXPECT_FALSE(f.check1.checked);
}

TEST_F(ShowCloseTest, ARefusedTimerAtAutoStartEndsTheShowBeforeMinimising) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "5", "1", "1"));
    f.timer.refuse = true;
    Show();
    EXPECT_EQ(std::vector<std::string>{AppErrorText(texts::kMsgNoTimer)}, f.boxes.appErrors);
    EXPECT_FALSE(f.window.minimized);
}

TEST_F(ShowCloseTest, CloseSavesTheControlsAndThePosition) {
    Show();
    f.edit1.text = " C:\\Typed ";
    f.edit2.text = "not a folder";
    f.edit4.text = "2.5";
    f.check1.checked = true;
    f.window.left = 300;
    f.window.top = -20;
    Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ("300\r\n-20\r\n C:\\Typed \r\nnot a folder\r\n\r\n2.5\r\n1\r\n0\r\n",
              f.files.Content(kDat).value_or("<no file>"));
}

TEST_F(ShowCloseTest, ClosingWhileWatchingStopsTheTimerFirst) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "5", "1", "0"));
    Show();
    ASSERT_TRUE(f.timer.Armed());
    Close();
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(0u, f.timer.interval);
    EXPECT_EQ(Dat("0", "0", "C:\\CAD\\", "5", "1", "0"), f.files.Content(kDat));
}

TEST_F(ShowCloseTest, AnUnreadableIntervalIsSavedAsZeroAndComesBackAsFive) {
    Show();
    f.edit4.text = "abc";
    Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(Dat("192", "107", "", "0", "0", "0"), f.files.Content(kDat));

    FakeForm next;
    next.files = f.files;
    next.Run([&next] { next.form.FormShow(); });
    EXPECT_EQ("5", next.edit4.text);
}

TEST_F(ShowCloseTest, AnOverflowingIntervalAtCloseKeepsTheWindowOpenAndSavesNothing) {
    f.files.PutFolder("C:\\CAD");
    const std::string old = Dat("0", "0", "C:\\CAD\\", "5", "1", "0");
    f.files.PutFile(kDat, old);
    Show();
    f.edit4.text = "1e400";
    Close();
    EXPECT_EQ(std::vector<std::string>{AppErrorText(texts::kMsgOverflow)}, f.boxes.appErrors);
    EXPECT_FALSE(f.app.terminated);
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(old, f.files.Content(kDat));

    f.edit4.text = "7";
    Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(Dat("0", "0", "C:\\CAD\\", "7", "1", "0"), f.files.Content(kDat));
}

TEST_F(ShowCloseTest, TheSessionsEndSavesWhatACloseSavesAndNeverShowsABox) {
    f.files.PutFolder("C:\\CAD");
    const std::string old = Dat("0", "0", "C:\\CAD\\", "5", "1", "0");
    f.files.PutFile(kDat, old);
    Show();
    ASSERT_TRUE(f.timer.Armed());
    f.window.left = -40;
    f.check2.checked = true;
    f.form.SaveAtSessionEnd();
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_EQ(Dat("-40", "0", "C:\\CAD\\", "5", "1", "1"), f.files.Content(kDat));

    // The locked fields are saved as they read; an interval that does not
    // convert saves nothing and shows nothing.
    f.edit1.text = "C:\\New\\";
    f.edit4.text = "1e400";
    f.form.SaveAtSessionEnd();
    EXPECT_EQ(Dat("-40", "0", "C:\\CAD\\", "5", "1", "1"), f.files.Content(kDat));
    EXPECT_TRUE(f.boxes.appErrors.empty());
    EXPECT_TRUE(f.boxes.errors.empty());
}

TEST_F(ShowCloseTest, TheSessionsEndBeforeTheFirstShowingSavesNothing) {
    f.form.SaveAtSessionEnd();
    EXPECT_FALSE(f.files.FileExists(kDat));
}

}  // namespace
