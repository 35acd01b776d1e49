// How long the main window leaves a message unanswered while Start waits for
// a folder on a share that answers in 1.5 s (the folder test held in the
// probe, the rest of the window real). Another thread sends the window a
// message every 10 ms and times each round trip, from the click until Start
// has been accepted.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/layout.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "win32/folder_probe.h"
#include "win32/main_window.h"

int main() {
    constexpr DWORD kShareAnswersMs = 1500;
    Win32Application app(L"Dirmind");
    FakeFileSystem files;
    FakeRegistry registry;
    Win32FolderProbe probe([](const std::wstring&) {
        Sleep(kShareAnswersMs);
        return true;
    });
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    MainWindow window(GetModuleHandleW(nullptr), {app, files, probe, registry});
    if (!window.Create()) return 1;
    app.SetMainWindow(window.Handle());
    const HWND hwnd = window.Handle();

    std::atomic<double> longestMs{0};
    std::atomic<double> acceptedAfterMs{-1};
    std::atomic<int> rounds{0};
    std::thread measure([&] {
        // Until the window is shown.
        for (int i = 0; i < 500 && !IsWindowVisible(hwnd); ++i) Sleep(10);
        SendMessageW(GetDlgItem(hwnd, layout::kJwwField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"\\\\server\\share\\"));
        const HWND start = GetDlgItem(hwnd, layout::kStartButton);
        const HWND stop = GetDlgItem(hwnd, layout::kStopButton);
        const auto clicked = std::chrono::steady_clock::now();
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(layout::kStartButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(start));
        while (std::chrono::steady_clock::now() - clicked < std::chrono::seconds(6)) {
            const auto sent = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            const auto back = std::chrono::steady_clock::now();
            ++rounds;
            longestMs = std::max(longestMs.load(),
                                 std::chrono::duration<double, std::milli>(back - sent).count());
            if (IsWindowEnabled(stop)) {
                acceptedAfterMs = std::chrono::duration<double, std::milli>(back - clicked).count();
                break;
            }
            Sleep(10);
        }
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    });
    app.Run();
    measure.join();
    if (acceptedAfterMs < 0) {
        std::printf("Start was not accepted within 6 s\n");
        return 1;
    }
    std::printf(
        "share answering in %lu ms: Start accepted %.0f ms after the click; longest unanswered "
        "message %.1f ms over %d round trips\n",
        static_cast<unsigned long>(kShareAnswersMs), acceptedAfterMs.load(), longestMs.load(),
        rounds.load());
    return 0;
}
