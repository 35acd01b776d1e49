// The registry's change notification against the real registry: a key that
// is missing when it starts listening, then created, deleted and created
// again, is told each time through the message loop; after Disarm nothing is.
#include "win32/change_signal.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kRoot[] = L"SOFTWARE\\DirmindSignalTest";
constexpr char kKeyPath[] = "SOFTWARE\\DirmindSignalTest\\jw_win\\Folder";

void SetValue(const wchar_t* path, const wchar_t* text) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    RegSetValueExW(key, L"File", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

class ChangeSignalTest : public ::testing::Test {
protected:
    ChangeSignalTest() { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }
    ~ChangeSignalTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }

    // Waits on the events as the message loop does until a change is told;
    // true when one was within timeoutMs.
    bool Told(DWORD timeoutMs = 3000) {
        const int before = told;
        const DWORD start = GetTickCount();
        while (told == before) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            const auto events = signal.Events();
            const DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(events.size()),
                                                      events.data(), FALSE, timeoutMs - elapsed);
            if (woke < WAIT_OBJECT_0 + events.size()) signal.OnSignalled(woke - WAIT_OBJECT_0);
        }
        return true;
    }

    int told = 0;
    Win32ChangeSignal signal{[this] { ++told; }};
};

TEST_F(ChangeSignalTest, AMissingKeyIsWatchedFromAboveUntilDisarmed) {
    ASSERT_TRUE(signal.Arm(kKeyPath));
    SetValue(L"SOFTWARE\\DirmindSignalTest\\jw_win\\Folder", L"C:\\One");
    EXPECT_TRUE(Told());
    // Down at the key now: its values are told.
    SetValue(L"SOFTWARE\\DirmindSignalTest\\jw_win\\Folder", L"C:\\Two");
    EXPECT_TRUE(Told());
    // Deleted, and created again.
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    EXPECT_TRUE(Told());
    SetValue(L"SOFTWARE\\DirmindSignalTest\\jw_win\\Folder", L"C:\\Three");
    EXPECT_TRUE(Told());
    SetValue(L"SOFTWARE\\DirmindSignalTest\\jw_win\\Folder", L"C:\\Four");
    EXPECT_TRUE(Told());

    signal.Disarm();
    SetValue(L"SOFTWARE\\DirmindSignalTest\\jw_win\\Folder", L"C:\\Five");
    EXPECT_FALSE(Told(1000));
}

}  // namespace
