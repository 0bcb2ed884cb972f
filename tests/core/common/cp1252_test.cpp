#include "core/common/cp1252.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUnicode) {
    const auto& table = Cp1252ToUnicodeTable();
    for (int byte = 0; byte < 256; ++byte) {
        char back = 0;
        ASSERT_TRUE(UnicodeToCp1252(table[byte], back)) << byte;
        EXPECT_EQ(static_cast<unsigned char>(back), byte);
    }
    EXPECT_EQ(table[0x80], u'\u20AC');
    EXPECT_EQ(table[0x93], u'\u201C');
    EXPECT_EQ(table[0xE9], u'\u00E9');
    char unused = 0;
    EXPECT_FALSE(UnicodeToCp1252(U'\u0100', unused));
}

TEST(Cp1252, UpperCasesAsciiAndAccentedLetters) {
    EXPECT_EQ(ToUpper1252("sun in"), "SUN IN");
    EXPECT_EQ(ToUpper1252("\xe9\xf7\xff\x9a"), "\xc9\xf7\x9f\x8a");
    EXPECT_TRUE(EqualIgnoringCase1252("Sun Blending", "SUN blending"));
    EXPECT_FALSE(EqualIgnoringCase1252("Sun", "Sun "));
}

}  // namespace
}  // namespace tolvaris
