#include "settings/settings_file.h"

#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "util/number_text.h"

namespace {

constexpr char kLineEnd[] = "\r\n";

// Reads a file line by line: LF ends a line, every CR is dropped (one before
// LF belongs to the line end, a lone one is not part of the text), every other
// byte is kept. After the end of the file every line reads as empty.
class LineReader {
public:
    explicit LineReader(IFileReader& file) : file_(file) {}

    // The next line into line; false when reading failed (status says why).
    bool Next(std::string& line) {
        line.clear();
        while (true) {
            if (pos_ == size_) {
                if (atEnd_) return true;
                std::size_t got = 0;
                status_ = file_.Read(buffer_.data(), buffer_.size(), got);
                if (!status_.Done()) return false;
                if (got == 0) {
                    atEnd_ = true;
                    return true;
                }
                pos_ = 0;
                size_ = got;
            }
            const char c = buffer_[pos_++];
            if (c == '\n') return true;
            if (c != '\r') line += c;
        }
    }

    const FileStatus& Status() const { return status_; }

private:
    IFileReader& file_;
    FileStatus status_;
    std::array<char, 4096> buffer_{};
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    bool atEnd_ = false;
};

}  // namespace

FilePath SettingsPathFor(const FilePath& exePath) {
    // Worked on the path's own characters: no conversion, whatever the name.
    FilePath name = exePath;
    const std::size_t cut = name.find_last_of(L".\\:");
    if (cut != name.npos && name[cut] == L'.') name.resize(cut);
    return name + L".dat";
}

FileStatus LoadSettings(ISettingsFiles& files, const FilePath& path, Settings& settings) {
    if (path.empty()) return {FileStatus::Code::Absent, {}};
    const OpenedFile<IFileReader> opened = files.OpenRead(path);
    if (!opened.status.Done()) return opened.status;
    LineReader reader(*opened.file);
    Settings read = settings;
    std::string line;
    if (!reader.Next(line)) return reader.Status();
    read.left = TextToInt(line);
    if (!reader.Next(line)) return reader.Status();
    read.top = TextToInt(line);
    for (std::string& folder : read.folders) {
        if (!reader.Next(line)) return reader.Status();
        folder = line;
    }
    if (!reader.Next(line)) return reader.Status();
    const double interval = TextToFloat(line);
    if (!std::isinf(interval)) {
        read.intervalSeconds = interval;
        if (!reader.Next(line)) return reader.Status();
        read.autoStart = TextToBool(line);
        if (!reader.Next(line)) return reader.Status();
        read.startMinimised = TextToBool(line);
    }
    settings = read;
    return {};
}

FileStatus SaveSettings(ISettingsFiles& files, const FilePath& path, const Settings& settings) {
    if (path.empty()) return {FileStatus::Code::Absent, {}};
    std::string content;
    for (const std::string& line :
         {std::to_string(settings.left), std::to_string(settings.top), settings.folders[0],
          settings.folders[1], settings.folders[2], FloatToText(settings.intervalSeconds),
          BoolToText(settings.autoStart), BoolToText(settings.startMinimised)}) {
        content += line;
        content += kLineEnd;
    }
    OpenedFile<IFileWriter> temp = files.CreateTempBeside(path);
    if (!temp.status.Done()) return temp.status;
    const FilePath tempPath = temp.file->Path();
    FileStatus status = temp.file->Write(content);
    if (status.Done()) status = temp.file->FlushAndClose();
    // Closed before it is moved or removed: an open file can be neither.
    temp.file.reset();
    if (status.Done()) status = files.Replace(tempPath, path);
    if (!status.Done()) files.Delete(tempPath);
    return status;
}
