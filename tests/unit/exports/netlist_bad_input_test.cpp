// Netlists as a broken host could hand them over: lists that loop back or
// never end, wires to nodes outside the list, null pointers, records in
// read-only memory. The walk visits each record once, stops at its bounds and
// says so, and never writes to the host's records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "exports/netlist_walk.h"
#include "tests/unit/exports/exports_test_support.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#endif

namespace lm {
namespace {

using test::Scenario;
using Lines = std::vector<std::string>;

const std::string kSep(43, '-');

bool Logged(const test::RecordingLog& log, const std::string& line) {
    return std::find(log.lines.begin(), log.lines.end(), line) != log.lines.end();
}

TEST(NetlistBadInput, ListsThatLoopBackAreWalkedOnce) {
    Scenario nodes("block 155 1\nblock 155 2\nblock 155 3\n");
    nodes.netlist->nodes()[2].next = &nodes.netlist->nodes()[1];
    EXPECT_EQ(nodes.Walk(NetListMode::Listing),
              (Lines{"object number 155, Jmeno=KAVLIN, instance=1", "  no constants", kSep,
                     "object number 155, Jmeno=KAVLIN, instance=2", "  no constants", kSep,
                     "object number 155, Jmeno=KAVLIN, instance=3", "  no constants", kSep,
                     "!!! node list loops back after 3 nodes, walk stopped"}));
    EXPECT_EQ(nodes.Walk(NetListMode::Komun), Lines{});
    EXPECT_TRUE(Logged(nodes.log, "NetList: !!! node list loops back after 3 nodes, walk stopped"));

    Scenario constants("block 155 1\nconst 20 2 01\nconst 20 2 02\n");
    constants.netlist->constants()[1].next = &constants.netlist->constants()[0];
    EXPECT_EQ(constants.Walk(NetListMode::Komun), (Lines{"QQwrite 155   1  20   1   0   0   0",
                                                         "QQwrite 155   1  20   2   0   0   0"}));
    EXPECT_EQ(constants.Walk(NetListMode::Listing).end()[-2],
              "  !!! konst list loops back after 2 entries, rest skipped");

    Scenario wires("block 43 2\nwire 1 20 1 10\nwire 2 20 1 10\nblock 20 1\n");
    wires.netlist->connections()[1].next = &wires.netlist->connections()[0];
    EXPECT_EQ(wires.Walk(NetListMode::Komun), (Lines{"QQwrite  43   2   1  10   1  20   0",
                                                     "QQwrite  43   2   2  10   1  20   0"}));
    const Lines listing = wires.Walk(NetListMode::Listing);
    EXPECT_NE(std::find(listing.begin(), listing.end(),
                        "  !!! wire list loops back after 2 entries, rest skipped"),
              listing.end());
}

TEST(NetlistBadInput, WiresToNodesOutsideTheListOrToNothing) {
    Scenario outside("block 43 2\nwire 1 20 1 10\nwire 2 20 1 10\nblock 20 1\n");
    dLMN_NODE stray{};  // not in the node list, but a node of a placed block
    stray.ident = 20;
    stray.instance = 1;
    outside.netlist->connections()[0].other = &stray;
    outside.netlist->connections()[1].other = nullptr;
    EXPECT_EQ(outside.Walk(NetListMode::Komun), Lines{"QQwrite  43   2   1  10   1  20   0"});
}

TEST(NetlistBadInput, AHundredThousandConstantsOnOneNode) {
    Scenario scenario("block 155 1\n");
    scenario.log.on = false;
    std::uint8_t value = 3;
    std::vector<dLMN_CONST> constants(100'000);
    for (std::size_t i = 0; i < constants.size(); ++i) {
        constants[i] = {};
        constants[i].level = 2;
        constants[i].item = 20;
        constants[i].data = &value;
        constants[i].length = 1;
        if (i + 1 < constants.size()) constants[i].next = &constants[i + 1];
    }
    scenario.netlist->nodes()[0].constants = constants.data();
    const Lines walk = scenario.Walk(NetListMode::Listing);
    EXPECT_EQ(std::count(walk.begin(), walk.end(), "QQwrite 155   1  20   3   0   0   0"),
              static_cast<long>(kMaxNodeEntries));
    EXPECT_EQ(walk.end()[-2], "  !!! konst list longer than 65536 entries, rest skipped");
    EXPECT_EQ(scenario.Walk(NetListMode::Komun).size(), kMaxNodeEntries);
}

TEST(NetlistBadInput, AConstantLongerThanAnItemTakesItsFirst256Bytes) {
    Scenario scenario("block 155 1\nconst 20 2 01\n");
    // 256 bytes behind a length of 300: a read past them is a fault the
    // sanitizer build reports.
    std::vector<std::uint8_t> bytes(256, 0);
    bytes[0] = 9;
    scenario.netlist->constants()[0].data = bytes.data();
    scenario.netlist->constants()[0].length = 300;
    const Lines walk = scenario.Walk(NetListMode::Listing);
    EXPECT_EQ(
        Lines(walk.begin() + 1, walk.begin() + 4),
        (Lines{"  konst^.length = 300 > 256, first 256 bytes taken",
               "  item MODUL = 9, USER_VALUE = \"9\"", "QQwrite 155   1  20   9   0   0   0"}));
    EXPECT_TRUE(
        Logged(scenario.log, "NetList:   konst^.length = 300 > 256, first 256 bytes taken"));
}

TEST(NetlistBadInput, TheWalkStopsAtItsBoundsAndSaysSo) {
    Scenario scenario(
        "block 155 1\nconst 20 2 01\nconst 20 2 01\nconst 20 2 01\nconst 20 2 01\nconst 20 2 01\n"
        "block 155 2\nconst 20 2 02\nconst 20 2 02\nconst 20 2 02\nconst 20 2 02\nconst 20 2 02\n"
        "block 155 3\nconst 20 2 03\n");
    struct Row {
        NetlistLimits limits;
        std::size_t orders;
        std::string line;  // the line that says where the walk ended
    };
    const Row rows[] = {
        // 3 nodes and 9 of the 11 constants: the second node's list is cut.
        {{100, 10, 12}, 9, "!!! netlist longer than 12 records, walk stopped"},
        {{2, 10, 100}, 10, "!!! node list longer than 2 nodes, walk stopped"},
        {{100, 4, 100}, 9, "  !!! konst list longer than 4 entries, rest skipped"},
        {{100, 10, 100}, 11, kSep},
    };
    for (const Row& row : rows) {
        ExportText out;
        WalkNetlist(NetListMode::Listing, scenario.netlist->head(), &scenario.instances, 0, out,
                    scenario.log, row.limits);
        const Lines lines = test::SplitCrLf(out.text());
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("QQwrite"); }),
                  static_cast<long>(row.orders))
            << row.line;
        EXPECT_NE(std::find(lines.begin(), lines.end(), row.line), lines.end()) << row.line;
    }
}

#if !defined(_WIN32)
// The host's records in memory that cannot be written: a write would stop the
// test; the bytes are compared besides.
TEST(NetlistBadInput, TheHostsRecordsAreOnlyRead) {
    const std::size_t size = 4096;
    void* page = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    auto* bytes = static_cast<std::uint8_t*>(page);
    auto* nodes = reinterpret_cast<dLMN_NODE*>(bytes);
    auto* wire = reinterpret_cast<dLMN_CONNECT*>(bytes + 4 * sizeof(dLMN_NODE));
    auto* constants = reinterpret_cast<dLMN_CONST*>(bytes + 1024);
    std::uint8_t* data = bytes + 2048;  // 256 bytes of form-1 data and 4 of form 2
    data[0] = 0x2A;
    data[256] = 0x78;
    nodes[0] = {&nodes[1], 1, 43, 2, 0, wire, &constants[0]};
    nodes[1] = {&nodes[2], 1, 20, 1, 0, nullptr, nullptr};
    nodes[2] = {&nodes[3], 1, 164, 1, 0, nullptr, &constants[2]};
    nodes[3] = {nullptr, 1, 60, 1, 0, nullptr, nullptr};
    *wire = {nullptr, 0, 1, 10, &nodes[1]};
    constants[0] = {&constants[1], 1, 20, data, 0};
    constants[1] = {nullptr, 2, 2, data + 256, 2};
    constants[2] = {nullptr, 2, 162, nullptr, 4};
    const std::vector<std::uint8_t> before(bytes, bytes + size);
    ASSERT_EQ(mprotect(page, size, PROT_READ), 0);

    Scenario scenario("block 43 2\nblock 20 1\nblock 164 1\nblock 60 1\n");
    for (NetListMode mode : {NetListMode::Listing, NetListMode::Komun}) {
        ExportText out;
        WalkNetlist(mode, nodes, &scenario.instances, 0xFFFFFFFF, out, scenario.log);
        EXPECT_NE(out.text().find("QQwrite  43   2  20  42   0   0   0"), std::string::npos);
        EXPECT_NE(out.text().find("QQwrite 164   1 162 255 255 255 255"), std::string::npos);
        EXPECT_NE(out.text().find("QQwrite  43   2   1  10   1  20   0"), std::string::npos);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), bytes));
    munmap(page, size);
}
#endif

}  // namespace
}  // namespace lm
