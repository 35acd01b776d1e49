// The window on a 144-dpi display (150 %): the layout, its fonts and its
// frame scaled by 1.5, and the saved position still in pixels of a 96-dpi
// screen. Wine reads the resolution from the registry when a program starts:
// it is set for Dirmind's start alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/layout.h"
#include "driver.h"

using namespace e2e;

namespace {

// The resolution Wine gives the programs started while this lives.
class DisplayResolution {
public:
    explicit DisplayResolution(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD type = 0;
        DWORD size = sizeof(old_);
        had_ = RegQueryValueExW(key_, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&old_),
                                &size) == ERROR_SUCCESS &&
               type == REG_DWORD;
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key_, kValue, 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)));
    }
    ~DisplayResolution() {
        if (had_) {
            RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                           sizeof(old_));
        } else {
            RegDeleteValueW(key_, kValue);
        }
        RegCloseKey(key_);
    }
    DisplayResolution(const DisplayResolution&) = delete;
    DisplayResolution& operator=(const DisplayResolution&) = delete;

private:
    static constexpr wchar_t kValue[] = L"LogPixels";
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

TEST(Dpi, At144DpiTheWindowIsTheLayoutScaledAndItsPlaceIsSavedAt96) {
    Sandbox box;
    const std::string dat = "120\r\n100\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n";
    box.WriteDat(dat);
    std::unique_ptr<App> app;
    {
        const DisplayResolution dpi(144);
        app = std::make_unique<App>(box.ExePath());
    }
    ASSERT_TRUE(app->Started());

    RECT frame{};
    GetWindowRect(app->Main(), &frame);
    EXPECT_EQ(180, frame.left);
    EXPECT_EQ(150, frame.top);
    const RECT client = app->MainClientRect();
    EXPECT_EQ(887, client.right);
    EXPECT_EQ(437, client.bottom);
    for (const layout::Control& c : layout::Controls()) {
        SCOPED_TRACE(c.name);
        const RECT r = app->ClientRectOf(app->Control(c.id));
        EXPECT_NEAR(c.left * 1.5, r.left, 1.0);
        EXPECT_NEAR(c.top * 1.5, r.top, 1.0);
        EXPECT_NEAR(c.width * 1.5, r.right - r.left, 1.0);
        EXPECT_NEAR(c.height * 1.5, r.bottom - r.top, 1.0);
    }
    // The help text's lines are those of a 19-pixel font (13 × 1.5, rounded
    // down), with at most its leading and descent below.
    HWND memo = app->HelpMemo();
    const auto lineTop = [&](int line) {
        const LRESULT index = SendMessageW(memo, EM_LINEINDEX, line, 0);
        return static_cast<int>(HIWORD(SendMessageW(memo, EM_POSFROMCHAR, index, 0)));
    };
    const int lineHeight = lineTop(1) - lineTop(0);
    EXPECT_GE(lineHeight, 19);
    EXPECT_LE(lineHeight, 24);

    app->CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app->WaitForExit());
    EXPECT_EQ(dat, box.ReadDat());
}

}  // namespace
