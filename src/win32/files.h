// The file system through the wide file APIs; the settings file's paths are
// UTF-16 throughout.
#pragma once

#include <string>

#include "settings/file_port.h"

// The attribute checks that come before opening, replacing or making a file
// beside the settings file are waited for no longer than the folder tests
// (FolderAnswers::kWaitLimitMs); one that has not answered by then fails the
// step with ERROR_TIMEOUT.
class Win32FileSystem : public ISettingsFiles {
public:
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
};

// The system's reason for an error code in its own words (Japanese where the
// system has them), in code page 932.
std::string SystemReason(unsigned long error);
