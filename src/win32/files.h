// The file system through the wide file APIs. The settings file's paths are
// UTF-16 throughout; a folder to probe is code page 932 bytes.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "settings/file_port.h"
#include "watch/ports.h"

struct FolderTests;

class Win32FileSystem : public ISettingsFiles, public IFolderProbe {
public:
    // Whether a folder exists at a path; it may block for as long as the
    // system does (tens of seconds on a share whose server does not answer).
    using FolderTest = std::function<bool(const std::wstring& path)>;

    Win32FileSystem();
    explicit Win32FileSystem(FolderTest test);

    // The test runs on the system's thread pool and is waited for a third of
    // about 0.2 s, so that the folders of one pass or one Start together wait
    // no longer than that. One that has not answered by then counts as
    // missing, and so does one whose earlier test has not answered yet. A late answer stands
    // in for the next test of that folder that does not answer in time.
    // Nothing ever waits for a test that is still blocked: not this object's
    // destruction, not the process's exit.
    bool FolderExists(const std::string& path) override;
    // Opening and reading a file that another program holds for a moment
    // (see Replace) are tried again as a replace is.
    OpenedFile<IFileReader> OpenRead(const FilePath& path) override;
    OpenedFile<IFileWriter> CreateTempBeside(const FilePath& path) override;
    // A replace refused for a sharing, lock or access error, or for a cloud
    // file whose provider is not ready yet, is tried again a few times over
    // about half a second: a virus scan, a backup or OneDrive starting up
    // lets go of the file soon.
    FileStatus Replace(const FilePath& tempPath, const FilePath& path) override;
    bool Delete(const FilePath& path) override;

private:
    std::shared_ptr<FolderTests> folderTests_;
};

// The system's reason for an error code in its own words (Japanese where the
// system has them), in code page 932.
std::string SystemReason(unsigned long error);
