// The folder dialog: the system's file-open dialog, Explorer style, used to
// pick a folder. Owned by the main window.
#pragma once

#include <windows.h>

#include <string>

#include "app/toolkit.h"

class Win32FolderDialog : public IFolderDialog {
public:
    explicit Win32FolderDialog(HWND owner) : owner_(owner) {}
    // Centred on the monitor of the active window; the focus goes back to
    // the control that had it.
    FolderChoice Pick(const std::string& initialFolder, const std::string& fileName) override;

private:
    HWND owner_;
};
