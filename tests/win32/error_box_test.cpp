// The input error box: the ways to close it, its default button, its text,
// its place on the screen and its wrapping; both boxes while their owner is
// not on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "test_window.h"
#include "win32/message_boxes.h"

namespace {

using namespace adapter_test;

// Polls of 20 ms: five seconds, after which a box still on screen is ended so
// that the test cannot hang.
constexpr int kMaxPolls = 250;

// Finds the error box of this thread and acts on it from inside its modal
// loop, then watches it close.
struct BoxProbe {
    std::wstring caption;
    std::function<void(HWND box)> act;
    HWND box = nullptr;
    HWND owner = nullptr;
    LONG exStyle = 0;
    // A window whose state while the box is open is taken.
    HWND main = nullptr;
    bool mainEnabled = false;
    RECT rect{};
    std::wstring text;
    LRESULT defId = 0;
    bool acted = false;
    int polls = 0;
    bool ended = false;  // still on screen after kMaxPolls: ended by the probe
};
BoxProbe* gProbe = nullptr;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
    wchar_t text[32] = {};
    GetWindowTextW(hwnd, text, 32);
    const std::wstring caption = text;
    if (IsWindowVisible(hwnd) && caption == gProbe->caption) {
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
    if (!gProbe || gProbe->ended) return;
    if (++gProbe->polls > kMaxPolls) {
        // A closed box may linger hidden until its modal loop returns.
        if (!gProbe->box) EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
        if (gProbe->box && IsWindowVisible(gProbe->box)) {
            gProbe->ended = true;
            KillTimer(nullptr, id);
            EndDialog(gProbe->box, IDABORT);
        }
        return;
    }
    if (gProbe->acted) return;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (!gProbe->box) return;
    gProbe->acted = true;
    GetWindowRect(gProbe->box, &gProbe->rect);
    EnumChildWindows(gProbe->box, ReadTexts, 0);
    gProbe->defId = SendMessageW(gProbe->box, DM_GETDEFID, 0, 0);
    gProbe->owner = GetWindow(gProbe->box, GW_OWNER);
    gProbe->exStyle = GetWindowLongW(gProbe->box, GWL_EXSTYLE);
    gProbe->mainEnabled = IsWindowEnabled(gProbe->main) != FALSE;
    gProbe->act(gProbe->box);
}

// Runs show, which opens a box with that caption, and acts on the box.
BoxProbe RunBox(const std::wstring& caption, const std::function<void()>& show,
                std::function<void(HWND box)> act, HWND main = nullptr) {
    BoxProbe probe;
    probe.caption = caption;
    probe.main = main;
    probe.act = std::move(act);
    gProbe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Probe);
    show();
    KillTimer(nullptr, timer);
    gProbe = nullptr;
    return probe;
}

BoxProbe RunErrorBox(HWND owner, const std::wstring& message, std::function<void(HWND box)> act) {
    const std::wstring caption = L"\u30A8\u30E9\u30FC";
    return RunBox(
        caption, [&] { ShowErrorBox(owner, caption, message); }, std::move(act));
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
        EXPECT_FALSE(probe.ended) << "the box did not close";
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

TEST(ErrorBox, WhileTheOwnerIsNotOnScreenEitherBoxHasATaskBarButton) {
    TestWindow owner;
    Win32MessageBoxes boxes(owner.Handle(), L"Dirmind");
    const auto close = [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); };
    for (const bool shown : {false, true}) {
        if (shown) ShowWindow(owner.Handle(), SW_SHOWNOACTIVATE);
        const BoxProbe input = RunBox(
            L"\u30A8\u30E9\u30FC", [&] { boxes.ShowError("x"); }, close);
        ASSERT_TRUE(input.acted);
        EXPECT_EQ(owner.Handle(), input.owner);
        EXPECT_EQ(!shown, (input.exStyle & WS_EX_APPWINDOW) != 0) << shown;
        const BoxProbe app = RunBox(
            L"Dirmind", [&] { boxes.ShowAppError("x"); }, close, owner.Handle());
        ASSERT_TRUE(app.acted);
        EXPECT_EQ(shown ? owner.Handle() : nullptr, app.owner) << "unowned: a button of its own";
        EXPECT_FALSE(app.mainEnabled) << "the owner is disabled while it is open";
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

}  // namespace

namespace {

struct Arrangement {
    RECT frame{};
    RECT client{};
    RECT ok{};
};

Arrangement ArrangementOf(HWND box) {
    Arrangement a;
    GetWindowRect(box, &a.frame);
    GetClientRect(box, &a.client);
    GetWindowRect(GetDlgItem(box, IDOK), &a.ok);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&a.ok), 2);
    return a;
}

TEST(ErrorBox, AChangeOfResolutionLaysItOutAgainWhereTheSystemSuggests) {
    Arrangement before;
    Arrangement after;
    const BoxProbe probe = RunErrorBox(nullptr, L"\u3042\u3044\u3046", [&](HWND box) {
        before = ArrangementOf(box);
        RECT suggested{40, 30, 400, 300};
        SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        after = ArrangementOf(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(probe.acted);
    EXPECT_EQ(40, after.frame.left);
    EXPECT_EQ(30, after.frame.top);
    const int okHeight = before.ok.bottom - before.ok.top;
    EXPECT_NEAR(okHeight * 1.5, after.ok.bottom - after.ok.top, 3.0) << "the message font at 144";
    EXPECT_GT(after.client.right, before.client.right * 5 / 4);
    EXPECT_LE(std::abs((after.ok.left + after.ok.right) - after.client.right), 1) << "centred";
    EXPECT_LE(after.ok.bottom, after.client.bottom);
}

}  // namespace
