// Small wrappers over the main window's controls. They do not own their
// window handles: the controls live and die with the main window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "app/toolkit.h"

// Takes a control's request for the keyboard focus. The main window keeps the
// control so that the focus returns to it whenever the window is activated.
class IFocusHost {
public:
    virtual void FocusControl(HWND control) = 0;
    // True when the control has the focus, or gets it when the window is
    // next shown or restored.
    virtual bool HasFocus(HWND control) const = 0;

protected:
    ~IFocusHost() = default;
};

class Win32Edit : public IEdit {
public:
    explicit Win32Edit(HWND hwnd, IFocusHost* focusHost = nullptr)
        : hwnd_(hwnd), focusHost_(focusHost) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;
    void SetEnabled(bool enabled) override;
    void Focus() override;
    bool HasFocus() const override;

private:
    HWND hwnd_;
    IFocusHost* focusHost_;
};

class Win32Button : public IButton {
public:
    explicit Win32Button(HWND hwnd, IFocusHost* focusHost = nullptr)
        : hwnd_(hwnd), focusHost_(focusHost) {}
    void SetEnabled(bool enabled) override;
    void Focus() override;
    bool HasFocus() const override;

private:
    HWND hwnd_;
    IFocusHost* focusHost_;
};

class Win32CheckBox : public ICheckBox {
public:
    explicit Win32CheckBox(HWND hwnd) : hwnd_(hwnd) {}
    bool Checked() const override;
    void SetChecked(bool checked) override;

private:
    HWND hwnd_;
};

// A status bar with one part over its full width; the text is part 0's.
class Win32StatusLine : public IStatusLine {
public:
    explicit Win32StatusLine(HWND hwnd) : hwnd_(hwnd) {}
    void Show(const std::string& text) override;

private:
    HWND hwnd_;
};

// A top-level window. Left and top are those of the outer frame in screen
// pixels; while the window is minimised, those it has when restored.
class Win32Window : public IWindow {
public:
    explicit Win32Window(HWND hwnd) : hwnd_(hwnd) {}
    int Left() const override;
    int Top() const override;
    void MoveTo(int left, int top) override;
    void Minimize() override;
    // Sends WM_CLOSE, as the close box does, and returns once it is handled.
    void Close() override;

private:
    POINT Position() const;
    HWND hwnd_;
};

// Lets the user put at most maxBytes bytes of code page 932 text into a
// single-line edit, whether typed, pasted or entered through an input method;
// a full-width character counts two. Text set by the program is not cut.
// The limit lasts as long as the edit.
void LimitEditBytes(HWND edit, std::size_t maxBytes);

// Keeps Esc in a multi-line edit from closing its parent: such an edit asks
// its parent to close on Esc when it runs under the dialog manager.
void KeepEscapeInMemo(HWND memo);

// Paints a one-part status bar itself, on the given background colour with
// its text in the button-text colour: a themed status bar ignores the colour
// it is given.
void PaintStatusLine(HWND statusBar, COLORREF background);

// The code page 932 byte length of a wide text.
std::size_t Cp932Length(const std::wstring& text);
