// The window toolkit as the form's logic sees it: one small interface per
// control kind. Every text is Shift-JIS (code page 932) bytes; conversion to
// the platform's text form happens only inside the adapters.
#pragma once

#include <cstdint>
#include <string>

#include "util/Func_.h"

class IEdit {
public:
    virtual ~IEdit() = default;
    virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // A disabled field shows its text and takes no input.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetFocus() = 0;
    // True for the control that has the keyboard focus, or that gets it when
    // the window is next shown or restored.
    virtual bool HasFocus() const = 0;
};

class IButton {
public:
    virtual ~IButton() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetFocus() = 0;
    // As IEdit::HasFocus.
    virtual bool HasFocus() const = 0;
};

class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual bool GetChecked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class IStatusLine {
public:
    virtual ~IStatusLine() = default;
    virtual void SetSimpleText(const std::string& text) = 0;
    // Paints the line before returning (not a queued repaint).
    virtual void RepaintNow() = 0;
};

// A window timer with interval and enabled as separate properties. It ticks
// only while enabled with a non-zero interval; every change restarts a fresh
// interval. When the system refuses a timer, SetEnabled / SetInterval throw
// EOutOfResources.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetInterval(std::uint32_t milliseconds) = 0;
    virtual std::uint32_t Interval() const = 0;
};

class IOpenDialog {
public:
    virtual ~IOpenDialog() = default;
    // The empty text means no initial folder.
    virtual void SetInitialDir(const std::string& folder) = 0;
    virtual void SetFileName(const std::string& name) = 0;
    // Runs modally; true when the user confirmed. A dialog that fails to run
    // returns false.
    virtual bool Execute() = 0;
    virtual std::string GetFileName() const = 0;
};

class IWindow {
public:
    virtual ~IWindow() = default;
    // Screen position of the outer frame; while minimised, the position the
    // window has when restored.
    virtual int GetLeft() const = 0;
    virtual int GetTop() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual void Minimize() = 0;
    // Asks the window to close: runs TForm1::CloseRequested.
    virtual void Close() = 0;
};

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // The input error box: caption "エラー", error icon, one "OK"; returns
    // when the user has closed it.
    virtual void ShowError(const std::string& message) = 0;
    // The application's error box: caption "Dirmind", error icon, one OK.
    // The text is shown as given (see AppErrorText).
    virtual void ShowAppError(const std::string& text) = 0;
};

// The application object: message pump, counter, executable path, ending.
class IApplication : public IMessagePump {
public:
    virtual std::string ExeName() const = 0;
    // Marks the application for ending; the main loop ends once control is
    // back in it.
    virtual void Terminate() = 0;
};
