#include "win32/registry.h"

#include <windows.h>

#include <cstring>

#include "win32/text.h"

namespace {

HKEY Handle(IRegistry::Key key) {
    return key == 0 ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

IRegistry::Key FromHandle(HKEY key) { return reinterpret_cast<IRegistry::Key>(key); }

// A key name never holds "\": trailing ones add nothing to the path, and a
// path with them is refused by some registry implementations.
std::wstring KeyPath(const std::string& path) {
    std::wstring wide = ToWide(path);
    while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
    return wide;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

std::optional<IRegistry::Key> Win32Registry::CreateKey(Key parent, const std::string& path) {
    HKEY key = nullptr;
    const LONG result =
        RegCreateKeyExW(Handle(parent), KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return FromHandle(key);
}

std::optional<IRegistry::Key> Win32Registry::OpenKey(Key parent, const std::string& path) {
    HKEY key = nullptr;
    const LONG result =
        RegOpenKeyExW(Handle(parent), KeyPath(path).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return FromHandle(key);
}

IRegistry::Query Win32Registry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                           std::string& data) {
    const std::wstring wideName = ToWide(name);
    DWORD valueType = REG_NONE;
    // A folder value fits the first buffer, so one query usually reads it:
    // each query is a round trip to the registry's server under Wine.
    std::string bytes(520, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG result = RegQueryValueExW(Handle(key), wideName.c_str(), nullptr, &valueType,
                                   reinterpret_cast<BYTE*>(bytes.data()), &size);
    // A larger value, or one that grows between the queries: ask again with
    // the size the registry reports, a bounded number of times.
    for (int attempt = 0; result == ERROR_MORE_DATA; ++attempt) {
        if (attempt == 4) return Query::Failed;
        bytes.resize(size);
        result = RegQueryValueExW(Handle(key), wideName.c_str(), nullptr, &valueType,
                                  reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    if (result == ERROR_FILE_NOT_FOUND) return Query::NotFound;
    if (result != ERROR_SUCCESS) return Query::Failed;
    bytes.resize(size);

    type = valueType;
    if (bytes.empty()) {
        data.clear();
    } else if (IsStringType(valueType)) {
        // UTF-16 text; an odd last byte is no character and is dropped.
        std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
        data = ToCp932(wide);
    } else {
        data = std::move(bytes);
    }
    return Query::Ok;
}

bool Win32Registry::SetStringValue(Key key, const std::string& name, const std::string& text) {
    const std::wstring wide = ToWide(text);
    // Text that does not convert is refused rather than written empty.
    if (wide.empty() && !text.empty()) return false;
    const DWORD size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(Handle(key), ToWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()), size) == ERROR_SUCCESS;
}

void Win32Registry::CloseKey(Key key) {
    if (key != 0) RegCloseKey(Handle(key));
}
