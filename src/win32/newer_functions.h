// The functions of Windows newer than Windows 7 that Dirmind uses where the
// system has them, looked up once: each is null where this Windows lacks it.
#pragma once

#include <windows.h>

struct NewerFunctions {
    // Windows 8.
    BOOL(WINAPI* getFileInformationByHandleEx)(HANDLE, int, void*, DWORD);
    // Windows 8.1, in shcore.dll.
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*);
    // Windows 10 1607 and 1703.
    BOOL(WINAPI* enableNonClientDpiScaling)(HWND);
    UINT(WINAPI* getDpiForSystem)();
    UINT(WINAPI* getDpiForWindow)(HWND);
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
    int(WINAPI* getSystemMetricsForDpi)(int, UINT);
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT);
    BOOL(WINAPI* setDialogDpiChangeBehavior)(HWND, int, int);
    // Common controls 6.
    HRESULT(WINAPI* loadIconWithScaleDown)(HINSTANCE, const wchar_t*, int, int, HICON*);
};

// The table, filled at the first call, which the program makes at start-up.
const NewerFunctions& Newer();
