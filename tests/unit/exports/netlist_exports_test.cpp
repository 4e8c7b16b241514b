// The menu commands and NetList calls of the exports as the host makes them,
// against the recording platform and files in memory.
#include "exports/netlist_exports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/exports_test_files.h"
#include "tests/support/fake_platform.h"
#include "tests/unit/exports/exports_test_support.h"

namespace lm {
namespace {

using Lines = std::vector<std::string>;

const std::string kDir = "C:\\LUMAR\\OVLADACE\\KADEX2\\";
const std::string kNetlistFile = kDir + "NETLIST.TXT";
const std::string kKomunFile = kDir + "LMKOMUN.INI";
const std::string kMissingBox = "Nenalezen soubor SETCOM.INI";

class NetlistExportsTest : public ::testing::Test {
protected:
    NetlistExportsTest()
        : scenario("block 155 1\nconst 20 2 C8\n"),
          exports(
              ServiceContext{platform, files, log, kDir}, scenario.instances, test::SampleLibrary(),
              [this] { return ReadSettings(); },
              [] {
                  return KomunWindow{77, 1, 2, 161};
              }) {}

    // What SETCOM.INI's reader does: the settings, or its own box when the file is missing.
    std::optional<settings::TComSettings> ReadSettings() {
        if (!settings) platform.ShowMessageBox(BoxKind::Error, kMissingBox);
        return settings;
    }

    // The host's NetList call after the menu command `last`.
    PARAM_ENTRY NetList(std::uint16_t last, bool& result, std::uint32_t checksum = 4294967295) {
        PARAM_ENTRY record{};
        record.lmd_func = 20;
        record.error = 99;
        record.lparam1 = checksum;
        record.pointer1 = scenario.netlist->head();
        result = exports.NetList(record, last);
        return record;
    }

    Lines FileLines(const std::string& path) { return test::SplitCrLf(files.files[path]); }
    bool Logged(const std::string& line) const {
        return std::find(log.lines.begin(), log.lines.end(), line) != log.lines.end();
    }

    test::FakePlatform platform;
    test::ExportsTestFiles files;
    test::RecordingLog log;
    test::Scenario scenario;
    std::optional<settings::TComSettings> settings = test::SampleSettings();
    NetlistExports exports;
};

TEST_F(NetlistExportsTest, NetlistMenuThenNetListWritesTheListingAndOpensNotepad) {
    PARAM_ENTRY menu{};
    menu.lmd_func = 9;
    exports.MenuNetlist(menu);
    EXPECT_EQ(menu.dlm_func, 20);
    EXPECT_EQ(menu.lmd_func, 20);
    EXPECT_TRUE(Logged("Menu ITEM - ack for NET text"));

    bool result = false;
    PARAM_ENTRY record = NetList(3001, result);
    EXPECT_TRUE(result);
    EXPECT_EQ(record.error, 0);
    const Lines lines = FileLines(kNetlistFile);
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Lumar, NetList - text");
    EXPECT_EQ(lines[5], "CRC32 = -1");
    EXPECT_EQ(lines[6], "HEX = FF FF FF FF ");
    EXPECT_TRUE(Logged("LM ENTRY: NetList to TEXT"));
    EXPECT_TRUE(Logged("   CRC32 = 4294967295"));
    ASSERT_EQ(platform.programs.size(), 1u);
    EXPECT_EQ(platform.programs[0].file, "NOTEPAD");
    EXPECT_EQ(platform.programs[0].parameters, kNetlistFile);
    EXPECT_EQ(platform.programs[0].show, ShowMode::Show);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(files.files.count(kNetlistFile + ".tmp"), 0u) << "no temporary file stays";

    // The host may ask twice after one menu command: the same export again.
    NetList(3001, result);
    EXPECT_TRUE(result);
    EXPECT_EQ(platform.programs.size(), 2u);
    EXPECT_EQ(files.files.count(kKomunFile), 0u);
}

TEST_F(NetlistExportsTest, TranslateAsksFirstAndNoRequestsNothing) {
    platform.QueueAnswer(BoxAnswer::No);
    PARAM_ENTRY no{};
    no.lmd_func = 9;
    exports.MenuTranslate(no);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, BoxKind::Question);
    EXPECT_EQ(platform.boxes[0].text, "Opravdu přeložit projekt a nahrát do systému RX7 ?"_cp);
    EXPECT_EQ(no.dlm_func, 0);
    EXPECT_EQ(no.lmd_func, 9);
    EXPECT_FALSE(Logged("Menu ITEM - ack for NET com"));

    PARAM_ENTRY yes{};
    exports.MenuTranslate(yes);
    EXPECT_EQ(yes.dlm_func, 20);
    EXPECT_TRUE(Logged("Menu ITEM - ack for NET com"));
}

TEST_F(NetlistExportsTest, TranslateWritesLmkomunAndStartsTheCommunicationProgram) {
    bool result = false;
    PARAM_ENTRY record = NetList(3000, result, 305419896);
    EXPECT_TRUE(result);
    EXPECT_EQ(record.error, 0);
    EXPECT_EQ(FileLines(kKomunFile),
              (Lines{"port 2 38400", "rs485", "address 5", "retranslation 7", "TIMEOUT 10.0",
                     "FIRMWARE 2100 3000", "HWND 77 1 2 161", "CRC32 = 305419896",
                     "QQwrite 155   1  20 200   0   0   0"}));
    ASSERT_EQ(platform.programs.size(), 1u);
    EXPECT_EQ(platform.programs[0].file, kDir + "ROZID7.EXE");
    EXPECT_EQ(platform.programs[0].parameters, "");
    EXPECT_EQ(platform.programs[0].directory, "") << "no working folder";
    EXPECT_EQ(platform.programs[0].show, ShowMode::Show);
    const auto at = std::find(log.lines.begin(), log.lines.end(), "LM ENTRY: NetList to LMKOMUN");
    ASSERT_NE(at, log.lines.end());
    EXPECT_TRUE(Logged("   CRC32 = 305419896"));
    EXPECT_EQ(log.lines.end()[-2], "LMDir=\"" + kDir + "\"");
    EXPECT_EQ(log.lines.end()[-1], "ErrorStr=\"\"");
}

TEST_F(NetlistExportsTest, OrdersTheFileCannotTakeAreLeftOutAndToldOnce) {
    struct Row {
        const char* project;
        bool written;  // the order of KAVLIN.1
        std::size_t left_out;
        bool more;  // more than the box names
    };
    const Row rows[] = {
        {"block 155 1\nconst 20 2 C8\n", true, 0, false},
        {"block 155 256\nconst 20 2 C8\n", false, 1, false},
        {"block 155 300\nconst 20 2 C8\nblock 155 301\nconst 20 2 C8\nblock 155 302\n"
         "const 20 2 C8\nblock 155 303\nconst 20 2 C8\nblock 155 304\nconst 20 2 C8\n"
         "block 155 305\nconst 20 2 C8\nblock 155 1\nconst 20 2 C8\n",
         true, 6, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.project);
        test::Scenario blocks(row.project);
        test::FakePlatform fresh_platform;
        test::RecordingLog fresh_log;
        NetlistExports fresh(ServiceContext{fresh_platform, files, fresh_log, kDir},
                             blocks.instances, test::SampleLibrary(), [this] { return settings; },
                             {});
        PARAM_ENTRY record{};
        record.pointer1 = blocks.netlist->head();
        EXPECT_TRUE(fresh.NetList(record, 3000));
        // The file as its format says: the orders that fit, and no others.
        Lines orders;
        for (const std::string& line : FileLines(kKomunFile))
            if (line.starts_with("QQwrite")) orders.push_back(line);
        EXPECT_EQ(orders, row.written ? Lines{"QQwrite 155   1  20 200   0   0   0"} : Lines{});
        std::size_t logged = 0;
        for (const std::string& line : fresh_log.lines)
            logged += line.starts_with("LMKOMUN: order left out: KAVLIN.") ? 1 : 0;
        EXPECT_EQ(logged, row.left_out);
        if (row.left_out == 0) {
            EXPECT_TRUE(fresh_platform.boxes.empty());
        } else {
            ASSERT_EQ(fresh_platform.boxes.size(), 1u);
            const std::string& box = fresh_platform.boxes[0].text;
            EXPECT_NE(box.find("Vynechané příkazy: "_cp + std::to_string(row.left_out)),
                      std::string::npos)
                << box;
            EXPECT_NE(box.find("instance "), std::string::npos) << box;
            EXPECT_EQ(box.ends_with("\r..."), row.more) << box;
        }
        ASSERT_EQ(fresh_platform.programs.size(), 1u) << "the communication program starts";
    }
}

TEST_F(NetlistExportsTest, WithoutSetcomIniTheFileStaysEmptyAndNothingStarts) {
    settings.reset();
    files.files[kKomunFile] = "an older configuration\r\n";
    bool result = false;
    PARAM_ENTRY record = NetList(3000, result);
    EXPECT_TRUE(result);
    EXPECT_EQ(record.error, 0);
    EXPECT_EQ(files.files[kKomunFile], "");
    const std::string error = std::string(kMissingSettingsText);
    EXPECT_EQ(error,
              "Chybí soubor nastavení komunikace.\rNelze provést připojení k regulátoru."_cp);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text, kMissingBox);
    EXPECT_EQ(platform.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(platform.boxes[1].text, error);
    EXPECT_TRUE(platform.programs.empty());
    EXPECT_EQ(log.lines.back(), "ErrorStr=\"" + error + "\"");
}

TEST_F(NetlistExportsTest, KeyboardWritesTheHeaderOnlyAndStartsWithK) {
    exports.MenuKeyboard();
    EXPECT_EQ(FileLines(kKomunFile).size(), 8u);
    EXPECT_EQ(FileLines(kKomunFile).back(), "CRC32 = 0");
    ASSERT_EQ(platform.programs.size(), 1u);
    EXPECT_EQ(platform.programs[0].parameters, "/K");

    settings = test::SampleSettings();
    settings->TCP = true;
    settings->TCPIP = "10.0.0.2";
    exports.MenuKeyboard();
    EXPECT_EQ(FileLines(kKomunFile),
              (Lines{"tcp 10.0.0.2 1998", "address 5", "retranslation 7", "TIMEOUT 10.0",
                     "FIRMWARE 2100 3000", "HWND 77 1 2 161", "CRC32 = 0"}));

    settings.reset();
    exports.MenuKeyboard();
    EXPECT_EQ(platform.programs.size(), 2u) << "no start without the settings";
    EXPECT_EQ(platform.boxes.back().text, std::string(kMissingSettingsText));
}

TEST_F(NetlistExportsTest, AFileThatCannotBeWrittenKeepsTheEarlierOneAndSaysWhy) {
    struct Row {
        std::uint16_t menu;
        std::string path;
        bool fail_rename;  // else the temporary file cannot be written
        std::string reason;
    };
    const Row rows[] = {
        {3001, kNetlistFile, false, "disk full"},
        {3001, kNetlistFile, true, "access denied"},
        {3000, kKomunFile, false, "disk full"},
        {3000, kKomunFile, true, "access denied"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path + " " + row.reason);
        test::FakePlatform fresh_platform;
        test::ExportsTestFiles fresh_files;
        NetlistExports fresh(ServiceContext{fresh_platform, fresh_files, log, kDir},
                             scenario.instances, test::SampleLibrary(), [this] { return settings; },
                             {});
        fresh_files.files[row.path] = "the earlier export\r\n";
        (row.fail_rename ? fresh_files.failing_renames : fresh_files.failing_writes)
            .insert(row.fail_rename ? row.path : row.path + ".tmp");
        PARAM_ENTRY record{};
        record.error = 99;
        EXPECT_TRUE(fresh.NetList(record, row.menu));
        EXPECT_EQ(record.error, 0);
        EXPECT_EQ(fresh_files.files[row.path], "the earlier export\r\n");
        EXPECT_EQ(fresh_files.files.count(row.path + ".tmp"), 0u);
        ASSERT_EQ(fresh_platform.boxes.size(), 1u);
        EXPECT_EQ(fresh_platform.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(fresh_platform.boxes[0].text,
                  "Soubor " + row.path + " nelze zapsat:\r" + row.reason);
        // Notepad still shows the earlier listing; the communication program
        // does not start on an old configuration.
        EXPECT_EQ(fresh_platform.programs.size(), row.menu == 3001 ? 1u : 0u);
    }
}

// A large project's files are written in pieces: the same bytes as the text
// made whole, and a piece that cannot be written keeps the earlier file.
TEST(NetlistExportsInPieces, TheFileIsTheWholeTextOrTheEarlierOne) {
    // Every block the sample library offers, 250 instances each (LMKOMUN.INI
    // carries instance numbers up to 255), with constants enough for a text
    // of several pieces.
    std::string project;
    for (int ident : {7, 11, 40, 42, 43, 60, 155, 164}) {
        for (int instance = 1; instance <= 250; ++instance) {
            project += "block " + std::to_string(ident) + " " + std::to_string(instance) + "\n";
            for (int item = 0; item < 8; ++item) project += "const 20 2 C8\n";
        }
    }
    struct Row {
        std::uint16_t menu;
        std::string path;
        NetListMode mode;
        bool fail_append;
    };
    const Row rows[] = {
        {3001, kNetlistFile, NetListMode::Listing, false},
        {3000, kKomunFile, NetListMode::Komun, false},
        {3001, kNetlistFile, NetListMode::Listing, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path + (row.fail_append ? ", a piece fails" : ""));
        test::Scenario whole(project);
        const std::string expected = whole.Text(row.mode, 7);
        ASSERT_GT(expected.size(), 2 * ExportText::kPieceBytes);

        test::Scenario scenario(project);
        test::FakePlatform platform;
        test::ExportsTestFiles files;
        test::RecordingLog log;
        NetlistExports exports(
            ServiceContext{platform, files, log, kDir}, scenario.instances, test::SampleLibrary(),
            [] { return std::optional(test::SampleSettings()); },
            [] { return test::SampleHeader().window; });
        files.files[row.path] = "the earlier export\r\n";
        if (row.fail_append) files.failing_appends.insert(row.path + ".tmp");
        PARAM_ENTRY record{};
        record.lparam1 = 7;
        record.pointer1 = scenario.netlist->head();
        EXPECT_TRUE(exports.NetList(record, row.menu));
        EXPECT_EQ(files.files.count(row.path + ".tmp"), 0u);
        const std::ptrdiff_t appends = std::count(files.operations.begin(), files.operations.end(),
                                                  "append " + row.path + ".tmp");
        if (row.fail_append) {
            EXPECT_EQ(appends, 1) << "nothing is written after the failed piece";
            EXPECT_EQ(files.files[row.path], "the earlier export\r\n");
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text, "Soubor " + row.path + " nelze zapsat:\rdisk full");
        } else {
            EXPECT_GE(appends, 2) << "the text is written in pieces";
            EXPECT_TRUE(files.files[row.path] == expected) << "the file differs from the text";
            EXPECT_TRUE(platform.boxes.empty());
        }
    }
}

TEST_F(NetlistExportsTest, NetListAfterAnyOtherMenuCommandDoesNothing) {
    for (std::uint16_t last : {0, 3002, 3004, 3010, 65535}) {
        bool result = true;
        PARAM_ENTRY record = NetList(last, result);
        EXPECT_FALSE(result) << last;
        EXPECT_EQ(record.error, 99) << last;
    }
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(platform.programs.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace lm
