// The Control Web export's texts: type names, the PAR and DMF files, the CW
// and CP program texts with their channel numbering, panel rows and append
// mode, and the channel range.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "base/item_codes.h"
#include "exports/cw_items.h"
#include "exports/cw_program.h"
#include "exports/cw_side_files.h"
#include "exports/cw_types.h"
#include "tests/unit/exports/exports_test_support.h"

namespace lm::test {
namespace {

CwItem Item(std::string object, std::uint16_t instance, std::string name, std::uint8_t typ,
            std::uint8_t subtyp, std::uint8_t cw_out, bool value_flag = false,
            std::string value = "1.5") {
    CwItem item;
    item.object_name = std::move(object);
    item.ident = 12;
    item.instance = instance;
    item.item_name = std::move(name);
    item.item_ident = 4;
    item.typ = typ;
    item.subtyp = subtyp;
    item.cw_out = cw_out;
    item.value = std::move(value);
    item.value_flag = value_flag;
    item.selected = true;
    return item;
}

std::vector<std::string> Lines(const std::string& text) {
    return SplitCrLf(text);
}

bool Has(const std::vector<std::string>& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

long Count(const std::vector<std::string>& lines, std::string_view line) {
    return std::count(lines.begin(), lines.end(), line);
}

const CwProgramNames kNames{"d:\\cw\\novy.par", "c:\\data\\novy.dmf", "c:\\LUMAR\\KADEX2\\"};

TEST(CwTypes, NamesByTypAndSubtyp) {
    struct Case {
        std::uint8_t typ, subtyp;
        std::string_view channel, par, list;
    };
    const Case cases[] = {
        {kTypByte, kSubtyp3BF, "shortcard", "BYTE", "byte"},
        {kTypInt, 0, "integer", "INTEGER", "integer"},
        {kTypWord, 0, "cardinal", "WORD", "word"},
        {kTypLong, 0, "longint", "LONGINT", "longint"},
        {kTypDword, 0, "longcard", "CARDINAL", "doubleword"},
        {kTypUser, kSubtyp3BF, "real", "REAL3BF", "real-3BF"},
        {kTypUser, kSubtypString, "string", "STRING", "string"},
        {kTypUser, kSubtypBit, "boolean", "BYTE", "bit"},
        {kTypUser, kSubtypWordHex, "cardinal", "WORD", "word-hex"},
        {kTypUser, kSubtypByteHex, "shortcard", "BYTE", "byte-hex"},
        {kTypUser, kSubtypFloat, "shortreal", "REAL", "float"},
        {kTypUser, kSubtypNone, "?invalid_type?", "?invalid_type?", "invalid_type"},
        {kTypUser, 7, "?invalid_type?", "?invalid_type?", "invalid_type"},
        {kTypNone, 0, "?invalid_type?", "?invalid_type?", "invalid_type"},
        {6, 0, "?invalid_type?", "?invalid_type?", "invalid_type"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.typ) + "/" + std::to_string(c.subtyp));
        EXPECT_EQ(CwChannelType(c.typ, c.subtyp), c.channel);
        EXPECT_EQ(ParType(c.typ, c.subtyp), c.par);
        EXPECT_EQ(ListType(c.typ, c.subtyp), c.list);
    }
}

TEST(CwTypes, ListEntryShowsValueOnlyForWrittenInitAndUserValues) {
    struct Case {
        CwItem item;
        std::string_view entry;
    };
    const Case cases[] = {
        {Item("KAVLIN", 3, "T1", kTypWord, 0, kCwOutRead, true), "KAVLIN.3.T1 (READ word)"},
        {Item("KAVLIN", 3, "T1", kTypInt, 0, kCwOutWrite, true),
         "KAVLIN.3.T1 (WRITE integer) = 1.5"},
        {Item("KAVLIN", 3, "T1", kTypUser, kSubtypFloat, kCwOutBidir, true),
         "KAVLIN.3.T1 (BIDIR float) = 1.5"},
        {Item("KAVLIN", 3, "T1", kTypInt, 0, kCwOutWrite, false), "KAVLIN.3.T1 (WRITE integer)"},
    };
    for (const Case& c : cases) EXPECT_EQ(CwListEntry(c.item), c.entry);
}

TEST(CwSideFiles, ItemLines) {
    ExportText out;
    WriteDmfLine(out, Item("A", 1, "B", kTypWord, 0, kCwOutRead), 100);
    WriteDmfLine(out, Item("A", 1, "B", kTypUser, kSubtypFloat, kCwOutBidir), 65535);
    WriteDmfLine(out, Item("A", 1, "B", kTypByte, 0, kCwOutWrite), 7);
    WriteDmfLine(out, Item("A", 1, "B", kTypByte, 0, 9), 7);
    CwItem par = Item("A", 3, "B", kTypUser, kSubtypFloat, kCwOutBidir);
    WriteParLine(out, par, 7);
    par.cw_out = kCwOutRead;
    par.typ = kTypWord;
    WriteParLine(out, par, 100);
    EXPECT_EQ(
        Lines(out.text()),
        (std::vector<std::string>{"   100 cardinal input", " 65535 shortreal bidirectional",
                                  "     7 shortcard output", "     7 shortcard ?invalid_direction?",
                                  "  QQ BIDIR 7 12 3 4 REAL", "  QQ READ 100 12 3 4 WORD"}));
}

TEST(CwSideFiles, ParHeadByPort) {
    struct Case {
        int port;
        bool rs485;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {2, true, {"  DRIVER SYSTEM 2", "  IRQ 3", "  BASE $02F8", "  BAUD 38400", "  OPTIONS 32"}},
        {3, false, {"  DRIVER SYSTEM 3", "  IRQ 4", "  BASE $03E8", "  OPTIONS 0"}},
        {5,
         false,
         {"  DRIVER SYSTEM 5", "  IRQ 0     { nestandardni port - prosim definujte }",
          "  BASE 0    { nestandardni port - prosim definujte }"}},
    };
    for (const Case& c : cases) {
        settings::TComSettings settings = SampleSettings();
        settings.ComPort = c.port;
        settings.RS485 = c.rs485;
        settings.TimeOut = 1.5;
        const CwFileText par = ParFileText({}, 100, false, settings, std::nullopt);
        const std::vector<std::string> lines = Lines(par.text);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "{ generovano ovladacem pro Lumar }");
        EXPECT_EQ(lines[1], "[COM]");
        for (const std::string& line : c.expected) EXPECT_TRUE(Has(lines, line)) << line;
        EXPECT_TRUE(Has(lines, "  ANSWER_TIME 1.5"));
        EXPECT_TRUE(Has(lines, "  ADDRESS 5"));
        EXPECT_TRUE(Has(lines, "  RETRANSLATION 7"));
        EXPECT_TRUE(Has(lines, "  NAME \"KADEX2\" \"\""));
        EXPECT_EQ(lines.back(), "END");
    }
}

TEST(CwSideFiles, AppendKeepsTheExistingFile) {
    const std::vector<CwItem> items = {Item("A", 1, "B", kTypWord, 0, kCwOutRead)};
    const std::string old_par = "OLD PAR\r\nEND\r\n";
    const CwFileText par = ParFileText(items, 9, true, SampleSettings(), old_par);
    ASSERT_TRUE(par.error.empty());
    ASSERT_TRUE(par.text.starts_with(old_par));
    const std::vector<std::string> added = Lines(par.text.substr(old_par.size()));
    ASSERT_GE(added.size(), 4u);
    EXPECT_EQ(added[0], "");
    EXPECT_EQ(added[1], "{ generovano ovladacem pro Lumar }");
    EXPECT_EQ(added[2], "[STATION]");
    EXPECT_FALSE(Has(added, "[COM]"));
    EXPECT_EQ(added[added.size() - 2], "  QQ READ 9 12 1 4 WORD");
    EXPECT_EQ(added.back(), "END");

    const CwFileText unended = ParFileText(items, 9, true, SampleSettings(), "OLD\r\nEND");
    EXPECT_TRUE(unended.text.starts_with("OLD\r\nEND\r\n\r\n{ generovano"));

    const CwFileText dmf = DmfFileText(items, 9, true, "begin\r\n     1 integer input\r\nend.\r\n");
    EXPECT_EQ(dmf.text, "begin\r\n     1 integer input\r\n\r\n     9 cardinal input\r\nend.\r\n");
    // Nothing to append to: the whole file, as overwrite mode writes it.
    for (std::optional<std::string_view> nothing :
         {std::optional<std::string_view>(), std::optional<std::string_view>("\r\n ")}) {
        EXPECT_EQ(DmfFileText(items, 9, true, nothing).text,
                  "begin\r\n     9 cardinal input\r\nend.\r\n");
        EXPECT_EQ(ParFileText(items, 9, true, SampleSettings(), nothing).text,
                  ParFileText(items, 9, false, SampleSettings(), std::nullopt).text);
    }
    const CwFileText broken = DmfFileText(items, 9, true, "begin\r\n");
    EXPECT_TRUE(broken.text.empty());
    EXPECT_NE(broken.error.find("\"end.\""), std::string::npos);
}

TEST(CwChannels, RangeUpTo65535NeverWraps) {
    struct Case {
        long first;
        std::size_t count;
        bool fits;
    };
    const Case cases[] = {{1, 0, true},        {100, 3, true},   {65000, 536, true},
                          {65000, 537, false}, {1, 65535, true}, {1, 65536, false},
                          {100, 70000, false}, {0, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.count));
        EXPECT_EQ(CwChannelRangeError(c.first, c.count).empty(), c.fits);
    }
    const std::vector<CwItem> many(70000, Item("A", 1, "B", kTypWord, 0, kCwOutRead));
    const CwFileText dmf = DmfFileText(many, 100, false, std::nullopt);
    const CwFileText cw = CwProgramText(CwProgramKind::ControlWeb, many, 100, false, kNames, {});
    EXPECT_TRUE(dmf.text.empty());
    EXPECT_TRUE(cw.text.empty());
    EXPECT_NE(cw.error.find("65535"), std::string::npos);
}

TEST(CwProgram, LabelTexts) {
    struct Case {
        std::string object;
        std::uint8_t cw_out;
        std::string_view label;
    };
    // Channel names "<object>_1_X": 24 characters kept whole, 33 shortened.
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRST", kCwOutRead, "ABCDEFGHIJKLMNOPQRST_1_X (In)"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabc", kCwOutWrite, "ABCDEFGHIJKL...VWXYZabc_1_X (Out)"},
        {"SHORT", kCwOutBidir, "SHORT_1_X (I/O)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CwLabelText(Item(c.object, 1, "X", kTypWord, 0, c.cw_out)), c.label);
    }
}

// Three items in different instances and lists, numbered from 100 on.
std::vector<CwItem> ThreeItems() {
    return {Item("KAVLIN", 1, "T1", kTypWord, 0, kCwOutRead),
            Item("KAVLIN", 1, "ZAD", kTypInt, 0, kCwOutWrite, true, "25"),
            Item("TERMOST", 2, "H", kTypUser, kSubtypFloat, kCwOutBidir)};
}

TEST(CwProgram, HeadsAndChannelsOfBothKinds) {
    const CwFileText cw =
        CwProgramText(CwProgramKind::ControlWeb, ThreeItems(), 100, false, kNames, {});
    const CwFileText cp =
        CwProgramText(CwProgramKind::ControlPanel, ThreeItems(), 100, false, kNames, {});
    const std::vector<std::string> channels = {
        "channel", "  KAVLIN_1_T1 = cardinal, 100, kadex, input;",
        "  KAVLIN_1_ZAD = integer, 101, kadex, output, 0;",
        "  TERMOST_2_H = shortreal, 102, kadex, bidirectional, 0;", "end_channel;"};
    for (const CwFileText* program : {&cw, &cp}) {
        const std::vector<std::string> lines = Lines(program->text);
        auto at = std::find(lines.begin(), lines.end(), "channel");
        ASSERT_NE(at, lines.end());
        EXPECT_EQ(std::vector<std::string>(at, at + 5), channels);
        EXPECT_EQ(lines.back(), "");
        EXPECT_EQ(lines[lines.size() - 2], "end_instrument;");
    }
    const std::vector<std::string> cw_lines = Lines(cw.text);
    EXPECT_EQ(std::vector<std::string>(cw_lines.begin(), cw_lines.begin() + 5),
              (std::vector<std::string>{
                  "directories", "  '*.dmf' = 'c:\\data\\.';", "  '*.par' = 'd:\\cw\\.';",
                  "  'panel.gif' = 'c:\\LUMAR\\KADEX2\\.';", "end_directories;"}));
    EXPECT_TRUE(Has(cw_lines, "  kadex = cwdrt485.dll, novy.dmf, novy.par;"));
    EXPECT_TRUE(Has(cw_lines, "    procedure OnActivate();"));
    const std::vector<std::string> cp_lines = Lines(cp.text);
    EXPECT_EQ(
        std::vector<std::string>(cp_lines.begin(), cp_lines.begin() + 4),
        (std::vector<std::string>{"settings", "  skip_init_outputs = true;", "end_settings;", ""}));
    EXPECT_TRUE(Has(cp_lines, "  kadex = drt485.dll, novy.dmf, novy.par;"));
    EXPECT_FALSE(Has(cp_lines, "    procedure OnActivate();"));
    EXPECT_FALSE(Has(cp_lines, "    end_procedure;"));
    EXPECT_EQ(Count(cp_lines, "    font = 'Arial (Central European)', 10, bold;"), 0);
    // The refresh meter, the bar and the two displays of the three rows.
    EXPECT_EQ(Count(cw_lines, "    font = 'Arial (Central European)', 10, bold;"), 4);
}

TEST(CwProgram, PanelRows) {
    const CwFileText cw =
        CwProgramText(CwProgramKind::ControlWeb, ThreeItems(), 100, false, kNames, {});
    const CwFileText cp =
        CwProgramText(CwProgramKind::ControlPanel, ThreeItems(), 100, false, kNames, {});
    const std::vector<std::string> w = Lines(cw.text);
    const std::vector<std::string> p = Lines(cp.text);
    struct Case {
        std::string_view line;
        long in_cw, in_cp;
    };
    const Case cases[] = {
        {"    position = 9, 48;", 1, 1},
        {"    position = 174, 46, 80, 19;", 1, 1},  // READ display
        {"    position = 174, 66, 80, 19;", 1, 1},  // WRITE control
        {"    position = 264, 86, 80, 19;", 1, 1},  // BIDIR display
        {"    position = 174, 86, 80, 19;", 1, 1},  // BIDIR control
        {"    text = 'TERMOST_2_H (I/O)';", 1, 1},
        {"    init_value = 25;", 1, 1},
        {"    timer = sel_monitor.start, 3;", 2, 1},
        {"    auto_update;", 1, 0},
        {"  control control_3;", 1, 1},
        {"  meter meter_2;", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Count(w, c.line), c.in_cw) << c.line;
        EXPECT_EQ(Count(p, c.line), c.in_cp) << c.line;
    }
}

TEST(CwProgram, StringItemsShowLabelOnlyWhenWritten) {
    const std::vector<CwItem> items = {
        Item("T", 1, "S", kTypUser, kSubtypString, kCwOutWrite, true),
        Item("T", 1, "R", kTypUser, kSubtypString, kCwOutRead),
        Item("T", 1, "N", kTypWord, 0, kCwOutRead)};
    const std::vector<std::string> lines =
        Lines(CwProgramText(CwProgramKind::ControlWeb, items, 1, false, kNames, {}).text);
    EXPECT_TRUE(Has(lines, "  label label_1;"));
    EXPECT_FALSE(Has(lines, "  control control_1;"));
    EXPECT_FALSE(Has(lines, "  meter meter_1;"));
    EXPECT_TRUE(Has(lines, "  meter meter_2;"));
    EXPECT_TRUE(Has(lines, "    position = 174, 66, 80, 19;"));
    EXPECT_TRUE(Has(lines, "    position = 9, 88;"));  // the third row, 20 further down
}

TEST(CwProgram, AppendMode) {
    const std::string old_text =
        CwProgramText(CwProgramKind::ControlWeb, ThreeItems(), 100, false, kNames, {}).text;
    const std::vector<CwItem> added = {Item("DO8", 4, "Q0", kTypUser, kSubtypBit, kCwOutWrite)};
    const CwFileText appended =
        CwProgramText(CwProgramKind::ControlWeb, added, 103, true, kNames, old_text);
    ASSERT_TRUE(appended.error.empty());
    const std::vector<std::string> lines = Lines(appended.text);
    EXPECT_EQ(Count(lines, "directories"), 1);
    EXPECT_EQ(Count(lines, "end_channel;"), 1);
    EXPECT_EQ(Count(lines, "end_instrument;"), 1);
    auto at = std::find(lines.begin(), lines.end(), "end_channel;");
    ASSERT_GE(at - lines.begin(), 3);
    EXPECT_EQ(*(at - 1), "  DO8_4_Q0 = boolean, 103, kadex, output, 0;");
    EXPECT_EQ(*(at - 2), "");
    EXPECT_EQ(*(at - 3), "  TERMOST_2_H = shortreal, 102, kadex, bidirectional, 0;");
    // The new row follows the three there are.
    EXPECT_TRUE(Has(lines, "  control control_4;"));
    EXPECT_TRUE(Has(lines, "    position = 174, 106, 80, 19;"));
    auto row = std::find(lines.begin(), lines.end(), "  label label_4;");
    auto program = std::find(lines.begin(), lines.end(), "  program program_tick1sec;");
    EXPECT_LT(row, program);

    // Nothing to append to: the whole program, head and channel section included.
    for (CwProgramKind kind : {CwProgramKind::ControlWeb, CwProgramKind::ControlPanel}) {
        for (std::optional<std::string_view> nothing :
             {std::optional<std::string_view>(), std::optional<std::string_view>("")}) {
            EXPECT_EQ(CwProgramText(kind, added, 1, true, kNames, nothing).text,
                      CwProgramText(kind, added, 1, false, kNames, std::nullopt).text);
        }
    }

    const CwFileText refused =
        CwProgramText(CwProgramKind::ControlWeb, added, 1, true, kNames, "directories\r\n");
    EXPECT_TRUE(refused.text.empty());
    EXPECT_NE(refused.error.find("\"end_channel;\""), std::string::npos);
}

TEST(CwItems, InstanceOrderAndTicks) {
    InstanceList instances;
    ASSERT_NE(Place(instances, 13, 2), nullptr);
    ASSERT_NE(Place(instances, 13, 1), nullptr);
    const std::vector<CwItem> all = CwItems(instances.head(), false);
    ASSERT_GE(all.size(), 4u);
    const std::size_t half = all.size() / 2;
    EXPECT_EQ(ChannelName(all[0]), "DO8_2_Q0");
    EXPECT_EQ(ChannelName(all[half]), "DO8_1_Q0");
    std::vector<bool> ticks(all.size(), false);
    ticks[1] = true;
    ticks[half] = true;
    EXPECT_TRUE(ApplyCwTicks(instances.head(), ticks));
    const std::vector<CwItem> selected = CwItems(instances.head(), true);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(ChannelName(selected[0]), "DO8_2_Q1");
    EXPECT_EQ(ChannelName(selected[1]), "DO8_1_Q0");
    EXPECT_FALSE(ApplyCwTicks(instances.head(), std::vector<bool>(all.size(), false)));
}

}  // namespace
}  // namespace lm::test
