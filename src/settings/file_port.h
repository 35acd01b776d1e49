// The file system as the settings file needs it. Every step says how it
// ended, and a failure carries the system's reason, so that a file that is
// there but cannot be read is never taken for one that is absent.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "util/file_path.h"

// How a step on a file ended.
struct FileStatus {
    enum class Code {
        Done,
        Absent,    // no file at the path (nor its folder); a folder counts as none
        ReadOnly,  // the file is marked read-only and was left as it is
        Failed,    // anything else: reason says why
        Skipped,   // not tried: the step was not to be taken (a save over a file not read)
    };
    Code code = Code::Done;
    // For Failed: the system's own words for the cause, code page 932.
    std::string reason;

    bool Done() const { return code == Code::Done; }
};

// An open file for reading; closed when destroyed.
class IFileReader {
public:
    virtual ~IFileReader() = default;
    // Up to size bytes into buffer; got receives the count, 0 at the end of
    // the file.
    virtual FileStatus Read(char* buffer, std::size_t size, std::size_t& got) = 0;
};

// A new file being written; closed (not removed) when destroyed.
class IFileWriter {
public:
    virtual ~IFileWriter() = default;
    virtual FileStatus Write(const std::string& bytes) = 0;
    // Writes out everything buffered to the disk and closes the file.
    virtual FileStatus FlushAndClose() = 0;
    // The path of the file being written.
    virtual const FilePath& Path() const = 0;
};

// A file that a step opened: file is set when status is Done.
template <typename File>
struct OpenedFile {
    std::unique_ptr<File> file;
    FileStatus status;
};

class ISettingsFiles {
public:
    virtual ~ISettingsFiles() = default;
    // Opens an existing file for reading. Other programs may go on reading,
    // writing and deleting it meanwhile. A file that another program holds
    // for a moment is waited for, briefly, as by Replace.
    virtual OpenedFile<IFileReader> OpenRead(const FilePath& path) = 0;
    // Creates a new file in the folder of path, with a name no longer than
    // that of path: a path that the system can name leaves room for it. A
    // read-only file at path makes nothing: ReadOnly.
    virtual OpenedFile<IFileWriter> CreateTempBeside(const FilePath& path) = 0;
    // Puts the closed temporary file in place of path in one step; path need
    // not exist. A read-only file at path is left as it is (ReadOnly). A file
    // that another program holds for a moment is waited for, briefly.
    virtual FileStatus Replace(const FilePath& tempPath, const FilePath& path) = 0;
    virtual bool Delete(const FilePath& path) = 0;
};
