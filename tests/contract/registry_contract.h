// The rules RegistryKey relies on from any registry behind IRegistry, as one
// suite: the unit tests run it over the in-memory fake, the adapter tests over
// the real registry. Include it in one file per test program and instantiate
// RegistryContract there with a function that makes that registry's Bench.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "watch/registry_key.h"
#include "watch/registry_port.h"

namespace registry_contract {

// One registry under test, set up and inspected beside the port. Texts are
// ASCII, with their zero bytes written out.
class Bench {
public:
    struct Value {
        std::uint32_t type;
        std::string data;  // strings as QueryValue gives them, with their zeros
    };

    virtual ~Bench() = default;
    virtual IRegistry& Registry() = 0;
    // The main key as RegistryKey takes it, with a trailing "\". Its subkey
    // "Folder" holds the values below.
    virtual std::string MainKey() const = 0;
    // Stores a value in the subkey, creating it, bypassing the port: for the
    // string types data is text stored as the platform stores text, for the
    // others the raw bytes.
    virtual void Put(const std::string& name, std::uint32_t type, const std::string& data) = 0;
    virtual std::optional<Value> Get(const std::string& name) const = 0;
    // Whether the main key ("") or its subkey ("Folder") exists.
    virtual bool HasKey(const std::string& subkey) const = 0;
};

using MakeBench = std::unique_ptr<Bench> (*)();

inline std::string Z(const std::string& s) { return s + std::string(1, '\0'); }

class RegistryContract : public ::testing::TestWithParam<MakeBench> {
protected:
    void SetUp() override { bench_ = GetParam()(); }
    void TearDown() override { bench_.reset(); }

    Bench& bench() { return *bench_; }
    std::optional<std::string> Read(const std::string& name, const std::string& def = "DEF") {
        RegistryKey key(bench_->Registry(), bench_->MainKey());
        return key.ReadText("Folder", name, def);
    }

private:
    std::unique_ptr<Bench> bench_;
};

TEST_P(RegistryContract, OpeningCreatesTheMainKeyButNotItsSubkey) {
    { RegistryKey key(bench().Registry(), bench().MainKey()); }
    EXPECT_TRUE(bench().HasKey(""));
    EXPECT_FALSE(bench().HasKey("Folder"));
}

TEST_P(RegistryContract, MissingSubkeyOrValueGivesTheDefault) {
    EXPECT_EQ("DEF", Read("File"));
    bench().Put("FileC", kRegSz, Z("C:\\A"));
    EXPECT_EQ("DEF", Read("File"));
    EXPECT_EQ("", Read("File", ""));
}

TEST_P(RegistryContract, StringsAreReadUpToTheirFirstZeroAndExpandableOnesStayUnexpanded) {
    bench().Put("File", kRegSz, Z("C:\\Jww") + Z("tail"));
    bench().Put("FileC", kRegSz, "C:\\NoZero");
    bench().Put("ZUKEI", kRegExpandSz, Z("%USERPROFILE%\\Zukei"));
    EXPECT_EQ("C:\\Jww", Read("File"));
    EXPECT_EQ("C:\\NoZero", Read("FileC"));
    EXPECT_EQ("%USERPROFILE%\\Zukei", Read("ZUKEI"));
}

TEST_P(RegistryContract, SizeZeroIsTheEmptyTextWhateverTheType) {
    bench().Put("File", kRegSz, "");
    bench().Put("FileC", kRegDword, "");
    bench().Put("ZUKEI", kRegBinary, "");
    EXPECT_EQ("", Read("File"));
    EXPECT_EQ("", Read("FileC"));
    EXPECT_EQ("", Read("ZUKEI"));
}

TEST_P(RegistryContract, NumbersBinaryAndStringListsFail) {
    bench().Put("Dword", kRegDword, std::string("\x07\x00\x00\x00", 4));
    bench().Put("Binary", kRegBinary, "C:\\");
    bench().Put("Multi", kRegMultiSz, Z("C:\\A") + Z(""));
    RegistryKey key(bench().Registry(), bench().MainKey());
    EXPECT_FALSE(key.ReadText("Folder", "Dword", ""));
    EXPECT_FALSE(key.ReadText("Folder", "Binary", ""));
    EXPECT_FALSE(key.ReadText("Folder", "Multi", ""));
}

TEST_P(RegistryContract, WriteCreatesTheSubkeyAndStoresAStringWithOneZero) {
    {
        RegistryKey key(bench().Registry(), bench().MainKey());
        EXPECT_TRUE(key.WriteText("Folder", "File", "C:\\Jww"));
        EXPECT_TRUE(key.WriteText("Folder", "FileC", ""));
    }
    const auto file = bench().Get("File");
    ASSERT_TRUE(file);
    EXPECT_EQ(kRegSz, file->type);
    EXPECT_EQ(Z("C:\\Jww"), file->data);
    const auto empty = bench().Get("FileC");
    ASSERT_TRUE(empty);
    EXPECT_EQ(Z(""), empty->data);
    EXPECT_EQ("C:\\Jww", Read("File"));
}

TEST_P(RegistryContract, WriteReplacesAValueOfAnotherType) {
    bench().Put("File", kRegDword, std::string("\x05\x00\x00\x00", 4));
    bench().Put("FileC", kRegExpandSz, Z("%X%"));
    {
        RegistryKey key(bench().Registry(), bench().MainKey());
        EXPECT_TRUE(key.WriteText("Folder", "File", "C:\\A"));
        EXPECT_TRUE(key.WriteText("Folder", "FileC", "%X%"));
    }
    EXPECT_EQ(kRegSz, bench().Get("File")->type);
    EXPECT_EQ(kRegSz, bench().Get("FileC")->type);
    EXPECT_EQ("C:\\A", Read("File"));
}

}  // namespace registry_contract
