// The file system through the wide file APIs. The settings file's paths are
// UTF-16 throughout; a folder to probe is code page 932 bytes.
#pragma once

#include "settings/file_port.h"
#include "watch/ports.h"

class Win32FileSystem : public ISettingsFiles, public IFolderProbe {
public:
    bool FolderExists(const std::string& path) override;
    OpenedFile<IFileReader> OpenRead(const FilePath& path) override;
    OpenedFile<IFileWriter> CreateTempBeside(const FilePath& path) override;
    // A replace refused for a sharing or access error is tried again a few
    // times over about half a second: a virus scan or a backup that holds
    // the file lets go of it soon.
    FileStatus Replace(const FilePath& tempPath, const FilePath& path) override;
    bool Delete(const FilePath& path) override;
};

// The system's reason for an error code in its own words (Japanese where the
// system has them), in code page 932.
std::string SystemReason(unsigned long error);
