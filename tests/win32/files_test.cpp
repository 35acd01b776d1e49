// The Win32 file system on real files: the file system contract, the sharing
// of an open reader, the temporary names, the waits for a brief hold, the
// settings file saved and loaded through it.
#include "win32/files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "contract/settings_files_contract.h"
#include "settings/settings_file.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace {

// A fresh folder under the temporary folder, named with Shift-JIS characters
// whose second bytes are "\" and "|" (ソ, ポ); removed with its files.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount();; ++n) {
            dir_ = std::wstring(base) + L"dm\u30BD\u30DD" + std::to_wstring(n) + L"\\";
            if (CreateDirectoryW(dir_.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() {
        for (const std::wstring& name : Names()) {
            SetFileAttributesW((dir_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW((dir_ + name).c_str())) RemoveDirectoryW((dir_ + name).c_str());
        }
        RemoveDirectoryW(dir_.c_str());
    }
    // The folder in code page 932, ending with "\".
    std::string Dir() const { return ToCp932(dir_); }
    std::wstring WDir() const { return dir_; }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((dir_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }
    void Put(const std::wstring& name, const std::string& bytes) const {
        HANDLE h = CreateFileW((dir_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::optional<std::string> Get(const std::wstring& name) const {
        HANDLE h = CreateFileW((dir_ + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, got);
        CloseHandle(h);
        return bytes;
    }

private:
    std::wstring dir_;
};

// Real files in a fresh folder under the file system contract.
class Win32Bench : public files_contract::Bench {
public:
    ISettingsFiles& Files() override { return files_; }
    FilePath Folder() const override { return folder_.WDir(); }
    void Put(const std::wstring& name, const std::string& bytes) override {
        folder_.Put(name, bytes);
    }
    void PutFolder(const std::wstring& name) override {
        CreateDirectoryW((folder_.WDir() + name).c_str(), nullptr);
    }
    void MakeReadOnly(const std::wstring& name) override {
        SetFileAttributesW((folder_.WDir() + name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    std::optional<std::string> Get(const std::wstring& name) const override {
        return folder_.Get(name);
    }
    std::size_t Count() const override { return folder_.Names().size(); }

private:
    TempFolder folder_;
    Win32FileSystem files_;
};

std::unique_ptr<files_contract::Bench> MakeWin32Bench() { return std::make_unique<Win32Bench>(); }

using files_contract::SettingsFilesContract;
INSTANTIATE_TEST_SUITE_P(Win32, SettingsFilesContract, ::testing::Values(&MakeWin32Bench));

class Win32FilesTest : public ::testing::Test {
protected:
    FilePath DatPath() const { return folder.WDir() + L"Dirmind.dat"; }
    // Another program's handle on the settings file, with the given sharing.
    HANDLE Hold(DWORD share) const {
        return CreateFileW(DatPath().c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    // A record at the window's designed place, as a first start has it.
    static Settings Record() {
        Settings settings;
        settings.left = 192;
        settings.top = 107;
        return settings;
    }

    TempFolder folder;
    Win32FileSystem files;
};

const std::string kOld = "1\r\n2\r\nC:\\Old\\\r\n\r\n\r\n9\r\n1\r\n1\r\n";

TEST_F(Win32FilesTest, AnOpenReaderLetsOthersReadAndWriteAndKeepsReading) {
    folder.Put(L"Dirmind.dat", kOld);
    auto reader = files.OpenRead(DatPath()).file;
    ASSERT_NE(nullptr, reader);
    const std::wstring path = folder.WDir() + L"Dirmind.dat";
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, writer) << "another program's write or delete is never refused";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_EQ(kOld, folder.Get(L"Dirmind.dat"));

    char buffer[64];
    std::size_t got = 0;
    ASSERT_TRUE(reader->Read(buffer, sizeof buffer, got).Done());
    EXPECT_EQ(kOld, std::string(buffer, got));
    EXPECT_TRUE(reader->Read(buffer, sizeof buffer, got).Done());
    EXPECT_EQ(0u, got);
    reader.reset();
    writer = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, writer) << "closed when the reader is destroyed";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

// Room for "~" and one digit at least, and for ".tmp" where there is room.
TEST_F(Win32FilesTest, TemporaryNamesUseTheRoomOfTheTargetsName) {
    auto shortest = files.CreateTempBeside(folder.WDir() + L"a.dat").file;
    ASSERT_NE(nullptr, shortest);
    EXPECT_EQ(folder.WDir().size() + 5, shortest->Path().size());
    auto longer = files.CreateTempBeside(DatPath()).file;
    ASSERT_NE(nullptr, longer);
    EXPECT_EQ(L".tmp", longer->Path().substr(longer->Path().size() - 4));
    const auto missing = files.CreateTempBeside(folder.WDir() + L"missing\\Dirmind.dat");
    EXPECT_EQ(nullptr, missing.file);
    EXPECT_EQ(SystemReason(ERROR_PATH_NOT_FOUND), missing.status.reason);
}

TEST_F(Win32FilesTest, SettingsRoundTripByteForByteInAShiftJisFolder) {
    Settings saved = Record();
    const std::string sjisFolder = "D:\\\x83\x5C\x83\x74\x83\x67\\\x83\x7C\\";
    saved.folders[0] = sjisFolder;
    saved.intervalSeconds = 0.01;
    saved.startMinimised = true;
    EXPECT_TRUE(SaveSettings(files, DatPath(), saved).Done());
    EXPECT_EQ("192\r\n107\r\n" + sjisFolder + "\r\n\r\n\r\n0.01\r\n0\r\n1\r\n",
              folder.Get(L"Dirmind.dat"));
    EXPECT_EQ(std::vector<std::wstring>{L"Dirmind.dat"}, folder.Names());

    Settings back;
    EXPECT_TRUE(LoadSettings(files, DatPath(), back).Done());
    EXPECT_EQ(192, back.left);
    EXPECT_EQ(107, back.top);
    EXPECT_EQ(sjisFolder, back.folders[0]);
    EXPECT_EQ(0.01, back.intervalSeconds);
    EXPECT_TRUE(back.startMinimised);
}

// A replace that the system refuses (another program holds the file open)
// leaves the old file and no temporary file, and says why.
TEST_F(Win32FilesTest, ARefusedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
    folder.Put(L"Dirmind.dat", kOld);
    HANDLE holder = Hold(FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    Settings settings = Record();
    settings.folders[0] = "C:\\New\\";
    const FileStatus saved = SaveSettings(files, DatPath(), settings);
    CloseHandle(holder);
    EXPECT_EQ(FileStatus::Code::Failed, saved.code);
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(kOld, folder.Get(L"Dirmind.dat"));
    EXPECT_EQ(std::vector<std::wstring>{L"Dirmind.dat"}, folder.Names());
}

// A hold that ends while the replace is tried again does not lose the save.
TEST_F(Win32FilesTest, AHoldThatEndsSoonIsWaitedOut) {
    folder.Put(L"Dirmind.dat", kOld);
    HANDLE holder = Hold(0);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    FileStatus saved{FileStatus::Code::Failed, "not run"};
    std::thread save([&] { saved = SaveSettings(files, DatPath(), Record()); });
    // Released once the temporary file is written, before the save gives up.
    const DWORD start = GetTickCount();
    while (folder.Names().size() < 2 && GetTickCount() - start < 5000) Sleep(1);
    EXPECT_EQ(2u, folder.Names().size());
    CloseHandle(holder);
    save.join();
    EXPECT_TRUE(saved.Done()) << saved.reason;
    EXPECT_EQ("192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n", folder.Get(L"Dirmind.dat"));
}

// The same at start-up: a load that meets a hold is not a file that cannot be
// read.
TEST_F(Win32FilesTest, AHoldAtLoadIsWaitedOut) {
    folder.Put(L"Dirmind.dat", kOld);
    HANDLE holder = Hold(0);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::atomic<bool> loading{false};
    Settings settings = Record();
    FileStatus loaded{FileStatus::Code::Failed, "not run"};
    std::thread load([&] {
        loading = true;
        loaded = LoadSettings(files, DatPath(), settings);
    });
    while (!loading) Sleep(1);
    // A hold of some 50 ms, well within the retries.
    Sleep(50);
    CloseHandle(holder);
    load.join();
    EXPECT_TRUE(loaded.Done()) << loaded.reason;
    EXPECT_EQ("C:\\Old\\", settings.folders[0]);
}

TEST_F(Win32FilesTest, ASaveIntoAMissingFolderLeavesNothing) {
    const FileStatus saved = SaveSettings(files, folder.WDir() + L"missing\\Dirmind.dat", Record());
    EXPECT_EQ(FileStatus::Code::Failed, saved.code);
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
