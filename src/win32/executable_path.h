// Where the running executable lies, as the system names it: UTF-16 from
// start to end, so that a folder name outside code page 932 survives.
#pragma once

#include <string>

// The executable's full path; empty when the system does not give it.
std::wstring ExecutablePath();
