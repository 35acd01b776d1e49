#include "win32/application.h"

#include "win32/executable_path.h"

void Win32Application::Dispatch(MSG& msg) {
    if (main_ && IsDialogMessageW(main_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Application::Run() {
    MSG msg{};
    while (!terminated_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        Dispatch(msg);
    }
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

std::filesystem::path Win32Application::ExeName() const { return ExecutablePath(); }
