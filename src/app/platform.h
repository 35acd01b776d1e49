// The platform services the logic needs besides the window toolkit: the
// registry under the current user's root, and the file system.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Registry value types, numbered as the platform numbers them.
enum : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

class IRegistry {
public:
    using Key = std::uintptr_t;  // opaque handle of an open key; never 0

    enum class Query { Ok, NotFound, Failed };

    virtual ~IRegistry() = default;
    // Opens path under HKEY_CURRENT_USER (parent 0) or under parent with full
    // access, creating it and any missing key above it (non-volatile, default
    // security). nullopt when that fails.
    virtual std::optional<Key> CreateKey(Key parent, const std::string& path) = 0;
    // Opens an existing subkey with full access; nullopt when that fails.
    virtual std::optional<Key> OpenKey(Key parent, const std::string& path) = 0;
    // Reads a value's type and data. For kRegSz, kRegExpandSz and kRegMultiSz
    // the data is the stored text in code page 932 with its zero bytes (one
    // zero byte per terminator); for other types the raw bytes.
    virtual Query QueryValue(Key key, const std::string& name, std::uint32_t& type,
                             std::string& data) = 0;
    // Sets a string value (kRegSz) holding text, replacing a value of any type.
    virtual bool SetStringValue(Key key, const std::string& name, const std::string& text) = 0;
    virtual void CloseKey(Key key) = 0;
};

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

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // A file (not a folder) exists at path.
    virtual bool FileExists(const std::string& path) = 0;
    // A folder exists at path; a file or an unreachable path counts as missing.
    virtual bool DirectoryExists(const std::string& path) = 0;
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
