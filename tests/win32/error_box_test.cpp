// The input error box: the ways to close it, its default button, its text,
// its place on the screen and its wrapping.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "test_window.h"
#include "win32/message_boxes.h"

namespace {

using namespace adapter_test;

// Finds the error box of this thread and acts on it from inside its modal
// loop; a box still open after five seconds is ended so the test cannot hang.
struct BoxProbe {
    std::function<void(HWND box)> act;
    HWND box = nullptr;
    RECT rect{};
    std::wstring text;
    LRESULT defId = 0;
    bool acted = false;
    int polls = 0;
};
BoxProbe* gProbe = nullptr;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
    wchar_t caption[32] = {};
    GetWindowTextW(hwnd, caption, 32);
    if (IsWindowVisible(hwnd) && std::wstring(caption) == L"\u30A8\u30E9\u30FC") {
        gProbe->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadTexts(HWND child, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    if (_wcsicmp(cls, L"Static") == 0 && text[0]) gProbe->text = text;
    return TRUE;
}

void CALLBACK Probe(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gProbe || gProbe->acted) return;
    if (++gProbe->polls > 250) {
        KillTimer(nullptr, id);
        if (gProbe->box) EndDialog(gProbe->box, IDABORT);
        return;
    }
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (!gProbe->box) return;
    gProbe->acted = true;
    GetWindowRect(gProbe->box, &gProbe->rect);
    EnumChildWindows(gProbe->box, ReadTexts, 0);
    gProbe->defId = SendMessageW(gProbe->box, DM_GETDEFID, 0, 0);
    gProbe->act(gProbe->box);
}

BoxProbe RunErrorBox(HWND owner, const std::wstring& message, std::function<void(HWND box)> act) {
    BoxProbe probe;
    probe.act = std::move(act);
    gProbe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Probe);
    ShowErrorBox(owner, L"\u30A8\u30E9\u30FC", message);
    KillTimer(nullptr, timer);
    gProbe = nullptr;
    return probe;
}

TEST(ErrorBox, OkEnterEscapeAndTheCloseBoxCloseIt) {
    TestWindow owner;
    ShowWindow(owner.Handle(), SW_SHOWNORMAL);
    const std::wstring message = L"\u30D5\u30A9\u30EB\u30C0\u306E\u6307\u5B9A";
    const std::function<void(HWND)> ways[] = {
        [](HWND box) { PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); },
        [](HWND box) { PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 1); },
        [](HWND box) { PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 1); },
        [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& way : ways) {
        BoxProbe probe = RunErrorBox(owner.Handle(), message, way);
        ASSERT_TRUE(probe.acted);
        EXPECT_LE(probe.polls, 250) << "the box did not close";
        EXPECT_EQ(message, probe.text);
        EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), probe.defId);
        EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "the owner is enabled again";
    }
}

TEST(ErrorBox, IsCentredOnTheScreenAndWrapsAtHalfItsWidth) {
    std::wstring message;
    for (int i = 0; i < 200; ++i) message += L"\u3042";
    message += L"\n\u3044";
    BoxProbe probe =
        RunErrorBox(nullptr, message, [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    ASSERT_TRUE(probe.acted);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = probe.rect.right - probe.rect.left;
    const int height = probe.rect.bottom - probe.rect.top;
    EXPECT_LE(std::abs(probe.rect.left - (screenWidth - width) / 2), 1);
    EXPECT_LE(std::abs(probe.rect.top - (screenHeight - height) / 2), 1);
    // Half the screen for the text, plus the icon, the margins and the frame.
    EXPECT_LT(width, screenWidth / 2 + 160);
    EXPECT_GT(height, 100) << "the long text wraps onto several lines";
}

}  // namespace
