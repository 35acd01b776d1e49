// The application object: the message loop and the pump that waits inside a
// handler share one dispatch, with the dialog manager's keyboard handling
// (Tab, Shift+Tab, Alt+accelerators) for the main window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/toolkit.h"
#include "watch/event_loop.h"

class Win32Application : public IApplication, public IEventLoop {
public:
    explicit Win32Application(std::wstring title) : title_(std::move(title)) {}

    const std::wstring& Title() const { return title_; }
    // The window whose controls the keyboard navigates; null for none.
    void SetMainWindow(HWND hwnd) { main_ = hwnd; }

    // A kernel object that the main loop waits on beside the messages; when
    // it is signalled, onSignalled runs from the loop (never inside a handler
    // that dispatches messages itself). The object must outlive Run.
    void WaitAlsoFor(HANDLE object, std::function<void()> onSignalled);

    // Dispatches messages, and runs the callbacks of signalled objects, until
    // the application is marked for ending (by Terminate or a WM_QUIT);
    // checked each time control is back in the loop. After each callback the
    // queued messages are dispatched before the next wait, so that signals
    // never starve them. Blocks while nothing happens.
    void Run();
    bool Terminated() const { return terminated_; }

    // Dispatches every queued message and returns when the queue is empty; a
    // WM_QUIT taken off the queue only marks the application for ending.
    void ProcessMessages() override;
    void WaitForMessage(std::uint32_t milliseconds) override;
    std::uint32_t TickCount() override;
    FilePath ExeName() const override;
    // Also posts the quit message, so that a loop blocked in its wait wakes
    // up: a close sent by another program is handled inside that wait.
    void Terminate() override;

private:
    void Dispatch(MSG& msg);

    std::wstring title_;
    HWND main_ = nullptr;
    bool terminated_ = false;
    std::vector<HANDLE> objects_;
    std::vector<std::function<void()>> onSignalled_;
};
