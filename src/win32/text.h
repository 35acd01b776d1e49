// The one conversion between the logic's code page 932 bytes and the UTF-16
// of the wide Windows APIs. Code page 932 is always named; never CP_ACP.
#pragma once

#include <optional>
#include <string>

std::wstring ToWide(const std::string& cp932);
std::string ToCp932(const std::wstring& wide);
// The text in code page 932 only when every character has its own form there:
// nullopt where ToCp932 would put a "?" or a look-alike character.
std::optional<std::string> ToCp932Exact(const std::wstring& wide);
