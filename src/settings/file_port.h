// The file system as the settings file needs it. Paths are code page 932
// bytes.
#pragma once

#include <cstddef>
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
    virtual const std::string& Path() const = 0;
};

class ISettingsFiles {
public:
    virtual ~ISettingsFiles() = default;
    // A file (not a folder) exists at path.
    virtual bool FileExists(const std::string& path) = 0;
    // Opens an existing file for reading; other programs may read it but not
    // write it while it is open. nullptr on failure.
    virtual std::unique_ptr<IFileReader> OpenRead(const std::string& path) = 0;
    // Creates a new temporary file in the folder of path. nullptr on failure.
    virtual std::unique_ptr<IFileWriter> CreateTempBeside(const std::string& path) = 0;
    // Puts the closed temporary file in place of path in one step; path need
    // not exist. A read-only file at path is not replaced. Returns success.
    virtual bool Replace(const std::string& tempPath, const std::string& path) = 0;
    virtual bool Delete(const std::string& path) = 0;
};
