// The settings file beside the real Dirmind.exe: written at close, brought
// back at the next start with the window's position, auto-start and
// minimising; what the interval field holds at close; a file that another
// program holds, at the start and at the close.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

const std::wstring kReady = W("各設定を行い[開始]クリックでスタートです");
const std::wstring kStarted = W("検索開始します...");

// The eight lines of a settings file, each ended by CR LF.
std::string Dat(int left, int top, const std::wstring& file, const std::string& interval,
                bool autoStart, bool minimized) {
    return std::to_string(left) + "\r\n" + std::to_string(top) + "\r\n" + ToCp932(file) +
           "\r\n\r\n\r\n" + interval + "\r\n" + (autoStart ? "1" : "0") + "\r\n" +
           (minimized ? "1" : "0") + "\r\n";
}

// The system's words for an error, as the program's boxes quote them.
std::wstring Reason(DWORD error) {
    for (const DWORD language : {DWORD{MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)}, 0ul}) {
        wchar_t text[512];
        DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, language, text, 512, nullptr);
        while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
        if (n > 0) return std::wstring(text, n);
    }
    return L"";
}

// Another program's handle on the file, sharing nothing.
HANDLE HoldWithoutSharing(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

class SettingsE2E : public ::testing::Test {
protected:
    void SetUp() override { jw::DeleteAll(); }
    void TearDown() override { jw::DeleteAll(); }

    // Closes with the close box and waits for a clean end.
    static void CloseAndWait(App& app) {
        app.CloseBox();
        EXPECT_EQ(std::optional<DWORD>(0), app.WaitForExit());
    }

    Sandbox box;
};

TEST_F(SettingsE2E, AFolderNameOutsideShiftJisStillKeepsTheSettings) {
    const std::wstring dir = box.MakeFolder(L"Jos\u00E9 \uD55C");
    ASSERT_TRUE(CopyFileW(box.ExePath().c_str(), (dir + L"Dirmind.exe").c_str(), FALSE));
    const std::wstring cad = box.MakeFolder(L"CAD");
    const auto writeDat = [&](const std::string& bytes) {
        std::ofstream(std::filesystem::path(dir + L"Dirmind.dat"), std::ios::binary) << bytes;
    };
    const auto readDat = [&] {
        std::ifstream in(std::filesystem::path(dir + L"Dirmind.dat"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    writeDat(Dat(100, 120, cad, "2.5", false, false));
    App app(dir + L"Dirmind.exe");
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(cad, app.Text(app.FolderField(0))) << "read from beside the executable";
    EXPECT_EQ(L"2.5", app.Text(app.IntervalField()));
    app.SetText(app.IntervalField(), L"7");
    CloseAndWait(app);
    EXPECT_EQ(Dat(100, 120, cad, "7", false, false), readDat()) << "written there at close";
}

// Code page 932 would write "Café" as "Cafe", the name of another folder.
TEST_F(SettingsE2E, ATypedFolderNameShiftJisCannotWriteIsNeverSavedAsItsLookAlike) {
    const std::wstring cad = box.MakeFolder(L"CAD");
    const std::wstring typed = box.MakeFolder(L"Caf\u00E9");
    box.MakeFolder(L"Cafe");
    const std::string saved = Dat(150, 120, cad, "7", false, false);
    box.WriteDat(saved);
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.SetText(app.FolderField(0), typed);
    CloseAndWait(app);
    EXPECT_EQ(saved, box.ReadDat());
}

TEST_F(SettingsE2E, AFirstStartShowsTheDefaultsAndTheCloseWritesTheFile) {
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    for (int row = 0; row < 3; ++row) EXPECT_EQ(L"", app.Text(app.FolderField(row)));
    EXPECT_EQ(L"5", app.Text(app.IntervalField()));
    EXPECT_FALSE(app.Checked(app.AutoStartBox()));
    EXPECT_FALSE(app.Checked(app.StartMinimisedBox()));
    EXPECT_FALSE(app.Enabled(app.StopButton()));
    EXPECT_TRUE(app.Enabled(app.StartButton()));
    EXPECT_EQ(kReady, app.Status());
    EXPECT_FALSE(IsIconic(app.Main()));
    EXPECT_EQ(std::nullopt, box.ReadDat()) << "written only at close";

    const RECT r = WindowRect(app.Main());
    CloseAndWait(app);
    EXPECT_EQ(Dat(r.left, r.top, L"", "5", false, false), box.ReadDat());
}

TEST_F(SettingsE2E, ThePositionAndAShiftJisFolderComeBackAsSaved) {
    // ソ and 表 end in the byte "\", ポ in "|".
    const std::wstring folder = box.MakeFolder(W("ソフト表ポ"));
    const std::string saved = Dat(150, 120, folder, "0.01", false, false);
    box.WriteDat(saved);
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    const RECT r = WindowRect(app.Main());
    EXPECT_EQ(150, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(folder, app.Text(app.FolderField(0)));
    EXPECT_EQ(L"0.01", app.Text(app.IntervalField()));
    CloseAndWait(app);
    EXPECT_EQ(saved, box.ReadDat());
}

TEST_F(SettingsE2E, AutoStartAndMinimiseComeUpMinimisedAndWatching) {
    const std::wstring jww = box.MakeFolder(L"Jww");
    box.WriteDat(Dat(140, 110, jww, "60", true, true));
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(app.Main()) != FALSE; }));
    EXPECT_EQ(kStarted, app.Status());
    EXPECT_TRUE(app.Enabled(app.StopButton()));
    EXPECT_FALSE(app.Enabled(app.StartButton()));
    EXPECT_FALSE(app.Enabled(app.FolderField(0)));
    EXPECT_TRUE(app.Checked(app.AutoStartBox()));
    EXPECT_TRUE(app.Checked(app.StartMinimisedBox()));

    // Closed while minimised: the position saved is the restored one.
    CloseAndWait(app);
    EXPECT_EQ(Dat(140, 110, jww, "60", true, true), box.ReadDat());
}

TEST_F(SettingsE2E, AutoStartErrorWhileMinimisingHasATaskBarButtonThenTheWindowIsMinimised) {
    box.WriteDat(Dat(100, 100, box.Dir() + L"Gone\\", "5", true, true));
    App app(box.ExePath(), false);
    HWND error = app.WaitForWindow(W("エラー"), 20000);
    ASSERT_NE(nullptr, error);
    // The main window is not on screen yet: the box has a button of its own,
    // and comes up on the main window's monitor.
    const HWND owner = GetWindow(error, GW_OWNER);
    ASSERT_NE(nullptr, owner);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_NE(0, GetWindowLongW(error, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST),
              MonitorFromWindow(error, MONITOR_DEFAULTTONULL));
    app.PressButton(error, L"OK");

    ASSERT_TRUE(app.WaitForMain());
    EXPECT_EQ(owner, app.Main());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(app.Main()) != FALSE; }));
    EXPECT_EQ(kReady, app.Status());
    EXPECT_TRUE(app.Enabled(app.StartButton()));
    EXPECT_FALSE(app.Enabled(app.StopButton()));
    CloseAndWait(app);
}

// The error that ends the close reaches the application's error box; what is
// saved and when is MainForm's rule (unit tests).
TEST_F(SettingsE2E, AnOverflowingIntervalAtCloseIsShownInTheApplicationsBox) {
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.SetText(app.IntervalField(), L"1e400");
    app.CloseBox();
    HWND error = app.WaitForWindow(L"Dirmind");
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(W("浮動小数点数のオーバーフロー."), app.MessageText(error));
    app.PressButton(error, L"OK");
    EXPECT_FALSE(WaitFor([&] { return !app.Running(); }, 500));

    app.SetText(app.IntervalField(), L"2.5");
    CloseAndWait(app);
}

TEST_F(SettingsE2E, AFileHeldByAnotherProgramAtTheStartIsToldAndNeverWrittenOver) {
    const std::string saved = Dat(150, 120, L"", "7", false, false);
    box.WriteDat(saved);
    HANDLE holder = HoldWithoutSharing(box.DatPath());
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    App app(box.ExePath(), false);
    HWND error = app.WaitForWindow(L"Dirmind", 20000);
    CloseHandle(holder);  // from here on a save would succeed
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(W("設定ファイルを読み込めませんでした。今回の変更は保存されません") + L"\n" +
                  box.DatPath() + L"\n" + Reason(ERROR_SHARING_VIOLATION),
              app.MessageText(error));
    app.PressButton(error, L"OK");
    ASSERT_TRUE(app.WaitForMain());
    EXPECT_EQ(L"5", app.Text(app.IntervalField())) << "the defaults";
    app.SetText(app.IntervalField(), L"9");
    CloseAndWait(app);
    EXPECT_EQ(saved, box.ReadDat());
}

TEST_F(SettingsE2E, ASaveThatFailsAtTheCloseIsToldAndThePreviousFileStays) {
    const std::string saved = Dat(150, 120, L"", "7", false, false);
    box.WriteDat(saved);
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    app.SetText(app.IntervalField(), L"9");
    HANDLE holder = HoldWithoutSharing(box.DatPath());
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    app.Click(app.ExitButton());
    HWND error = app.WaitForWindow(L"Dirmind");
    const std::wstring text = error ? app.MessageText(error) : L"";
    if (error) app.PressButton(error, L"OK");
    const std::optional<DWORD> exitCode = app.WaitForExit();
    CloseHandle(holder);
    ASSERT_NE(nullptr, error);
    const std::wstring head = W("設定を保存できませんでした") + L"\n" + box.DatPath() + L"\n";
    EXPECT_TRUE(text == head + Reason(ERROR_SHARING_VIOLATION) ||
                text == head + Reason(ERROR_ACCESS_DENIED))
        << U8(text);
    EXPECT_EQ(std::optional<DWORD>(0), exitCode);
    EXPECT_EQ(saved, box.ReadDat());
}

}  // namespace
