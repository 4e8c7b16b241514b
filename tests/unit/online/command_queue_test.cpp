// The bounded command queue and its membership test.
#include "online/command_queue.h"

#include <gtest/gtest.h>

namespace lm::test {
namespace {

std::string Read(std::size_t n) {
    std::string text = "R";
    text += std::to_string(n);
    text += '|';
    return text;
}

TEST(CommandQueue, MembershipFollowsEveryCopyOfAText) {
    CommandQueue queue;
    queue.Append("QQ_WR 01 01 01 00 00 00 00|", false);
    queue.Append("QQ_WR 01 01 01 00 00 00 00|", false);
    queue.Append("QQ_RD 01 01 02|", true);
    EXPECT_TRUE(queue.Contains("QQ_RD 01 01 02|"));
    EXPECT_FALSE(queue.Contains("QQ_RD 01 01 0"));
    EXPECT_EQ(queue.TakeHead()->text, "QQ_WR 01 01 01 00 00 00 00|");
    EXPECT_TRUE(queue.Contains("QQ_WR 01 01 01 00 00 00 00|"));  // the second copy
    auto head = queue.TakeHead();
    EXPECT_FALSE(queue.Contains("QQ_WR 01 01 01 00 00 00 00|"));
    queue.PutBackHead(std::move(*head));
    EXPECT_EQ(queue.front(), "QQ_WR 01 01 01 00 00 00 00|");
    EXPECT_EQ(queue.size(), 2u);
    queue.Clear();
    EXPECT_FALSE(queue.Contains("QQ_RD 01 01 02|"));
    EXPECT_FALSE(queue.TakeHead().has_value());
}

TEST(CommandQueue, AFullQueueRefusesReadsAndMakesRoomForWritesFromTheOldestRead) {
    CommandQueue queue;
    queue.Append("W0|", false);
    for (std::size_t i = 1; i < kCommandQueueLimit; ++i)
        ASSERT_EQ(queue.Append(Read(i), true), CommandQueue::Added::Yes);
    EXPECT_EQ(queue.Append("R-late|", true), CommandQueue::Added::Refused);
    EXPECT_EQ(queue.Append("W1|", false), CommandQueue::Added::DroppedOldestRead);
    EXPECT_FALSE(queue.Contains("R1|"));
    EXPECT_TRUE(queue.Contains("R2|"));
    EXPECT_EQ(queue.size(), kCommandQueueLimit);
    EXPECT_EQ(queue.front(), "W0|");

    CommandQueue writes;
    for (std::size_t i = 0; i < kCommandQueueLimit; ++i) writes.Append("W|", false);
    EXPECT_EQ(writes.Append("W-late|", false), CommandQueue::Added::Refused);
    EXPECT_EQ(writes.size(), kCommandQueueLimit);
}

TEST(CommandQueue, TextsAreCutTo255Characters) {
    CommandQueue queue;
    queue.Append(std::string(300, 'x'), false);
    EXPECT_EQ(queue.front().size(), 255u);
    EXPECT_TRUE(queue.Contains(std::string(255, 'x')));
}

}  // namespace
}  // namespace lm::test
