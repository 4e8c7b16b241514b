#include "exports/host_chain.h"

#include <gtest/gtest.h>

#include <vector>

namespace lm {
namespace {

struct Rec {
    Rec* next = nullptr;
};

// A list of `tail` records followed by a loop of `loop` records (none: ends in null).
std::vector<Rec> Chain(std::size_t tail, std::size_t loop) {
    std::vector<Rec> records(tail + loop);
    for (std::size_t i = 0; i + 1 < records.size(); ++i) records[i].next = &records[i + 1];
    if (loop > 0) records.back().next = &records[tail];
    return records;
}

TEST(HostChain, CountsEachRecordOnceUpToTheEndTheLoopOrTheBound) {
    struct Row {
        std::size_t tail, loop, limit, count;
        ChainEnd end;
    };
    const Row rows[] = {
        {1, 0, 10, 1, ChainEnd::Null},
        {5, 0, 5, 5, ChainEnd::Null},
        {5, 0, 4, 4, ChainEnd::TooLong},
        {0, 1, 10, 1, ChainEnd::LoopsBack},
        {0, 5, 10, 5, ChainEnd::LoopsBack},
        {3, 1, 10, 4, ChainEnd::LoopsBack},
        {7, 13, 20, 20, ChainEnd::LoopsBack},
        {7, 13, 19, 19, ChainEnd::TooLong},
        {1000, 2, 5000, 1002, ChainEnd::LoopsBack},
        {2, 1000, 5000, 1002, ChainEnd::LoopsBack},
    };
    for (const Row& row : rows) {
        std::vector<Rec> records = Chain(row.tail, row.loop);
        const ChainLength length = MeasureChain(records.data(), row.limit);
        EXPECT_EQ(length.count, row.count) << row.tail << "+" << row.loop << " limit " << row.limit;
        EXPECT_EQ(length.end, row.end) << row.tail << "+" << row.loop << " limit " << row.limit;
    }
    EXPECT_EQ(MeasureChain<Rec>(nullptr, 10).count, 0u);
    EXPECT_EQ(MeasureChain<Rec>(nullptr, 10).end, ChainEnd::Null);
}

// Every shape of list that fits the bound exactly is measured exactly, however
// its tail and loop divide it: the cycle search never gives up too early.
TEST(HostChain, EveryTailAndLoopAtTheBound) {
    for (std::size_t tail = 0; tail <= 40; ++tail) {
        for (std::size_t loop = 1; loop <= 40; ++loop) {
            std::vector<Rec> records = Chain(tail, loop);
            const ChainLength exact = MeasureChain(records.data(), tail + loop);
            ASSERT_EQ(exact.end, ChainEnd::LoopsBack) << tail << "+" << loop;
            ASSERT_EQ(exact.count, tail + loop) << tail << "+" << loop;
            const ChainLength cut = MeasureChain(records.data(), tail + loop - 1);
            ASSERT_EQ(cut.end, ChainEnd::TooLong) << tail << "+" << loop;
            ASSERT_EQ(cut.count, tail + loop - 1) << tail << "+" << loop;
        }
    }
}

}  // namespace
}  // namespace lm
