// The texts of the exchange with the communication program.
#include "online/tolan_texts.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace lm::test {
namespace {

TEST(TolanTexts, CommandsCarryUpperCaseHexBytesAndTheTerminator) {
    EXPECT_EQ(ReadCommand(false, 0x0B, 1, 0xFE), "QQ_RD 0B 01 FE|");
    EXPECT_EQ(ReadCommand(true, 60, 2, 100), "QQ_RS 3C 02 64|");
    const std::array<std::uint8_t, 4> bytes{0x10, 0x27, 0x00, 0xFF};
    EXPECT_EQ(WriteCommand(7, 1, 12, bytes), "QQ_WR 07 01 0C 10 27 00 FF|");
}

TEST(TolanTexts, WhatTheProgramSendsIsReadOnlyWhenComplete) {
    struct Row {
        std::string text;
        Received kind;
        std::vector<std::uint8_t> data;  // for Data
    };
    const std::string longest = [] {
        std::string t = "QQ_RD 01 02 03";
        while (t.size() + 3 < 255) t += " AB";
        return t + "|";
    }();
    const Row rows[] = {
        {"", Received::Nothing, {}},
        {"CLIENT CLOSED", Received::Nothing, {}},  // no terminator
        {"CLIENT CLOSED|", Received::ClientClosed, {}},
        {"CLIENT CLOSED BYE|", Received::ClientClosed, {}},
        {"CLIENT CLOSED COM_ERROR|", Received::ClientClosedFailed, {}},
        {"CLIENT CLOSED USER_CLOSE|", Received::ClientClosedFailed, {}},
        {"QQ_RD 01 02 03 0A 0B 0C |", Received::Nothing, {}},  // 25 characters
        {"QQ_RD 01 02 03 0A 0B 0C 0D|", Received::Data, {0x0A, 0x0B, 0x0C, 0x0D}},
        {"QQ_RD 01 02 03 0a 0b 0c 0d ff|", Received::Data, {0x0A, 0x0B, 0x0C, 0x0D, 0xFF}},
        {"QQ_RD 01 02 03 0A 0B 0C 0D", Received::Nothing, {}},
        {"QQ_RD 1 02 03 0A 0B 0C 0D 0E|", Received::BadData, {}},  // odd digits
        {"QQ_RD 01 02 03 0A 0B 0C 0D 0|", Received::BadData, {}},  // odd count
        {"QQ_RD 01 02 03 0A 0B 0C 0G|", Received::BadData, {}},
        {"QQ_WR 01 02 03 0A 0B 0C 0D|", Received::Nothing, {}},
        {longest, Received::Data, std::vector<std::uint8_t>(80, 0xAB)},
        {std::string(255, 'Q'), Received::Nothing, {}},
    };
    for (const Row& row : rows) {
        DataAnswer answer;
        EXPECT_EQ(ReadReceived(row.text, answer), row.kind) << row.text;
        if (row.kind != Received::Data) continue;
        EXPECT_EQ(answer.obj, 1);
        EXPECT_EQ(answer.instance, 2);
        EXPECT_EQ(answer.item, 3);
        EXPECT_EQ(std::vector<std::uint8_t>(answer.data().begin(), answer.data().end()), row.data)
            << row.text;
    }
}

}  // namespace
}  // namespace lm::test
