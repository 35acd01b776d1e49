// Other programs find the window by its class name and post it messages of
// the private ranges with arguments of their own: Dirmind goes on as before.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "driver.h"

using namespace e2e;

TEST(ForeignMessages, PrivateMessagesWithAnyArgumentsChangeNothing) {
    jw::DeleteAll();
    Sandbox box;
    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    const std::wstring folder = box.MakeFolder(L"typed");
    app.SetText(app.FolderField(0), folder);

    for (UINT msg = WM_USER; msg <= 0xBFFF; ++msg) {
        // Small numbers and all ones, neither of them a pointer of Dirmind's.
        const auto argument = static_cast<LPARAM>(msg % 2 ? 0x10 : -1);
        // A full queue takes more once the program has read some.
        ASSERT_TRUE(WaitFor([&] {
            return PostMessageW(app.Main(), msg, static_cast<WPARAM>(argument), argument) != FALSE;
        })) << msg;
    }
    // Posted after them: once it is handled, so are they.
    app.Click(app.AutoStartBox());
    EXPECT_TRUE(WaitFor([&] { return app.Checked(app.AutoStartBox()); }));
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(app.OtherWindows({app.Main()}).empty()) << "no box";

    app.CloseBox();
    EXPECT_EQ(std::optional<DWORD>(0), app.WaitForExit());
    const std::optional<std::string> saved = box.ReadDat();
    ASSERT_TRUE(saved.has_value());
    EXPECT_NE(std::string::npos, saved->find("\r\n" + ToCp932(folder) + "\r\n"));
    EXPECT_NE(std::string::npos, saved->find("\r\n1\r\n0\r\n")) << "auto-start on, minimised off";
}
