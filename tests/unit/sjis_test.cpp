#include "util/sjis.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The rule itself, searched from the end one byte at a time: the last byte that
// is one of the delimiters and not a second byte.
std::size_t LastDelimiterByRule(const std::string& text, const std::string& delimiters) {
    for (std::size_t i = text.size(); i > 0; --i) {
        if (delimiters.find(text[i - 1]) != std::string::npos && !IsTrailByte(text, i - 1)) {
            return i - 1;
        }
    }
    return std::string::npos;
}

}  // namespace

TEST(Sjis, LeadBytesAreTheUsualRanges) {
    int count = 0;
    for (int b = 0; b < 256; ++b) count += IsLeadByte(static_cast<unsigned char>(b)) ? 1 : 0;
    EXPECT_EQ(count, 60);
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Sjis, TrailByteFollowsAnOddRunOfLeadBytes) {
    const std::string so = "C:\\\x83\x5C";  // ends in katakana "so", second byte "\"
    EXPECT_TRUE(IsTrailByte(so, 4));
    EXPECT_FALSE(IsTrailByte(so, 3));
    EXPECT_FALSE(IsTrailByte(so, 2));
    EXPECT_FALSE(IsTrailByte(so, 0));
    EXPECT_FALSE(IsTrailByte(so, 5));  // past the end
    EXPECT_FALSE(IsTrailByte("\x81\x81\\", 2));
    EXPECT_TRUE(IsTrailByte("\x81\x81\x81\\", 3));
    EXPECT_TRUE(IsTrailByte("a\x95\x5C\x83\\", 4));
    EXPECT_FALSE(IsTrailByte("\xA0\\", 1));
}

TEST(Sjis, EndsWithBackslashSkipsSecondBytes) {
    EXPECT_TRUE(EndsWithBackslash("C:\\"));
    EXPECT_TRUE(EndsWithBackslash("\\"));
    EXPECT_TRUE(EndsWithBackslash("C:\\\x83\x5C\\"));
    EXPECT_FALSE(EndsWithBackslash("C:\\\x83\x5C"));
    EXPECT_FALSE(EndsWithBackslash("C:\\Data"));
    EXPECT_FALSE(EndsWithBackslash(""));
}

TEST(Sjis, FolderPartTakesTheLastRealDelimiter) {
    EXPECT_EQ(FolderPart("D:\\Drawings\\a.txt"), "D:\\Drawings\\");
    EXPECT_EQ(FolderPart("C:\\Data\\\x81\x40"), "C:\\Data\\");
    EXPECT_EQ(FolderPart("C:\\Data\\\x83\x5C"), "C:\\Data\\");
    EXPECT_EQ(FolderPart("C:\\\x95\x5C\x8E\xA6\\x"), "C:\\\x95\x5C\x8E\xA6\\");
    EXPECT_EQ(FolderPart("C:file"), "C:");
    EXPECT_EQ(FolderPart("file"), "");
    EXPECT_EQ(FolderPart("\x83\x5C"), "");
    EXPECT_EQ(FolderPart(""), "");
    EXPECT_EQ(FolderPart("\\\\server\\share\\"), "\\\\server\\share\\");
}

TEST(Sjis, PathSearchesAgreeWithTheRunRule) {
    // Random texts over the bytes that matter: lead bytes that are also valid
    // second bytes, delimiters, and ordinary bytes.
    const std::string alphabet = "\x81\x83\xE0\xFC\x5C:.a\x40\xA0";
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (int i = length(random); i > 0; --i) text += alphabet[pick(random)];
        SCOPED_TRACE(testing::PrintToString(text));

        const std::size_t folder = LastDelimiterByRule(text, "\\:");
        ASSERT_EQ(FolderPart(text), folder == std::string::npos ? "" : text.substr(0, folder + 1));

        ASSERT_EQ(EndsWithBackslash(text),
                  !text.empty() && folder == text.size() - 1 && text.back() == '\\');
    }
}

TEST(Sjis, UpperCaseMapsWholeCharacters) {
    EXPECT_EQ(UpperCase("c:\\data\\abc xyz"), "C:\\DATA\\ABC XYZ");
    EXPECT_EQ(UpperCase("AZ09@[`{~"), "AZ09@[`{~");
    EXPECT_EQ(UpperCase(""), "");
    // Full-width a, z; Greek alpha, omega; Cyrillic a, en, o, ya, yo.
    EXPECT_EQ(UpperCase("\x82\x81\x82\x9A"), "\x82\x60\x82\x79");
    EXPECT_EQ(UpperCase("\x83\xBF\x83\xD6"), "\x83\x9F\x83\xB6");
    EXPECT_EQ(UpperCase("\x84\x70\x84\x7E\x84\x80\x84\x91\x84\x76"),
              "\x84\x40\x84\x4E\x84\x4F\x84\x60\x84\x46");
    // Mixed with ASCII, and upper-case forms stay.
    EXPECT_EQ(UpperCase("a\x82\x81"
                        "b\x83\x9F"),
              "A\x82\x60"
              "B\x83\x9F");
}

TEST(Sjis, UpperCaseNeverChangesASecondByteOnItsOwn) {
    // Full-width Q (0x82 0x70): 0x70 is "p", yet the character stays.
    EXPECT_EQ(UpperCase("\x82\x70"), "\x82\x70");
    // Second bytes in a-z: full-width B, kanji and katakana.
    EXPECT_EQ(UpperCase("\x82\x61\x88\x61\x83\x7A\x95\x7A"), "\x82\x61\x88\x61\x83\x7A\x95\x7A");
    // Next to the converted ranges: no letter there, nothing changes.
    EXPECT_EQ(UpperCase("\x82\x80\x82\x9B\x83\xBE\x83\xD7\x84\x6F\x84\x7F\x84\x92"),
              "\x82\x80\x82\x9B\x83\xBE\x83\xD7\x84\x6F\x84\x7F\x84\x92");
    // After a lead byte pair the walk resumes at the right place.
    EXPECT_EQ(UpperCase("\x81\x81"
                        "a"),
              "\x81\x81"
              "A");
    EXPECT_EQ(UpperCase("\x81"
                        "a"),
              "\x81"
              "a");
    // Half-width katakana and a lone lead byte at the end.
    EXPECT_EQ(UpperCase("\xB1\xDFz\x82"), "\xB1\xDFZ\x82");
}

TEST(Sjis, RemoveBlanksEverywhere) {
    EXPECT_EQ(RemoveBlanks(""), "");
    EXPECT_EQ(RemoveBlanks("  C:\\Data\\  "), "C:\\Data\\");
    EXPECT_EQ(RemoveBlanks("C:\\My Data\\"), "C:\\MyData\\");
    EXPECT_EQ(RemoveBlanks("a\x81\x40"
                           "b"),
              "ab");
    EXPECT_EQ(RemoveBlanks(" \t\r\n\x81\x40 \x01\x1F"), "");
    EXPECT_EQ(RemoveBlanks(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(RemoveBlanks("\x7F\xA1\xDF\xFE\xFF"), "\x7F\xA1\xDF\xFE\xFF");
    EXPECT_EQ(RemoveBlanks("\xB1 \xB2"), "\xB1\xB2");
}

TEST(Sjis, RemoveBlanksWalksTwoByteCharactersWhole) {
    EXPECT_EQ(RemoveBlanks("a\x81"), "a\x81");  // a lone lead byte at the end stays
    EXPECT_EQ(RemoveBlanks("\x82\x81\x40"), "\x82\x81\x40");
    EXPECT_EQ(RemoveBlanks("\x80 "), "\x80 ");
    EXPECT_EQ(RemoveBlanks("\xFD "), "\xFD ");
    EXPECT_EQ(RemoveBlanks("\xFC "), "\xFC ");
    EXPECT_EQ(RemoveBlanks("\xFE "), "\xFE");
    EXPECT_EQ(RemoveBlanks("\xA0 "), "\xA0");
    EXPECT_EQ(RemoveBlanks("\x83\x5C \x83\x40"), "\x83\x5C\x83\x40");
    EXPECT_EQ(RemoveBlanks("\x81\x40\x81\x40\x81"), "\x81");
}
