// A file's path as the system names it, in the system's own wide characters
// (UTF-16 on Windows). It is never converted on the way: a folder name that
// code page 932 cannot write still reaches the file calls intact.
#pragma once

#include <string>

using FilePath = std::wstring;
