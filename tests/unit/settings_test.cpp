// The settings file: its exact bytes, the reader's line rules on in-memory
// and on real files, and saves that never lose the previous file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <type_traits>

#include "fakes/form_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDat[] = "C:\\Tools\\Dirmind.dat";

// Real files through std::filesystem, for reads and writes of real bytes in
// real chunk sizes. Paths are plain ASCII here.
class DiskFileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) override {
        std::error_code ec;
        return fs::is_regular_file(path, ec);
    }
    bool DirectoryExists(const std::string& path) override {
        std::error_code ec;
        return fs::is_directory(path, ec);
    }
    std::unique_ptr<IFileReader> OpenRead(const std::string& path) override {
        auto reader = std::make_unique<Reader>(path);
        if (!reader->in) return nullptr;
        return reader;
    }
    std::unique_ptr<IFileWriter> CreateTempBeside(const std::string& path) override {
        static std::atomic<int> counter{0};
        auto writer = std::make_unique<Writer>(path + ".tmp" + std::to_string(++counter));
        if (!writer->out) return nullptr;
        return writer;
    }
    bool Replace(const std::string& tempPath, const std::string& path) override {
        std::error_code ec;
        fs::rename(tempPath, path, ec);
        return !ec;
    }
    bool Delete(const std::string& path) override {
        std::error_code ec;
        return fs::remove(path, ec);
    }

private:
    struct Reader : IFileReader {
        explicit Reader(const std::string& path) : in(path, std::ios::binary) {}
        std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
            in.read(buffer, static_cast<std::streamsize>(size));
            if (in.bad()) return std::nullopt;
            return static_cast<std::size_t>(in.gcount());
        }
        std::ifstream in;
    };
    struct Writer : IFileWriter {
        explicit Writer(std::string p) : path(std::move(p)), out(path, std::ios::binary) {}
        bool Write(const std::string& bytes) override {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return static_cast<bool>(out);
        }
        bool FlushAndClose() override {
            out.flush();
            const bool ok = static_cast<bool>(out);
            out.close();
            return ok;
        }
        const std::string& Path() const override { return path; }
        std::string path;
        std::ofstream out;
    };
};

// The form over the fake's in-memory files.
struct InMemory {
    FakeForm f;
    std::string path = kDat;
    TForm1& Form() { return f.form; }
    void Put(const std::string& bytes) { f.files.PutFile(path, bytes); }
    void PutFolder() { f.files.PutFolder(path); }
    std::optional<std::string> Get() { return f.files.Content(path); }
};

// The same form's controls over real files in a fresh folder.
struct OnDisk {
    OnDisk() {
        fs::create_directories(dir);
        path = (dir / "Dirmind.dat").string();
    }
    ~OnDisk() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    TForm1& Form() { return form; }
    void Put(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    void PutFolder() { fs::create_directory(path); }
    std::optional<std::string> Get() {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    FakeForm f;
    DiskFileSystem disk;
    // Unique also across test processes running side by side.
    fs::path dir = fs::temp_directory_path() /
                   ("dirmind-settings-" + std::to_string(std::random_device{}()) + "-" +
                    std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::string path;
    TForm1 form{FormControls{f.app, f.window, f.boxes, f.edit1, f.edit2, f.edit3, f.edit4,
                             f.button1, f.button2, f.button3, f.button4, f.button5, f.button6,
                             f.check1, f.check2, f.status, f.timer, f.dialog},
                FormPlatform{f.registry, disk}};
};

// What a load leaves: the record and the window position.
struct Loaded {
    int left, top;
    std::string file, fileC, zukei;
    double interval;
    bool autoStart, minimized;
    bool operator==(const Loaded&) const = default;
};

void PrintTo(const Loaded& l, std::ostream* os) {
    *os << "{" << l.left << ", " << l.top << ", \"" << l.file << "\", \"" << l.fileC << "\", \""
        << l.zukei << "\", " << l.interval << ", " << l.autoStart << ", " << l.minimized << "}";
}

template <typename Backend>
class SettingsFileTest : public ::testing::Test {
protected:
    // Loads bytes into a record that starts from the defaults.
    Loaded Load(const std::string& bytes) {
        b.Put(bytes);
        TForm1& form = b.Form();
        form.FileFolder = form.FileCFolder = form.ZukeiFolder = "";
        form.IntervalSec = 5.0;
        form.AutoStart = form.StartMinimized = false;
        form.LoadSettings(b.path);
        return Record();
    }
    Loaded Record() {
        TForm1& form = b.Form();
        return {b.f.window.left,  b.f.window.top,   form.FileFolder, form.FileCFolder,
                form.ZukeiFolder, form.IntervalSec, form.AutoStart,  form.StartMinimized};
    }
    std::string Save() {
        b.Form().SaveSettings(b.path);
        return b.Get().value_or("<no file>");
    }

    Backend b;
};

using Backends = ::testing::Types<InMemory, OnDisk>;
TYPED_TEST_SUITE(SettingsFileTest, Backends);

const std::string kCad = "C:\\CAD\\";
// Folders whose double-byte characters end in "\" (ソ, 表) and "|" (ポ).
const std::string kSjisFolder = "D:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C\\\x83\x7C\x83\x93\\";

TYPED_TEST(SettingsFileTest, WritesEightCrLfLinesExactly) {
    this->b.f.window.left = 192;
    this->b.f.window.top = 107;
    TForm1& form = this->b.Form();
    form.FileFolder = kCad;
    form.IntervalSec = 5.0;
    form.StartMinimized = true;
    const std::string saved = this->Save();
    EXPECT_EQ("192\r\n107\r\nC:\\CAD\\\r\n\r\n\r\n5\r\n0\r\n1\r\n", saved);
    EXPECT_EQ(32u, saved.size());
}

TYPED_TEST(SettingsFileTest, WritesNegativePositionsAndFractionsInTheirTextForm) {
    this->b.f.window.left = -1200;
    this->b.f.window.top = -8;
    this->b.Form().IntervalSec = 0.01;
    this->b.Form().AutoStart = true;
    EXPECT_EQ("-1200\r\n-8\r\n\r\n\r\n\r\n0.01\r\n1\r\n0\r\n", this->Save());
}

TYPED_TEST(SettingsFileTest, ReadsAFullFile) {
    EXPECT_EQ((Loaded{100, 200, "C:\\A\\", "C:\\B\\", "C:\\C\\", 2.5, true, false}),
              this->Load("100\r\n200\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n2.5\r\n1\r\n0\r\n"));
}

TYPED_TEST(SettingsFileTest, LfLineEndsReadLikeCrLf) {
    const Loaded crlf = this->Load("10\r\n20\r\nC:\\A\\\r\n\r\nC:\\C\\\r\n0.5\r\n1\r\n1\r\n");
    EXPECT_EQ(crlf, this->Load("10\n20\nC:\\A\\\n\nC:\\C\\\n0.5\n1\n1\n"));
    EXPECT_EQ(crlf, this->Load("10\n20\r\nC:\\A\\\n\r\nC:\\C\\\n0.5\r\n1\n1"));
    EXPECT_EQ("10\r\n20\r\nC:\\A\\\r\n\r\nC:\\C\\\r\n0.5\r\n1\r\n1\r\n", this->Save());
}

TYPED_TEST(SettingsFileTest, ALoneCrIsDroppedAndTheLineGoesOn) {
    const Loaded l = this->Load("1\r00\r\n2\r\r\n\rC:\\A\r\\\r\n");
    EXPECT_EQ(100, l.left);
    EXPECT_EQ(2, l.top);
    EXPECT_EQ("C:\\A\\", l.file);
}

TYPED_TEST(SettingsFileTest, AnEmptyFileGivesZerosAndEmptyTexts) {
    EXPECT_EQ((Loaded{0, 0, "", "", "", 0.0, false, false}), this->Load(""));
}

TYPED_TEST(SettingsFileTest, MissingLinesReadAsEmpty) {
    EXPECT_EQ((Loaded{100, 200, "", "", "", 0.0, false, false}), this->Load("100\r\n200\r\n"));
    EXPECT_EQ((Loaded{100, 200, "C:\\A", "", "", 0.0, false, false}),
              this->Load("100\r\n200\r\nC:\\A"));
}

TYPED_TEST(SettingsFileTest, AByteOrderMarkSpoilsTheFirstLine) {
    const Loaded l = this->Load(
        "\xEF\xBB\xBF"
        "100\r\n200\r\n");
    EXPECT_EQ(0, l.left);
    EXPECT_EQ(200, l.top);
}

TYPED_TEST(SettingsFileTest, LinesAfterTheEighthAreIgnoredAndNotWrittenAgain) {
    const Loaded l = this->Load("1\r\n2\r\n\r\n\r\n\r\n3\r\n0\r\n1\r\n1e400\r\nextra\r\n");
    EXPECT_EQ((Loaded{1, 2, "", "", "", 3.0, false, true}), l);
    EXPECT_EQ("1\r\n2\r\n\r\n\r\n\r\n3\r\n0\r\n1\r\n", this->Save());
}

TYPED_TEST(SettingsFileTest, ShiftJisFoldersRoundTripByteForByte) {
    TForm1& form = this->b.Form();
    form.FileFolder = kSjisFolder;
    form.FileCFolder = "\x82\xA0\x81\x40\x1A\x7F";  // あ, full-width space, Ctrl-Z, DEL
    form.ZukeiFolder = " \t";
    form.IntervalSec = 3600;
    const std::string saved = this->Save();
    EXPECT_EQ("192\r\n107\r\n" + kSjisFolder +
                  "\r\n\x82\xA0\x81\x40\x1A\x7F\r\n \t\r\n3600\r\n0\r\n0\r\n",
              saved);
    const Loaded l = this->Load(saved);
    EXPECT_EQ(kSjisFolder, l.file);
    EXPECT_EQ("\x82\xA0\x81\x40\x1A\x7F", l.fileC);
    EXPECT_EQ(" \t", l.zukei);
    EXPECT_EQ(3600.0, l.interval);
}

TYPED_TEST(SettingsFileTest, ALongLineIsReadWhole) {
    const std::string folder = "C:\\" + std::string(100000, 'x') + "\\";
    this->b.Form().FileFolder = folder;
    const std::string saved = this->Save();
    EXPECT_EQ(folder, this->Load(saved).file);
    EXPECT_EQ(5.0, this->Load(saved).interval);
}

TYPED_TEST(SettingsFileTest, UnreadableLinesGiveTheHelpersValues) {
    const Loaded l = this->Load("x\r\n 5\r\n\r\n\r\n\r\n5,5\r\nyes\r\n\r\n");
    EXPECT_EQ(0, l.left);
    EXPECT_EQ(0.0, l.interval);
    EXPECT_FALSE(l.minimized);
}

TYPED_TEST(SettingsFileTest, AnOverflowingIntervalStopsTheLoadThere) {
    TForm1& form = this->b.Form();
    this->b.Put("1\r\n2\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n1e400\r\n1\r\n1\r\n");
    form.IntervalSec = 7.0;
    form.AutoStart = false;
    form.StartMinimized = false;
    form.LoadSettings(this->b.path);
    EXPECT_EQ((Loaded{1, 2, "C:\\A\\", "C:\\B\\", "C:\\C\\", 7.0, false, false}), this->Record());
}

TYPED_TEST(SettingsFileTest, NoFileOrAFolderOfThatNameLeavesEverything) {
    TForm1& form = this->b.Form();
    form.FileFolder = "C:\\Before\\";
    form.LoadSettings(this->b.path);
    EXPECT_EQ((Loaded{192, 107, "C:\\Before\\", "", "", 5.0, false, false}), this->Record());
    this->b.PutFolder();
    form.LoadSettings(this->b.path);
    EXPECT_EQ((Loaded{192, 107, "C:\\Before\\", "", "", 5.0, false, false}), this->Record());
}

TYPED_TEST(SettingsFileTest, ASaveReplacesTheOldFileAndLeavesNoTemporaryFile) {
    this->b.Put("old content that is longer than the new content\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ("192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n", this->Save());
    if constexpr (std::is_same_v<TypeParam, OnDisk>) {
        EXPECT_EQ(1, std::distance(fs::directory_iterator(this->b.dir), fs::directory_iterator()));
    } else {
        EXPECT_EQ(1u, this->b.f.files.files.size());
    }
}

// Failure injection on the in-memory files.
class SettingsFailureTest : public ::testing::Test {
protected:
    static constexpr char kOld[] = "1\r\n2\r\nC:\\Old\\\r\n\r\n\r\n9\r\n1\r\n1\r\n";

    void SaveOver(const std::string& old) {
        f.files.PutFile(kDat, old);
        f.form.FileFolder = "C:\\New\\";
        f.form.SaveSettings(kDat);
    }
    // The only file left is the settings file, and nothing is open.
    void ExpectNoLeftovers() {
        EXPECT_EQ(0, f.files.openWriters);
        EXPECT_EQ(0, f.files.openReaders);
        for (const auto& [path, content] : f.files.files) {
            EXPECT_EQ(FakeFileSystem::Normal(kDat), path) << "left behind";
        }
    }

    FakeForm f;
};

TEST_F(SettingsFailureTest, AFailureAtAnyStepOfTheSaveKeepsThePreviousFile) {
    struct Step {
        const char* name;
        void (*inject)(FakeFileSystem&);
    };
    const Step steps[] = {
        {"create", [](FakeFileSystem& fs) { fs.failCreate = true; }},
        {"write", [](FakeFileSystem& fs) { fs.writesBeforeError = 0; }},
        {"flush", [](FakeFileSystem& fs) { fs.failFlush = true; }},
        {"replace", [](FakeFileSystem& fs) { fs.failReplace = true; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        f.files = FakeFileSystem{};
        step.inject(f.files);
        SaveOver(kOld);
        EXPECT_EQ(kOld, f.files.Content(kDat).value_or("<gone>"));
        ExpectNoLeftovers();
    }
}

TEST_F(SettingsFailureTest, AFailedFirstSaveLeavesNoFile) {
    f.files.failReplace = true;
    f.form.SaveSettings(kDat);
    EXPECT_TRUE(f.files.files.empty());
}

TEST_F(SettingsFailureTest, AReadOnlyFileKeepsItsContent) {
    f.files.readOnly.insert(FakeFileSystem::Normal(kDat));
    SaveOver(kOld);
    EXPECT_EQ(kOld, f.files.Content(kDat));
    ExpectNoLeftovers();
    f.form.LoadSettings(kDat);
    EXPECT_EQ("C:\\Old\\", f.form.FileFolder);
}

TEST_F(SettingsFailureTest, AFailedOpenLoadsNothing) {
    f.files.PutFile(kDat, kOld);
    f.files.failOpen = true;
    f.form.LoadSettings(kDat);
    EXPECT_EQ(192, f.window.left);
    EXPECT_EQ("", f.form.FileFolder);
}

// A read error after each byte: every line completed before it is stored,
// every later value keeps what it held, and the file is closed.
TEST_F(SettingsFailureTest, AReadErrorKeepsWhatWasStoredBefore) {
    const std::string content = "11\r\n22\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n2.5\r\n1\r\n1\r\n";
    for (int reads = 0; reads <= static_cast<int>(content.size()); ++reads) {
        SCOPED_TRACE(reads);
        FakeForm g;
        g.files.PutFile(kDat, content);
        g.files.readChunk = 1;
        g.files.readsBeforeError = reads;
        g.form.LoadSettings(kDat);
        const std::string done = content.substr(0, static_cast<std::size_t>(reads));
        const auto lines = std::count(done.begin(), done.end(), '\n');
        EXPECT_EQ(lines >= 1 ? 11 : 192, g.window.left);
        EXPECT_EQ(lines >= 2 ? 22 : 107, g.window.top);
        EXPECT_EQ(lines >= 3 ? "C:\\A\\" : "", g.form.FileFolder);
        EXPECT_EQ(lines >= 5 ? "C:\\C\\" : "", g.form.ZukeiFolder);
        EXPECT_EQ(lines >= 6 ? 2.5 : 5.0, g.form.IntervalSec);
        EXPECT_EQ(lines >= 7, g.form.AutoStart);
        EXPECT_EQ(lines >= 8, g.form.StartMinimized);
        EXPECT_EQ(0, g.files.openReaders);
    }
}

// Line ends split between two reads are read as one line end.
TEST_F(SettingsFailureTest, EveryReadSizeGivesTheSameRecord) {
    const std::string content = "-5\r\n\r\n\r\r\nC:\\\x83\x5C\\\r\n\n0.01\r\n1\r\n1\r\nrest";
    for (std::size_t chunk = 1; chunk <= content.size(); ++chunk) {
        SCOPED_TRACE(chunk);
        FakeForm g;
        g.files.PutFile(kDat, content);
        g.files.readChunk = chunk;
        g.form.LoadSettings(kDat);
        EXPECT_EQ(-5, g.window.left);
        EXPECT_EQ(0, g.window.top);
        EXPECT_EQ("", g.form.FileFolder);
        EXPECT_EQ("C:\\\x83\x5C\\", g.form.FileCFolder);
        EXPECT_EQ("", g.form.ZukeiFolder);
        EXPECT_EQ(0.01, g.form.IntervalSec);
        EXPECT_TRUE(g.form.AutoStart);
        EXPECT_TRUE(g.form.StartMinimized);
    }
}

}  // namespace
