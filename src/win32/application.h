// The application object: the message loop and the pump that waits inside a
// handler share one dispatch, with the dialog manager's keyboard handling
// (Tab, Shift+Tab, Alt+accelerators) for the main window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/toolkit.h"
#include "watch/event_loop.h"

class Win32Application : public IApplication, public IEventLoop {
public:
    explicit Win32Application(std::wstring title) : title_(std::move(title)) {}

    const std::wstring& Title() const { return title_; }
    // The window whose controls the keyboard navigates; null for none.
    void SetMainWindow(HWND hwnd) { main_ = hwnd; }

    // Dispatches messages until the application is marked for ending (by
    // Terminate or a WM_QUIT); checked each time control is back in the loop.
    void Run();
    bool Terminated() const { return terminated_; }

    // Dispatches every queued message and returns when the queue is empty; a
    // WM_QUIT taken off the queue only marks the application for ending.
    void ProcessMessages() override;
    void WaitForMessage(std::uint32_t milliseconds) override;
    std::uint32_t TickCount() override;
    std::filesystem::path ExeName() const override;
    void Terminate() override { terminated_ = true; }

private:
    void Dispatch(MSG& msg);

    std::wstring title_;
    HWND main_ = nullptr;
    bool terminated_ = false;
};
