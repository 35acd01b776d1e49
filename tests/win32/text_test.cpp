// The code page 932 conversion of the Win32 adapters: a folder name that code
// page 932 cannot write converts to nothing, never to a look-alike.
#include "win32/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

TEST(Text, OnlyTextsCodePage932CanWriteConvertExactly) {
    EXPECT_EQ(std::optional<std::string>("C:\\\x83\x5C\x95\x5C\\"),
              ToCp932Exact(L"C:\\\u30BD\u8868\\"));
    EXPECT_EQ(std::optional<std::string>(""), ToCp932Exact(L""));
    // No form at all, and a form only through a look-alike letter.
    EXPECT_EQ(std::nullopt, ToCp932Exact(L"C:\\\uD55C\\"));
    EXPECT_EQ(std::nullopt, ToCp932Exact(L"C:\\Jos\u00E9\\"));
}
