// The file system as the settings file needs it. Paths are the system's own
// (std::filesystem::path) and are never converted on the way: a folder name
// that code page 932 cannot write still reaches the file calls intact.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// An open file for reading; closed when destroyed.
class IFileReader {
public:
    virtual ~IFileReader() = default;
    // Up to size bytes into buffer: the count read, 0 at the end of the file,
    // nullopt on a read error.
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

// A new file being written; closed (not removed) when destroyed.
class IFileWriter {
public:
    virtual ~IFileWriter() = default;
    virtual bool Write(const std::string& bytes) = 0;
    // Writes out everything buffered to the disk and closes the file.
    virtual bool FlushAndClose() = 0;
    // The path of the file being written.
    virtual const std::filesystem::path& Path() const = 0;
};

class ISettingsFiles {
public:
    virtual ~ISettingsFiles() = default;
    // A file (not a folder) exists at path.
    virtual bool FileExists(const std::filesystem::path& path) = 0;
    // Opens an existing file for reading; other programs may read it but not
    // write it while it is open. nullptr on failure.
    virtual std::unique_ptr<IFileReader> OpenRead(const std::filesystem::path& path) = 0;
    // Creates a new temporary file in the folder of path. nullptr on failure.
    virtual std::unique_ptr<IFileWriter> CreateTempBeside(const std::filesystem::path& path) = 0;
    // Puts the closed temporary file in place of path in one step; path need
    // not exist. A read-only file at path is not replaced. Returns success.
    virtual bool Replace(const std::filesystem::path& tempPath,
                         const std::filesystem::path& path) = 0;
    virtual bool Delete(const std::filesystem::path& path) = 0;
};
