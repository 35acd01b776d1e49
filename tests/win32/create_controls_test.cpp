// Control creation: a control that cannot be made is an error, not a gap.
#include "win32/create_controls.h"

#include <gtest/gtest.h>

TEST(CreateControls, AControlThatCannotBeMadeFailsTheWhole) {
    // A child window needs a parent: the first control is refused.
    const WindowFonts fonts = CreateWindowFonts(Dpi());
    EXPECT_FALSE(CreateControls(nullptr, GetModuleHandleW(nullptr), fonts, Dpi()));
    EXPECT_NE(0u, GetLastError());
}
