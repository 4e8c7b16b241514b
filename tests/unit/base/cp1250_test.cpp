#include "base/cp1250.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

TEST(Cp1250, LiteralsBecomeCp1250BytesAtCompileTime) {
    struct Row {
        std::string_view converted;
        std::string_view bytes;
    };
    const Row rows[] = {
        {"abc"_cp, "abc"},
        {""_cp, ""},
        {"Nápověda"_cp,
         "N\xE1pov\xEC"
         "da"},
        {"ŽŠČŘĎŤŇŮ"_cp, "\x8E\x8A\xC8\xD8\xCF\x8D\xD2\xD9"},
        {"žščřďťňů"_cp, "\x9E\x9A\xE8\xF8\xEF\x9D\xF2\xF9"},
        {"€„“”–"_cp, "\x80\x84\x93\x94\x96"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.converted, row.bytes);
    static_assert("č"_cp.size() == 1);
}

TEST(Cp1250, EveryUsedByteRoundTripsThroughUtf8AndUtf16) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (Cp1250CodePoint(static_cast<unsigned char>(b)) != 0xFFFD)
            all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(all.size(), 250u);  // 0x81, 0x83, 0x88, 0x90, 0x98 are unused
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(all)), all);
}

TEST(Cp1250, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1250("a\xE2\x82\xBD"
                           "b"),
              "a?b");                           // rouble sign
    EXPECT_EQ(Utf8ToCp1250("\xFF\xFE"), "??");  // not UTF-8 at all
    EXPECT_EQ(Utf8ToCp1250("\xC5"), "?");       // cut sequence
    EXPECT_EQ(Utf16ToCp1250(u"\u4E2D"), "?");
}

}  // namespace
}  // namespace lm
