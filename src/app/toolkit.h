// The window toolkit as the main form sees it: one small interface per
// control kind. Every text is Shift-JIS (code page 932) bytes; conversion to
// the platform's text form happens only inside the adapters.
#pragma once

#include <optional>
#include <string>

#include "util/file_path.h"

// A control that can be disabled and can take the keyboard focus.
class IControl {
public:
    virtual ~IControl() = default;
    // A disabled control shows its text and takes no input. A control that
    // loses the focus this way passes it on in the tab order.
    virtual void SetEnabled(bool enabled) = 0;
    // Takes the keyboard focus; while the window is hidden or minimised, as
    // soon as it shows.
    virtual void Focus() = 0;
    // True for the control that has the keyboard focus, or that gets it when
    // the window is next shown or restored.
    virtual bool HasFocus() const = 0;
};

class IEdit : public IControl {
public:
    virtual std::string Text() const = 0;
    // False when the text holds a character that code page 932 cannot write:
    // Text() then has a look-alike or "?" in its place.
    virtual bool TextIsExact() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

class IButton : public IControl {};

class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class IStatusLine {
public:
    virtual ~IStatusLine() = default;
    // Replaces the text and paints it before returning (not a queued repaint).
    virtual void Show(const std::string& text) = 0;
};

// What came of one run of the folder dialog.
struct FolderChoice {
    enum class Outcome {
        Cancelled,   // cancelled or closed, or the dialog failed to run
        Chosen,      // path holds the chosen path
        NotShiftJis  // the chosen path has a character code page 932 cannot write
    };
    Outcome outcome = Outcome::Cancelled;
    std::string path;
};

// The system's file-open dialog, used to pick a folder.
class IFolderDialog {
public:
    virtual ~IFolderDialog() = default;
    // Runs modally, opening in initialFolder (none when empty) with fileName
    // preset.
    virtual FolderChoice Pick(const std::string& initialFolder, const std::string& fileName) = 0;
};

class IWindow {
public:
    virtual ~IWindow() = default;
    // Position of the outer frame in pixels of a 96-dpi screen, the unit of
    // the settings file at any display scale; while minimised, the position
    // the window has when restored.
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void MoveTo(int left, int top) = 0;
    virtual void Minimize() = 0;
    // While busy, the pointer over the window is the system's busy pointer;
    // the window goes on answering.
    virtual void ShowBusy(bool busy) = 0;
    // Asks the window to close, as its close box does: runs
    // MainForm::OnCloseRequested.
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
    // The application's error box about a file: the text, then the file's
    // path and the system's reason, each on a line of its own.
    virtual void ShowFileError(const std::string& text, const FilePath& path,
                               const std::string& reason) = 0;
};

class IApplication {
public:
    virtual ~IApplication() = default;
    // The executable's full path, as the system names it.
    virtual FilePath ExeName() const = 0;
    // Marks the application for ending; the main loop ends once control is
    // back in it.
    virtual void Terminate() = 0;
};
