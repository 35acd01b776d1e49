// The window started on a 144-dpi display (150 %): its client area, fonts
// and frame scaled by 1.5 (the controls' places at each resolution are the
// main window's adapter test), and the saved position still in pixels of a
// 96-dpi screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

// The resolution Wine's session was started with. Wine 10 reads it once per
// session: the test runs in a session of its own started at 144 dpi
// (DIRMIND_WINE_DPI=144 scripts/with-wine.sh) and is skipped in any other.
int SessionDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(Dpi, At144DpiTheWindowIsTheLayoutScaledAndItsPlaceIsSavedAt96) {
    if (SessionDpi() != 144) GTEST_SKIP() << "not a session at 144 dpi";
    Sandbox box;
    const std::string dat = "120\r\n100\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n";
    box.WriteDat(dat);
    const std::unique_ptr<App> app = std::make_unique<App>(box.ExePath());
    ASSERT_TRUE(app->Started());

    RECT frame{};
    GetWindowRect(app->Main(), &frame);
    EXPECT_EQ(180, frame.left);
    EXPECT_EQ(150, frame.top);
    const RECT client = app->MainClientRect();
    EXPECT_EQ(887, client.right);
    EXPECT_EQ(437, client.bottom);
    // The help text's lines: a 19-pixel font (13 × 1.5, rounded down) with its leading.
    const auto lineTop = [&](int line) {
        const LRESULT index = SendMessageW(app->HelpMemo(), EM_LINEINDEX, line, 0);
        return HIWORD(SendMessageW(app->HelpMemo(), EM_POSFROMCHAR, index, 0));
    };
    EXPECT_TRUE(lineTop(1) - lineTop(0) >= 19 && lineTop(1) - lineTop(0) <= 24);

    app->CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app->WaitForExit());
    EXPECT_EQ(dat, box.ReadDat());
}

}  // namespace
