#include "win32/byte_limit.h"

#include <algorithm>
#include <utility>

#include "win32/frame_edge.h"
#include "win32/handles.h"
#include "win32/subclass.h"
#include "win32/text.h"
#include "win32/window_text.h"

namespace {

// The selection of an edit as character positions.
std::pair<std::size_t, std::size_t> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end < start) std::swap(start, end);
    return {start, end};
}

// The longest start of insert, whole characters only, that fits into the
// edit's byte limit in place of its selection.
std::wstring FittingPart(HWND edit, const std::wstring& insert, std::size_t maxBytes) {
    const std::wstring text = WindowText(edit);
    auto [start, end] = Selection(edit);
    start = std::min(start, text.size());
    end = std::min(end, text.size());
    const std::size_t kept = Cp932Length(text.substr(0, start) + text.substr(end));
    std::size_t room = kept < maxBytes ? maxBytes - kept : 0;
    std::size_t taken = 0;
    while (taken < insert.size()) {
        std::size_t length = 1;
        if (IS_HIGH_SURROGATE(insert[taken]) && taken + 1 < insert.size() &&
            IS_LOW_SURROGATE(insert[taken + 1])) {
            length = 2;
        }
        const std::size_t bytes = Cp932Length(insert.substr(taken, length));
        if (bytes > room) break;
        room -= bytes;
        taken += length;
    }
    return insert.substr(0, taken);
}

std::wstring ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {};
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.Open()) return {};
    const GlobalLockScope data(GetClipboardData(CF_UNICODETEXT));
    const auto* chars = static_cast<const wchar_t*>(data.Get());
    return chars ? std::wstring(chars) : std::wstring();
}

constexpr UINT_PTR kByteLimitId = 1;

// Runs the edit's own handling of an input message; when that made the text
// longer than the limit, the text and selection from before come back.
LRESULT GuardedInput(HWND edit, UINT msg, WPARAM wp, LPARAM lp, std::size_t maxBytes) {
    const std::wstring before = WindowText(edit);
    const auto selection = Selection(edit);
    const LRESULT result = DefSubclassProc(edit, msg, wp, lp);
    const std::wstring after = WindowText(edit);
    const std::size_t afterBytes = Cp932Length(after);
    if (afterBytes > maxBytes && afterBytes > Cp932Length(before)) {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, selection.first, selection.second);
        MessageBeep(MB_OK);
    }
    return result;
}

LRESULT CALLBACK ByteLimitProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR maxBytes) noexcept;

LRESULT LimitedMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                       std::size_t maxBytes) {
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR: {
            const auto c = static_cast<wchar_t>(wp);
            // Control characters are editing commands (Backspace, Ctrl+Z, ...).
            if (c < L' ' || c == 0x7F) return GuardedInput(edit, msg, wp, lp, maxBytes);
            if (FittingPart(edit, std::wstring(1, c), maxBytes).empty()) {
                MessageBeep(MB_OK);
                return 0;
            }
            break;
        }
        case WM_PASTE: {
            if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) return 0;
            std::wstring text = ClipboardText(edit);
            // A single-line edit takes the first line only.
            text = text.substr(0, text.find_first_of(L"\r\n"));
            const std::wstring part = FittingPart(edit, text, maxBytes);
            if (part.size() < text.size()) MessageBeep(MB_OK);
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
            return 0;
        }
        case WM_UNDO:
        case EM_UNDO:
        case WM_IME_COMPOSITION:
        case WM_IME_ENDCOMPOSITION:
            return GuardedInput(edit, msg, wp, lp, maxBytes);
        default:
            break;
    }
    return PassOn(edit, msg, wp, lp, ByteLimitProc, id);
}

LRESULT CALLBACK ByteLimitProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR maxBytes) noexcept {
    return AtFrameEdge<LRESULT>(edit, 0,
                                [&] { return LimitedMessage(edit, msg, wp, lp, id, maxBytes); });
}

}  // namespace

std::size_t Cp932Length(const std::wstring& text) { return ToCp932(text).size(); }

void LimitEditBytes(HWND edit, std::size_t maxBytes) {
    SetWindowSubclass(edit, ByteLimitProc, kByteLimitId, static_cast<DWORD_PTR>(maxBytes));
}
