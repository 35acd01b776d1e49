// Small wrappers over the main window's controls. They do not own their
// window handles: the controls live and die with the main window.
#pragma once

#include <windows.h>

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

// What every lockable control does: enabling and the focus, through the
// main window's focus host when there is one.
class Win32Control {
public:
    explicit Win32Control(HWND hwnd, IFocusHost* focusHost = nullptr)
        : hwnd_(hwnd), focusHost_(focusHost) {}
    // Disabling the control with the focus passes the focus on in the tab
    // order first: the focus is never left nowhere, the keyboard never dead.
    void Enable(bool enabled);
    void TakeFocus();
    bool Focused() const;

protected:
    HWND hwnd_;

private:
    IFocusHost* focusHost_;
};

class Win32Edit : public IEdit, private Win32Control {
public:
    using Win32Control::Win32Control;
    std::string Text() const override;
    bool TextIsExact() const override;
    void SetText(const std::string& text) override;
    void SetEnabled(bool enabled) override { Enable(enabled); }
    void Focus() override { TakeFocus(); }
    bool HasFocus() const override { return Focused(); }
};

class Win32Button : public IButton, private Win32Control {
public:
    using Win32Control::Win32Control;
    void SetEnabled(bool enabled) override { Enable(enabled); }
    void Focus() override { TakeFocus(); }
    bool HasFocus() const override { return Focused(); }
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
