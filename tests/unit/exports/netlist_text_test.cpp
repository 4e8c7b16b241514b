// The whole text of each mode when the host hands over no netlist, or the
// driver has no instances.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/exports/exports_test_support.h"

namespace lm {
namespace {

using Lines = std::vector<std::string>;

const std::string kSep(43, '-');

TEST(NetlistText, WithoutANetlistOnlyTheHeaderAndTheInstances) {
    test::Scenario scenario("block 11 1\nblock 60 1\nblock 155 2\n");
    struct Row {
        NetListMode mode;
        std::uint32_t checksum;
        Lines lines;
    };
    const Row rows[] = {
        {NetListMode::Listing,
         305419896,
         {"Lumar, NetList - text", "DLL:VORTEL KADEX-RX7", "    verze 4.05 ze dne 1.12.2005", kSep,
          "FIRMWARE (min/max) = 2100 3000", "CRC32 = 305419896", "HEX = 78 56 34 12 ", kSep, kSep,
          "Seznam vsech objektu v projektu:", "AI6.1, id=11", "TEXTY.1, id=60", "KAVLIN.2, id=155",
          kSep, ""}},
        {NetListMode::Komun,
         4294967295,
         {"port 2 38400", "rs485", "address 5", "retranslation 7", "TIMEOUT 10.0",
          "FIRMWARE 2100 3000", "HWND 4660 10 20 161", "CRC32 = -1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.checksum);
        const std::string text = NetListText(row.mode, row.checksum, &scenario.instances, nullptr,
                                             test::SampleHeader(), scenario.log);
        EXPECT_EQ(test::SplitCrLf(text), row.lines);
        EXPECT_TRUE(text.ends_with("\r\n"));
    }
}

TEST(NetlistText, WithoutInstancesEveryNodeIsUnknown) {
    test::Scenario scenario("block 155 1\nconst 20 2 01\nblock 43 2\n");
    InstanceList empty;
    for (InstanceList* instances : {static_cast<InstanceList*>(nullptr), &empty}) {
        const std::string text =
            NetListText(NetListMode::Listing, 0, instances, scenario.netlist->head(),
                        test::SampleHeader(), scenario.log);
        const Lines lines = test::SplitCrLf(text);
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(Lines(lines.end() - 4, lines.end()),
                  (Lines{kSep, "", "!!! unknown object number 155, instance 1, level=0",
                         "!!! unknown object number 43, instance 2, level=0"}));
    }
}

}  // namespace
}  // namespace lm
