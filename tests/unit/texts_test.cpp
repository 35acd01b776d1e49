// The bytes of the texts that other code relies on beyond what
// scripts/gen_texts.py states (the test texts_generated keeps texts.h exactly
// what the script writes).
#include "app/texts.h"

#include <gtest/gtest.h>

#include <string>

TEST(Texts, TheWaveAndTheSpaceAreCodePage932sFullWidthCharacters) {
    // "0.01～3600": the full-width tilde 0x81 0x60, not the wave dash.
    EXPECT_NE(std::string(texts::kErrorInterval)
                  .find("0.01\x81\x60"
                        "3600"),
              std::string::npos);
    EXPECT_EQ("\x81\x40", std::string(texts::kFullWidthSpace));
}
