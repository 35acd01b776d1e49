#include "win32/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/text.h"

namespace {

constexpr int kReplaceAttempts = 6;
constexpr DWORD kReplacePauseMs = 100;

FileStatus Failure(DWORD error) { return {FileStatus::Code::Failed, SystemReason(error)}; }

FileStatus LastFailure() { return Failure(GetLastError()); }

// INVALID_FILE_ATTRIBUTES when nothing can be reached at path.
DWORD Attributes(const std::wstring& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(path.c_str());
}

class Win32Reader : public IFileReader {
public:
    explicit Win32Reader(HANDLE handle) : file_(handle) {}

    FileStatus Read(char* buffer, std::size_t size, std::size_t& got) override {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD read = 0;
        const BOOL ok = ReadFile(file_.Get(), buffer, wanted, &read, nullptr);
        got = ok ? read : 0;
        return ok ? FileStatus{} : LastFailure();
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

bool IsBriefHold(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

}  // namespace

std::string SystemReason(unsigned long error) {
    std::wstring message = SystemMessage(error, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    if (message.empty()) message = SystemMessageOrCode(error);
    return ToCp932(message);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const DWORD attributes = Attributes(ToWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

OpenedFile<IFileReader> Win32FileSystem::OpenRead(const FilePath& path) {
    if (path.empty()) return {nullptr, {FileStatus::Code::Absent, {}}};
    // Every sharing: reading the file never makes another program's use of
    // it fail.
    HANDLE handle = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return {std::make_unique<Win32Reader>(handle), {}};
    const DWORD error = GetLastError();
    // Only a file that is not there means none; a folder of that name is not
    // a settings file either.
    const DWORD attributes = Attributes(path);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        return {nullptr, {FileStatus::Code::Absent, {}}};
    }
    return {nullptr, Failure(error)};
}

OpenedFile<IFileWriter> Win32FileSystem::CreateTempBeside(const FilePath& path) {
    if (path.empty()) return {nullptr, Failure(ERROR_INVALID_NAME)};
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
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return {FileStatus::Code::ReadOnly, {}};
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Failure(ERROR_ACCESS_DENIED);
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(tempPath.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return {};
        }
        const DWORD error = GetLastError();
        if (attempt == kReplaceAttempts || !IsBriefHold(error)) return Failure(error);
        Sleep(kReplacePauseMs);
    }
}

bool Win32FileSystem::Delete(const FilePath& path) {
    if (path.empty()) return false;
    return DeleteFileW(path.c_str()) != FALSE;
}
