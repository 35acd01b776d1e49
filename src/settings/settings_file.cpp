// The settings file: eight lines beside the executable, every one ended by
// CR LF, texts stored as their Shift-JIS bytes without any conversion.
//
//   1 window left      decimal integer
//   2 window top       decimal integer
//   3 FileFolder       text as held
//   4 FileCFolder      text as held
//   5 ZukeiFolder      text as held
//   6 IntervalSec      float-to-text form
//   7 AutoStart        "1" or "0"
//   8 StartMinimized   "1" or "0"
#include <array>
#include <exception>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "util/Func_.h"
#include "util/float_text.h"

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

void TForm1::LoadSettings(const std::string& path) {
    if (path.empty() || !Files.FileExists(path)) return;
    // Each value is stored as soon as its line is read; a failure (open, read,
    // or a number too large for the interval) ends the load where it happens
    // and keeps what was stored before it. Nothing is reported.
    try {
        const std::unique_ptr<IFileReader> file = Files.OpenRead(path);
        if (!file) return;
        LineReader reader(*file);
        std::string line;
        if (!reader.Next(line)) return;
        Window.SetLeft(TextToInt(line));
        if (!reader.Next(line)) return;
        Window.SetTop(TextToInt(line));
        if (!reader.Next(line)) return;
        FileFolder = line;
        if (!reader.Next(line)) return;
        FileCFolder = line;
        if (!reader.Next(line)) return;
        ZukeiFolder = line;
        if (!reader.Next(line)) return;
        IntervalSec = TextToFloat(line);
        if (!reader.Next(line)) return;
        AutoStart = TextToBool(line);
        if (!reader.Next(line)) return;
        StartMinimized = TextToBool(line);
    } catch (const std::exception&) {
    }
}

void TForm1::SaveSettings(const std::string& path) {
    if (path.empty()) return;
    std::string content;
    for (const std::string& line :
         {std::to_string(Window.GetLeft()), std::to_string(Window.GetTop()), FileFolder,
          FileCFolder, ZukeiFolder, FloatToText(IntervalSec), BoolToText(AutoStart),
          BoolToText(StartMinimized)}) {
        content += line;
        content += kLineEnd;
    }
    // The new content goes to a temporary file beside the old one, which is
    // replaced only once everything is on the disk: a failure at any step
    // leaves the previous settings file as it was. Nothing is reported.
    std::unique_ptr<IFileWriter> temp = Files.CreateTempBeside(path);
    if (!temp) return;
    const std::string tempPath = temp->Path();
    const bool written = temp->Write(content) && temp->FlushAndClose();
    temp.reset();
    if (!written || !Files.Replace(tempPath, path)) Files.Delete(tempPath);
}
