#include "win32/application.h"

#include "win32/text.h"

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

std::string Win32Application::ExeName() const {
    // Long paths: grow the buffer until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return ToCp932(path);
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}
