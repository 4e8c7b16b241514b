#include "library/new_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lm {
namespace {

TEST(NewText, CopiesAtMostTheLimit) {
    const struct {
        std::string text;
        std::size_t limit;
        std::string copy;
    } rows[] = {
        {"AND", 20, "AND"}, {"A very long object name", 20, "A very long object n"}, {"", 20, ""},
        {"abc", 0, ""},     {std::string(300, 'x'), 1000, std::string(255, 'x')},
    };
    for (const auto& row : rows) {
        const auto copy = NEW_TEXT(row.text, row.limit);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(std::string(copy.get()), row.copy);
    }
}

}  // namespace
}  // namespace lm
