#include "win32/single_instance.h"

#include <cstdint>

namespace {

// Object names are limited in length and take no "\": the path is hashed.
std::wstring ClaimName(const std::wstring& exePath) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
    for (const wchar_t c : NormalisedPath(exePath)) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t digits[17] = {};
    for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789ABCDEF"[hash & 0xF];
    // Local: the user's own session.
    return L"Local\\Dirmind-" + std::wstring(digits);
}

}  // namespace

std::wstring NormalisedPath(const std::wstring& path) {
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    DWORD length = full.empty() ? 0
                                : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                                   full.data(), nullptr);
    full = (length == 0 || length >= full.size()) ? path : full.substr(0, length);

    std::wstring longName(GetLongPathNameW(full.c_str(), nullptr, 0), L'\0');
    length = longName.empty() ? 0
                              : GetLongPathNameW(full.c_str(), longName.data(),
                                                 static_cast<DWORD>(longName.size()));
    // A path that cannot be looked up keeps its full form.
    if (length != 0 && length < longName.size()) full = longName.substr(0, length);

    if (!full.empty()) CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

SingleInstance::SingleInstance(const std::wstring& exePath) {
    if (exePath.empty()) return;
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                  ClaimName(exePath).c_str());
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
    if (window_ && first_) InterlockedExchange(window_, HandleToLong(window));
}

bool SingleInstance::BringFirstForward(DWORD timeoutMs) {
    if (!window_) return false;
    // The first copy may still be creating its window.
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    for (;;) {
        window = static_cast<HWND>(LongToHandle(InterlockedCompareExchange(window_, 0, 0)));
        if (window && IsWindow(window)) break;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A box the first copy has open stays in front of its window.
    HWND front = GetLastActivePopup(window);
    SetForegroundWindow(front && IsWindowVisible(front) ? front : window);
    return true;
}
