#include "win32/files.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "win32/handles.h"
#include "win32/text.h"

namespace {

std::wstring Hex(unsigned long value) {
    char digits[2 * sizeof value];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    return std::wstring(digits, end);
}

// INVALID_FILE_ATTRIBUTES when nothing can be reached at path.
DWORD Attributes(const std::wstring& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(path.c_str());
}

class Win32Reader : public IFileReader {
public:
    explicit Win32Reader(HANDLE handle) : file_(handle) {}

    std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file_.Get(), buffer, wanted, &got, nullptr)) return std::nullopt;
        return static_cast<std::size_t>(got);
    }

private:
    UniqueFile file_;
};

class Win32Writer : public IFileWriter {
public:
    Win32Writer(HANDLE handle, std::filesystem::path path)
        : file_(handle), path_(std::move(path)) {}

    bool Write(const std::string& bytes) override {
        if (!file_.Valid()) return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD wanted =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file_.Get(), bytes.data() + done, wanted, &written, nullptr) ||
                written == 0) {
                return false;
            }
            done += written;
        }
        return true;
    }

    bool FlushAndClose() override {
        if (!file_.Valid()) return false;
        const bool flushed = FlushFileBuffers(file_.Get()) != FALSE;
        const bool closed = file_.Reset();
        return flushed && closed;
    }

    const std::filesystem::path& Path() const override { return path_; }

private:
    UniqueFile file_;
    std::filesystem::path path_;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::filesystem::path& path) {
    const DWORD attributes = Attributes(path.native());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const DWORD attributes = Attributes(ToWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::unique_ptr<IFileReader> Win32FileSystem::OpenRead(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    // Others may read the file while it is open, but not write or delete it.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Reader>(handle);
}

std::unique_ptr<IFileWriter> Win32FileSystem::CreateTempBeside(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    // The target's own name with a unique suffix keeps the file in the same
    // folder, so that Replace is a rename within one volume.
    const unsigned long pid = GetCurrentProcessId();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const unsigned long stamp = GetTickCount() + attempt;
        std::wstring name = path.native() + L"." + Hex(pid) + L"-" + Hex(stamp) + L".tmp";
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return std::make_unique<Win32Writer>(handle, std::move(name));
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

bool Win32FileSystem::Replace(const std::filesystem::path& tempPath,
                              const std::filesystem::path& path) {
    if (tempPath.empty() || path.empty()) return false;
    const std::wstring& target = path.native();
    // MoveFileExW replaces a read-only target where the attribute is not
    // enforced (Wine running as root); a read-only file keeps its content.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    return MoveFileExW(tempPath.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileSystem::Delete(const std::filesystem::path& path) {
    if (path.empty()) return false;
    return DeleteFileW(path.c_str()) != FALSE;
}
