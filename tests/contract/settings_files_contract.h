// The rules the settings file relies on from any file system behind
// ISettingsFiles, as one suite: the unit tests run it over the in-memory
// fake, the adapter tests over real files. Include it in one file per test
// program and instantiate SettingsFilesContract there with a function that
// makes that file system's Bench.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "settings/file_port.h"

namespace files_contract {

// One file system under test with a folder of its own, set up and inspected
// beside the port. Names are ASCII.
class Bench {
public:
    virtual ~Bench() = default;
    virtual ISettingsFiles& Files() = 0;
    // The folder, ending with "\".
    virtual FilePath Folder() const = 0;
    virtual void Put(const std::wstring& name, const std::string& bytes) = 0;
    virtual void PutFolder(const std::wstring& name) = 0;
    virtual void MakeReadOnly(const std::wstring& name) = 0;
    virtual std::optional<std::string> Get(const std::wstring& name) const = 0;
    // How many files and folders the folder holds.
    virtual std::size_t Count() const = 0;
};

using MakeBench = std::unique_ptr<Bench> (*)();

class SettingsFilesContract : public ::testing::TestWithParam<MakeBench> {
protected:
    void SetUp() override { bench_ = GetParam()(); }
    void TearDown() override { bench_.reset(); }

    Bench& bench() { return *bench_; }
    ISettingsFiles& files() { return bench_->Files(); }
    FilePath At(const std::wstring& name) const { return bench_->Folder() + name; }
    // A closed temporary file beside name holding bytes.
    FilePath Temp(const std::wstring& name, const std::string& bytes) {
        auto temp = files().CreateTempBeside(At(name)).file;
        EXPECT_NE(nullptr, temp);
        if (!temp) return {};
        EXPECT_TRUE(temp->Write(bytes).Done());
        EXPECT_TRUE(temp->FlushAndClose().Done());
        return temp->Path();
    }

private:
    std::unique_ptr<Bench> bench_;
};

TEST_P(SettingsFilesContract, AnOpenTellsAFileFromNoneAndReadsItToTheEnd) {
    using Code = FileStatus::Code;
    bench().Put(L"Dirmind.dat", "abc");
    bench().PutFolder(L"Folder.dat");
    EXPECT_EQ(Code::Absent, files().OpenRead(At(L"missing.dat")).status.code);
    EXPECT_EQ(Code::Absent, files().OpenRead(At(L"missing\\Dirmind.dat")).status.code);
    EXPECT_EQ(Code::Absent, files().OpenRead(At(L"Folder.dat")).status.code) << "a folder is none";
    EXPECT_EQ(Code::Absent, files().OpenRead(L"").status.code);

    auto reader = files().OpenRead(At(L"Dirmind.dat")).file;
    ASSERT_NE(nullptr, reader);
    char buffer[64];
    std::size_t got = 0;
    std::string read;
    do {
        ASSERT_TRUE(reader->Read(buffer, sizeof buffer, got).Done());
        read.append(buffer, got);
    } while (got > 0);
    EXPECT_EQ("abc", read);
}

TEST_P(SettingsFilesContract, TemporaryFilesAreNewBesideTheTargetAndNoLongerNamed) {
    auto first = files().CreateTempBeside(At(L"Dirmind.dat")).file;
    auto second = files().CreateTempBeside(At(L"Dirmind.dat")).file;
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first->Path(), second->Path());
    EXPECT_EQ(bench().Folder(), first->Path().substr(0, bench().Folder().size()));
    EXPECT_LE(first->Path().size(), At(L"Dirmind.dat").size());
    auto shortest = files().CreateTempBeside(At(L"a.dat")).file;
    ASSERT_NE(nullptr, shortest);
    EXPECT_LE(shortest->Path().size(), At(L"a.dat").size());
    shortest.reset();
    EXPECT_TRUE(first->Write("abc").Done());
    EXPECT_TRUE(first->FlushAndClose().Done());
    EXPECT_FALSE(first->Write("more").Done()) << "closed";
    const FilePath firstPath = first->Path();
    const FilePath secondPath = second->Path();
    second.reset();
    EXPECT_EQ(3u, bench().Count()) << "a destroyed writer closes, not removes";
    EXPECT_TRUE(files().Delete(firstPath));
    EXPECT_TRUE(files().Delete(secondPath));
    EXPECT_FALSE(files().Delete(secondPath));
    EXPECT_EQ(1u, bench().Count());
}

TEST_P(SettingsFilesContract, AReplacePutsTheFileInPlaceInOneStep) {
    const FilePath first = Temp(L"Dirmind.dat", "first");
    EXPECT_TRUE(files().Replace(first, At(L"Dirmind.dat")).Done()) << "none there before";
    bench().Put(L"Dirmind.dat", "old");
    const FilePath second = Temp(L"Dirmind.dat", "new");
    EXPECT_TRUE(files().Replace(second, At(L"Dirmind.dat")).Done());
    EXPECT_EQ("new", bench().Get(L"Dirmind.dat"));
    EXPECT_EQ(1u, bench().Count());
}

TEST_P(SettingsFilesContract, AReadOnlyTargetIsLeftAsItIsAndNothingIsMadeBesideIt) {
    bench().Put(L"Dirmind.dat", "old");
    const FilePath temp = Temp(L"Other.dat", "new");
    bench().MakeReadOnly(L"Dirmind.dat");
    const auto refused = files().CreateTempBeside(At(L"Dirmind.dat"));
    EXPECT_EQ(nullptr, refused.file);
    EXPECT_EQ(FileStatus::Code::ReadOnly, refused.status.code);
    EXPECT_EQ(2u, bench().Count());
    EXPECT_EQ(FileStatus::Code::ReadOnly, files().Replace(temp, At(L"Dirmind.dat")).code);
    EXPECT_EQ("old", bench().Get(L"Dirmind.dat"));
}

TEST_P(SettingsFilesContract, AReplaceOntoAFolderFailsAndLeavesIt) {
    bench().PutFolder(L"Dirmind.dat");
    const FilePath temp = Temp(L"Dirmind.dat", "new");
    const FileStatus replaced = files().Replace(temp, At(L"Dirmind.dat"));
    EXPECT_EQ(FileStatus::Code::Failed, replaced.code);
    EXPECT_FALSE(replaced.reason.empty());
    EXPECT_EQ(std::nullopt, bench().Get(L"Dirmind.dat"));
    EXPECT_EQ(FileStatus::Code::Absent, files().OpenRead(At(L"Dirmind.dat")).status.code);
}

}  // namespace files_contract
