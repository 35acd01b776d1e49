// The watch in the real program: folders typed into the window, Start and
// Stop clicked, Jw_cad's values changed from outside and read back.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "driver.h"

using namespace e2e;

namespace {

const std::wstring kStarted = W("検索開始します...");
const std::wstring kResumed = W("検索を再開します...");
const std::wstring kStopped = W("中断しました。各設定を行い[開始]クリックでリスタートです");
const std::wstring kFolderMissing = W("指定フォルダが存在しません。中断をして再指定して下さい");

std::wstring WithoutBackslash(const std::wstring& folder) {
    return folder.substr(0, folder.size() - 1);
}

bool ValueIs(const std::wstring& name, const std::wstring& expected) {
    return jw::Get(name) == std::optional<std::wstring>(expected);
}

class WatchE2E : public ::testing::Test {
protected:
    void SetUp() override { jw::DeleteAll(); }
    void TearDown() override { jw::DeleteAll(); }

    // Types the folders and the interval and clicks Start.
    void Start(App& app, const std::wstring& file, const std::wstring& fileC,
               const std::wstring& interval) {
        app.SetText(app.FolderField(0), file);
        app.SetText(app.FolderField(1), fileC);
        app.SetText(app.FolderField(2), L"");
        app.SetText(app.IntervalField(), interval);
        app.Click(app.StartButton());
        // Stop is enabled once the folders have answered and the watch runs.
        ASSERT_TRUE(WaitFor([&] { return app.Enabled(app.StopButton()); }));
    }

    Sandbox box;
};

TEST_F(WatchE2E, AValueChangedFromOutsideIsWrittenBackWithinOneInterval) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    const std::wstring other = box.MakeFolder(L"Other");
    jw::Set(L"ZUKEI", L"C:\\Untouched");
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    Start(app, jww, other, L"1");
    EXPECT_EQ(kStarted, app.Status());
    EXPECT_TRUE(app.Enabled(app.StopButton()));
    EXPECT_FALSE(app.Enabled(app.FolderField(0)));

    // The first pass creates the key and writes both configured folders.
    ASSERT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 5000));
    EXPECT_TRUE(ValueIs(L"FileC", WithoutBackslash(other)));
    EXPECT_TRUE(WaitFor([&] { return app.Status() == kResumed; }, 3000));

    // Changed from outside: back within one interval (1 s) plus the pass. The
    // two writes may be told apart, each with a pass of its own.
    jw::Set(L"File", L"C:\\Elsewhere");
    jw::SetDword(L"FileC", 3);
    EXPECT_TRUE(WaitFor(
        [&] {
            return ValueIs(L"File", WithoutBackslash(jww)) &&
                   ValueIs(L"FileC", WithoutBackslash(other));
        },
        1000 + 1500));
    DWORD type = 0;
    EXPECT_EQ(std::optional<std::wstring>(WithoutBackslash(other)), jw::Get(L"FileC", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_TRUE(ValueIs(L"ZUKEI", L"C:\\Untouched"));
}

TEST_F(WatchE2E, AMissingFolderIsReportedAndNothingIsWritten) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    const std::wstring gone = box.MakeFolder(L"Gone");
    jw::Set(L"File", L"C:\\Elsewhere");
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    Start(app, jww, gone, L"0.5");
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));

    EXPECT_TRUE(WaitFor([&] { return app.Status() == kFolderMissing; }, 3000));
    // A pass may have taken the folder's last answer, given before it went;
    // from the report on, several intervals go by without any write, for
    // none of the values.
    jw::DeleteAll();
    jw::Set(L"File", L"C:\\Elsewhere");
    EXPECT_FALSE(WaitFor([&] { return !ValueIs(L"File", L"C:\\Elsewhere"); }, 1500));
    EXPECT_EQ(std::nullopt, jw::Get(L"FileC"));
    EXPECT_EQ(kFolderMissing, app.Status());

    // Once the folder is back, the next pass writes.
    ASSERT_TRUE(CreateDirectoryW(gone.c_str(), nullptr));
    EXPECT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 3000));
    EXPECT_TRUE(ValueIs(L"FileC", WithoutBackslash(gone)));
}

TEST_F(WatchE2E, StartWithoutAnyFolderShowsTheErrorBoxAndFocusesTheFirstField) {
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.SetText(app.FolderField(0), L"   ");
    app.SetText(app.FolderField(1), L"");
    app.SetText(app.FolderField(2), W("\xE3\x80\x80"));  // a full-width space
    app.Click(app.StartButton());
    HWND error = app.WaitForWindow(W("エラー"));
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(W("フォルダの指定を行って下さい"), app.MessageText(error));
    app.PressButton(error, L"OK");
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.FolderField(0); }));
    EXPECT_EQ(L"", app.Text(app.FolderField(0)));
    EXPECT_EQ(L"", app.Text(app.FolderField(2)));
    EXPECT_TRUE(app.Enabled(app.StartButton()));
    EXPECT_FALSE(app.Enabled(app.StopButton()));
    EXPECT_EQ(std::nullopt, jw::Get(L"File"));
}

TEST_F(WatchE2E, ATypedFolderNameShiftJisCannotWriteIsRefusedAtStart) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    box.MakeFolder(L"Cafe");  // what "Café" would turn into
    const std::wstring cafe = box.MakeFolder(W("Caf\xC3\xA9"));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.SetText(app.FolderField(0), jww);
    app.SetText(app.FolderField(1), cafe);
    app.SetText(app.IntervalField(), L"0.01");
    app.Click(app.StartButton());
    HWND error = app.WaitForWindow(W("エラー"));
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(W("このフォルダ名は使用できない文字を含んでいます。再指定して下さい"),
              app.MessageText(error));
    app.PressButton(error, L"OK");
    EXPECT_TRUE(WaitFor([&] { return app.Focused() == app.FolderField(1); }));
    EXPECT_TRUE(app.Enabled(app.StartButton()));
    EXPECT_EQ(std::nullopt, jw::Get(L"FileC"));
}

TEST_F(WatchE2E, StopUnlocksTheInputsAndNoFurtherPassRuns) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    Start(app, jww, L"", L"0.2");
    ASSERT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 3000));

    app.Click(app.StopButton());
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStopped; }, 3000));
    EXPECT_TRUE(app.Enabled(app.FolderField(0)));
    EXPECT_TRUE(app.Enabled(app.IntervalField()));
    EXPECT_TRUE(app.Enabled(app.BrowseButton(0)));
    EXPECT_TRUE(app.Enabled(app.StartButton()));
    EXPECT_FALSE(app.Enabled(app.StopButton()));

    jw::Set(L"File", L"C:\\Elsewhere");
    EXPECT_FALSE(WaitFor([&] { return !ValueIs(L"File", L"C:\\Elsewhere"); }, 1500));
    EXPECT_EQ(kStopped, app.Status());
}

// True when nothing changes the key within timeoutMs.
bool KeyStaysUnchanged(int timeoutMs) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad\\jw_win\\Folder", 0, KEY_NOTIFY,
                      &key) != ERROR_SUCCESS) {
        return false;
    }
    HANDLE changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const bool quiet =
        RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME,
                                changed, TRUE) == ERROR_SUCCESS &&
        WaitForSingleObject(changed, static_cast<DWORD>(timeoutMs)) == WAIT_TIMEOUT;
    RegCloseKey(key);
    CloseHandle(changed);
    return quiet;
}

TEST_F(WatchE2E, ChangesFromOutsideAreCorrectedAtOnceUntilStop) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    const std::wstring other = box.MakeFolder(L"Other");
    jw::Set(L"File", WithoutBackslash(jww));
    jw::Set(L"FileC", WithoutBackslash(other));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    // No interval pass comes within this test.
    Start(app, jww, other, L"3600");

    for (const wchar_t* elsewhere : {L"C:\\Elsewhere", L"C:\\Again"}) {
        jw::Set(L"File", elsewhere);
        EXPECT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 1000));
        jw::Set(L"FileC", elsewhere);
        EXPECT_TRUE(WaitFor([&] { return ValueIs(L"FileC", WithoutBackslash(other)); }, 1000));
    }
    // Once corrected, nothing writes the key again: its own writes start no
    // series of passes.
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kResumed; }, 3000));
    EXPECT_TRUE(KeyStaysUnchanged(1500));

    // The key deleted and created again with another value.
    jw::DeleteAll();
    jw::Set(L"File", L"C:\\Reinstalled");
    EXPECT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 1000));

    app.Click(app.StopButton());
    ASSERT_TRUE(WaitFor([&] { return app.Status() == kStopped; }, 3000));
    jw::Set(L"File", L"C:\\Elsewhere");
    EXPECT_FALSE(WaitFor([&] { return !ValueIs(L"File", L"C:\\Elsewhere"); }, 1500));
}

TEST_F(WatchE2E, AStreamOfChangesThatNeedNoWriteNeverHoldsTheWindowBack) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    jw::Set(L"File", WithoutBackslash(jww));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    Start(app, jww, L"", L"3600");

    // Another program keeps writing the value with its drive letter in either
    // case: every write is told, and every pass finds nothing to write.
    std::wstring variant = WithoutBackslash(jww);
    std::atomic<bool> writing{true};
    std::atomic<int> writes{0};
    std::thread writer([&] {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad\\jw_win\\Folder", 0, KEY_SET_VALUE,
                      &key);
        for (; writing; ++writes) {
            variant[0] ^= 0x20;
            RegSetValueExW(key, L"File", 0, REG_SZ, reinterpret_cast<const BYTE*>(variant.c_str()),
                           static_cast<DWORD>((variant.size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(key);
    });
    EXPECT_TRUE(WaitFor([&] { return writes > 2000; }, 10000));

    // The window answers within a second, and Stop ends the watch.
    DWORD_PTR length = 0;
    EXPECT_TRUE(
        SendMessageTimeoutW(app.Main(), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length));
    app.Click(app.StopButton());
    EXPECT_TRUE(WaitFor([&] { return app.Status() == kStopped; }, 2000));
    writing = false;
    writer.join();
}

TEST_F(WatchE2E, WhileJwCadsKeyIsMissingOnlyTheKeysOnTheWayToItAreFollowed) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    Start(app, jww, L"", L"3600");
    // With the folder gone no pass creates the key, and a pass would say so.
    ASSERT_TRUE(RemoveDirectoryW(jww.c_str()));

    // Another program writes elsewhere under SOFTWARE: no pass runs.
    HKEY other = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\DirmindE2E\\Deep", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr));
    for (DWORD i = 0; i < 100; ++i) {
        RegSetValueExW(other, L"Counter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i),
                       sizeof(i));
    }
    RegCloseKey(other);
    EXPECT_FALSE(WaitFor([&] { return app.Status() != kStarted; }, 1000));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\DirmindE2E");

    // Jw_cad's keys made one level at a time are followed down to the last.
    ASSERT_TRUE(CreateDirectoryW(jww.c_str(), nullptr));
    for (const wchar_t* path :
         {L"SOFTWARE\\Jw_cad", L"SOFTWARE\\Jw_cad\\jw_win", L"SOFTWARE\\Jw_cad\\jw_win\\Folder"}) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegCloseKey(key);
    }
    EXPECT_TRUE(WaitFor([&] { return ValueIs(L"File", WithoutBackslash(jww)); }, 5000));
}

}  // namespace
