// The main window's class name. The window registers it and a second start
// finds the running copy's window by it, so both take it from here.
#pragma once

inline constexpr wchar_t kMainWindowClass[] = L"TForm1";
