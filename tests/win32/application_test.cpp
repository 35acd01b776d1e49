// The application adapter: the message pump inside a wait (clicks, Tab and
// accelerators, a quit), the message loop's end, and the program's name.
#include "win32/application.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "test_window.h"
#include "watch/event_loop.h"
#include "win32/text.h"

namespace {

using namespace adapter_test;

HWND gClickTarget = nullptr;

void CALLBACK PostClick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(gClickTarget, BM_CLICK, 0, 0);
}

void CALLBACK PostQuit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

TEST(MessagePump, ClickDuringAWaitIsHandledBeforeItReturns) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
    ASSERT_NE(nullptr, button);
    long long clickedAt = -1;
    const auto start = Clock::now();
    window.onClick = [&] { clickedAt = MsSince(start); };
    // The click comes 100 ms into the wait.
    gClickTarget = button;
    const UINT_PTR poster = SetTimer(nullptr, 0, 100, PostClick);
    ASSERT_NE(0u, poster);
    DispatchMessagesFor(app, 300);
    const long long returnedAt = MsSince(start);
    KillTimer(nullptr, poster);
    EXPECT_EQ(1, window.clicks);
    EXPECT_GE(clickedAt, 90);
    EXPECT_GE(returnedAt, 295);
    EXPECT_LE(clickedAt, returnedAt);
    EXPECT_FALSE(app.Terminated());
}

HWND gKeyTarget = nullptr;

void CALLBACK PostTab(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(gKeyTarget, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(gKeyTarget, WM_KEYUP, VK_TAB, 0xC0000001);
}

void CALLBACK PostAltS(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // What Alt+S becomes once translated: a system character with Alt down.
    PostMessageW(gKeyTarget, WM_SYSCHAR, L's', (1 << 29) | 1);
}

TEST(MessagePump, TabAndAcceleratorsWorkDuringAWait) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    SetWindowLongPtrW(window.Handle(), GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    app.SetMainWindow(window.Handle());
    HWND first = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100,
                                 24, window.Handle(), reinterpret_cast<HMENU>(INT_PTR{301}),
                                 GetModuleHandleW(nullptr), nullptr);
    HWND start = CreateWindowExW(
        0, L"BUTTON", L"\u958b\u59cb(&S)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10,
        40, 100, 24, window.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, start);
    SetFocus(first);
    ASSERT_EQ(first, GetFocus());

    gKeyTarget = first;
    const UINT_PTR tab = SetTimer(nullptr, 0, 50, PostTab);
    ASSERT_NE(0u, tab);
    DispatchMessagesFor(app, 200);
    KillTimer(nullptr, tab);
    EXPECT_EQ(start, GetFocus()) << "Tab inside the wait moves the focus on";

    SetFocus(first);
    const UINT_PTR alt = SetTimer(nullptr, 0, 50, PostAltS);
    ASSERT_NE(0u, alt);
    DispatchMessagesFor(app, 200);
    KillTimer(nullptr, alt);
    EXPECT_EQ(1, window.clicks) << "Alt+S inside the wait clicks its button";
}

TEST(MessagePump, QuitDuringAWaitIsRememberedButDoesNotEndIt) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    const auto start = Clock::now();
    const UINT_PTR quitter = SetTimer(nullptr, 0, 50, PostQuit);
    ASSERT_NE(0u, quitter);
    DispatchMessagesFor(app, 300);
    KillTimer(nullptr, quitter);
    EXPECT_GE(MsSince(start), 295);
    EXPECT_TRUE(app.Terminated());
}

TEST(MessagePump, RunEndsOnTerminateOrQuit) {
    {
        Win32Application app(L"Dirmind");
        TestWindow window;
        HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
        window.onClick = [&] { app.Terminate(); };
        PostMessageW(button, BM_CLICK, 0, 0);
        app.Run();
        EXPECT_EQ(1, window.clicks);
    }
    {
        Win32Application app(L"Dirmind");
        PostQuitMessage(0);
        app.Run();
        EXPECT_TRUE(app.Terminated());
    }
    {
        // A message sent from another thread is handled inside the loop's
        // wait: Terminate there must end it without a posted message after it.
        Win32Application app(L"Dirmind");
        TestWindow window;
        HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
        window.onClick = [&] { app.Terminate(); };
        const DWORD loopThread = GetCurrentThreadId();
        std::atomic<bool> ended{false};
        std::thread sender([&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &result);
            // Bounded: a loop that missed it would wait for ever.
            for (int i = 0; i < 600 && !ended; ++i) Sleep(10);
            if (!ended) PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
        });
        const auto start = Clock::now();
        app.Run();
        ended = true;
        sender.join();
        EXPECT_EQ(1, window.clicks);
        EXPECT_LT(MsSince(start), 5000);
    }
}

TEST(Application, ExeNameIsThisProgram) {
    Win32Application app(L"Dirmind");
    const std::wstring name = app.ExeName();
    ASSERT_GT(name.size(), 3u);
    EXPECT_EQ(L':', name[1]);
    const std::wstring tail = L"adapter_tests.exe";
    ASSERT_GE(name.size(), tail.size());
    EXPECT_EQ(0, _wcsicmp(tail.c_str(), name.c_str() + name.size() - tail.size()));
}

}  // namespace
