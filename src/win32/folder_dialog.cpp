#include "win32/folder_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>

#include "app/texts.h"
#include "win32/folder_probe.h"
#include "win32/text.h"

namespace {

// Room for a name of this many characters, the terminating zero included.
constexpr DWORD kNameCapacity = 260;
// How long the initial folder's test holds the window before the dialog.
constexpr DWORD kInitialFolderWaitMs = 250;

// Centres the dialog horizontally on the work area of the monitor of
// reference, with a third of the remaining height above it. A dialog larger
// than the work area starts at its top-left corner.
void PlaceDialog(HWND dialog, HWND reference) {
    RECT frame{};
    if (!GetWindowRect(dialog, &frame)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(reference, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = work.left + std::max(0L, (work.right - work.left - width) / 2);
    const int top = work.top + std::max(0L, (work.bottom - work.top - height) / 3);
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The hook runs in an empty child dialog of the Explorer-style dialog; the
// dialog itself is its parent. lCustData carries the window to centre on.
UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) noexcept {
    if (message == WM_NOTIFY) {
        const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (notify->hdr.code == CDN_INITDONE) {
            PlaceDialog(GetParent(hook), reinterpret_cast<HWND>(notify->lpOFN->lCustData));
        }
    }
    return 0;
}

}  // namespace

FolderChoice Win32FolderDialog::Pick(const std::string& initialFolder,
                                     const std::string& fileName) {
    // The window to centre on and to give the focus back to afterwards.
    HWND active = GetActiveWindow();
    if (active == nullptr) active = owner_;
    HWND focus = GetFocus();

    std::wstring name = ToWide(fileName);
    if (name.size() >= kNameCapacity) name.resize(kNameCapacity - 1);
    name.resize(kNameCapacity, L'\0');
    // A folder on a share that does not answer soon is left out: the
    // dialog would hang on it.
    std::wstring initialDir = ToWide(initialFolder);
    if (!initialDir.empty()) {
        const std::optional<DWORD> attributes = AttributesWithin(initialDir, kInitialFolderWaitMs);
        if (!attributes || *attributes == INVALID_FILE_ATTRIBUTES ||
            (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            initialDir.clear();
        }
    }
    const std::wstring title = ToWide(texts::kDialogTitle);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = kNameCapacity;
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title.c_str();
    // The working folder of the process stays where it is.
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    ofn.lpfnHook = HookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(active);

    const bool confirmed = GetOpenFileNameW(&ofn) != FALSE;
    if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
    if (!confirmed) return {};
    name.resize(name.find(L'\0'));
    const std::optional<std::string> path = ToCp932Exact(name);
    if (!path) return {FolderChoice::Outcome::NotShiftJis, {}};
    return {FolderChoice::Outcome::Chosen, *path};
}
