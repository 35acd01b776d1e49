#include "win32/message_boxes.h"

#include <algorithm>

#include "app/texts.h"
#include "win32/dpi.h"
#include "win32/frame_edge.h"
#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/text.h"

namespace {

// What the box shows, and the font and icon made for its resolution when it
// opens, which live until it has closed.
struct ErrorBox {
    const std::wstring* caption;
    const std::wstring* text;
    UniqueFont font;
    UniqueIcon icon;
};

// Spacing in the dialog units of the message font: margins, the gaps between
// icon, text and button, and the button's size.
constexpr int kMargin = 8;
constexpr int kSpacing = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

HWND AddControl(HWND box, const wchar_t* cls, const wchar_t* text, DWORD style, int id, RECT r,
                HFONT font) {
    HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, box,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// The monitor the owner is on or nearest to (the primary one without an
// owner): a window that is not yet shown has its place there all the same.
RECT OwnersMonitor(HWND box) {
    const HWND owner = GetWindow(box, GW_OWNER);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromWindow(owner ? owner : box, MONITOR_DEFAULTTONEAREST), &info)) {
        return info.rcMonitor;
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void LayOut(HWND box, ErrorBox& request) {
    SetWindowTextW(box, request.caption->c_str());
    const RECT screen = OwnersMonitor(box);
    const int screenWidth = static_cast<int>(screen.right - screen.left);
    const int screenHeight = static_cast<int>(screen.bottom - screen.top);
    const UINT dpi = WindowDpi(box);
    NONCLIENTMETRICSW nonClient{};
    if (NonClientMetrics(nonClient, dpi)) {
        request.font.reset(CreateFontIndirectW(&nonClient.lfMessageFont));
    }
    const HFONT font = request.font.get();

    RECT textRect{0, 0, screenWidth / 2, 0};
    int charWidth = 1;
    int charHeight = 1;
    {
        const WindowDC dc(box);
        const SelectedObject selected(
            dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
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

    HWND icon = AddControl(box, L"STATIC", nullptr, SS_ICON, -1,
                           {marginX, marginY, marginX + iconWidth, marginY + iconHeight}, nullptr);
    request.icon.reset(LoadSystemIcon(IDI_ERROR, iconWidth));
    const HICON errorIcon = request.icon ? request.icon.get() : LoadIconW(nullptr, IDI_ERROR);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(errorIcon), 0);
    const int textLeft = marginX + iconWidth + spacingX;
    AddControl(box, L"STATIC", request.text->c_str(), SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, -1,
               {textLeft, marginY, textLeft + textWidth, marginY + textHeight}, font);
    const int buttonLeft = (clientWidth - buttonWidth) / 2;
    const int buttonTop = marginY + rowHeight + spacingY;
    HWND ok = AddControl(
        box, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
        {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight}, font);
    SendMessageW(box, DM_SETDEFID, IDOK, 0);

    const SIZE frame =
        FrameSize({clientWidth, clientHeight}, static_cast<DWORD>(GetWindowLongW(box, GWL_STYLE)),
                  static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE)), dpi);
    const int width = frame.cx;
    const int height = frame.cy;
    SetWindowPos(box, HWND_TOP, screen.left + (screenWidth - width) / 2,
                 screen.top + (screenHeight - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(ok);
}

INT_PTR CALLBACK ErrorBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_INITDIALOG:
            // The focus is set.
            return AtFrameEdge<INT_PTR>(box, FALSE, [&] {
                LayOut(box, *reinterpret_cast<ErrorBox*>(lp));
                return INT_PTR{FALSE};
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
    ErrorBox request{&caption, &text, nullptr, nullptr};
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
