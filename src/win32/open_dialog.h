// OpenDialog1: the system's file-open dialog, Explorer style, used to pick a
// folder. Owned by the main window.
#pragma once

#include <windows.h>

#include <string>

#include "app/toolkit.h"

class Win32OpenDialog : public IOpenDialog {
public:
    explicit Win32OpenDialog(HWND owner) : owner_(owner) {}
    void SetInitialDir(const std::string& folder) override;
    void SetFileName(const std::string& name) override;
    bool Execute() override;
    std::string GetFileName() const override;

private:
    HWND owner_;
    std::string initialDir_;
    std::string fileName_;
};
