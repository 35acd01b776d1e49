// The one conversion between the logic's code page 932 bytes and the UTF-16
// of the wide Windows APIs. Code page 932 is always named; never CP_ACP.
#pragma once

#include <string>

std::wstring ToWide(const std::string& cp932);
std::string ToCp932(const std::wstring& wide);
