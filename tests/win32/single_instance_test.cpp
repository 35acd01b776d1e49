// The claim on the executable file: by its ID where the file system gives
// one, by its path where it gives none.
#include "win32/single_instance.h"

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, AFileWithoutAnIdIsClaimedByItsPathOneWithAnIdByItsIdAlone) {
    const std::array<std::uint8_t, 16> none{};
    const auto name = [](const std::array<std::uint8_t, 16>& id, const wchar_t* path) {
        return ClaimName(IdentityFrom(0x1234, id, path));
    };
    EXPECT_NE(name(none, L"\\\\server\\cad\\a\\Dirmind.exe"),
              name(none, L"\\\\server\\cad\\b\\Dirmind.exe"));
    EXPECT_EQ(name(none, L"\\\\server\\cad\\a\\Dirmind.exe"),
              name(none, L"\\\\SERVER\\CAD\\A\\Dirmind.exe"))
        << "names in another case are the same file";
    std::array<std::uint8_t, 16> id{};
    id[15] = 1;
    EXPECT_EQ(name(id, L"C:\\a\\Dirmind.exe"), name(id, L"\\\\server\\c\\a\\Dirmind.exe"));
}

}  // namespace
