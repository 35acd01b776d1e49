// A second start of the same Dirmind.exe, under any form of its path, brings
// the running copy forward and ends; a copy in another folder runs beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
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

    // The same file through a hard link in another folder.
    ShowWindow(first.Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(first.Main()) != FALSE; }));
    const std::wstring link = box.MakeFolder(L"link") + L"Dirmind.exe";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), box.ExePath().c_str(), nullptr));
    App linked(link, false);
    EXPECT_EQ(std::optional<DWORD>(0), linked.WaitForExit(5000));
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.Main()); })) << "restored";

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

TEST(SecondStart, BringsForwardTheBoxTheFirstCopyShowsBeforeItsWindow) {
    Sandbox box;
    box.WriteDat("192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n");
    // A settings file that cannot be read: its box comes before the window.
    HANDLE holder = CreateFileW(box.DatPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    App first(box.ExePath(), false);
    const HWND error = first.WaitForWindow(L"Dirmind", 20000);
    CloseHandle(holder);
    ASSERT_NE(nullptr, error);
    Sandbox elsewhere;
    App other(elsewhere.ExePath());
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() != error; }));

    App second(box.ExePath(), false);
    EXPECT_EQ(std::optional<DWORD>(0), second.WaitForExit(5000));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == error; })) << "the box in front";
    first.PressButton(error, L"OK");
    EXPECT_TRUE(first.WaitForMain());
}

TEST(SecondStart, AHungFirstCopyNeverHoldsItBack) {
    Sandbox box;
    box.WriteDat("192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n1\r\n");  // start minimised
    App first(box.ExePath());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor([&] { return IsIconic(first.Main()) != FALSE; }));
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, first.ThreadId());
    ASSERT_NE(nullptr, thread);
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(thread));
    App second(box.ExePath(), false);
    EXPECT_EQ(std::optional<DWORD>(0), second.WaitForExit(5000));
    ResumeThread(thread);
    CloseHandle(thread);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.Main()); })) << "restored once it runs";
}

// The name under which the copy of that executable file claims its place:
// its volume and 128-bit file ID, or its 64-bit index where the system gives
// no such ID.
std::wstring ClaimNameOf(const std::wstring& exe) {
    HANDLE file =
        CreateFileW(exe.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    struct {
        ULONGLONG volume;
        BYTE id[16];
    } info{};
    if (!GetFileInformationByHandleEx(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(18), &info,
                                      sizeof(info))) {  // FileIdInfo, Windows 8 on
        BY_HANDLE_FILE_INFORMATION old{};
        GetFileInformationByHandle(file, &old);
        info.volume = old.dwVolumeSerialNumber;
        const ULONGLONG index = (ULONGLONG{old.nFileIndexHigh} << 32) | old.nFileIndexLow;
        std::memcpy(info.id, &index, sizeof(index));
    }
    CloseHandle(file);
    wchar_t name[96] = {};
    int length = swprintf(name, 96, L"Local\\Dirmind-%016llX-", info.volume);
    for (const BYTE byte : info.id) length += swprintf(name + length, 96 - length, L"%02X", byte);
    return name;
}

TEST(SecondStart, ANameHeldByNoRunningCopyOfTheFileStopsNoStart) {
    Sandbox elsewhere;
    App other(elsewhere.ExePath());
    ASSERT_TRUE(other.Started());
    // Another program holds the name, with a main window of another file in it.
    Sandbox box;
    HANDLE held = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                     ClaimNameOf(box.ExePath()).c_str());
    ASSERT_NE(nullptr, held);
    auto* window = static_cast<volatile LONG*>(MapViewOfFile(held, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(nullptr, window);
    *window = HandleToLong(other.Main());

    App app(box.ExePath());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(HandleToLong(app.Main()), *window) << "its own window, for later starts";
    App later(box.ExePath(), false);
    EXPECT_EQ(std::optional<DWORD>(0), later.WaitForExit(5000));
    UnmapViewOfFile(const_cast<LONG*>(window));
    CloseHandle(held);
}

}  // namespace
