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

// Starts Dirmind with Wine's display at 144 dpi. Wine reads the resolution
// when a program starts: it goes back at once, and later tests run at 96.
std::unique_ptr<App> StartAt144Dpi(const std::wstring& exe) {
    constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
    constexpr wchar_t kValue[] = L"LogPixels";
    DWORD old = 0;
    DWORD size = sizeof(old);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &old,
                                  &size) == ERROR_SUCCESS;
    const DWORD dpi = 144;
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof(dpi)));
    auto app = std::make_unique<App>(exe);
    if (had) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &old, sizeof(old));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    return app;
}

TEST(Dpi, At144DpiTheWindowIsTheLayoutScaledAndItsPlaceIsSavedAt96) {
    Sandbox box;
    const std::string dat = "120\r\n100\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n";
    box.WriteDat(dat);
    const std::unique_ptr<App> app = StartAt144Dpi(box.ExePath());
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
