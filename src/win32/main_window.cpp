#include "win32/main_window.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/error_boundary.h"
#include "app/layout.h"
#include "app/texts.h"
#include "app/window_place.h"
#include "win32/change_signal.h"
#include "win32/files.h"
#include "win32/folder_dialog.h"
#include "win32/handles.h"
#include "win32/message_boxes.h"
#include "win32/registry.h"
#include "win32/resource.h"
#include "win32/text.h"
#include "win32/timer.h"

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr UINT kFirstShowMessage = WM_APP + 1;
constexpr UINT_PTR kWatchTimerId = 1;
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFrameExStyle = WS_EX_CONTROLPARENT;

// The one main window of the thread, for its focus hook.
MainWindow* gFocusWindow = nullptr;

COLORREF ToColorRef(layout::Colour c) { return RGB(c.red, c.green, c.blue); }

BOOL CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool FaceInstalled(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const WindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.Get(), &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// "ＭＳ ゴシック", or where it is missing a Japanese Gothic of the same
// pixel size (Wine ships none of its own; the IPA fonts stand in).
std::wstring GothicFace() {
    const std::array<std::wstring, 4> faces{ToWide(texts::kFontName), L"MS Gothic", L"IPAゴシック",
                                            L"IPAGothic"};
    for (const auto& face : faces) {
        if (FaceInstalled(face)) return face;
    }
    return faces[0];
}

HFONT GothicFont(const std::wstring& face, int pixels, int width = 0) {
    return CreateFontW(-pixels, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, face.c_str());
}

int FullWidthAdvance(HFONT font) {
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), L"\u3042", 1, &size);
    return static_cast<int>(size.cx);
}

// The layout's sizes are those of a Gothic whose full-width characters are
// as wide as they are high. A stand-in that renders them wider (the IPA
// Gothic under Wine rounds 13 pixels up to 14) is narrowed to half-width
// characters of half the height, so that every text fits its control.
UniqueFont SquareGothicFont(const std::wstring& face, int pixels) {
    UniqueFont font(GothicFont(face, pixels));
    if (font && FullWidthAdvance(font.get()) > pixels) {
        if (HFONT narrowed = GothicFont(face, pixels, pixels / 2)) font.reset(narrowed);
    }
    return font;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<ScreenArea>*>(areas)->push_back(
            {r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

struct ClassAndStyle {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle WindowKind(layout::Kind kind) {
    switch (kind) {
        case layout::Kind::Banner:
            return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case layout::Kind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case layout::Kind::Edit:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case layout::Kind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case layout::Kind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case layout::Kind::Memo:
            return {L"EDIT",
                    ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                        WS_HSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case layout::Kind::StatusLine:
            return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

// The adapters over the window's controls and the form that uses them; made
// once the controls exist.
struct MainWindow::Parts {
    Parts(HWND hwnd, Win32Application& app, IFocusHost& focus, std::function<void()> onChange)
        : window(hwnd),
          boxes(hwnd, app.Title()),
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
              MainFormServices{app, app, files, files, registry, watchTimer, changeSignal}) {}

    Win32Window window;
    Win32MessageBoxes boxes;
    Win32Edit jwwField, otherField, figureField, intervalField;
    Win32Button jwwBrowse, otherBrowse, figureBrowse, startButton, stopButton;
    Win32CheckBox autoStartBox, startMinimisedBox;
    Win32StatusLine statusLine;
    Win32Timer watchTimer;
    Win32ChangeSignal changeSignal;
    Win32FolderDialog folderDialog;
    Win32Registry registry;
    Win32FileSystem files;
    MainForm form;
};

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
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

MainWindow::MainWindow(HINSTANCE instance, Win32Application& application)
    : instance_(instance), application_(application) {}

MainWindow::~MainWindow() {
    if (focusHook_) UnhookWindowsHookEx(focusHook_);
    if (gFocusWindow == this) gFocusWindow = nullptr;
    // The adapters stay until the window and its controls are gone, then the
    // fonts and brushes they used.
    if (hwnd_) DestroyWindow(hwnd_);
    parts_.reset();
}

bool MainWindow::Create() {
    RECT frame{0, 0, layout::kClientWidth, layout::kClientHeight};
    AdjustWindowRectEx(&frame, kFrameStyle, FALSE, kFrameExStyle);
    const std::wstring caption = ToWide(texts::kCaption);
    HWND hwnd = CreateWindowExW(kFrameExStyle, kClassName, caption.c_str(), kFrameStyle,
                                layout::kInitialLeft, layout::kInitialTop, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    if (!hwnd) return false;
    // The frame's metrics may differ from what AdjustWindowRectEx assumed:
    // the client area is what must come out exact.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int dx = layout::kClientWidth - client.right;
    const int dy = layout::kClientHeight - client.bottom;
    if (dx != 0 || dy != 0) {
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateFonts();
    CreateControls();
    parts_ = std::make_unique<Parts>(
        hwnd_, application_, *this, [this] { Run([](MainForm& form) { form.OnFolderChange(); }); });
    const auto events = parts_->changeSignal.Events();
    for (std::size_t i = 0; i < events.size(); ++i) {
        application_.WaitAlsoFor(events[i], [this, i] { parts_->changeSignal.OnSignalled(i); });
    }
    // The control that last had the focus gets it back when the window is
    // activated or restored; minimising takes the focus away without
    // deactivating the window, so every change of focus is noted.
    gFocusWindow = this;
    focusHook_ = SetWindowsHookExW(WH_CBT, FocusHook, nullptr, GetCurrentThreadId());
    PostMessageW(hwnd_, kFirstShowMessage, 0, 0);
    return true;
}

void MainWindow::CreateFonts() {
    const std::wstring face = GothicFace();
    windowFont_ = SquareGothicFont(face, layout::kFontHeight);
    bannerFont_ = SquareGothicFont(face, layout::kBannerFontHeight);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        statusFont_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
    }
    bannerBrush_.reset(CreateSolidBrush(ToColorRef(layout::kBannerColour)));
}

void MainWindow::CreateControls() {
    const std::wstring help = ToWide(layout::HelpText());
    for (const layout::Control& control : layout::Controls()) {
        const ClassAndStyle kind = WindowKind(control.kind);
        const std::wstring text = control.kind == layout::Kind::Memo ? help : ToWide(control.text);
        HWND hwnd = CreateWindowExW(kind.exStyle, kind.cls, text.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style,
                                    control.left, control.top, control.width, control.height, hwnd_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                    instance_, nullptr);
        if (!hwnd) continue;
        HFONT font = windowFont_.get();
        if (control.kind == layout::Kind::Banner) font = bannerFont_.get();
        if (control.kind == layout::Kind::StatusLine) font = statusFont_.get();
        if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        if (control.kind == layout::Kind::StatusLine) {
            int parts[] = {-1};
            SendMessageW(hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
            PaintStatusLine(hwnd, ToColorRef(layout::kStatusLineColour));
            // The bar sizes itself to its font: put it back in its place.
            SetWindowPos(hwnd, nullptr, control.left, control.top, control.width, control.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (control.kind == layout::Kind::Memo) {
            KeepEscapeInMemo(hwnd);
        } else if (control.id == layout::kIntervalField) {
            LimitEditBytes(hwnd, layout::kIntervalMaxBytes);
            ImmAssociateContextEx(hwnd, nullptr, 0);
        }
    }

    // The dialog manager tabs in Z order: put the focusable controls in
    // their tab order.
    std::vector<const layout::Control*> tabbed;
    for (const layout::Control& control : layout::Controls()) {
        if (control.tab != layout::kNoTabStop) tabbed.push_back(&control);
    }
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [](const auto* a, const auto* b) { return a->tab < b->tab; });
    for (const layout::Control* control : tabbed) {
        SetWindowPos(GetDlgItem(hwnd_, control->id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

template <typename Handler>
void MainWindow::Run(Handler&& handler) {
    RunHandler(parts_->boxes, [&] { handler(parts_->form); });
}

void MainWindow::FirstShow() {
    if (shown_) return;
    shown_ = true;
    Run([](MainForm& form) { form.OnShown(); });
    if (application_.Terminated() || !hwnd_) return;
    KeepInView();
    if (!IsIconic(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
}

void MainWindow::KeepInView() {
    std::vector<ScreenArea> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    // The size of the frame as restored; the place as the form sees it.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(hwnd_, &placement)) return;
    const RECT& normal = placement.rcNormalPosition;
    Win32Window& window = parts_->window;
    const ScreenPoint now{window.Left(), window.Top()};
    const ScreenPoint target =
        PositionInView(now, normal.right - normal.left, normal.bottom - normal.top, workAreas);
    if (target.x != now.x || target.y != now.y) window.MoveTo(target.x, target.y);
}

void MainWindow::FocusControl(HWND control) {
    lastFocus_ = control;
    // A focus already among the controls moves too while the window is
    // hidden: the window is activated when an error box of the auto-start
    // closes, gives the focus to its first control, and showing it later
    // brings no new activation that would restore the one noted here.
    if ((IsWindowVisible(hwnd_) && !IsIconic(hwnd_)) || IsChild(hwnd_, GetFocus())) {
        SetFocus(control);
    }
}

bool MainWindow::HasFocus(HWND control) const {
    if (IsWindowVisible(hwnd_) && !IsIconic(hwnd_)) return GetFocus() == control;
    return lastFocus_ == control;
}

void MainWindow::RestoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    }
    if (target) SetFocus(target);
}

void MainWindow::Command(int id, HWND control) {
    // A click that reaches a disabled button (a queued BM_CLICK) is dropped.
    if (!IsWindowEnabled(control)) return;
    switch (id) {
        case layout::kJwwBrowse:
            Run([](MainForm& f) { f.OnBrowse(0); });
            break;
        case layout::kOtherBrowse:
            Run([](MainForm& f) { f.OnBrowse(1); });
            break;
        case layout::kFigureBrowse:
            Run([](MainForm& f) { f.OnBrowse(2); });
            break;
        case layout::kStartButton:
            Run([](MainForm& f) { f.OnStart(); });
            break;
        case layout::kStopButton:
            Run([](MainForm& f) { f.OnStop(); });
            break;
        case layout::kExitButton:
            Run([](MainForm& f) { f.OnExit(); });
            break;
        default:
            break;
    }
}

LRESULT MainWindow::StaticColours(HDC dc, HWND control) {
    switch (GetDlgCtrlID(control)) {
        case layout::kBanner:
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, ToColorRef(layout::kBannerColour));
            return reinterpret_cast<LRESULT>(bannerBrush_.get());
        case layout::kJwwField:
        case layout::kOtherField:
        case layout::kFigureField:
        case layout::kIntervalField:
        case layout::kHelpMemo:
            // Read-only and disabled edits ask here; they keep the window colour.
            SetTextColor(dc,
                         GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        default:
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, ToColorRef(layout::kBackground));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
}

LRESULT CALLBACK MainWindow::FocusHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_SETFOCUS && gFocusWindow && gFocusWindow->hwnd_) {
        HWND gaining = reinterpret_cast<HWND>(wp);
        if (gaining && IsChild(gFocusWindow->hwnd_, gaining)) gFocusWindow->lastFocus_ = gaining;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->Handle(msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (!parts_) return DefWindowProcW(hwnd_, msg, wp, lp);
    switch (msg) {
        case kFirstShowMessage:
            FirstShow();
            return 0;
        case WM_COMMAND:
            // Enter and Esc reach here as IDOK and IDCANCEL without a control:
            // the window has no default or cancel button.
            if (lp != 0 && HIWORD(wp) == BN_CLICKED) {
                Command(LOWORD(wp), reinterpret_cast<HWND>(lp));
            }
            return 0;
        case WM_TIMER:
            if (parts_->watchTimer.IsTick(wp)) Run([](MainForm& f) { f.OnWatchTick(); });
            return 0;
        case WM_CLOSE:
            // The form decides: the application ends once control is back in
            // the message loop, which then destroys the window.
            Run([](MainForm& f) { f.OnCloseRequested(); });
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends: the process goes without closing the window,
            // after saving what a close would save, without any box.
            if (wp) {
                parts_->form.SaveAtSessionEnd();
                ExitProcess(0);
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            return StaticColours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_NEXTDLGCTL: {
            // A multi-line edit passes Tab on this way.
            HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                                   : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
            if (next) SetFocus(next);
            return 0;
        }
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}
