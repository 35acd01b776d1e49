#include "settings/settings_file.h"

#include <array>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "util/number_text.h"

namespace {

constexpr char kLineEnd[] = "\r\n";

// Reads a file line by line: LF ends a line, every CR is dropped (one before
// LF belongs to the line end, a lone one is not part of the text), every other
// byte is kept. After the end of the file every line reads as empty.
class LineReader {
public:
    explicit LineReader(IFileReader& file) : file_(file) {}

    // The next line into line; false when reading failed.
    bool Next(std::string& line) {
        line.clear();
        while (true) {
            if (pos_ == size_) {
                if (atEnd_) return true;
                const std::optional<std::size_t> got = file_.Read(buffer_.data(), buffer_.size());
                if (!got) return false;
                if (*got == 0) {
                    atEnd_ = true;
                    return true;
                }
                pos_ = 0;
                size_ = *got;
            }
            const char c = buffer_[pos_++];
            if (c == '\n') return true;
            if (c != '\r') line += c;
        }
    }

private:
    IFileReader& file_;
    std::array<char, 4096> buffer_{};
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    bool atEnd_ = false;
};

}  // namespace

std::filesystem::path SettingsPathFor(const std::filesystem::path& exePath) {
    // Worked on the path's own characters: no conversion, whatever the name.
    using Char = std::filesystem::path::value_type;
    std::filesystem::path::string_type name = exePath.native();
    const std::filesystem::path::string_type delimiters{Char('.'), Char('\\'), Char(':')};
    const std::size_t cut = name.find_last_of(delimiters);
    if (cut != name.npos && name[cut] == Char('.')) name.resize(cut);
    for (const char c : std::string_view(".dat")) name.push_back(static_cast<Char>(c));
    return name;
}

void LoadSettings(ISettingsFiles& files, const std::filesystem::path& path, Settings& settings) {
    if (path.empty() || !files.FileExists(path)) return;
    try {
        const std::unique_ptr<IFileReader> file = files.OpenRead(path);
        if (!file) return;
        LineReader reader(*file);
        std::string line;
        if (!reader.Next(line)) return;
        settings.left = TextToInt(line);
        if (!reader.Next(line)) return;
        settings.top = TextToInt(line);
        for (std::string& folder : settings.folders) {
            if (!reader.Next(line)) return;
            folder = line;
        }
        if (!reader.Next(line)) return;
        settings.intervalSeconds = TextToFloat(line);
        if (!reader.Next(line)) return;
        settings.autoStart = TextToBool(line);
        if (!reader.Next(line)) return;
        settings.startMinimised = TextToBool(line);
    } catch (const std::exception&) {
    }
}

void SaveSettings(ISettingsFiles& files, const std::filesystem::path& path,
                  const Settings& settings) {
    if (path.empty()) return;
    std::string content;
    for (const std::string& line :
         {std::to_string(settings.left), std::to_string(settings.top), settings.folders[0],
          settings.folders[1], settings.folders[2], FloatToText(settings.intervalSeconds),
          BoolToText(settings.autoStart), BoolToText(settings.startMinimised)}) {
        content += line;
        content += kLineEnd;
    }
    std::unique_ptr<IFileWriter> temp = files.CreateTempBeside(path);
    if (!temp) return;
    const std::filesystem::path tempPath = temp->Path();
    const bool written = temp->Write(content) && temp->FlushAndClose();
    temp.reset();
    if (!written || !files.Replace(tempPath, path)) files.Delete(tempPath);
}
