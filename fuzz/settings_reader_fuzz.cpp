// Fuzzes the settings file reader: any bytes, read in any chunk size, with a
// read error after any number of reads. The load must never crash, must close
// the file, and must leave exactly the record that a plain reading of the
// bytes it got gives, or the record as it was when it could not read them all; a save of that
// record must be eight CR LF lines that read back to the same record, the interval's 15-digit
// rounding aside.
//
// Input: byte 0 picks the read size, byte 1 the read that fails (255: none),
// the rest is the file.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "settings/settings_file.h"
#include "util/number_text.h"

namespace {

constexpr wchar_t kDat[] = L"C:\\Tools\\Dirmind.dat";
constexpr int kInitialLeft = 192;
constexpr int kInitialTop = 107;

struct Record {
    int left = kInitialLeft;
    int top = kInitialTop;
    std::string folders[3];
    double interval = 5.0;
    bool autoStart = false;
    bool minimized = false;
};

bool Same(const Record& a, const Record& b) {
    const bool sameInterval =
        a.interval == b.interval || (a.interval != a.interval && b.interval != b.interval);
    return a.left == b.left && a.top == b.top && a.folders[0] == b.folders[0] &&
           a.folders[1] == b.folders[1] && a.folders[2] == b.folders[2] && sameInterval &&
           a.autoStart == b.autoStart && a.minimized == b.minimized;
}

// The defaults, with the window where it stands before the load.
Settings Initial() {
    Settings s;
    s.left = kInitialLeft;
    s.top = kInitialTop;
    return s;
}

Record Of(const Settings& s) {
    return {
        s.left,      s.top,           {s.folders[0], s.folders[1], s.folders[2]}, s.intervalSeconds,
        s.autoStart, s.startMinimised};
}

// The lines that a reader sees in the bytes it was given: every CR dropped,
// LF ends a line; at the end of the file the unfinished line and any further
// lines are empty lines, without it the unfinished line is never complete.
std::vector<std::string> Lines(const std::string& bytes, bool reachedEnd) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (lines.size() == 8) break;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (reachedEnd) {
        if (lines.size() < 8) lines.push_back(line);
        while (lines.size() < 8) lines.emplace_back();
    }
    return lines;
}

// The record that lines give, handed over only when the load read all eight
// or stopped at an overflowing interval; otherwise the record as it was.
Record Expected(const std::vector<std::string>& lines) {
    Record r;
    const auto n = lines.size();
    const bool overflow = n > 5 && std::isinf(TextToFloat(lines[5]));
    if (n < 8 && !overflow) return r;
    r.left = TextToInt(lines[0]);
    r.top = TextToInt(lines[1]);
    for (std::size_t i = 2; i < 5; ++i) r.folders[i - 2] = lines[i];
    if (overflow) return r;
    r.interval = TextToFloat(lines[5]);
    r.autoStart = TextToBool(lines[6]);
    r.minimized = TextToBool(lines[7]);
    return r;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings_reader_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t chunk = data[0] >= 200 ? 4096 : data[0] % 16 + 1;
    const int readsBeforeError = data[1] == 255 ? -1 : data[1];
    const std::string content(reinterpret_cast<const char*>(data) + 2, size - 2);

    FakeFileSystem files;
    files.PutFile(kDat, content);
    files.readChunk = chunk;
    files.readsBeforeError = readsBeforeError;
    Settings settings = Initial();
    LoadSettings(files, kDat, settings);
    if (files.openReaders != 0) Fail("the file stayed open");

    // What the reads delivered before the error, and whether the read that
    // reports the end of the file was among them.
    std::string delivered = content;
    bool reachedEnd = true;
    if (readsBeforeError >= 0) {
        const std::size_t dataReads = (content.size() + chunk - 1) / chunk;
        const std::size_t reads = static_cast<std::size_t>(readsBeforeError);
        delivered = content.substr(0, std::min(content.size(), reads * chunk));
        reachedEnd = reads > dataReads;
    }
    const Record loaded = Of(settings);
    if (!Same(loaded, Expected(Lines(delivered, reachedEnd))))
        Fail("record differs from the bytes");
    for (const std::string& folder : loaded.folders) {
        if (folder.find_first_of("\r\n") != std::string::npos) Fail("a line end inside a folder");
    }

    // The record saved is eight CR LF lines that read back to it; the interval
    // goes through its 15-digit text form and is left out of the comparison.
    files.readsBeforeError = -1;
    SaveSettings(files, kDat, settings);
    const std::optional<std::string> saved = files.Content(kDat);
    if (!saved) Fail("nothing saved");
    if (std::count(saved->begin(), saved->end(), '\n') != 8 || saved->size() < 2 ||
        saved->compare(saved->size() - 2, 2, "\r\n") != 0) {
        Fail("the saved file is not eight CR LF lines");
    }
    if (files.files.size() != 1 || files.openWriters != 0) Fail("a temporary file was left");

    FakeFileSystem back;
    back.PutFile(kDat, *saved);
    Settings rereadSettings = Initial();
    LoadSettings(back, kDat, rereadSettings);
    Record reread = Of(rereadSettings);
    reread.interval = loaded.interval;
    Record expected = loaded;
    // A value just below the largest double is written rounded to 15 digits,
    // above the largest double: reading it back overflows and the two flags
    // after it keep their defaults.
    if (std::isinf(TextToFloat(FloatToText(loaded.interval)))) {
        expected.autoStart = expected.minimized = false;
    }
    if (!Same(expected, reread)) Fail("the saved record reads back differently");
    return 0;
}
