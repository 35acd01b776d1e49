// The main window as it is made (every control's place and text, the interval
// field's byte limit) and when its resolution changes (moved to another
// monitor, or the display scale changed), also while minimised; its window
// order as screen readers read it; its colours when the system's change.
#include "win32/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <uxtheme.h>

#include <array>
#include <string>
#include <utility>

#include "app/layout.h"
#include "expected/window_layout.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterMainWindowClass(GetModuleHandleW(nullptr));
        ASSERT_TRUE(main.Create());
    }
    HWND Item(int id) const { return GetDlgItem(main.Handle(), id); }

    Win32Application app{L"Dirmind"};
    FakeFileSystem files;
    FakeRegistry registry;
    MainWindow main{GetModuleHandleW(nullptr), {app, files, files, registry}};
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return name;
}

TEST_F(MainWindowTest, WalkingBackFromEachFieldReachesItsOwnLabelFirst) {
    const std::array<std::pair<int, int>, 5> named{
        {{layout::kJwwField, layout::kJwwLabel},
         {layout::kOtherField, layout::kOtherLabel},
         {layout::kFigureField, layout::kFigureLabel},
         {layout::kIntervalField, layout::kIntervalLabel},
         {layout::kHelpMemo, layout::kBanner}}};
    for (const auto& [field, label] : named) {
        HWND before = GetWindow(Item(field), GW_HWNDPREV);
        while (before && _wcsicmp(ClassOf(before).c_str(), L"Static") != 0) {
            before = GetWindow(before, GW_HWNDPREV);
        }
        EXPECT_EQ(Item(label), before) << field;
    }
}

// The resolution whose layout the window shows, exactly: the client area and
// every control at their places; 0 for none.
int LaidOutFor(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    for (int dpi : {96, 144, 192}) {
        if (client.right != MulDiv(kExpectedClientWidth, dpi, 96) ||
            client.bottom != MulDiv(kExpectedClientHeight, dpi, 96)) {
            continue;
        }
        for (const ExpectedControl& c : kExpectedControls) {
            RECT r{};
            GetWindowRect(GetDlgItem(window, c.id), &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            const int left = MulDiv(c.left, dpi, 96);
            const int top = MulDiv(c.top, dpi, 96);
            const RECT expected{left, top, left + MulDiv(c.width, dpi, 96),
                                top + MulDiv(c.height, dpi, 96)};
            EXPECT_TRUE(EqualRect(&expected, &r)) << c.id << " at " << dpi;
        }
        return dpi;
    }
    return 0;
}

TEST_F(MainWindowTest, ItIsMadeWithEveryControlAtItsPlaceWithItsText) {
    EXPECT_EQ(96, LaidOutFor(main.Handle()));
    std::size_t children = 0;
    for (HWND c = GetWindow(main.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(std::size(kExpectedControls), children);
    for (const ExpectedControl& c : kExpectedControls) {
        wchar_t text[128] = {};
        GetWindowTextW(Item(c.id), text, 128);
        if (*c.text) {
            EXPECT_STREQ(c.text, text) << c.id;
        }
    }
    // Typed, the interval field takes eight bytes.
    for (const wchar_t c : std::wstring(L"1234567890")) {
        SendMessageW(Item(layout::kIntervalField), WM_CHAR, c, 1);
    }
    wchar_t interval[16] = {};
    GetWindowTextW(Item(layout::kIntervalField), interval, 16);
    EXPECT_STREQ(L"12345678", interval);
}

LONG FontHeight(HWND window, int id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(window, id, WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    return font.lfHeight;
}

TEST_F(MainWindowTest, AChangeOfResolutionLaysItOutAgainInTheSuggestedPlace) {
    const HWND window = main.Handle();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    for (int dpi : {144, 96, 192}) {
        SCOPED_TRACE(dpi);
        RECT suggested{300, 200, 300 + MulDiv(600, dpi, 96), 200 + MulDiv(330, dpi, 96)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(300, frame.left);
        EXPECT_EQ(200, frame.top);
        EXPECT_EQ(dpi, LaidOutFor(window));
        // The Gothic fonts rounded down; the status line's the system's.
        EXPECT_EQ(-13 * dpi / 96, FontHeight(window, layout::kHelpMemo));
        EXPECT_EQ(-15 * dpi / 96, FontHeight(window, layout::kBanner));
        EXPECT_EQ(MulDiv(metrics.lfStatusFont.lfHeight, dpi, 96),
                  FontHeight(window, layout::kStatusLine));
    }
}

}  // namespace

namespace {

TEST_F(MainWindowTest, AChangeWhileMinimisedKeepsTheMinimisedFrameAndFitsTheRestoredOne) {
    const HWND window = main.Handle();
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(window));
    RECT minimised{};
    GetWindowRect(window, &minimised);
    RECT suggested{300, 200, 1200, 700};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(IsIconic(window));
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_TRUE(EqualRect(&minimised, &frame)) << "the minimised frame is the system's";
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(window, &placement));
    const RECT& normal = placement.rcNormalPosition;
    EXPECT_GE(normal.right - normal.left, MulDiv(kExpectedClientWidth, 144, 96));
    EXPECT_GE(normal.bottom - normal.top, MulDiv(kExpectedClientHeight, 144, 96));

    ShowWindow(window, SW_RESTORE);
    ASSERT_FALSE(IsIconic(window));
    EXPECT_NE(0, LaidOutFor(window)) << "the client area of one resolution's layout";
}

// A change of resolution that the window's own move brings about while it
// handles another: the nested one is the last word.
HHOOK gHook = nullptr;
HWND gNestIn = nullptr;

LRESULT CALLBACK NestAChange(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && gNestIn && call->hwnd == gNestIn && call->message == WM_SIZE) {
        gNestIn = nullptr;
        RECT suggested{100, 100, 1400, 800};
        SendMessageW(call->hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    return CallNextHookEx(gHook, code, wp, lp);
}

TEST_F(MainWindowTest, AChangeBroughtAboutInsideAnotherIsTheLastWord) {
    gHook = SetWindowsHookExW(WH_CALLWNDPROC, NestAChange, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, gHook);
    gNestIn = main.Handle();
    RECT suggested{300, 200, 1200, 700};
    SendMessageW(main.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    UnhookWindowsHookEx(gHook);
    EXPECT_EQ(nullptr, gNestIn) << "the nested change came";
    EXPECT_EQ(192, LaidOutFor(main.Handle()));
}

// The system's colours, as they were, again at the end of a test.
class SavedSystemColours {
public:
    SavedSystemColours() {
        for (std::size_t i = 0; i < kElements.size(); ++i) colours_[i] = GetSysColor(kElements[i]);
    }
    ~SavedSystemColours() {
        SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours_.data());
    }
    static constexpr std::array<int, 4> kElements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE,
                                                  COLOR_BTNTEXT};

private:
    std::array<COLORREF, 4> colours_{};
};

// The colours a static control of the window draws its text in and on.
std::pair<COLORREF, COLORREF> StaticColours(HWND window, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const std::pair<COLORREF, COLORREF> colours{GetTextColor(dc), GetBkColor(dc)};
    DeleteDC(dc);
    return colours;
}

TEST_F(MainWindowTest, ADarkSchemeWhileItRunsTurnsTheLabelsAndTheBannerToTheSystemsPair) {
    const SavedSystemColours saved;
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};
    EXPECT_EQ(RGB(166, 202, 240), StaticColours(main.Handle(), Item(layout::kBanner)).second);
    SetSysColors(4, SavedSystemColours::kElements.data(), dark);
    SendMessageW(main.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    for (int id :
         {layout::kJwwLabel, layout::kSecondsLabel, layout::kAutoStartBox, layout::kBanner}) {
        EXPECT_EQ(std::make_pair(RGB(255, 255, 255), RGB(0, 0, 0)),
                  StaticColours(main.Handle(), Item(id)))
            << id;
    }
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ArrowKeysOnAButtonOrCheckBoxStepOverTheLabels) {
    ShowWindow(main.Handle(), SW_SHOW);
    const auto press = [&](int from, WPARAM key) {
        SetFocus(Item(from));
        MSG msg{Item(from), WM_KEYDOWN, key, 0, 0, {}};
        IsDialogMessageW(main.Handle(), &msg);
        return GetFocus();
    };
    EXPECT_EQ(Item(layout::kOtherField), press(layout::kJwwBrowse, VK_DOWN));
    EXPECT_EQ(Item(layout::kIntervalField), press(layout::kAutoStartBox, VK_UP));
    EXPECT_EQ(Item(layout::kHelpMemo), press(layout::kFigureBrowse, VK_RIGHT)) << "over the banner";
    EXPECT_EQ(Item(layout::kIntervalField), press(layout::kExitButton, VK_DOWN))
        << "over the status line";
}

}  // namespace

namespace {

TEST_F(MainWindowTest, PrivateMessagesFromOutsideWithAnyArgumentsAreIgnored) {
    const HWND window = main.Handle();
    for (UINT msg = WM_USER; msg <= 0xBFFF; ++msg) {
        if (msg == WM_APP + 1) continue;  // the window's own first showing
        for (const LPARAM argument : {LPARAM{0}, LPARAM{0x10}, ~LPARAM{0}}) {
            SendMessageW(window, msg, static_cast<WPARAM>(argument), argument);
        }
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
}

// The window's controls as the executable makes them: with common controls
// 6, whose check boxes draw in the visual style.
class StyledMainWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        std::wstring exe;
        for (const char* c = DIRMIND_EXE_PATH; *c; ++c) {
            exe += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
        }
        if (exe[0] == L'\\') exe = L"Z:" + exe;  // Wine's drive for the build's path
        ACTCTXW context{};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = exe.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);
        const HANDLE manifest = CreateActCtxW(&context);
        ASSERT_NE(INVALID_HANDLE_VALUE, manifest);
        ULONG_PTR cookie = 0;
        ASSERT_TRUE(ActivateActCtx(manifest, &cookie));
        MainWindowTest::SetUp();
        DeactivateActCtx(0, cookie);
        ReleaseActCtx(manifest);
    }
};

TEST_F(StyledMainWindowTest, TheCheckBoxesDropTheStyleWhileTheSystemsColoursAreTaken) {
    const std::array<HWND, 2> boxes{Item(layout::kAutoStartBox), Item(layout::kStartMinimisedBox)};
    const auto styled = [&](bool expected) {
        for (const HWND box : boxes) EXPECT_EQ(expected, GetWindowTheme(box) != nullptr) << box;
    };
    if (!IsThemeActive()) GTEST_SKIP() << "no visual style is active";
    styled(true);
    {
        const SavedSystemColours saved;
        const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};
        SetSysColors(4, SavedSystemColours::kElements.data(), dark);
        SendMessageW(main.Handle(), WM_SYSCOLORCHANGE, 0, 0);
        styled(false);
    }
    SendMessageW(main.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    styled(true);
}

}  // namespace
