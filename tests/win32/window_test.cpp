// The top-level window adapter: its position while minimised, moving, and a
// close handled before Close returns.
#include "win32/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "test_window.h"
#include "win32/application.h"

namespace {

using namespace adapter_test;

TEST(Window, PositionWhileMinimisedIsTheRestoredOne) {
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

}  // namespace
