// The application shell's adapters on real windows: the timer's ticks, the
// message pump inside a wait, the window's position while minimised, the
// controls' texts, the interval field's byte limit and the input error box.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "watch/event_loop.h"
#include "win32/application.h"
#include "win32/byte_limit.h"
#include "win32/controls.h"
#include "win32/message_boxes.h"
#include "win32/text.h"
#include "win32/timer.h"
#include "win32/window.h"

namespace {

constexpr UINT_PTR kTimerId = 7;
constexpr int kButtonId = 300;

// A plain top-level window that counts what reaches it.
class TestWindow {
public:
    TestWindow(DWORD style = WS_OVERLAPPEDWINDOW, int left = 100, int top = 100) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"DirmindShellTest";
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(0, atom);
        hwnd_ = CreateWindowExW(0, L"DirmindShellTest", L"test", style, left, top, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), this);
        EXPECT_NE(nullptr, hwnd_);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND Handle() const { return hwnd_; }
    HWND AddChild(const wchar_t* cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 100, 24, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    int ticks = 0;
    int clicks = 0;
    int closes = 0;
    std::function<void()> onClick;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) {
            switch (msg) {
                case WM_TIMER:
                    if (wp == kTimerId) ++self->ticks;
                    return 0;
                case WM_COMMAND:
                    if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) {
                        ++self->clicks;
                        if (self->onClick) self->onClick();
                    }
                    return 0;
                case WM_CLOSE:
                    ++self->closes;
                    return 0;
                default:
                    break;
            }
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
};

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Pumps messages until cond holds or timeoutMs passes.
bool PumpUntil(Win32Application& app, const std::function<bool()>& cond, int timeoutMs) {
    const auto start = Clock::now();
    while (!cond()) {
        if (MsSince(start) > timeoutMs) return false;
        app.WaitForMessage(10);
        app.ProcessMessages();
    }
    return true;
}

void PumpFor(Win32Application& app, int ms) {
    PumpUntil(
        app, [] { return false; }, ms);
}

TEST(ShellTimer, TicksOnlyWhileArmed) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    Win32Timer timer(window.Handle(), kTimerId);
    EXPECT_FALSE(timer.Armed());
    PumpFor(app, 150);
    EXPECT_EQ(0, window.ticks) << "never armed";
    EXPECT_FALSE(timer.IsTick(kTimerId));

    timer.Arm(20);
    EXPECT_TRUE(timer.IsTick(kTimerId));
    EXPECT_FALSE(timer.IsTick(kTimerId + 1));
    EXPECT_TRUE(PumpUntil(
        app, [&] { return window.ticks >= 3; }, 3000));

    timer.Disarm();
    EXPECT_FALSE(timer.IsTick(kTimerId));
    app.ProcessMessages();
    const int ticks = window.ticks;
    PumpFor(app, 150);
    EXPECT_EQ(ticks, window.ticks) << "disarmed";
}

TEST(ShellTimer, EveryArmStartsAFreshInterval) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    Win32Timer timer(window.Handle(), kTimerId);
    const auto start = Clock::now();
    timer.Arm(400);
    PumpFor(app, 250);
    // Armed again: the count starts over from here.
    const auto restart = Clock::now();
    timer.Arm(400);
    PumpUntil(
        app, [&] { return window.ticks > 0; }, 3000);
    ASSERT_EQ(1, window.ticks);
    EXPECT_GE(MsSince(restart), 390);
    EXPECT_GE(MsSince(start), 640);
}

HWND gClickTarget = nullptr;

void CALLBACK PostClick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(gClickTarget, BM_CLICK, 0, 0);
}

void CALLBACK PostQuit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

TEST(ShellPump, ClickDuringAWaitIsHandledBeforeItReturns) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
    ASSERT_NE(nullptr, button);
    long long clickedAt = -1;
    const auto start = Clock::now();
    window.onClick = [&] { clickedAt = MsSince(start); };
    // The click comes 100 ms into the wait.
    gClickTarget = button;
    const UINT_PTR poster = SetTimer(nullptr, 0, 100, PostClick);
    ASSERT_NE(0u, poster);
    DispatchMessagesFor(app, 300);
    const long long returnedAt = MsSince(start);
    KillTimer(nullptr, poster);
    EXPECT_EQ(1, window.clicks);
    EXPECT_GE(clickedAt, 90);
    EXPECT_GE(returnedAt, 295);
    EXPECT_LE(clickedAt, returnedAt);
    EXPECT_FALSE(app.Terminated());
}

HWND gKeyTarget = nullptr;

void CALLBACK PostTab(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(gKeyTarget, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(gKeyTarget, WM_KEYUP, VK_TAB, 0xC0000001);
}

void CALLBACK PostAltS(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // What Alt+S becomes once translated: a system character with Alt down.
    PostMessageW(gKeyTarget, WM_SYSCHAR, L's', (1 << 29) | 1);
}

TEST(ShellPump, TabAndAcceleratorsWorkDuringAWait) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    SetWindowLongPtrW(window.Handle(), GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    app.SetMainWindow(window.Handle());
    HWND first = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100,
                                 24, window.Handle(), reinterpret_cast<HMENU>(INT_PTR{301}),
                                 GetModuleHandleW(nullptr), nullptr);
    HWND start = CreateWindowExW(
        0, L"BUTTON", L"\u958b\u59cb(&S)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10,
        40, 100, 24, window.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, start);
    SetFocus(first);
    ASSERT_EQ(first, GetFocus());

    gKeyTarget = first;
    const UINT_PTR tab = SetTimer(nullptr, 0, 50, PostTab);
    ASSERT_NE(0u, tab);
    DispatchMessagesFor(app, 200);
    KillTimer(nullptr, tab);
    EXPECT_EQ(start, GetFocus()) << "Tab inside the wait moves the focus on";

    SetFocus(first);
    const UINT_PTR alt = SetTimer(nullptr, 0, 50, PostAltS);
    ASSERT_NE(0u, alt);
    DispatchMessagesFor(app, 200);
    KillTimer(nullptr, alt);
    EXPECT_EQ(1, window.clicks) << "Alt+S inside the wait clicks its button";
}

TEST(ShellPump, QuitDuringAWaitIsRememberedButDoesNotEndIt) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    const auto start = Clock::now();
    const UINT_PTR quitter = SetTimer(nullptr, 0, 50, PostQuit);
    ASSERT_NE(0u, quitter);
    DispatchMessagesFor(app, 300);
    KillTimer(nullptr, quitter);
    EXPECT_GE(MsSince(start), 295);
    EXPECT_TRUE(app.Terminated());
}

TEST(ShellPump, RunEndsOnTerminateOrQuit) {
    {
        Win32Application app(L"Dirmind");
        TestWindow window;
        HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
        window.onClick = [&] { app.Terminate(); };
        PostMessageW(button, BM_CLICK, 0, 0);
        app.Run();
        EXPECT_EQ(1, window.clicks);
    }
    {
        Win32Application app(L"Dirmind");
        PostQuitMessage(0);
        app.Run();
        EXPECT_TRUE(app.Terminated());
    }
    {
        // A message sent from another thread is handled inside the loop's
        // wait: Terminate there must end it without a posted message after it.
        Win32Application app(L"Dirmind");
        TestWindow window;
        HWND button = window.AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId);
        window.onClick = [&] { app.Terminate(); };
        const DWORD loopThread = GetCurrentThreadId();
        std::atomic<bool> ended{false};
        std::thread sender([&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &result);
            // Bounded: a loop that missed it would wait for ever.
            for (int i = 0; i < 600 && !ended; ++i) Sleep(10);
            if (!ended) PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
        });
        const auto start = Clock::now();
        app.Run();
        ended = true;
        sender.join();
        EXPECT_EQ(1, window.clicks);
        EXPECT_LT(MsSince(start), 5000);
    }
}

TEST(ShellApplication, ExeNameIsThisProgram) {
    Win32Application app(L"Dirmind");
    const std::wstring name = app.ExeName().native();
    ASSERT_GT(name.size(), 3u);
    EXPECT_EQ(L':', name[1]);
    const std::wstring tail = L"adapter_tests.exe";
    ASSERT_GE(name.size(), tail.size());
    EXPECT_EQ(0, _wcsicmp(tail.c_str(), name.c_str() + name.size() - tail.size()));
}

TEST(ShellWindow, PositionWhileMinimisedIsTheRestoredOne) {
    Win32Application app(L"Dirmind");
    TestWindow window(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 120, 130);
    Win32Window adapter(window.Handle());
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    EXPECT_EQ(120, adapter.Left());
    EXPECT_EQ(130, adapter.Top());

    adapter.Minimize();
    app.ProcessMessages();
    ASSERT_TRUE(IsIconic(window.Handle()));
    EXPECT_EQ(120, adapter.Left());
    EXPECT_EQ(130, adapter.Top());
    adapter.MoveTo(150, 160);
    EXPECT_TRUE(IsIconic(window.Handle()));
    EXPECT_EQ(150, adapter.Left());
    EXPECT_EQ(160, adapter.Top());

    ShowWindow(window.Handle(), SW_RESTORE);
    app.ProcessMessages();
    RECT rect{};
    GetWindowRect(window.Handle(), &rect);
    EXPECT_EQ(150, rect.left);
    EXPECT_EQ(160, rect.top);
    EXPECT_EQ(300, rect.right - rect.left);

    adapter.MoveTo(40, 160);
    GetWindowRect(window.Handle(), &rect);
    EXPECT_EQ(40, rect.left);
    EXPECT_EQ(160, rect.top);

    adapter.Close();
    EXPECT_EQ(1, window.closes) << "the close is handled before Close returns";
}

TEST(ShellControls, TextsRoundTripAsShiftJis) {
    TestWindow window;
    HWND editHandle = window.AddChild(L"EDIT", ES_AUTOHSCROLL, 301);
    HWND checkHandle = window.AddChild(L"BUTTON", BS_AUTOCHECKBOX, 302);
    HWND barHandle = window.AddChild(L"msctls_statusbar32", 0, 303);
    ASSERT_NE(nullptr, barHandle);
    int parts[] = {-1};
    SendMessageW(barHandle, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    // "C:\ソ表\" with the second bytes 0x5C of ソ and 表.
    const std::string folder = "C:\\\x83\x5C\x95\x5C\\";
    Win32Edit edit(editHandle);
    edit.SetText(folder);
    EXPECT_EQ(folder, edit.Text());
    EXPECT_EQ(L"C:\\\u30BD\u8868\\", ToWide(edit.Text()));
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(editHandle));
    edit.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(editHandle));

    Win32CheckBox check(checkHandle);
    EXPECT_FALSE(check.Checked());
    check.SetChecked(true);
    EXPECT_TRUE(check.Checked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(checkHandle, BM_GETCHECK, 0, 0));

    Win32StatusLine status(barHandle);
    const std::string searching = "\x8C\x9F\x8D\xF5\x92\x86\x82\xC5\x82\xB7...";  // 検索中です...
    status.Show(searching);
    wchar_t text[64] = {};
    GetWindowTextW(barHandle, text, 64);
    EXPECT_EQ(std::wstring(L"\u691C\u7D22\u4E2D\u3067\u3059..."), text);
}

TEST(ShellText, OnlyTextsCodePage932CanWriteConvertExactly) {
    EXPECT_EQ(std::optional<std::string>("C:\\\x83\x5C\x95\x5C\\"),
              ToCp932Exact(L"C:\\\u30BD\u8868\\"));
    EXPECT_EQ(std::optional<std::string>(""), ToCp932Exact(L""));
    // No form at all, and a form only through a look-alike letter.
    EXPECT_EQ(std::nullopt, ToCp932Exact(L"C:\\\uD55C\\"));
    EXPECT_EQ(std::nullopt, ToCp932Exact(L"C:\\Jos\u00E9\\"));
}

TEST(ShellControls, DisablingTheFocusedControlMovesTheFocusOn) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    HWND first = window.AddChild(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 310);
    HWND second = window.AddChild(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 311);
    SetFocus(first);
    ASSERT_EQ(first, GetFocus());
    Win32Button button(first);
    button.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(first));
    EXPECT_EQ(second, GetFocus());
}

class ByteLimit : public ::testing::Test {
protected:
    void SetUp() override {
        edit_ = window_.AddChild(L"EDIT", ES_AUTOHSCROLL, 320);
        ASSERT_NE(nullptr, edit_);
        LimitEditBytes(edit_, 8);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(edit_, WM_CHAR, c, 1);
    }
    std::wstring Text() {
        wchar_t text[64] = {};
        GetWindowTextW(edit_, text, 64);
        return text;
    }
    void Paste(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        SendMessageW(edit_, WM_PASTE, 0, 0);
    }

    TestWindow window_;
    HWND edit_ = nullptr;
};

TEST_F(ByteLimit, TypingStopsAtEightBytes) {
    Type(L"1234567890");
    EXPECT_EQ(L"12345678", Text());
    // With the field full, typing over a selection still works.
    SendMessageW(edit_, EM_SETSEL, 0, 2);
    Type(L"ab");
    EXPECT_EQ(L"ab345678", Text());
    SendMessageW(edit_, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(L"a345678", Text());
}

TEST_F(ByteLimit, FullWidthCharactersCountTwo) {
    Type(L"1\u3042\u3044\u3046\u3048");  // 1あいうえ
    EXPECT_EQ(L"1\u3042\u3044\u3046", Text());
    Type(L"x");
    EXPECT_EQ(L"1\u3042\u3044\u3046x", Text());
    Type(L"\uFF76");  // a half-width katakana is one byte
    EXPECT_EQ(L"1\u3042\u3044\u3046x", Text());
}

TEST_F(ByteLimit, PastingKeepsWhatFitsOfTheFirstLine) {
    Paste(L"ABCDEFGHIJ");
    EXPECT_EQ(L"ABCDEFGH", Text());
    SetWindowTextW(edit_, L"12");
    SendMessageW(edit_, EM_SETSEL, 2, 2);
    Paste(L"\u3042\u3044\u3046\u3048\r\nsecond line");
    EXPECT_EQ(L"12\u3042\u3044\u3046", Text());
}

TEST_F(ByteLimit, TextSetByTheProgramIsNotCut) {
    SetWindowTextW(edit_, L"0.0123456789");
    EXPECT_EQ(L"0.0123456789", Text());
    SendMessageW(edit_, EM_SETSEL, 12, 12);
    Type(L"1");
    EXPECT_EQ(L"0.0123456789", Text());
}

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

TEST(ShellErrorBox, OkEnterEscapeAndTheCloseBoxCloseIt) {
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

TEST(ShellErrorBox, IsCentredOnTheScreenAndWrapsAtHalfItsWidth) {
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
