#include "values/text_helpers.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

TEST(TextHelpers, TrimSpaces) {
    EXPECT_EQ(TRIM_SPACES("  a b  "), "a b");
    EXPECT_EQ(TRIM_SPACES("   "), "");
    EXPECT_EQ(TRIM_SPACES(""), "");
    EXPECT_EQ(TRIM_SPACES("\ta\t "), "\ta\t");  // only the space character
}

TEST(TextHelpers, TakeNumberWalksALine) {
    std::string line = "  1.5  -2e1\t0.25 x ";
    bool error = false;
    const struct {
        double value;
        const char* rest;
        bool error;
    } steps[] = {
        {1.5, "  -2e1\t0.25 x", false},
        {-20, "\t0.25 x", false},
        {0.25, " x", false},  // a tab separates as a blank does
        {0, "", true},
        {0, "", true},  // an empty line is no number; the flag stays set
    };
    for (const auto& step : steps) {
        EXPECT_EQ(TAKE_NUMBER(line, 255, error), step.value) << step.rest;
        EXPECT_EQ(line, step.rest);
        EXPECT_EQ(error, step.error) << step.rest;
    }
}

TEST(TextHelpers, TakeNumberRejectsDecimalCommasAndOutOfRange) {
    const struct {
        const char* line;
        bool error;
        double value;
    } rows[] = {
        {"2,5", true, 0},
        {"1e39", true, 0},
        {"1e-40", false, 0},
        {"1.7e38", false, 1.7e38},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        bool error = false;
        EXPECT_EQ(TAKE_NUMBER(line, 255, error), row.value) << row.line;
        EXPECT_EQ(error, row.error) << row.line;
    }
}

TEST(TextHelpers, TakeNumberCutsToTheLimitAfterTrimming) {
    std::string line = "   123456 7";
    bool error = false;
    EXPECT_EQ(TAKE_NUMBER(line, 4, error), 1234);
    EXPECT_FALSE(error);
    EXPECT_EQ(line, "");
}

TEST(TextHelpers, CommaToPoint) {
    EXPECT_EQ(COMMA_TO_POINT("1,5;2,25"), "1.5;2.25");
    EXPECT_EQ(COMMA_TO_POINT(""), "");
}

TEST(TextHelpers, PcharText) {
    EXPECT_EQ(PCHAR_TEXT(nullptr), "");
    EXPECT_EQ(PCHAR_TEXT("abc"), "abc");
    const std::string long_text(400, 'x');
    EXPECT_EQ(PCHAR_TEXT(long_text.c_str()), std::string(255, 'x'));
}

}  // namespace
}  // namespace lm
