// The settings file: its exact bytes, the reader's line rules, and saves that
// never lose the previous file, over the in-memory files that keep the file
// system contract (run here over the fake as well).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "contract/settings_files_contract.h"
#include "fakes/fake_files.h"
#include "settings/settings_file.h"

namespace {

constexpr wchar_t kDat[] = L"C:\\Tools\\Dirmind.dat";

// The in-memory files of the fake.
struct InMemory {
    FakeFileSystem files;
    FilePath path = kDat;
    ISettingsFiles& Files() { return files; }
    void Put(const std::string& bytes) { files.PutFile(path, bytes); }
    void PutFolder() { files.PutFolder("C:\\Tools\\Dirmind.dat"); }
    std::optional<std::string> Get() { return files.Content(path); }
};

// The fake under the file system contract, in a folder of its own.
class FakeBench : public files_contract::Bench {
public:
    ISettingsFiles& Files() override { return files_; }
    FilePath Folder() const override { return L"C:\\Tools\\"; }
    void Put(const std::wstring& name, const std::string& bytes) override {
        files_.PutFile(Folder() + name, bytes);
    }
    void PutFolder(const std::wstring& name) override {
        files_.PutFolder(FakeFileSystem::Narrow(Folder() + name));
    }
    void MakeReadOnly(const std::wstring& name) override {
        files_.readOnly.insert(FakeFileSystem::FileKey(Folder() + name));
    }
    std::optional<std::string> Get(const std::wstring& name) const override {
        return files_.Content(Folder() + name);
    }
    std::size_t Count() const override {
        const FakeFileSystem::Key prefix = FakeFileSystem::FileKey(Folder());
        const auto inFolder = [&](const FakeFileSystem::Key& key) {
            return key.compare(0, prefix.size(), prefix) == 0 &&
                   key.find(L'\\', prefix.size()) == key.npos;
        };
        std::size_t count = 0;
        for (const auto& [key, content] : files_.files) count += inFolder(key) ? 1 : 0;
        for (const std::string& folder : files_.folders) {
            count += inFolder(FakeFileSystem::FileKey(std::wstring(folder.begin(), folder.end())));
        }
        return count;
    }

private:
    FakeFileSystem files_;
};

std::unique_ptr<files_contract::Bench> MakeFakeBench() { return std::make_unique<FakeBench>(); }

using files_contract::SettingsFilesContract;
INSTANTIATE_TEST_SUITE_P(Fake, SettingsFilesContract, ::testing::Values(&MakeFakeBench));

// A record as the caller hands it in: the defaults, with the window where it
// stands before the load.
Settings Initial() {
    Settings s;
    s.left = 192;
    s.top = 107;
    return s;
}

// A record in one comparable piece.
struct Loaded {
    int left, top;
    std::string file, fileC, zukei;
    double interval;
    bool autoStart, minimized;
    bool operator==(const Loaded&) const = default;
};

Loaded Of(const Settings& s) {
    return {s.left,       s.top,           s.folders[0],
            s.folders[1], s.folders[2],    s.intervalSeconds,
            s.autoStart,  s.startMinimised};
}

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
        settings = Initial();
        EXPECT_TRUE(LoadSettings(b.Files(), b.path, settings).Done());
        return Of(settings);
    }
    std::string Save() {
        EXPECT_TRUE(SaveSettings(b.Files(), b.path, settings).Done());
        return b.Get().value_or("<no file>");
    }

    Settings settings = Initial();
    Backend b;
};

using Backends = ::testing::Types<InMemory>;
TYPED_TEST_SUITE(SettingsFileTest, Backends);

const std::string kCad = "C:\\CAD\\";
// Folders whose double-byte characters end in "\" (ソ, 表) and "|" (ポ).
const std::string kSjisFolder = "D:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C\\\x83\x7C\x83\x93\\";

TYPED_TEST(SettingsFileTest, WritesEightCrLfLinesExactly) {
    this->settings.folders[0] = kCad;
    this->settings.startMinimised = true;
    const std::string saved = this->Save();
    EXPECT_EQ("192\r\n107\r\nC:\\CAD\\\r\n\r\n\r\n5\r\n0\r\n1\r\n", saved);
    EXPECT_EQ(32u, saved.size());
}

TYPED_TEST(SettingsFileTest, WritesNegativePositionsAndFractionsInTheirTextForm) {
    this->settings.left = -1200;
    this->settings.top = -8;
    this->settings.intervalSeconds = 0.01;
    this->settings.autoStart = true;
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
    this->settings.folders = {kSjisFolder, "\x82\xA0\x81\x40\x1A\x7F",  // あ, full-width space,
                              " \t"};                                   // Ctrl-Z, DEL
    this->settings.intervalSeconds = 3600;
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
    this->settings.folders[0] = folder;
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
    this->b.Put("1\r\n2\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n1e400\r\n1\r\n1\r\n");
    Settings s = Initial();
    s.intervalSeconds = 7.0;
    EXPECT_TRUE(LoadSettings(this->b.Files(), this->b.path, s).Done());
    EXPECT_EQ((Loaded{1, 2, "C:\\A\\", "C:\\B\\", "C:\\C\\", 7.0, false, false}), Of(s));
}

TYPED_TEST(SettingsFileTest, NoFileOrAFolderOfThatNameLeavesEverything) {
    Settings s = Initial();
    s.folders[0] = "C:\\Before\\";
    EXPECT_EQ(FileStatus::Code::Absent, LoadSettings(this->b.Files(), this->b.path, s).code);
    EXPECT_EQ((Loaded{192, 107, "C:\\Before\\", "", "", 5.0, false, false}), Of(s));
    this->b.PutFolder();
    EXPECT_EQ(FileStatus::Code::Absent, LoadSettings(this->b.Files(), this->b.path, s).code);
    EXPECT_EQ((Loaded{192, 107, "C:\\Before\\", "", "", 5.0, false, false}), Of(s));
}

TYPED_TEST(SettingsFileTest, ASaveReplacesTheOldFileAndLeavesNoTemporaryFile) {
    this->b.Put("old content that is longer than the new content\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ("192\r\n107\r\n\r\n\r\n\r\n5\r\n0\r\n0\r\n", this->Save());
    EXPECT_EQ(1u, this->b.files.files.size());
}

// Failure injection on the in-memory files.
class SettingsFailureTest : public ::testing::Test {
protected:
    static constexpr char kOld[] = "1\r\n2\r\nC:\\Old\\\r\n\r\n\r\n9\r\n1\r\n1\r\n";

    FileStatus SaveOver(const std::string& old) {
        files.PutFile(kDat, old);
        Settings s = Initial();
        s.folders[0] = "C:\\New\\";
        return SaveSettings(files, kDat, s);
    }
    // The only file left is the settings file, and nothing is open.
    void ExpectNoLeftovers() {
        EXPECT_EQ(0, files.openWriters);
        EXPECT_EQ(0, files.openReaders);
        for (const auto& [path, content] : files.files) {
            EXPECT_EQ(FakeFileSystem::FileKey(kDat), path) << "left behind";
        }
    }

    FakeFileSystem files;
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
        files = FakeFileSystem{};
        step.inject(files);
        EXPECT_EQ(FileStatus::Code::Failed, SaveOver(kOld).code);
        EXPECT_EQ(kOld, files.Content(kDat).value_or("<gone>"));
        ExpectNoLeftovers();
    }
}

TEST_F(SettingsFailureTest, AFailedFirstSaveLeavesNoFile) {
    files.failReplace = true;
    EXPECT_EQ(FileStatus::Code::Failed, SaveSettings(files, kDat, Initial()).code);
    EXPECT_TRUE(files.files.empty());
}

TEST_F(SettingsFailureTest, AReadOnlyFileKeepsItsContent) {
    files.readOnly.insert(FakeFileSystem::FileKey(kDat));
    EXPECT_EQ(FileStatus::Code::ReadOnly, SaveOver(kOld).code);
    EXPECT_EQ(kOld, files.Content(kDat));
    EXPECT_EQ(0, files.tempCount) << "nothing made";
    ExpectNoLeftovers();
    Settings s = Initial();
    EXPECT_TRUE(LoadSettings(files, kDat, s).Done());
    EXPECT_EQ("C:\\Old\\", s.folders[0]);
    // Made read-only while the temporary file was written: that file goes.
    files = FakeFileSystem{};
    files.readOnlyMeanwhile = true;
    EXPECT_EQ(FileStatus::Code::ReadOnly, SaveOver(kOld).code);
    EXPECT_EQ(kOld, files.Content(kDat));
    ExpectNoLeftovers();
}

TEST_F(SettingsFailureTest, AFailedOpenLoadsNothing) {
    files.PutFile(kDat, kOld);
    files.failOpen = true;
    Settings s = Initial();
    EXPECT_EQ(FileStatus::Code::Failed, LoadSettings(files, kDat, s).code);
    EXPECT_EQ((Loaded{192, 107, "", "", "", 5.0, false, false}), Of(s));
}

// A read error after each byte: nothing is handed over unless the whole file
// was read, and the file is closed.
TEST_F(SettingsFailureTest, AReadErrorLeavesTheRecordAsItWas) {
    const std::string content = "11\r\n22\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n2.5\r\n1\r\n1\r\n";
    for (int reads = 0; reads <= static_cast<int>(content.size()); ++reads) {
        SCOPED_TRACE(reads);
        FakeFileSystem g;
        g.PutFile(kDat, content);
        g.readChunk = 1;
        g.readsBeforeError = reads;
        Settings s = Initial();
        const FileStatus loaded = LoadSettings(g, kDat, s);
        const bool whole = reads == static_cast<int>(content.size());
        const Loaded all{11, 22, "C:\\A\\", "C:\\B\\", "C:\\C\\", 2.5, true, true};
        EXPECT_EQ(whole ? FileStatus::Code::Done : FileStatus::Code::Failed, loaded.code);
        EXPECT_EQ(whole ? all : Of(Initial()), Of(s));
        EXPECT_EQ(0, g.openReaders);
    }
}

// Line ends split between two reads are read as one line end.
TEST_F(SettingsFailureTest, EveryReadSizeGivesTheSameRecord) {
    const std::string content = "-5\r\n\r\n\r\r\nC:\\\x83\x5C\\\r\n\n0.01\r\n1\r\n1\r\nrest";
    for (std::size_t chunk = 1; chunk <= content.size(); ++chunk) {
        SCOPED_TRACE(chunk);
        FakeFileSystem g;
        g.PutFile(kDat, content);
        g.readChunk = chunk;
        Settings s = Initial();
        EXPECT_TRUE(LoadSettings(g, kDat, s).Done());
        EXPECT_EQ((Loaded{-5, 0, "", "C:\\\x83\x5C\\", "", 0.01, true, true}), Of(s));
    }
}

TEST(SettingsPath, CutsBeforeTheLastDotOfTheNameAndAppendsDat) {
    const std::pair<FilePath, FilePath> cases[] = {
        {L"C:\\Tools\\Dirmind.exe", kDat},
        {L"C:\\Apps\\Tool.v2.exe", L"C:\\Apps\\Tool.v2.dat"},
        {L"C:\\Apps.d\\Tool", L"C:\\Apps.d\\Tool.dat"},
        {L"C:.x\\Tool", L"C:.x\\Tool.dat"},
        {L"A.b:c", L"A.b:c.dat"},
        {L"", L".dat"},
        // Names that code page 932 cannot write stay as they are.
        {L"C:\\Users\\Jos\u00e9\\\uD55C.v1\\Dirmind.exe",
         L"C:\\Users\\Jos\u00e9\\\uD55C.v1\\Dirmind.dat"},
    };
    for (const auto& [exe, dat] : cases) EXPECT_EQ(dat, SettingsPathFor(exe));
}

}  // namespace
