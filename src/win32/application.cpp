#include "win32/application.h"

#include "win32/executable_path.h"

void Win32Application::Dispatch(MSG& msg) {
    if (main_ && IsDialogMessageW(main_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Application::WaitAlsoFor(HANDLE object, std::function<void()> onSignalled) {
    objects_.push_back(object);
    onSignalled_.push_back(std::move(onSignalled));
}

void Win32Application::Run() {
    while (!terminated_) {
        const auto count = static_cast<DWORD>(objects_.size());
        const DWORD woke = MsgWaitForMultipleObjectsEx(count, objects_.data(), INFINITE,
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // A signalled object is reported before pending input: the messages
        // are handled after its callback all the same, so that a stream of
        // signals never holds input, painting or a close back. A signal that
        // comes meanwhile is taken at the next wait.
        if (woke >= WAIT_OBJECT_0 && woke < WAIT_OBJECT_0 + count) {
            onSignalled_[woke - WAIT_OBJECT_0]();
        } else if (woke == WAIT_FAILED) {
            // The objects cannot be waited on: the messages alone, as a plain
            // message loop takes them.
            WaitMessage();
        }
        MSG msg{};
        while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                terminated_ = true;
                break;
            }
            Dispatch(msg);
        }
    }
    // The quit that Terminate posted is this loop's own: it must not end a
    // modal loop that runs after this one.
    MSG quit{};
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void Win32Application::Terminate() {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

void Win32Application::ProcessMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            continue;
        }
        Dispatch(msg);
    }
}

void Win32Application::WaitForMessage(std::uint32_t milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::uint32_t Win32Application::TickCount() { return GetTickCount(); }

FilePath Win32Application::ExeName() const { return ExecutablePath(); }
