// The main window when its resolution changes (moved to another monitor, or
// the display scale changed): laid out again for the new one, and exactly as
// before when it changes back.
#include "win32/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/layout.h"

namespace {

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font.lfHeight;
}

void ExpectLaidOutFor(HWND window, int dpi) {
    SCOPED_TRACE(dpi);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(MulDiv(layout::kClientWidth, dpi, 96), client.right);
    EXPECT_EQ(MulDiv(layout::kClientHeight, dpi, 96), client.bottom);
    for (const layout::Control& c : layout::Controls()) {
        SCOPED_TRACE(c.name);
        RECT r{};
        GetWindowRect(GetDlgItem(window, c.id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(MulDiv(c.left, dpi, 96), r.left);
        EXPECT_EQ(MulDiv(c.top, dpi, 96), r.top);
        EXPECT_EQ(MulDiv(c.width, dpi, 96), r.right - r.left);
        EXPECT_EQ(MulDiv(c.height, dpi, 96), r.bottom - r.top);
    }
    // Gothic fonts rounded down; the status line's the system's for dpi.
    EXPECT_EQ(-layout::kFontHeight * dpi / 96, FontHeight(GetDlgItem(window, layout::kHelpMemo)));
    EXPECT_EQ(-layout::kBannerFontHeight * dpi / 96,
              FontHeight(GetDlgItem(window, layout::kBanner)));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(MulDiv(metrics.lfStatusFont.lfHeight, dpi, 96),
              FontHeight(GetDlgItem(window, layout::kStatusLine)));
}

TEST(MainWindow, AChangeOfResolutionLaysItOutAgainInTheSuggestedPlace) {
    Win32Application app(L"Dirmind");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    MainWindow main(GetModuleHandleW(nullptr), app);
    ASSERT_TRUE(main.Create());
    ExpectLaidOutFor(main.Handle(), 96);
    for (int dpi : {144, 96, 192}) {
        RECT suggested{300, 200, 300 + MulDiv(600, dpi, 96), 200 + MulDiv(330, dpi, 96)};
        SendMessageW(main.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT frame{};
        GetWindowRect(main.Handle(), &frame);
        EXPECT_EQ(300, frame.left);
        EXPECT_EQ(200, frame.top);
        ExpectLaidOutFor(main.Handle(), dpi);
    }
}

}  // namespace
