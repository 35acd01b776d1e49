// RegistryKey over the in-memory registry: the shared registry contract, the
// fake's failures (refused writes and keys, failed queries), and every handle
// closed on every path.
#include "watch/registry_key.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "contract/registry_contract.h"
#include "fakes/fake_registry.h"

namespace {

constexpr char kMain[] = "SOFTWARE\\Jw_cad\\jw_win\\";
constexpr char kFolder[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";

// The in-memory registry at Jw_cad's own key; every handle closed at the end.
class FakeBench : public registry_contract::Bench {
public:
    ~FakeBench() override { EXPECT_EQ(0, reg_.OpenHandles()); }

    IRegistry& Registry() override { return reg_; }
    std::string MainKey() const override { return kMain; }
    void Put(const std::string& name, std::uint32_t type, const std::string& data) override {
        reg_.PutRaw(kFolder, name, type, data);
    }
    std::optional<Value> Get(const std::string& name) const override {
        const auto value = reg_.Get(kFolder, name);
        if (!value) return std::nullopt;
        return Value{value->type, value->data};
    }
    bool HasKey(const std::string& subkey) const override {
        return reg_.HasKey(subkey.empty() ? "SOFTWARE\\Jw_cad\\jw_win" : kMain + subkey);
    }

private:
    FakeRegistry reg_;
};

std::unique_ptr<registry_contract::Bench> MakeFakeBench() { return std::make_unique<FakeBench>(); }

using registry_contract::RegistryContract;
INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract, ::testing::Values(&MakeFakeBench));

class RegistryKeyTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, reg.OpenHandles()); }

    std::optional<std::string> Read(const std::string& name, const std::string& def = "DEF") {
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

TEST_F(RegistryKeyTest, AKeyThatCannotBeOpenedOrCreatedFailsEveryOperation) {
    reg.failCreate = true;
    RegistryKey key(reg, kMain);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.ReadText("Folder", "File", "DEF"));
    reg.failCreate = false;
    EXPECT_FALSE(key.WriteText("Folder", "File", "C:\\A"));
    EXPECT_FALSE(reg.HasKey(kFolder));
}

TEST_F(RegistryKeyTest, NameAndKeyPathAreCaseInsensitiveAndBytesComeBackUnchanged) {
    const std::string sjis = "D:\\\x83\x5C\x83\x74\x83\x67";  // D:\ソフト, second bytes 0x5C
    reg.PutString("software\\jw_cad\\JW_WIN\\folder", "file", sjis);
    EXPECT_EQ(sjis, Read("File"));
}

TEST_F(RegistryKeyTest, AQueryErrorFailsAndClosesTheSubkey) {
    reg.PutString(kFolder, "Broken", "C:\\A");
    reg.failQuery.insert("Broken");
    RegistryKey key(reg, kMain);
    EXPECT_FALSE(key.ReadText("Folder", "Broken", "DEF"));
    EXPECT_EQ(1, reg.OpenHandles());  // only the main key stays open
}

TEST_F(RegistryKeyTest, RefusedWriteOrSubkeyFailsAndKeepsEarlierWrites) {
    {
        RegistryKey key(reg, kMain);
        reg.writesBeforeRefusal = 1;
        EXPECT_TRUE(key.WriteText("Folder", "File", "C:\\A"));
        EXPECT_FALSE(key.WriteText("Folder", "FileC", "C:\\B"));
        reg.writesBeforeRefusal = -1;
        reg.failCreate = true;
        EXPECT_FALSE(key.WriteText("Folder", "ZUKEI", "C:\\C"));
        reg.failCreate = false;
    }
    EXPECT_EQ("C:\\A", Read("File"));
    EXPECT_FALSE(reg.Get(kFolder, "FileC"));
    EXPECT_FALSE(reg.Get(kFolder, "ZUKEI"));
}

}  // namespace
