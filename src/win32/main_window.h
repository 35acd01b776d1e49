// The main window: the Win32 window of class "TForm1" with its controls, the
// adapters the form's logic works through, and the MainForm that handles its
// events.
#pragma once

#include <windows.h>

#include <memory>

#include "app/main_form.h"
#include "win32/application.h"
#include "win32/controls.h"
#include "win32/handles.h"

// Registers the window class "TForm1"; false when that fails.
bool RegisterMainWindowClass(HINSTANCE instance);

class MainWindow : public IFocusHost {
public:
    MainWindow(HINSTANCE instance, Win32Application& application);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden, with its controls, and queues the first
    // showing: MainForm::OnShown runs from the message loop, then the window
    // is shown unless it was minimised. False when the window cannot be created.
    bool Create();
    HWND Handle() const { return hwnd_; }

    // The control gets the focus now if the window can take it (or a control
    // of the hidden window holds it), and again whenever the window is
    // activated.
    void FocusControl(HWND control) override;
    bool HasFocus(HWND control) const override;

private:
    friend bool RegisterMainWindowClass(HINSTANCE instance);
    struct Parts;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK FocusHook(int code, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void CreateFonts();
    void CreateControls();
    void FirstShow();
    // Brings a window that lies on no monitor's work area into view.
    void KeepInView();
    void Command(int id, HWND control);
    LRESULT StaticColours(HDC dc, HWND control);
    void RestoreFocus();
    template <typename Handler>
    void Run(Handler&& handler);

    HINSTANCE instance_;
    Win32Application& application_;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool shown_ = false;
    HHOOK focusHook_ = nullptr;
    UniqueFont windowFont_;
    UniqueFont bannerFont_;
    UniqueFont statusFont_;
    UniqueBrush bannerBrush_;
    std::unique_ptr<Parts> parts_;
};
