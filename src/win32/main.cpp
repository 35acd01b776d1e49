// Dirmind.exe: brings up the application, creates the one main window and
// runs the message loop until that window has closed. A second start of the
// same executable brings the running copy forward instead and ends without
// touching the settings file.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/texts.h"
#include "win32/application.h"
#include "win32/executable_path.h"
#include "win32/files.h"
#include "win32/folder_probe.h"
#include "win32/main_window.h"
#include "win32/message_boxes.h"
#include "win32/newer_functions.h"
#include "win32/registry.h"
#include "win32/single_instance.h"
#include "win32/text.h"

namespace {
// How long a second start waits for the first copy's window to exist.
constexpr DWORD kFirstWindowWaitMs = 5000;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Newer();
    SingleInstance claim(ExecutablePath());
    if (claim.BringRunningCopyForward(kFirstWindowWaitMs)) return 0;

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    Win32Application application(ToWide(texts::kAppTitle));
    Win32FileSystem files;
    Win32FolderProbe folderProbe;
    Win32Registry registry;
    MainWindow mainWindow(instance, {application, files, folderProbe, registry});
    // A window or control that cannot be made is told, not left out.
    if (!RegisterMainWindowClass(instance) || !mainWindow.Create()) {
        ShowSystemError(application.Title(), GetLastError());
        return 1;
    }
    application.SetMainWindow(mainWindow.Handle());
    claim.Publish(mainWindow.Handle());
    application.Run();
    return 0;
}
