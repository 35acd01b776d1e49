// A second start of the same Dirmind.exe, under any form of its path, brings
// the running copy forward and ends; a copy in another folder runs beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <optional>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

TEST(SecondStart, BringsTheRunningCopyForwardAndLeavesTheSettingsAlone) {
    jw::DeleteAll();
    Sandbox box;
    const std::string dat = "192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n1\r\n";  // start minimised
    box.WriteDat(dat);
    App first(box.ExePath());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor([&] { return IsIconic(first.Main()) != FALSE; }));

    // The same file in lower case, through a "..".
    box.MakeFolder(L"sub");
    std::wstring sameFile = box.Dir() + L"sub\\..\\Dirmind.exe";
    for (wchar_t& c : sameFile) c = static_cast<wchar_t>(std::towlower(c));
    App second(sameFile, false);
    EXPECT_EQ(std::optional<DWORD>(0), second.WaitForExit(5000));
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.Main()); })) << "restored";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == first.Main(); })) << "in front";
    EXPECT_EQ(std::optional<std::string>(dat), box.ReadDat()) << "the settings file untouched";
    EXPECT_TRUE(first.Running());

    Sandbox elsewhere;
    App other(elsewhere.ExePath());
    EXPECT_TRUE(other.Started()) << "a copy in another folder runs side by side";
    EXPECT_TRUE(other.Running());
    EXPECT_TRUE(first.Running());
    for (App* app : {&other, &first}) {
        app->CloseBox();
        EXPECT_EQ(std::optional<DWORD>(0), app->WaitForExit());
    }
}

}  // namespace
