#include "win32/main_window.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/error_boundary.h"
#include "app/layout.h"
#include "app/texts.h"
#include "win32/change_signal.h"
#include "win32/controls.h"
#include "win32/create_controls.h"
#include "win32/dpi.h"
#include "win32/folder_dialog.h"
#include "win32/frame_edge.h"
#include "win32/message_boxes.h"
#include "win32/newer_functions.h"
#include "win32/resource.h"
#include "win32/text.h"
#include "win32/timer.h"
#include "win32/window.h"
#include "win32/window_class.h"

namespace {

constexpr UINT kFirstShowMessage = WM_APP + 1;
constexpr UINT_PTR kWatchTimerId = 1;

// Other programs' windows share the class name, and tools written for them
// post the window messages of the private ranges with arguments of their own:
// of those ranges the window takes its own first showing alone, whose
// arguments it never reads.
bool IsForeignPrivateMessage(UINT msg) {
    constexpr UINT kLastPrivateMessage = 0xBFFF;  // WM_USER to 0x7FFF, WM_APP to 0xBFFF
    return msg >= WM_USER && msg <= kLastPrivateMessage && msg != kFirstShowMessage;
}

}  // namespace

// The adapters over the window's controls and the system, and the form that
// uses them; made once the controls exist.
struct MainWindow::Adapters {
    Adapters(HWND hwnd, const MainWindowServices& services, IFocusHost& focus,
             std::function<void()> onChange)
        : window(hwnd),
          boxes(hwnd, services.application.Title()),
          jwwField(GetDlgItem(hwnd, layout::kJwwField), &focus),
          otherField(GetDlgItem(hwnd, layout::kOtherField), &focus),
          figureField(GetDlgItem(hwnd, layout::kFigureField), &focus),
          intervalField(GetDlgItem(hwnd, layout::kIntervalField), &focus),
          jwwBrowse(GetDlgItem(hwnd, layout::kJwwBrowse), &focus),
          otherBrowse(GetDlgItem(hwnd, layout::kOtherBrowse), &focus),
          figureBrowse(GetDlgItem(hwnd, layout::kFigureBrowse), &focus),
          startButton(GetDlgItem(hwnd, layout::kStartButton), &focus),
          stopButton(GetDlgItem(hwnd, layout::kStopButton), &focus),
          autoStartBox(GetDlgItem(hwnd, layout::kAutoStartBox)),
          startMinimisedBox(GetDlgItem(hwnd, layout::kStartMinimisedBox)),
          statusLine(GetDlgItem(hwnd, layout::kStatusLine)),
          watchTimer(hwnd, kWatchTimerId),
          changeSignal(std::move(onChange)),
          folderDialog(hwnd),
          form(
              MainFormControls{
                  window,
                  boxes,
                  {{{jwwField, jwwBrowse}, {otherField, otherBrowse}, {figureField, figureBrowse}}},
                  intervalField,
                  startButton,
                  stopButton,
                  autoStartBox,
                  startMinimisedBox,
                  statusLine,
                  folderDialog},
              MainFormServices{services.application, services.application, services.files,
                               services.folderProbe, services.registry, watchTimer, changeSignal}) {
    }

    Win32Window window;
    Win32MessageBoxes boxes;
    Win32Edit jwwField, otherField, figureField, intervalField;
    Win32Button jwwBrowse, otherBrowse, figureBrowse, startButton, stopButton;
    Win32CheckBox autoStartBox, startMinimisedBox;
    Win32StatusLine statusLine;
    Win32Timer watchTimer;
    Win32ChangeSignal changeSignal;
    Win32FolderDialog folderDialog;
    MainForm form;
};

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The background is the palette's: WM_ERASEBKGND paints it.
    wc.lpszClassName = kMainWindowClass;
    // Shared icons: the system frees them with the module.
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_DIRMIND), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_DIRMIND), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    return RegisterClassExW(&wc) != 0;
}

MainWindow::MainWindow(HINSTANCE instance, const MainWindowServices& services)
    : instance_(instance), services_(services) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create() {
    // The first place is one of a 96-dpi screen, as the saved ones are.
    const Dpi systemDpi = SystemDpi();
    const SIZE frame =
        FrameSize(LayoutClientSize(systemDpi), kFrameStyle, kFrameExStyle, systemDpi);
    const std::wstring caption = ToWide(texts::kCaption);
    // The window is taken at its WM_NCCREATE.
    if (!CreateWindowExW(kFrameExStyle, kMainWindowClass, caption.c_str(), kFrameStyle,
                         systemDpi.Scale(layout::kInitialLeft),
                         systemDpi.Scale(layout::kInitialTop), frame.cx, frame.cy, nullptr, nullptr,
                         instance_, this)) {
        return false;
    }
    const HWND hwnd = window_.Get();
    dpi_ = WindowDpi(hwnd);
    FitClientArea();
    LoadIcons();
    fonts_ = CreateWindowFonts(dpi_);
    focus_ = std::make_unique<FocusKeeper>(hwnd);
    if (!CreateControls(hwnd, instance_, fonts_, dpi_)) return false;
    ApplyColours();
    for (const layout::Control& control : layout::Controls()) {
        focus_->Track(GetDlgItem(hwnd, control.id));
    }
    adapters_ = std::make_unique<Adapters>(hwnd, services_, *focus_, [this] {
        CallForm([](MainForm& form) { form.OnFolderChange(); });
    });
    boundary_ = std::make_unique<WindowBoundary>(hwnd, adapters_->boxes);
    ListenForChanges();
    PostMessageW(hwnd, kFirstShowMessage, 0, 0);
    return true;
}

// The message loop waits on the change notification's events beside the
// messages.
void MainWindow::ListenForChanges() {
    const auto events = adapters_->changeSignal.Events();
    for (std::size_t i = 0; i < events.size(); ++i) {
        // Called from the message loop, outside any handler: its own boundary.
        services_.application.WaitAlsoFor(events[i], [this, i] {
            RunHandler(adapters_->boxes, [&] { adapters_->changeSignal.OnSignalled(i); });
        });
    }
}

template <typename Handler>
void MainWindow::CallForm(Handler&& handler) {
    RunHandler(adapters_->boxes, [&] { handler(adapters_->form); });
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->window_.Take(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        // The caption and the frame follow the monitor's resolution where
        // the system scales them only when asked (per monitor, version 1).
        if (auto* const enable = Newer().enableNonClientDpiScaling) enable(hwnd);
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->boundary_.reset();
        self->window_.Forget();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (IsForeignPrivateMessage(msg)) return 0;
    return AtFrameEdge<LRESULT>(hwnd, 0, [&] { return self->OnMessage(msg, wp, lp); });
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const HWND hwnd = window_.Get();
    if (msg == WM_ERASEBKGND && OnEraseBackground(reinterpret_cast<HDC>(wp))) return 1;
    if (!adapters_) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
        case kFirstShowMessage:
            OnFirstShow();
            return 0;
        case WM_COMMAND:
            OnCommand(wp, lp);
            return 0;
        case WM_TIMER:
            OnTimer(wp);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_SETCURSOR:
            // Over the window and its controls, which ask it first.
            if (adapters_->window.SetBusyCursor()) return TRUE;
            return DefWindowProcW(hwnd, msg, wp, lp);
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            OnEndSession(wp != 0);
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_NEXTDLGCTL:
            StepFocus(hwnd, wp, lp);
            return 0;
        case WM_SETFOCUS:
            focus_->Restore();
            return 0;
        case kDpiChangedMessage:
            OnDpiChanged(Dpi(HIWORD(wp)), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case kGetDpiScaledSizeMessage:
            return OnGetDpiScaledSize(DpiOf(static_cast<UINT>(wp)), *reinterpret_cast<SIZE*>(lp));
        case WM_SIZE:
            OnSize(wp);
            return 0;
        case WM_SYSCOLORCHANGE:
            // Common controls learn of it only from their parent.
            SendDlgItemMessageW(hwnd, layout::kStatusLine, msg, wp, lp);
            ApplyColours();
            return 0;
        case WM_SETTINGCHANGE:
            ApplyColours();
            return DefWindowProcW(hwnd, msg, wp, lp);
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// Once: the message again from outside changes nothing.
void MainWindow::OnFirstShow() {
    if (shown_) return;
    shown_ = true;
    CallForm([](MainForm& form) { form.OnShown(); });
    const HWND hwnd = window_.Get();
    if (services_.application.Terminated() || !hwnd) return;
    adapters_->window.KeepInView();
    FitBeforeShowing();
    if (!IsIconic(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
}

void MainWindow::OnCommand(WPARAM wp, LPARAM lp) {
    // Enter and Esc reach here as IDOK and IDCANCEL without a control: the
    // window has no default or cancel button.
    const auto control = reinterpret_cast<HWND>(lp);
    if (!control || HIWORD(wp) != BN_CLICKED) return;
    // A click that reaches a disabled button (a queued BM_CLICK) is dropped.
    if (!IsWindowEnabled(control)) return;
    switch (LOWORD(wp)) {
        case layout::kJwwBrowse:
            CallForm([](MainForm& f) { f.OnBrowse(0); });
            break;
        case layout::kOtherBrowse:
            CallForm([](MainForm& f) { f.OnBrowse(1); });
            break;
        case layout::kFigureBrowse:
            CallForm([](MainForm& f) { f.OnBrowse(2); });
            break;
        case layout::kStartButton:
            CallForm([](MainForm& f) { f.OnStart(); });
            break;
        case layout::kStopButton:
            CallForm([](MainForm& f) { f.OnStop(); });
            break;
        case layout::kExitButton:
            CallForm([](MainForm& f) { f.OnExit(); });
            break;
        default:
            break;
    }
}

void MainWindow::OnTimer(WPARAM timerId) {
    if (adapters_->watchTimer.IsTick(timerId)) {
        CallForm([](MainForm& f) { f.OnWatchTick(); });
    }
}

// The form decides: the application ends once control is back in the
// message loop, which then destroys the window.
void MainWindow::OnClose() {
    CallForm([](MainForm& f) { f.OnCloseRequested(); });
}

// The session ends: the process goes without closing the window, after
// saving what a close would save, without any box.
void MainWindow::OnEndSession(bool ending) {
    if (!ending) return;
    adapters_->form.SaveAtSessionEnd();
    ExitProcess(0);
}
