// What the adapter tests share: a plain top-level window that counts what
// reaches it, and pumping messages for a while or until a condition holds.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "win32/application.h"

namespace adapter_test {

inline constexpr UINT_PTR kTimerId = 7;
inline constexpr int kButtonId = 300;

// A plain top-level window that counts what reaches it.
class TestWindow {
public:
    TestWindow(DWORD style = WS_OVERLAPPEDWINDOW, int left = 100, int top = 100) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"DirmindAdapterTest";
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(0, atom);
        hwnd_ = CreateWindowExW(0, L"DirmindAdapterTest", L"test", style, left, top, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), this);
        EXPECT_NE(nullptr, hwnd_);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND Handle() const { return hwnd_; }
    HWND AddChild(const wchar_t* cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 100, 24, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    int ticks = 0;
    int clicks = 0;
    int closes = 0;
    std::function<void()> onClick;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) {
            switch (msg) {
                case WM_TIMER:
                    if (wp == kTimerId) ++self->ticks;
                    return 0;
                case WM_COMMAND:
                    if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) {
                        ++self->clicks;
                        if (self->onClick) self->onClick();
                    }
                    return 0;
                case WM_CLOSE:
                    ++self->closes;
                    return 0;
                default:
                    break;
            }
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
};

using Clock = std::chrono::steady_clock;

inline long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Pumps messages until cond holds or timeoutMs passes.
inline bool PumpUntil(Win32Application& app, const std::function<bool()>& cond, int timeoutMs) {
    const auto start = Clock::now();
    while (!cond()) {
        if (MsSince(start) > timeoutMs) return false;
        app.WaitForMessage(10);
        app.ProcessMessages();
    }
    return true;
}

inline void PumpFor(Win32Application& app, int ms) {
    PumpUntil(
        app, [] { return false; }, ms);
}

}  // namespace adapter_test
