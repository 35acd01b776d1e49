// The file system through the wide file APIs; paths are code page 932 bytes.
#pragma once

#include "settings/file_port.h"
#include "watch/ports.h"

class Win32FileSystem : public ISettingsFiles, public IFolderProbe {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::unique_ptr<IFileReader> OpenRead(const std::string& path) override;
    std::unique_ptr<IFileWriter> CreateTempBeside(const std::string& path) override;
    bool Replace(const std::string& tempPath, const std::string& path) override;
    bool Delete(const std::string& path) override;
};
