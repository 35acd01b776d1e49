// The interval field's limit in code page 932 bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Lets the user put at most maxBytes bytes of code page 932 text into a
// single-line edit, whether typed, pasted or entered through an input method;
// a full-width character counts two. Text set by the program is not cut.
// The limit lasts as long as the edit.
void LimitEditBytes(HWND edit, std::size_t maxBytes);

// The code page 932 byte length of a wide text.
std::size_t Cp932Length(const std::wstring& text);
