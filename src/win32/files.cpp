#include "win32/files.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "util/folder_count.h"
#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/text.h"

namespace {

constexpr int kHoldAttempts = 6;
constexpr DWORD kHoldPauseMs = 100;

using Clock = std::chrono::steady_clock;
// How long one folder's test is waited for: all folders of a pass or a Start
// together hold the window's thread no longer than about 0.2 s.
constexpr auto kFolderWait = std::chrono::milliseconds(200) / kFolderCount;

FileStatus Failure(DWORD error) { return {FileStatus::Code::Failed, SystemReason(error)}; }

FileStatus LastFailure() { return Failure(GetLastError()); }

// INVALID_FILE_ATTRIBUTES when nothing can be reached at path.
DWORD Attributes(const std::wstring& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(path.c_str());
}

bool Has(DWORD attributes, DWORD flag) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & flag) != 0;
}

bool FolderAt(const std::wstring& path) { return Has(Attributes(path), FILE_ATTRIBUTE_DIRECTORY); }

// Errors of a hold that another program lets go of soon: a virus scan or a
// backup that has the file open, a file being deleted or replaced, a cloud
// file whose provider (OneDrive) is still starting.
bool IsBriefHold(DWORD error) {
    constexpr DWORD kCloudProviderNotRunning = 362;
    constexpr DWORD kCloudNetworkUnavailable = 388;
    constexpr DWORD kCloudUnsuccessful = 389;
    constexpr DWORD kCloudInUse = 391;
    constexpr DWORD kCloudProviderTerminated = 404;
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:
        case kCloudProviderNotRunning:
        case kCloudNetworkUnavailable:
        case kCloudUnsuccessful:
        case kCloudInUse:
        case kCloudProviderTerminated:
            return true;
        default:
            return false;
    }
}

// Runs attempt (false on failure, with the cause in GetLastError) until it
// succeeds, fails otherwise than for a brief hold, or has been tried for
// about half a second. ERROR_SUCCESS or the last error.
template <typename Attempt>
DWORD WaitingOutHolds(Attempt attempt) {
    for (int n = 1;; ++n) {
        if (attempt()) return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        if (n == kHoldAttempts || !IsBriefHold(error)) return error;
        Sleep(kHoldPauseMs);
    }
}

class Win32Reader : public IFileReader {
public:
    explicit Win32Reader(HANDLE handle) : file_(handle) {}

    FileStatus Read(char* buffer, std::size_t size, std::size_t& got) override {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD read = 0;
        const DWORD error = WaitingOutHolds(
            [&] { return ReadFile(file_.Get(), buffer, wanted, &read, nullptr) != FALSE; });
        got = error == ERROR_SUCCESS ? read : 0;
        return error == ERROR_SUCCESS ? FileStatus{} : Failure(error);
    }

private:
    UniqueFile file_;
};

class Win32Writer : public IFileWriter {
public:
    Win32Writer(HANDLE handle, FilePath path) : file_(handle), path_(std::move(path)) {}

    FileStatus Write(const std::string& bytes) override {
        if (!file_.Valid()) return Failure(ERROR_INVALID_HANDLE);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD wanted =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file_.Get(), bytes.data() + done, wanted, &written, nullptr)) {
                return LastFailure();
            }
            if (written == 0) return Failure(ERROR_WRITE_FAULT);
            done += written;
        }
        return {};
    }

    FileStatus FlushAndClose() override {
        if (!file_.Valid()) return Failure(ERROR_INVALID_HANDLE);
        if (!FlushFileBuffers(file_.Get())) {
            const DWORD error = GetLastError();
            file_.Reset();
            return Failure(error);
        }
        return file_.Reset() ? FileStatus{} : LastFailure();
    }

    const FilePath& Path() const override { return path_; }

private:
    UniqueFile file_;
    FilePath path_;
};

// A name for the temporary file in the folder of path: "~", hexadecimal
// digits of n, ".tmp" where there is room, never longer than path's own name
// (which ends in ".dat", so it has at least five characters).
std::wstring TempName(const FilePath& path, std::uint32_t n) {
    const std::size_t nameStart = path.find_last_of(L"\\/:") + 1;  // npos + 1 is 0
    const std::size_t room = path.size() - nameStart;
    const bool withExtension = room >= 9;
    const std::size_t digits = std::min<std::size_t>(withExtension ? room - 5 : room - 1, 8);
    std::wstring name = path.substr(0, nameStart) + L'~';
    for (std::size_t i = digits; i-- > 0;) name += L"0123456789abcdef"[(n >> (4 * i)) & 0xF];
    if (withExtension) name += L".tmp";
    return name;
}

}  // namespace

// The folder tests under way, shared with the thread pool's callbacks so
// that a test still blocked in the system outlives the file system object.
struct FolderTests {
    struct Folder {
        bool outstanding = false;
        std::optional<bool> answer;  // set when the test ended
    };

    explicit FolderTests(Win32FileSystem::FolderTest folderTest) : test(std::move(folderTest)) {}

    const Win32FileSystem::FolderTest test;
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE answered = CONDITION_VARIABLE_INIT;
    std::map<std::string, Folder> folders;  // under lock; only those outstanding or answered late
};

namespace {

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

struct FolderTestJob {
    std::shared_ptr<FolderTests> tests;
    std::string path;
    std::wstring widePath;
};

// Runs on a thread of the system's pool; nothing may unwind out of it.
void CALLBACK RunFolderTest(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<FolderTestJob> job(static_cast<FolderTestJob*>(context));
    bool exists = false;
    try {
        exists = job->tests->test(job->widePath);
    } catch (...) {
    }
    FolderTests& tests = *job->tests;
    {
        ExclusiveLock guard(tests.lock);
        auto found = tests.folders.find(job->path);
        if (found != tests.folders.end()) {
            found->second.outstanding = false;
            found->second.answer = exists;
        }
    }
    WakeAllConditionVariable(&tests.answered);
}

}  // namespace

std::string SystemReason(unsigned long error) {
    std::wstring message = SystemMessage(error, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    if (message.empty()) message = SystemMessageOrCode(error);
    return ToCp932(message);
}

Win32FileSystem::Win32FileSystem() : Win32FileSystem(FolderAt) {}

Win32FileSystem::Win32FileSystem(FolderTest test)
    : folderTests_(std::make_shared<FolderTests>(std::move(test))) {}

bool Win32FileSystem::FolderExists(const std::string& path) {
    FolderTests& tests = *folderTests_;
    const Clock::time_point waitEnd = Clock::now() + kFolderWait;
    auto job = std::make_unique<FolderTestJob>(FolderTestJob{folderTests_, path, ToWide(path)});
    bool exists = false;
    {
        ExclusiveLock guard(tests.lock);
        FolderTests::Folder& folder = tests.folders[path];
        // An earlier test that has not answered is not waited for again.
        if (!folder.outstanding) {
            const std::optional<bool> late = std::exchange(folder.answer, std::nullopt);
            folder.outstanding =
                TrySubmitThreadpoolCallback(RunFolderTest, job.get(), nullptr) != FALSE;
            if (folder.outstanding) job.release();
            while (folder.outstanding) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(waitEnd - Clock::now());
                if (left.count() <= 0) break;
                SleepConditionVariableSRW(&tests.answered, &tests.lock,
                                          static_cast<DWORD>(left.count()), 0);
            }
            if (folder.outstanding) {
                exists = late.value_or(false);
            } else {
                // Answered in time (or no thread to test it on: tested here).
                exists = folder.answer.has_value() ? *folder.answer : tests.test(job->widePath);
                tests.folders.erase(path);
            }
        }
    }
    return exists;
}

OpenedFile<IFileReader> Win32FileSystem::OpenRead(const FilePath& path) {
    // A folder of that name is no settings file either.
    if (path.empty() || FolderAt(path)) return {nullptr, {FileStatus::Code::Absent, {}}};
    // Every sharing: reading the file never makes another program's use of
    // it fail.
    HANDLE handle = INVALID_HANDLE_VALUE;
    const DWORD error = WaitingOutHolds([&] {
        handle = CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        return handle != INVALID_HANDLE_VALUE;
    });
    if (error == ERROR_SUCCESS) return {std::make_unique<Win32Reader>(handle), {}};
    // Only a file that is not there means none.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || FolderAt(path)) {
        return {nullptr, {FileStatus::Code::Absent, {}}};
    }
    return {nullptr, Failure(error)};
}

OpenedFile<IFileWriter> Win32FileSystem::CreateTempBeside(const FilePath& path) {
    if (path.empty()) return {nullptr, Failure(ERROR_INVALID_NAME)};
    // Before any file is made: in a folder the user cannot write (a program
    // installed under Program Files), a preset left read-only stays silent.
    if (Has(Attributes(path), FILE_ATTRIBUTE_READONLY)) {
        return {nullptr, {FileStatus::Code::ReadOnly, {}}};
    }
    // In the same folder, so that Replace is a rename within one volume.
    const std::uint32_t seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    DWORD error = ERROR_FILE_EXISTS;
    for (std::uint32_t attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = TempName(path, seed + attempt * 0x9E3779B9u);
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return {std::make_unique<Win32Writer>(handle, std::move(name)), {}};
        }
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return {nullptr, Failure(error)};
}

FileStatus Win32FileSystem::Replace(const FilePath& tempPath, const FilePath& path) {
    if (tempPath.empty() || path.empty()) return Failure(ERROR_INVALID_NAME);
    // MoveFileExW replaces a read-only target where the attribute is not
    // enforced (Wine running as root); a read-only file keeps its content.
    const DWORD attributes = Attributes(path);
    if (Has(attributes, FILE_ATTRIBUTE_READONLY)) return {FileStatus::Code::ReadOnly, {}};
    if (Has(attributes, FILE_ATTRIBUTE_DIRECTORY)) return Failure(ERROR_ACCESS_DENIED);
    const DWORD error = WaitingOutHolds([&] {
        return MoveFileExW(tempPath.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
    return error == ERROR_SUCCESS ? FileStatus{} : Failure(error);
}

bool Win32FileSystem::Delete(const FilePath& path) {
    if (path.empty()) return false;
    return DeleteFileW(path.c_str()) != FALSE;
}
