#include "instances/instance_index.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

struct Rec {
    int id;
};

TEST(InstanceIndex, FirstCreatedWinsThroughDeletionAndRenumbering) {
    Rec a{1}, b{2}, c{3}, d{4};
    InstanceIndex<Rec> index;
    index.Add(&a, 7, 1);
    index.Add(&b, 7, 2);
    index.Add(&c, 7, 1);  // the same pair again
    index.Add(&d, 9, 1);
    EXPECT_EQ(index.Find(7, 1), &a);
    EXPECT_EQ(index.Find(7, 2), &b);
    EXPECT_EQ(index.Find(9, 1), &d);
    EXPECT_EQ(index.Find(8, 1), nullptr);
    EXPECT_EQ(index.FindFirstOfIdent(7), &a);

    index.Remove(&a, 7, 1);
    EXPECT_EQ(index.Find(7, 1), &c) << "the older duplicate takes over";
    EXPECT_EQ(index.FindFirstOfIdent(7), &b);

    index.Renumber(&b, 7, 2, 1);  // b is older than c
    EXPECT_EQ(index.Find(7, 2), nullptr);
    EXPECT_EQ(index.Find(7, 1), &b);
    index.Renumber(&b, 7, 1, 5);
    EXPECT_EQ(index.Find(7, 1), &c);
    EXPECT_EQ(index.Find(7, 5), &b);

    index.Remove(&d, 9, 1);
    EXPECT_EQ(index.Find(9, 1), nullptr);
    EXPECT_EQ(index.FindFirstOfIdent(9), nullptr);
    index.Remove(&d, 9, 1);  // twice: nothing happens
    EXPECT_EQ(index.size(), 2u);
}

}  // namespace
}  // namespace lm
