#include "values/number_syntax.h"

#include <gtest/gtest.h>

#include <limits>

namespace lm {
namespace {

TEST(NumberSyntax, Int32) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } rows[] = {
        {"0", 0},
        {"123", 123},
        {"-123", -123},
        {"+7", 7},
        {"  42", 42},
        {"007", 7},
        {"$1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"x1F", 31},
        {"X1F", 31},
        {"-$1F", -31},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"$0000000001", 1},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"4294967295", std::nullopt},
        {"$100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"12a", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"1 ", std::nullopt},
        {"1.0", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseInt32(row.text), row.value) << row.text;
}

TEST(NumberSyntax, Int64) {
    const struct {
        const char* text;
        std::optional<std::int64_t> value;
    } rows[] = {
        {"4294967295", 4294967295},
        {"-1", -1},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$10000000000000000", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseInt64(row.text), row.value) << row.text;
}

TEST(NumberSyntax, Real) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        std::optional<double> value;
    } rows[] = {
        {"1.5", 1.5},
        {"-2.5e3", -2500},
        {"+.5", 0.5},
        {"5.", 5},
        {"1E5", 1e5},
        {"1e-5", 1e-5},
        {"  3", 3},
        {"0.1", 0.1},
        {"12345678901234567890", 12345678901234567890.0},
        {"100000000000000000000000000000000000000000e-41", 1},
        {"1e400", inf},
        {"-1e400", -inf},
        {"0.0000000000000000000000000000000000000000000000001e400", inf},
        {"1e-400", 0},
        {"0e999999999999", 0},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"e5", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"1.5.2", std::nullopt},
        {"1,5", std::nullopt},
        {"1.5 ", std::nullopt},
        {"12a", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x1p3", std::nullopt},
        {"$1F", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseDecimalReal(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace lm
