#include "win32/single_instance.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "win32/handles.h"
#include "win32/newer_functions.h"
#include "win32/window_class.h"

namespace {

// The class of the system's dialog boxes and message boxes.
constexpr wchar_t kDialogClass[] = L"#32770";

// FILE_ID_INFO, which headers for Windows 7 lack.
struct FileIdInfo {
    ULONGLONG volumeSerialNumber;
    std::uint8_t fileId[16];
};
constexpr int kFileIdInfoClass = 18;  // FileIdInfo

// FNV-1a over the path's UTF-16 units, upper-cased as the file system
// compares names.
std::uint64_t HashOfPath(const std::wstring& path) {
    std::wstring upper = path;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : upper) {
        for (const unsigned byte :
             {static_cast<unsigned>(c) & 0xFFu, static_cast<unsigned>(c) >> 8}) {
            hash = (hash ^ byte) * 1099511628211ull;
        }
    }
    return hash;
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

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t className[16] = {};
    return GetClassNameW(window, className, 16) && std::wcscmp(className, name) == 0;
}

BOOL CALLBACK FindVisibleBox(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !HasClass(window, kDialogClass)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// What to bring forward of the copy whose main window that is: a box it has
// open before the window, else the window. Read from the window lists alone,
// without a message to its thread.
HWND FrontOf(HWND window) {
    if (IsWindowVisible(window)) {
        const HWND popup = GetLastActivePopup(window);
        return popup && IsWindowVisible(popup) ? popup : window;
    }
    HWND box = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), FindVisibleBox,
                      reinterpret_cast<LPARAM>(&box));
    return box ? box : window;
}

}  // namespace

FileIdentity IdentityFrom(std::uint64_t volume, const std::array<std::uint8_t, 16>& id,
                          const std::wstring& path) {
    FileIdentity identity{volume, id, 0};
    if (id == std::array<std::uint8_t, 16>{}) identity.pathHash = HashOfPath(path);
    return identity;
}

std::wstring ClaimName(const FileIdentity& file) {
    // Local: the user's own session.
    wchar_t name[96] = {};
    int length = std::swprintf(name, 96, L"Local\\Dirmind-%016llX-",
                               static_cast<unsigned long long>(file.volume));
    for (const std::uint8_t byte : file.id) {
        length += std::swprintf(name + length, 96 - length, L"%02X", static_cast<unsigned>(byte));
    }
    if (file.pathHash != 0) {
        std::swprintf(name + length, 96 - length, L"-%016llX",
                      static_cast<unsigned long long>(file.pathHash));
    }
    return name;
}

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
    // Opened for no access and shared every way, so that no other program's
    // use of the file is hindered.
    const UniqueFile file(CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) return std::nullopt;
    std::array<std::uint8_t, 16> id{};
    auto* const getInformation = Newer().getFileInformationByHandleEx;
    FileIdInfo info{};
    if (getInformation && getInformation(file.Get(), kFileIdInfoClass, &info, sizeof(info))) {
        std::copy(std::begin(info.fileId), std::end(info.fileId), id.begin());
        return IdentityFrom(info.volumeSerialNumber, id, path);
    }
    // Before Windows 8, or a file system without 128-bit IDs.
    BY_HANDLE_FILE_INFORMATION handleInfo{};
    if (!GetFileInformationByHandle(file.Get(), &handleInfo)) return std::nullopt;
    const std::uint64_t index =
        (static_cast<std::uint64_t>(handleInfo.nFileIndexHigh) << 32) | handleInfo.nFileIndexLow;
    for (std::size_t i = 0; i < 8; ++i) id[i] = static_cast<std::uint8_t>(index >> (8 * i));
    return IdentityFrom(handleInfo.dwVolumeSerialNumber, id, path);
}

SingleInstance::SingleInstance(const std::wstring& exePath) : identity_(IdentityOf(exePath)) {
    if (!identity_) return;
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(LONG), ClaimName(*identity_).c_str()));
    if (!mapping_) return;
    first_ = GetLastError() != ERROR_ALREADY_EXISTS;
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    window_ = static_cast<volatile LONG*>(view_.get());
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
    SetForegroundWindow(FrontOf(window));
    return true;
}

// A main window of a process that runs this very file; the window's class and
// process are read without sending it any message.
bool SingleInstance::IsRunningCopy(HWND window) const {
    if (!IsWindow(window) || !HasClass(window, kMainWindowClass)) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const std::optional<std::wstring> image = ImagePathOf(processId);
    if (!image) return false;
    // The path is in the claim's name already; the process may name its
    // image by another path to the same file (a share for a mapped drive).
    const std::optional<FileIdentity> running = IdentityOf(*image);
    return running && running->volume == identity_->volume && running->id == identity_->id;
}
