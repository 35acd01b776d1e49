// The program starts, shows its window and ends cleanly.
#include <gtest/gtest.h>

#include "driver.h"

using namespace e2e;

TEST(Startup, WindowComesUpAndExitEndsTheProcess) {
    Sandbox box;
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(MainCaption(), app.Text(app.Main()));
    app.CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app.WaitForExit());
}
