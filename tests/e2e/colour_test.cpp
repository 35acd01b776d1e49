// Dirmind started in a dark colour scheme: every text on the window stands
// out from what is behind it, as read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/colour_scheme.h"
#include "app/layout.h"
#include "driver.h"

using namespace e2e;

namespace {

layout::Colour ColourOf(DWORD pixel) {
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}

// The contrast of the colour on screen in a control's rectangle that stands
// out most against the most common one there, its background.
double ContrastOnScreen(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    std::map<DWORD, int> counts;
    for (const DWORD pixel : pixels) ++counts[pixel & 0xFFFFFF];
    const DWORD background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double best = 1.0;
    for (const auto& [pixel, count] : counts) {
        best = std::max(best, ContrastRatio(ColourOf(pixel), ColourOf(background)));
    }
    return best;
}

TEST(Colours, InADarkSchemeEveryTextStandsOutFromWhatIsBehindIt) {
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    struct Restore {
        const int* elements;
        COLORREF colours[4];
        ~Restore() { SetSysColors(4, elements, colours); }
    } restore{elements, {}};
    for (int i = 0; i < 4; ++i) restore.colours[i] = GetSysColor(elements[i]);
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};
    ASSERT_TRUE(SetSysColors(4, elements, dark));
    Sandbox box;
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([&] { return !app.Status().empty(); }));
    for (const int id : {layout::kJwwLabel, layout::kOtherLabel, layout::kFigureLabel,
                         layout::kIntervalLabel, layout::kSecondsLabel, layout::kAutoStartBox,
                         layout::kStartMinimisedBox, layout::kBanner, layout::kStatusLine}) {
        double contrast = 0;
        EXPECT_TRUE(WaitFor([&] { return (contrast = ContrastOnScreen(app.Control(id))) >= 4.5; }))
            << id << ": " << contrast << ":1";
    }
    app.CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app.WaitForExit());
}

}  // namespace
