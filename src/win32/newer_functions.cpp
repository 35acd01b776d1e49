#include "win32/newer_functions.h"

namespace {

template <typename Function>
void Find(Function*& function, HMODULE module, const char* name) {
    function =
        module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

NewerFunctions Load() {
    NewerFunctions f{};
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // Loaded for good: the functions are used for the whole run.
    const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
    Find(f.getFileInformationByHandleEx, kernel32, "GetFileInformationByHandleEx");
    Find(f.getDpiForMonitor, shcore, "GetDpiForMonitor");
    Find(f.enableNonClientDpiScaling, user32, "EnableNonClientDpiScaling");
    Find(f.getDpiForSystem, user32, "GetDpiForSystem");
    Find(f.getDpiForWindow, user32, "GetDpiForWindow");
    Find(f.adjustWindowRectExForDpi, user32, "AdjustWindowRectExForDpi");
    Find(f.getSystemMetricsForDpi, user32, "GetSystemMetricsForDpi");
    Find(f.systemParametersInfoForDpi, user32, "SystemParametersInfoForDpi");
    Find(f.setDialogDpiChangeBehavior, user32, "SetDialogDpiChangeBehavior");
    Find(f.loadIconWithScaleDown, comctl32, "LoadIconWithScaleDown");
    return f;
}

}  // namespace

const NewerFunctions& Newer() {
    static const NewerFunctions functions = Load();
    return functions;
}
