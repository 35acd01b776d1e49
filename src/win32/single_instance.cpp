#include "win32/single_instance.h"

#include <cwchar>

#include "win32/handles.h"
#include "win32/window_class.h"

namespace {

// Local: the user's own session.
std::wstring ClaimName(const FileIdentity& file) {
    wchar_t name[64] = {};
    std::swprintf(
        name, 64, L"Local\\Dirmind-%08lX-%08lX%08lX", static_cast<unsigned long>(file.volume),
        static_cast<unsigned long>(file.indexHigh), static_cast<unsigned long>(file.indexLow));
    return name;
}

std::optional<std::wstring> ImagePathOf(DWORD processId) {
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return std::nullopt;
    path.resize(length);
    return path;
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
    // Opened for no access and shared every way, so that no other program's
    // use of the file is hindered.
    const UniqueFile file(CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

SingleInstance::SingleInstance(const std::wstring& exePath) : identity_(IdentityOf(exePath)) {
    if (!identity_) return;
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                  ClaimName(*identity_).c_str());
    if (!mapping_) return;
    first_ = GetLastError() != ERROR_ALREADY_EXISTS;
    window_ = static_cast<volatile LONG*>(
        MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
}

SingleInstance::~SingleInstance() {
    if (window_) UnmapViewOfFile(const_cast<LONG*>(window_));
    if (mapping_) CloseHandle(mapping_);
}

void SingleInstance::Publish(HWND window) {
    // Window handles are 32-bit values on every Windows, sign-extended.
    if (window_) InterlockedExchange(window_, HandleToLong(window));
}

bool SingleInstance::BringRunningCopyForward(DWORD timeoutMs) {
    if (first_ || !window_) return false;
    // The first copy may still be creating its window.
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    for (;;) {
        window = static_cast<HWND>(LongToHandle(InterlockedCompareExchange(window_, 0, 0)));
        if (window) break;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    if (!IsRunningCopy(window)) return false;
    // Nothing here waits on the first copy's thread: a busy or hung copy
    // never holds this start.
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    // A box the first copy has open stays in front of its window.
    HWND front = GetLastActivePopup(window);
    SetForegroundWindow(front && IsWindowVisible(front) ? front : window);
    return true;
}

// A main window of a process that runs this very file; the window's class and
// process are read without sending it any message.
bool SingleInstance::IsRunningCopy(HWND window) const {
    wchar_t className[16] = {};
    if (!IsWindow(window) || !GetClassNameW(window, className, 16) ||
        std::wcscmp(className, kMainWindowClass) != 0) {
        return false;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const std::optional<std::wstring> image = ImagePathOf(processId);
    return image && IdentityOf(*image) == identity_;
}
