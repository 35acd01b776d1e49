#include "win32/system_message.h"

#include <windows.h>

#include <string>

#include "win32/handles.h"

std::wstring SystemMessage(unsigned long error, unsigned short language) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocal<wchar_t> text(buffer);
    std::wstring message(text ? text.get() : L"", text ? length : 0);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
        message.pop_back();
    }
    return message;
}

std::wstring SystemMessageOrCode(unsigned long error) {
    std::wstring message = SystemMessage(error);
    return message.empty() ? L"Error " + std::to_wstring(error) : message;
}
