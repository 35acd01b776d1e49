// The text of a window or control as UTF-16.
#pragma once

#include <windows.h>

#include <string>

std::wstring WindowText(HWND hwnd);
