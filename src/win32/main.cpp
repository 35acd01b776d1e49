// Dirmind.exe: brings up the application, creates the one main window and
// runs the message loop until that window has closed.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/texts.h"
#include "win32/application.h"
#include "win32/main_window.h"
#include "win32/text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    Win32Application application(ToWide(texts::kAppTitle));
    if (!RegisterMainWindowClass(instance)) return 1;
    MainWindow mainWindow(instance, application);
    if (!mainWindow.Create()) return 1;
    application.SetMainWindow(mainWindow.Handle());
    application.Run();
    return 0;
}
