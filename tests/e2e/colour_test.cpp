// Dirmind started in a dark colour scheme: every text on the window stands
// out from what is behind it, as read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "app/colour_scheme.h"
#include "app/layout.h"
#include "driver.h"

using namespace e2e;

namespace {

// The system's colours, as they were, again at the end of the test.
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

layout::Colour ColourOf(DWORD pixel) {
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}

// The screen's pixels in a control's rectangle: the contrast of the colour
// that stands out most against the most common one, the background.
double ContrastOnScreen(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::map<DWORD, int> counts;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) ++counts[pixels[i] & 0xFFFFFF];
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DWORD background = 0;
    int most = 0;
    for (const auto& [pixel, count] : counts) {
        if (count > most) background = pixel, most = count;
    }
    double best = 1.0;
    for (const auto& [pixel, count] : counts) {
        best = std::max(best, ContrastRatio(ColourOf(pixel), ColourOf(background)));
    }
    return best;
}

TEST(Colours, InADarkSchemeEveryTextStandsOutFromWhatIsBehindIt) {
    const SavedSystemColours saved;
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};
    ASSERT_TRUE(SetSysColors(4, SavedSystemColours::kElements.data(), dark));
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
