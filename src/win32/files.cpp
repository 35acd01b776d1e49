// PLACEHOLDER: replaced by the helpers' implementation.
#include "win32/files.h"
bool Win32FileSystem::FileExists(const std::string&) { return false; }
bool Win32FileSystem::DirectoryExists(const std::string&) { return false; }
std::unique_ptr<IFileReader> Win32FileSystem::OpenRead(const std::string&) { return nullptr; }
std::unique_ptr<IFileWriter> Win32FileSystem::CreateTempBeside(const std::string&) { return nullptr; }
bool Win32FileSystem::Replace(const std::string&, const std::string&) { return false; }
bool Win32FileSystem::Delete(const std::string&) { return false; }
