#include "win32/files.h"

#include <windows.h>

#include "win32/text.h"

namespace {

// INVALID_FILE_ATTRIBUTES when nothing can be reached at path.
DWORD Attributes(const std::string& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(ToWide(path).c_str());
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::unique_ptr<IFileReader> Win32FileSystem::OpenRead(const std::string&) { return nullptr; }
std::unique_ptr<IFileWriter> Win32FileSystem::CreateTempBeside(const std::string&) {
    return nullptr;
}
bool Win32FileSystem::Replace(const std::string&, const std::string&) { return false; }
bool Win32FileSystem::Delete(const std::string&) { return false; }
