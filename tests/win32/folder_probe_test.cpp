// Folder tests on the thread pool, their answers back on the window's thread
// as messages; Start's wait for them with the real message pump.
#include "win32/folder_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "fakes/fake_registry.h"
#include "fakes/fake_toolkit.h"
#include "test_window.h"
#include "watch/folder_watch.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace {

using adapter_test::PumpUntil;

struct Answers : IFolderAnswerSink {
    void OnFolderAnswer(std::uint32_t ticket, bool exists) noexcept override {
        answers[ticket] = exists;
    }
    std::map<std::uint32_t, bool> answers;
};

TEST(Win32FolderProbeTest, AnswersComeBackToTheWindowsThreadAndTellFoldersFromFiles) {
    Win32Application app(L"Dirmind");
    Win32FolderProbe probe;
    Answers sink;
    probe.Listen(&sink);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string dir = ToCp932(temp);
    const std::wstring file =
        std::wstring(temp) + L"dm-probe-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    UniqueHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::map<std::uint32_t, std::string> paths = {{1, dir},
                                                        {2, dir.substr(0, dir.size() - 1)},
                                                        {3, ToCp932(file)},
                                                        {4, dir + "missing\\"},
                                                        {5, ToCp932(file) + "\\below\\"},
                                                        {6, ""}};
    // Another program's message to the probe's window is no answer.
    PostMessageW(FindWindowExW(HWND_MESSAGE, nullptr, L"DirmindFolderProbe", nullptr), WM_APP + 1,
                 7, 1);
    for (const auto& [ticket, path] : paths) probe.Begin(ticket, path);
    EXPECT_TRUE(sink.answers.empty()) << "never inside Begin";
    EXPECT_TRUE(PumpUntil(
        app, [&] { return sink.answers.size() == paths.size(); }, 5000));
    DeleteFileW(file.c_str());
    EXPECT_EQ((std::map<std::uint32_t, bool>{
                  {1, true}, {2, true}, {3, false}, {4, false}, {5, false}, {6, false}}),
              sink.answers);
}

// A share held on an event: Start takes an answer that comes within its
// limit and refuses a folder that gives none, the window's messages running
// meanwhile; a test still blocked does not hold the probe's end.
TEST(Win32FolderProbeTest, StartWaitsForAShareWithinItsLimitWhileTheWindowAnswers) {
    struct Gate {
        UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::atomic<int> started{0};
        std::atomic<int> ended{0};
    };
    const auto gate = std::make_shared<Gate>();
    const std::string share = "\\\\server\\share\\";
    Win32Application app(L"Dirmind");
    adapter_test::TestWindow window;
    FakeRegistry registry;
    FakeTimer timer;
    FakeChangeSignal changes;
    struct : IWatchObserver {
        void OnPassReport(PassReport) override {}
    } observer;
    {
        Win32FolderProbe probe([gate](const std::wstring&) {
            ++gate->started;
            WaitForSingleObject(gate->release.get(), 20000);
            ++gate->ended;
            return true;
        });
        FolderWatch watch(registry, probe, timer, changes, app, observer);
        const FolderNamesExact exact{true, true, true};

        // The share answers after about 0.3 s; the window's timer ticks
        // meanwhile.
        SetTimer(window.Handle(), adapter_test::kTimerId, 20, nullptr);
        std::thread answer([gate] {
            Sleep(300);
            SetEvent(gate->release.get());
        });
        const auto start = adapter_test::Clock::now();
        const StartCheck accepted = watch.CheckStart({share, "", ""}, exact, 5);
        const long long waited = adapter_test::MsSince(start);
        answer.join();
        KillTimer(window.Handle(), adapter_test::kTimerId);
        EXPECT_EQ(StartProblem::None, accepted.problem);
        EXPECT_GE(waited, 250);
        EXPECT_GT(window.ticks, 3) << "messages dispatched during the wait";

        // The share stops answering: refused once the limit has passed.
        ResetEvent(gate->release.get());
        const auto again = adapter_test::Clock::now();
        const StartCheck refused = watch.CheckStart({"", share, ""}, exact, 5);
        EXPECT_EQ(StartProblem::FolderMissing, refused.problem);
        EXPECT_EQ(1u, refused.folder);
        EXPECT_GE(adapter_test::MsSince(again), FolderAnswers::kWaitLimitMs - 20);
        EXPECT_LT(adapter_test::MsSince(again), FolderAnswers::kWaitLimitMs + 1500);
        EXPECT_EQ(2, gate->started.load());
        EXPECT_EQ(1, gate->ended.load());
    }
    EXPECT_EQ(1, gate->ended.load()) << "gone without waiting for the blocked test";
    SetEvent(gate->release.get());
    for (int i = 0; i < 500 && gate->ended < 2; ++i) Sleep(10);
    EXPECT_EQ(2, gate->ended.load());
}

}  // namespace
