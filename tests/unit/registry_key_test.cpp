// RegistryKey over the in-memory registry: the read and write rules the
// monitoring pass relies on, and every handle closed on every path.
#include "watch/registry_key.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_registry.h"

namespace {

constexpr char kMain[] = "SOFTWARE\\Jw_cad\\jw_win\\";
constexpr char kFolder[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";

std::string Z(const std::string& s) { return s + std::string(1, '\0'); }

class RegistryKeyTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, reg.OpenHandles()); }

    std::string Read(const std::string& name, const std::string& def = "DEF") {
        RegistryKey key(reg, kMain);
        return key.ReadText("Folder", name, def);
    }

    FakeRegistry reg;
};

TEST_F(RegistryKeyTest, OpeningCreatesTheMissingKeyAndClosesItAtTheEnd) {
    {
        RegistryKey key(reg, kMain);
        EXPECT_TRUE(reg.HasKey("SOFTWARE\\Jw_cad\\jw_win"));
        EXPECT_EQ(1, reg.OpenHandles());
    }
    EXPECT_EQ(0, reg.OpenHandles());
    EXPECT_FALSE(reg.HasKey(kFolder));  // opening never makes the subkey
}

TEST_F(RegistryKeyTest, AKeyThatCannotBeOpenedOrCreatedThrows) {
    reg.failCreate = true;
    EXPECT_THROW(RegistryKey(reg, kMain), RegistryError);
}

TEST_F(RegistryKeyTest, MissingSubkeyOrValueGivesTheDefault) {
    EXPECT_EQ("DEF", Read("File"));
    reg.PutString(kFolder, "FileC", "C:\\A");
    EXPECT_EQ("DEF", Read("File"));
    EXPECT_EQ("", Read("File", ""));
}

TEST_F(RegistryKeyTest, StringsAreReadUpToTheirFirstZeroAndExpandableOnesStayUnexpanded) {
    reg.PutRaw(kFolder, "File", kRegSz, Z("C:\\Jww") + Z("tail"));
    reg.PutRaw(kFolder, "FileC", kRegSz, "C:\\NoZero");
    reg.PutString(kFolder, "ZUKEI", "%USERPROFILE%\\Zukei", kRegExpandSz);
    EXPECT_EQ("C:\\Jww", Read("File"));
    EXPECT_EQ("C:\\NoZero", Read("FileC"));
    EXPECT_EQ("%USERPROFILE%\\Zukei", Read("ZUKEI"));
}

TEST_F(RegistryKeyTest, NameAndKeyPathAreCaseInsensitiveAndBytesComeBackUnchanged) {
    const std::string sjis = "D:\\\x83\x5C\x83\x74\x83\x67";  // D:\ソフト, second bytes 0x5C
    reg.PutString("software\\jw_cad\\JW_WIN\\folder", "file", sjis);
    EXPECT_EQ(sjis, Read("File"));
}

TEST_F(RegistryKeyTest, SizeZeroIsTheEmptyTextWhateverTheType) {
    reg.PutRaw(kFolder, "File", kRegSz, "");
    reg.PutRaw(kFolder, "FileC", kRegDword, "");
    reg.PutRaw(kFolder, "ZUKEI", kRegBinary, "");
    EXPECT_EQ("", Read("File"));
    EXPECT_EQ("", Read("FileC"));
    EXPECT_EQ("", Read("ZUKEI"));
}

TEST_F(RegistryKeyTest, OtherTypesAndQueryErrorsThrowAndCloseTheSubkey) {
    reg.PutRaw(kFolder, "Dword", kRegDword, std::string("\x01\x00\x00\x00", 4));
    reg.PutRaw(kFolder, "Binary", kRegBinary, "C:\\");
    reg.PutRaw(kFolder, "Multi", kRegMultiSz, Z("C:\\A") + Z(""));
    reg.PutString(kFolder, "Broken", "C:\\A");
    reg.failQuery.insert("Broken");
    for (const char* name : {"Dword", "Binary", "Multi", "Broken"}) {
        RegistryKey key(reg, kMain);
        EXPECT_THROW(key.ReadText("Folder", name, "DEF"), RegistryError) << name;
        EXPECT_EQ(1, reg.OpenHandles()) << name;  // only the main key stays open
    }
}

TEST_F(RegistryKeyTest, WriteCreatesTheSubkeyAndStoresAStringWithOneZero) {
    {
        RegistryKey key(reg, kMain);
        key.WriteText("Folder", "File", "C:\\Jww");
        key.WriteText("Folder", "FileC", "");
    }
    ASSERT_TRUE(reg.Get(kFolder, "File"));
    EXPECT_EQ(kRegSz, reg.Get(kFolder, "File")->type);
    EXPECT_EQ(Z("C:\\Jww"), reg.Get(kFolder, "File")->data);
    EXPECT_EQ(Z(""), reg.Get(kFolder, "FileC")->data);
    EXPECT_EQ("C:\\Jww", Read("File"));
}

TEST_F(RegistryKeyTest, WriteReplacesAValueOfAnotherType) {
    reg.PutRaw(kFolder, "File", kRegDword, std::string("\x05\x00\x00\x00", 4));
    reg.PutString(kFolder, "FileC", "%X%", kRegExpandSz);
    {
        RegistryKey key(reg, kMain);
        key.WriteText("Folder", "File", "C:\\A");
        key.WriteText("Folder", "FileC", "%X%");
    }
    EXPECT_EQ(kRegSz, reg.Get(kFolder, "File")->type);
    EXPECT_EQ(kRegSz, reg.Get(kFolder, "FileC")->type);
    EXPECT_EQ("C:\\A", Read("File"));
}

TEST_F(RegistryKeyTest, RefusedWriteOrSubkeyThrowsAndKeepsEarlierWrites) {
    {
        RegistryKey key(reg, kMain);
        reg.writesBeforeRefusal = 1;
        key.WriteText("Folder", "File", "C:\\A");
        EXPECT_THROW(key.WriteText("Folder", "FileC", "C:\\B"), RegistryError);
        reg.writesBeforeRefusal = -1;
        reg.failCreate = true;
        EXPECT_THROW(key.WriteText("Folder", "ZUKEI", "C:\\C"), RegistryError);
        reg.failCreate = false;
    }
    EXPECT_EQ("C:\\A", Read("File"));
    EXPECT_FALSE(reg.Get(kFolder, "FileC"));
    EXPECT_FALSE(reg.Get(kFolder, "ZUKEI"));
}

}  // namespace
