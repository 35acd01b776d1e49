#include "win32/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "watch/folder_answers.h"
#include "win32/folder_probe.h"
#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/text.h"

namespace {

constexpr int kHoldAttempts = 6;
constexpr DWORD kHoldPauseMs = 100;

FileStatus Failure(DWORD error) { return {FileStatus::Code::Failed, SystemReason(error)}; }

FileStatus LastFailure() { return Failure(GetLastError()); }

// INVALID_FILE_ATTRIBUTES when nothing can be reached at path; none when the
// system has not answered within the folder tests' limit (the settings file
// beside a Dirmind.exe on a share whose server has gone).
std::optional<DWORD> Attributes(const std::wstring& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return AttributesWithin(path, FolderAnswers::kWaitLimitMs);
}

bool Has(DWORD attributes, DWORD flag) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & flag) != 0;
}

FileStatus NoAnswer() { return Failure(ERROR_TIMEOUT); }

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

std::string SystemReason(unsigned long error) {
    std::wstring message = SystemMessage(error, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    if (message.empty()) message = SystemMessageOrCode(error);
    return ToCp932(message);
}

OpenedFile<IFileReader> Win32FileSystem::OpenRead(const FilePath& path) {
    // A folder of that name is no settings file either.
    const std::optional<DWORD> attributes = Attributes(path);
    if (!attributes) return {nullptr, NoAnswer()};
    if (path.empty() || Has(*attributes, FILE_ATTRIBUTE_DIRECTORY)) {
        return {nullptr, {FileStatus::Code::Absent, {}}};
    }
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
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        Has(Attributes(path).value_or(INVALID_FILE_ATTRIBUTES), FILE_ATTRIBUTE_DIRECTORY)) {
        return {nullptr, {FileStatus::Code::Absent, {}}};
    }
    return {nullptr, Failure(error)};
}

OpenedFile<IFileWriter> Win32FileSystem::CreateTempBeside(const FilePath& path) {
    if (path.empty()) return {nullptr, Failure(ERROR_INVALID_NAME)};
    // Before any file is made: in a folder the user cannot write (a program
    // installed under Program Files), a preset left read-only stays silent.
    const std::optional<DWORD> attributes = Attributes(path);
    if (!attributes) return {nullptr, NoAnswer()};
    if (Has(*attributes, FILE_ATTRIBUTE_READONLY))
        return {nullptr, {FileStatus::Code::ReadOnly, {}}};
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
    const std::optional<DWORD> attributes = Attributes(path);
    if (!attributes) return NoAnswer();
    if (Has(*attributes, FILE_ATTRIBUTE_READONLY)) return {FileStatus::Code::ReadOnly, {}};
    if (Has(*attributes, FILE_ATTRIBUTE_DIRECTORY)) return Failure(ERROR_ACCESS_DENIED);
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
