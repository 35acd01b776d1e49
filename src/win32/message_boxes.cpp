#include "win32/message_boxes.h"

#include <algorithm>

#include "app/texts.h"
#include "win32/dpi.h"
#include "win32/frame_edge.h"
#include "win32/handles.h"
#include "win32/newer_functions.h"
#include "win32/system_message.h"
#include "win32/text.h"

namespace {

// What the box shows, and the font and icon made for its resolution, which
// live until it has closed or they are made again for another one.
struct ErrorBox {
    const std::wstring* caption;
    const std::wstring* text;
    Dpi dpi;  // the resolution the box is laid out for
    UniqueFont font;
    UniqueIcon icon;
};

// Spacing in the dialog units of the message font: margins, the gaps between
// icon, text and button, and the button's size.
constexpr int kMargin = 8;
constexpr int kSpacing = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kIconId = 100;
constexpr int kTextId = 101;

void AddControl(HWND box, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, box,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                    nullptr);
}

void Place(HWND box, int id, int left, int top, int width, int height) {
    SetWindowPos(GetDlgItem(box, id), nullptr, left, top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The monitor where the box appears: the one the owner is on or nearest to
// (the primary one without an owner); a window that is not yet shown has its
// place there all the same.
HMONITOR OwnersMonitor(HWND box) {
    const HWND owner = GetWindow(box, GW_OWNER);
    return owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                 : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

RECT MonitorArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) return info.rcMonitor;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A system icon (IDI_ERROR) size pixels square, drawn at that size by common
// controls 6; null where they are not loaded. The caller destroys it.
HICON LoadSystemIcon(const wchar_t* name, int size) {
    HICON icon = nullptr;
    auto* const load = Newer().loadIconWithScaleDown;
    if (!load || FAILED(load(nullptr, name, size, size, &icon))) return nullptr;
    return icon;
}

// Measures and places everything for dpi and the monitor of that area: the
// text wrapped to half its width, the frame centred on it, or with its
// top-left corner at topLeft when given.
void Arrange(HWND box, ErrorBox& request, Dpi dpi, const RECT& screen, const POINT* topLeft) {
    request.dpi = dpi;
    const int screenWidth = static_cast<int>(screen.right - screen.left);
    const int screenHeight = static_cast<int>(screen.bottom - screen.top);
    NONCLIENTMETRICSW nonClient{};
    UniqueFont font;
    if (NonClientMetrics(nonClient, dpi)) font.reset(CreateFontIndirectW(&nonClient.lfMessageFont));

    RECT textRect{0, 0, screenWidth / 2, 0};
    int charWidth = 1;
    int charHeight = 1;
    {
        const WindowDC dc(box);
        const SelectedObject selected(
            dc.Get(), font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.Get(), &metrics);
        static constexpr wchar_t kAlphabet[] =
            L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE alphabet{};
        GetTextExtentPoint32W(dc.Get(), kAlphabet, 52, &alphabet);
        charWidth = std::max(1, static_cast<int>((alphabet.cx / 26 + 1) / 2));
        charHeight = std::max(1, static_cast<int>(metrics.tmHeight));
        DrawTextW(dc.Get(), request.text->c_str(), -1, &textRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    }

    const int marginX = MulDiv(kMargin, charWidth, 4);
    const int marginY = MulDiv(kMargin, charHeight, 8);
    const int spacingX = MulDiv(kSpacing, charWidth, 4);
    const int spacingY = MulDiv(kSpacing, charHeight, 8);
    const int buttonWidth = MulDiv(kButtonWidth, charWidth, 4);
    const int buttonHeight = MulDiv(kButtonHeight, charHeight, 8);
    const int iconWidth = SystemMetric(SM_CXICON, dpi);
    const int iconHeight = SystemMetric(SM_CYICON, dpi);
    const int textWidth = static_cast<int>(textRect.right - textRect.left);
    const int textHeight = static_cast<int>(textRect.bottom - textRect.top);

    const int rowHeight = std::max(iconHeight, textHeight);
    const int clientWidth = std::max(iconWidth + spacingX + textWidth, buttonWidth) + 2 * marginX;
    const int clientHeight = marginY + rowHeight + spacingY + buttonHeight + marginY;

    UniqueIcon icon(LoadSystemIcon(IDI_ERROR, iconWidth));
    const HICON errorIcon = icon ? icon.get() : LoadIconW(nullptr, IDI_ERROR);
    SendDlgItemMessageW(box, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(errorIcon), 0);
    Place(box, kIconId, marginX, marginY, iconWidth, iconHeight);
    for (const int id : {kTextId, IDOK}) {
        SendDlgItemMessageW(box, id, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // The old font and icon go once no control uses them.
    request.font = std::move(font);
    request.icon = std::move(icon);
    Place(box, kTextId, marginX + iconWidth + spacingX, marginY, textWidth, textHeight);
    Place(box, IDOK, (clientWidth - buttonWidth) / 2, marginY + rowHeight + spacingY, buttonWidth,
          buttonHeight);

    const SIZE frame =
        FrameSize({clientWidth, clientHeight}, static_cast<DWORD>(GetWindowLongW(box, GWL_STYLE)),
                  static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE)), dpi);
    const POINT centred{screen.left + (screenWidth - frame.cx) / 2,
                        screen.top + (screenHeight - frame.cy) / 2};
    const POINT place = topLeft ? *topLeft : centred;
    SetWindowPos(box, nullptr, place.x, place.y, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(box, nullptr, TRUE);
}

// Opts the box out of the system's own rescaling of its size, font and
// controls at a change of resolution (Windows 10 1703 on): it lays itself out
// on WM_DPICHANGED.
void KeepDialogLayoutOwn(HWND box) {
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (auto* const set = Newer().setDialogDpiChangeBehavior) set(box, kDisableAll, kDisableAll);
}

void SetUp(HWND box, ErrorBox& request) {
    SetWindowTextW(box, request.caption->c_str());
    KeepDialogLayoutOwn(box);
    AddControl(box, L"STATIC", nullptr, SS_ICON, kIconId);
    AddControl(box, L"STATIC", request.text->c_str(), SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
               kTextId);
    AddControl(box, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    SendMessageW(box, DM_SETDEFID, IDOK, 0);
    const HMONITOR monitor = OwnersMonitor(box);
    Arrange(box, request, MonitorDpi(monitor), MonitorArea(monitor), nullptr);
    SetFocus(GetDlgItem(box, IDOK));
}

// Moved to a monitor of another resolution (by the user, or as it opened):
// laid out again for it where the system suggests.
void OnDpiChanged(HWND box, ErrorBox& request, Dpi dpi, const RECT& suggested) {
    if (dpi == request.dpi) return;
    const POINT topLeft{suggested.left, suggested.top};
    Arrange(box, request, dpi, MonitorArea(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST)),
            &topLeft);
}

INT_PTR CALLBACK ErrorBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_INITDIALOG:
            return AtFrameEdge<INT_PTR>(box, FALSE, [&] {
                SetWindowLongPtrW(box, DWLP_USER, lp);
                SetUp(box, *reinterpret_cast<ErrorBox*>(lp));
                return INT_PTR{FALSE};  // the focus is set
            });
        case kDpiChangedMessage:
            return AtFrameEdge<INT_PTR>(box, TRUE, [&] {
                if (auto* request =
                        reinterpret_cast<ErrorBox*>(GetWindowLongPtrW(box, DWLP_USER))) {
                    OnDpiChanged(box, *request, Dpi(HIWORD(wp)),
                                 *reinterpret_cast<const RECT*>(lp));
                }
                return INT_PTR{TRUE};
            });
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                EndDialog(box, LOWORD(wp));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void ShowErrorBox(HWND owner, const std::wstring& caption, const std::wstring& text) {
    // A frame without controls, laid out in pixels when it opens: a dialog
    // frame with a close box, no minimise or maximise box.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu;
        WORD windowClass;
        WORD title;
    };
    Template tpl{};
    tpl.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    tpl.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    // An owner that is not on screen (the main window during an auto-start)
    // has no task bar button: the box then has its own, so that it can be
    // found behind other windows.
    if (!owner || !IsWindowVisible(owner)) tpl.dialog.dwExtendedStyle |= WS_EX_APPWINDOW;
    ErrorBox request{&caption, &text, Dpi(), nullptr, nullptr};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &tpl.dialog, owner, ErrorBoxProc,
                            reinterpret_cast<LPARAM>(&request));
}

void Win32MessageBoxes::ShowError(const std::string& message) {
    ShowErrorBox(owner_, ToWide(texts::kErrorCaption), ToWide(message));
}

void Win32MessageBoxes::ShowAppError(const std::string& text) { ShowAppBox(ToWide(text)); }

void Win32MessageBoxes::ShowFileError(const std::string& text, const FilePath& path,
                                      const std::string& reason) {
    ShowAppBox(ToWide(text) + L"\n" + path + L"\n" + ToWide(reason));
}

void Win32MessageBoxes::ShowAppBox(const std::wstring& text) {
    // Without an owner on screen the box is a window of its own, with a task
    // bar button, and still keeps the thread's windows disabled while open.
    const bool ownerShown = IsWindowVisible(owner_) != FALSE;
    MessageBoxW(ownerShown ? owner_ : nullptr, text.c_str(), appTitle_.c_str(),
                MB_OK | MB_ICONERROR | (ownerShown ? 0 : MB_TASKMODAL));
}

void ShowSystemError(const std::wstring& appTitle, DWORD error) {
    const std::wstring message = SystemMessageOrCode(error);
    MessageBoxW(nullptr, message.c_str(), appTitle.c_str(), MB_OK | MB_ICONERROR);
}
