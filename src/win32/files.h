// The file system through the wide file APIs. The settings file's paths are
// UTF-16 throughout; a folder to probe is code page 932 bytes.
#pragma once

#include "settings/file_port.h"
#include "watch/ports.h"

class Win32FileSystem : public ISettingsFiles, public IFolderProbe {
public:
    bool FileExists(const std::filesystem::path& path) override;
    bool FolderExists(const std::string& path) override;
    std::unique_ptr<IFileReader> OpenRead(const std::filesystem::path& path) override;
    std::unique_ptr<IFileWriter> CreateTempBeside(const std::filesystem::path& path) override;
    bool Replace(const std::filesystem::path& tempPath, const std::filesystem::path& path) override;
    bool Delete(const std::filesystem::path& path) override;
};
