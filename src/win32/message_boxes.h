// The two error boxes: the input error box and the application's error box.
#pragma once

#include <windows.h>

#include <string>

#include "app/toolkit.h"

class Win32MessageBoxes : public IMessageBoxes {
public:
    // owner: the main window, disabled while a box is open (may be hidden).
    // appTitle: the application's title, the caption of its error box.
    Win32MessageBoxes(HWND owner, std::wstring appTitle)
        : owner_(owner), appTitle_(std::move(appTitle)) {}
    // Caption "エラー", the error icon, the text wrapped to at most half the
    // screen's width in the message font, one "OK" that is both the default
    // and the cancel button; centred on the owner's monitor. While the owner
    // is not on screen the box has a task bar button of its own.
    void ShowError(const std::string& message) override;
    // A system message box: the title as caption, the error icon, one OK;
    // while the owner is not on screen, unowned (with a task bar button).
    void ShowAppError(const std::string& text) override;
    // The same box; the path is shown in its own characters.
    void ShowFileError(const std::string& text, const FilePath& path,
                       const std::string& reason) override;

private:
    void ShowAppBox(const std::wstring& text);

    HWND owner_;
    std::wstring appTitle_;
};

// The input error box on its own: modal over owner (which may be null, or
// hidden), returns when the user has closed it.
void ShowErrorBox(HWND owner, const std::wstring& caption, const std::wstring& text);

// The application's error box for a system error code, in the system's own
// words: for a program that cannot come up at all.
void ShowSystemError(const std::wstring& appTitle, DWORD error);
