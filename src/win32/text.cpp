#include "win32/text.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring ToWide(const std::string& cp932) {
    if (cp932.empty()) return {};
    const int size = static_cast<int>(cp932.size());
    const int count = MultiByteToWideChar(kCodePage, 0, cp932.data(), size, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp932.data(), size, wide.data(), count);
    return wide;
}

std::string ToCp932(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int count =
        WideCharToMultiByte(kCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return {};
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(kCodePage, 0, wide.data(), size, bytes.data(), count, nullptr, nullptr);
    return bytes;
}

std::optional<std::string> ToCp932Exact(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                          nullptr, 0, nullptr, &usedDefault);
    if (count <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), count,
                        nullptr, &usedDefault);
    // The round trip catches a mapping that is not one to one.
    if (usedDefault || ToWide(bytes) != wide) return std::nullopt;
    return bytes;
}
