// The main window: the Win32 window of class kMainWindowClass with its
// controls, the adapters over them, and the MainForm that handles its events
// through those and the services it is given. Its window procedure dispatches
// each message to a named handler.
#pragma once

#include <windows.h>

#include <memory>

#include "app/main_form.h"
#include "win32/application.h"
#include "win32/focus_keeper.h"
#include "win32/fonts.h"
#include "win32/frame_edge.h"
#include "win32/handles.h"
#include "win32/palette.h"

// What the form works through beyond the window's own controls and timer:
// made by wWinMain (a test gives doubles), living as long as the window.
struct MainWindowServices {
    Win32Application& application;
    ISettingsFiles& files;
    IFolderProbe& folderProbe;
    IRegistry& registry;
};

// Registers the main window's class (kMainWindowClass); false when that fails.
bool RegisterMainWindowClass(HINSTANCE instance);

class MainWindow {
public:
    MainWindow(HINSTANCE instance, const MainWindowServices& services);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden, with its controls, and queues the first
    // showing: MainForm::OnShown runs from the message loop, then the window
    // is shown unless it was minimised. False when the window or one of its
    // controls cannot be created (GetLastError tells why).
    bool Create();
    HWND Handle() const { return window_.Get(); }

private:
    friend bool RegisterMainWindowClass(HINSTANCE instance);
    struct Adapters;

    static constexpr DWORD kFrameStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    static constexpr DWORD kFrameExStyle = WS_EX_CONTROLPARENT;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnFirstShow();
    void OnCommand(WPARAM wp, LPARAM lp);
    void OnTimer(WPARAM timerId);
    void OnClose();
    void OnEndSession(bool ending);

    // Colours (main_window_colours.cpp).
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnEraseBackground(HDC dc);
    // The system's colours or its high contrast changed, or the window is
    // new: the palette for the scheme now, on every surface at once.
    void ApplyColours();

    // Resolution (main_window_dpi.cpp).
    void OnDpiChanged(Dpi dpi, const RECT& suggested);
    LRESULT OnGetDpiScaledSize(Dpi dpi, SIZE& size) const;
    void OnSize(WPARAM kind);
    // A hidden window moved to a monitor of another resolution may not have
    // been told: laid out for the monitor it is on before it shows.
    void FitBeforeShowing();
    Dpi CurrentDpi() const;
    // The client area of the layout at the window's resolution, exactly.
    void FitClientArea();
    // While minimised: the frame the window takes when restored, around the
    // layout's client area at the window's resolution.
    void FitRestoredFrame();
    // The title bar's and the task switcher's icons at the window's resolution.
    void LoadIcons();
    void ListenForChanges();
    // Runs a handler of the form inside the error boundary.
    template <typename Handler>
    void CallForm(Handler&& handler);

    HINSTANCE instance_;
    MainWindowServices services_;
    bool shown_ = false;
    Dpi dpi_;  // the resolution the window is laid out for
    // Counts the changes of resolution begun: one that a nested change
    // overtook stops where it finds that.
    unsigned dpiChanges_ = 0;
    bool minimised_ = false;
    WindowPalette palette_{};
    UniqueBrush windowBrush_;
    WindowFonts fonts_;
    UniqueIcon smallIcon_;
    UniqueIcon bigIcon_;
    UniqueBrush bannerBrush_;
    std::unique_ptr<FocusKeeper> focus_;
    std::unique_ptr<Adapters> adapters_;
    // The adapters' boxes show what the window's frames and its controls'
    // catch; it ends with the window.
    std::unique_ptr<WindowBoundary> boundary_;
    // Last, so that it goes first: the window and its controls use the fonts,
    // the icons, the focus keeper and the adapters until they are destroyed.
    OwnedWindow window_;
};
