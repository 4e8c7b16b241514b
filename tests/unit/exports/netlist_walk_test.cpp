// The walk of NETLIST.TXT and LMKOMUN.INI over netlists written as lumarsim
// project texts (blocks, their wires and constants).
#include "exports/netlist_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/unit/exports/exports_test_support.h"

namespace lm {
namespace {

using test::Scenario;
using Lines = std::vector<std::string>;

const std::string kSep(43, '-');

Lines OrderLinesOf(const Lines& lines) {
    Lines orders;
    for (const std::string& line : lines) {
        if (line.starts_with("QQwrite")) orders.push_back(line);
    }
    return orders;
}

TEST(NetlistWalk, EveryCaseOfNodeConstantAndWire) {
    struct Row {
        const char* name;
        const char* project;
        std::uint32_t checksum;
        Lines listing;  // the walk's lines of NETLIST.TXT
    };
    const Row rows[] = {
        {"unknown instance: one line, no separator",
         "block 99 1\nblock 0 0\n",
         0,
         {"!!! unknown object number 99, instance 1, level=0",
          "!!! unknown object number 0, instance 0, level=0"}},
        {"no constants",
         "block 155 1\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1", "  no constants", kSep}},
        {"constant 200 in a BYTE item",
         "block 155 1\nconst 20 2 C8\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1", "  item MODUL = 200, USER_VALUE = \"200\"",
          "QQwrite 155   1  20 200   0   0   0", kSep}},
        {"form 1: the first bytes of 256",
         "block 155 1\nconst 20 1 2A 01\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1", "  item MODUL = 42, USER_VALUE = \"42\"",
          "QQwrite 155   1  20  42   0   0   0", kSep}},
        {"form 2 without data: zeros, converted and ordered",
         "block 155 1\nconst 20 2 nil\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1", "  konst^.data = nil !!!",
          "  item MODUL = 0, USER_VALUE = \"0\"", "QQwrite 155   1  20   0   0   0   0", kSep}},
        {"unknown form: zeros",
         "block 155 1\nconst 20 7 05\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1", "  konst^.level mish-mash !!!",
          "  item MODUL = 0, USER_VALUE = \"0\"", "QQwrite 155   1  20   0   0   0   0", kSep}},
        {"constant of an item the object lacks",
         "block 155 1\nconst 99 2 01\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=1",
          "  konst not found: obj=155, instance=1, item=99", kSep}},
        {"-2 in an INT item",
         "block 43 1\nconst 20 2 FE FF\n",
         0,
         {"object number 43, Jmeno=TERMOST, instance=1",
          "  item HYST =     -2, USER_VALUE = \"    -2\"", "QQwrite  43   1  20 254 255   0   0",
          kSep}},
        {"a DWORD above 2^31",
         "block 7 1\nconst 20 2 00 5E D0 B2\n",
         0,
         {"object number 7, Jmeno=CTU, instance=1",
          "  item PV = 3000000000, USER_VALUE = \"3000000000\"",
          "QQwrite   7   1  20   0  94 208 178", kSep}},
        {"a FLOAT constant as IEEE bytes",
         "block 42 1\nconst 20 2 00 00 C0 3F\n",
         0,
         {"object number 42, Jmeno=RAMPA, instance=1",
          "  item STRMOST =       1.500, USER_VALUE = \"      1.500\"",
          "QQwrite  42   1  20   0   0 192  63", kSep}},
        {"the checksum item carries the checksum",
         "block 164 1\nconst 162 2 00 00 00 00\n",
         305419896,
         {"object number 164, Jmeno=PROJEKT, instance=1",
          "  item CRC32 =           0, USER_VALUE = \"          0\"",
          "QQwrite 164   1 162 120  86  52  18", kSep}},
        {"checksum with the top bit set",
         "block 164 1\nconst 162 2 00 00 00 00\n",
         4294967295,
         {"object number 164, Jmeno=PROJEKT, instance=1",
          "  item CRC32 =           0, USER_VALUE = \"          0\"",
          "QQwrite 164   1 162 255 255 255 255", kSep}},
        {"instance 256: listed, never ordered",
         "block 155 256\nconst 20 2 01\n",
         0,
         {"object number 155, Jmeno=KAVLIN, instance=256", "  item MODUL = 1, USER_VALUE = \"1\"",
          kSep}},
        {"a short constant after a whole one reads zeros past its bytes",
         "block 43 1\nconst 20 1 FF FF\nblock 43 2\nconst 20 2 01\n",
         0,
         {"object number 43, Jmeno=TERMOST, instance=1",
          "  item HYST =     -1, USER_VALUE = \"    -1\"", "QQwrite  43   1  20 255 255   0   0",
          kSep, "object number 43, Jmeno=TERMOST, instance=2",
          "  item HYST =      1, USER_VALUE = \"     1\"", "QQwrite  43   2  20   1   0   0   0",
          kSep}},
        {"a wire with both ends known",
         "block 43 2\nwire 1 20 1 10\nblock 20 1\n",
         0,
         {"object number 43, Jmeno=TERMOST, instance=2", "  no constants",
          "  wire from TERMOST.2.X to ADD.1.OUT", "QQwrite  43   2   1  10   1  20   0", kSep,
          "object number 20, Jmeno=ADD, instance=1", "  no constants", kSep}},
        {"wires to an unknown block or item write nothing",
         "block 43 2\nwire 1 99 1 1\nwire 77 20 1 10\nwire 1 20 1 77\nblock 99 1\nblock 20 1\n",
         0,
         {"object number 43, Jmeno=TERMOST, instance=2", "  no constants", kSep,
          "!!! unknown object number 99, instance 1, level=0",
          "object number 20, Jmeno=ADD, instance=1", "  no constants", kSep}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario listing(row.project);
        EXPECT_EQ(listing.Walk(NetListMode::Listing, row.checksum), row.listing);
        // The communication program's file has the order lines only.
        Scenario komun(row.project);
        EXPECT_EQ(komun.Walk(NetListMode::Komun, row.checksum), OrderLinesOf(row.listing));
    }
}

// Items of a block with more items than a lookup keeps at hand (AI12 has 50):
// the first and the last are found for constants and wires alike.
TEST(NetlistWalk, FindsEveryItemOfALargeBlock) {
    struct Row {
        const char* project;
        std::string line;
    } rows[] = {
        {"block 18 1\nconst 0 2 00 00 00\n", "  item AI0 =     0.00, USER_VALUE = \"    0.00\""},
        {"block 18 1\nconst 67 2 00 00 C0 3F\n",
         "  item KOREKCE11 =        1.50, USER_VALUE = \"       1.50\""},
        {"block 43 2\nwire 1 18 1 67\nblock 18 1\n", "  wire from TERMOST.2.X to AI12.1.KOREKCE11"},
        {"block 43 2\nwire 1 18 1 0\nblock 18 1\n", "  wire from TERMOST.2.X to AI12.1.AI0"},
    };
    for (const Row& row : rows) {
        Scenario scenario(row.project);
        const Lines lines = scenario.Walk(NetListMode::Listing);
        EXPECT_NE(std::find(lines.begin(), lines.end(), row.line), lines.end()) << row.line;
    }
}

// More source blocks than the walk remembers: every wire still names its own.
TEST(NetlistWalk, WiresFromManyBlocksEachNameTheirSource) {
    constexpr int kSources = 150;
    std::string project = "block 43 1\n";
    Lines listing = {"object number 43, Jmeno=TERMOST, instance=1", "  no constants"};
    for (int k = 1; k <= kSources; ++k) {
        const int source = (k * 37) % kSources + 1;
        project += "wire 1 20 " + std::to_string(source) + " 10\n";
        listing.push_back("  wire from TERMOST.1.X to ADD." + std::to_string(source) + ".OUT");
        listing.push_back("QQwrite  43   1   1  10 " +
                          std::string(source < 10    ? "  "
                                      : source < 100 ? " "
                                                     : "") +
                          std::to_string(source) + "  20   0");
    }
    listing.push_back(kSep);
    for (int k = 1; k <= kSources; ++k) {
        project += "block 20 " + std::to_string(k) + "\n";
        listing.insert(listing.end(), {"object number 20, Jmeno=ADD, instance=" + std::to_string(k),
                                       "  no constants", kSep});
    }
    Scenario scenario(project);
    EXPECT_EQ(scenario.Walk(NetListMode::Listing, 0), listing);
}

}  // namespace
}  // namespace lm
