// The main window when its resolution changes (moved to another monitor, or
// the display scale changed): laid out again for the new one in the place
// the system suggests, and exactly as before when it changes back.
#include "win32/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/layout.h"

namespace {

LONG FontHeight(HWND window, int id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(window, id, WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    return font.lfHeight;
}

TEST(MainWindow, AChangeOfResolutionLaysItOutAgainInTheSuggestedPlace) {
    Win32Application app(L"Dirmind");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    MainWindow main(GetModuleHandleW(nullptr), app);
    ASSERT_TRUE(main.Create());
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
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(300, frame.left);
        EXPECT_EQ(200, frame.top);
        EXPECT_EQ(MulDiv(layout::kClientWidth, dpi, 96), client.right);
        EXPECT_EQ(MulDiv(layout::kClientHeight, dpi, 96), client.bottom);
        for (const layout::Control& c : layout::Controls()) {
            RECT r{};
            GetWindowRect(GetDlgItem(window, c.id), &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            const int left = MulDiv(c.left, dpi, 96);
            const int top = MulDiv(c.top, dpi, 96);
            const RECT expected{left, top, left + MulDiv(c.width, dpi, 96),
                                top + MulDiv(c.height, dpi, 96)};
            EXPECT_TRUE(EqualRect(&expected, &r)) << c.name;
        }
        // The Gothic fonts rounded down; the status line's the system's.
        EXPECT_EQ(-layout::kFontHeight * dpi / 96, FontHeight(window, layout::kHelpMemo));
        EXPECT_EQ(-layout::kBannerFontHeight * dpi / 96, FontHeight(window, layout::kBanner));
        EXPECT_EQ(MulDiv(metrics.lfStatusFont.lfHeight, dpi, 96),
                  FontHeight(window, layout::kStatusLine));
    }
}

}  // namespace
