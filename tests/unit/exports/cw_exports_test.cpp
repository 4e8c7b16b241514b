// CwExports: the four files written whole, a file left out with the reason
// told while the others keep their channels, the channel range refused before
// anything is written, Notepad and Control Web started afterwards.
#include "exports/cw_exports.h"

#include <gtest/gtest.h>

#include <map>

#include "base/cp1250.h"
#include "base/item_codes.h"
#include "tests/support/fake_platform.h"
#include "tests/support/faulty_files.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"

namespace lm::test {
namespace {

CwItem Item(std::string name, std::uint8_t cw_out) {
    CwItem item;
    item.object_name = "KAVLIN";
    item.ident = 12;
    item.instance = 1;
    item.item_name = std::move(name);
    item.typ = kTypWord;
    item.cw_out = cw_out;
    return item;
}

struct CwExportsTest : ::testing::Test {
    CwExportChoice Choice() {
        CwExportChoice choice;
        choice.paths = {"c:\\cw\\a.par", "c:\\cw\\a.dmf", "c:\\cw\\a.cw", "c:\\cw\\a.cp"};
        choice.create = {true, true, true, true};
        return choice;
    }
    bool Contains(const std::string& path, std::string_view text) {
        return files[path].find(text) != std::string::npos;
    }

    FakePlatform platform;
    MemoryFiles files;
    RecordingLog log;
    CwExports exports{ServiceContext{platform, files, log, "c:\\LUMAR\\KADEX2\\"}};
    std::vector<CwItem> items = {Item("T1", kCwOutRead), Item("T2", kCwOutWrite)};
};

TEST_F(CwExportsTest, WritesTheChosenFilesWithAlignedChannels) {
    CwExportChoice choice = Choice();
    choice.create[kCwPanel] = false;
    EXPECT_EQ(exports.Write(choice, items, settings::TComSettings{}), 3u);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(Contains("c:\\cw\\a.par", "  QQ WRITE 101 12 1 0 WORD\r\nEND\r\n"));
    EXPECT_TRUE(Contains("c:\\cw\\a.dmf", "   101 cardinal output\r\nend.\r\n"));
    EXPECT_TRUE(Contains("c:\\cw\\a.cw", "  KAVLIN_1_T2 = cardinal, 101, kadex, output, 0;"));
    EXPECT_FALSE(files.Exists("c:\\cw\\a.cp"));
    EXPECT_FALSE(files.Exists("c:\\cw\\a.cw.tmp"));
}

TEST_F(CwExportsTest, FilesLeftOutAreNamedWithTheirReasons) {
    struct Case {
        const char* name;
        std::string cw_text;  // the CW file before the export in append mode
        bool dmf_read_only;
        std::size_t written;
        std::vector<const char*> in_box;
    };
    const Case cases[] = {
        {"read-only DMF", "", true, 3, {"c:\\cw\\a.dmf"}},
        {"CW without end_channel", "directories\r\n", false, 3, {"c:\\cw\\a.cw", "end_channel;"}},
        {"both", "x\r\n", true, 2, {"c:\\cw\\a.dmf", "c:\\cw\\a.cw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.files.clear();
        files.read_only.clear();
        platform.boxes.clear();
        CwExportChoice choice = Choice();
        choice.append = !c.cw_text.empty();
        if (choice.append) files.files["c:\\cw\\a.cw"] = c.cw_text;
        if (c.dmf_read_only) files.read_only.insert("c:\\cw\\a.dmf");
        EXPECT_EQ(exports.Write(choice, items, settings::TComSettings{}), c.written);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].kind, BoxKind::Error);
        for (const char* part : c.in_box) {
            EXPECT_NE(platform.boxes[0].text.find(part), std::string::npos) << part;
        }
        EXPECT_TRUE(Contains("c:\\cw\\a.cp", "  KAVLIN_1_T2 = cardinal, 101, kadex, output, 0;"));
        if (choice.append) {
            EXPECT_EQ(files["c:\\cw\\a.cw"], c.cw_text);
        }
    }
}

TEST_F(CwExportsTest, AppendingToAFileThatIsThereButCannotBeOpenedLeavesItAndSaysSo) {
    const std::string dmf = "begin\r\n   100 cardinal input\r\nend.\r\n";
    files.files["c:\\cw\\A.DMF"] = dmf;
    FaultyFiles faulty(files);
    faulty.Add({FileOp::Open, "A.DMF", 1, false});  // the look whether it is there
    CwExports on_faulty{ServiceContext{platform, faulty, log, "c:\\LUMAR\\KADEX2\\"}};
    CwExportChoice choice = Choice();
    choice.paths[kCwDmf] = "c:\\cw\\A.DMF";
    choice.append = true;
    EXPECT_EQ(on_faulty.Write(choice, items, settings::TComSettings{}), 3u);
    EXPECT_EQ(files["c:\\cw\\A.DMF"], dmf);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find("c:\\cw\\A.DMF"), std::string::npos);
}

TEST_F(CwExportsTest, ChannelsBeyond65535WriteNothing) {
    CwExportChoice choice = Choice();
    choice.first_channel = 65000;
    const std::vector<CwItem> many(537, Item("T", kCwOutRead));
    EXPECT_EQ(exports.Write(choice, many, settings::TComSettings{}), 0u);
    EXPECT_TRUE(files.files.empty());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find("65535"), std::string::npos);
}

TEST_F(CwExportsTest, NotepadAndControlWebOnlyAfterEveryChosenFileWasWritten) {
    struct Case {
        const char* name;
        std::string dmf_path;
        bool dmf_read_only;
        long first_channel;
        std::vector<std::string> started;
    };
    const Case cases[] = {
        {"all written",
         "c:\\cw\\a.dmf",
         false,
         100,
         {"NOTEPAD c:\\cw\\a.par", "NOTEPAD c:\\cw\\a.dmf", "NOTEPAD c:\\cw\\a.cw",
          "NOTEPAD c:\\cw\\a.cp", "CW.EXE c:\\cw\\a.cw"}},
        {"a name with blanks",
         "c:\\moje cw\\a b.dmf",
         false,
         100,
         {"NOTEPAD c:\\cw\\a.par", "NOTEPAD \"c:\\moje cw\\a b.dmf\"", "NOTEPAD c:\\cw\\a.cw",
          "NOTEPAD c:\\cw\\a.cp", "CW.EXE c:\\cw\\a.cw"}},
        {"DMF not written", "c:\\cw\\a.dmf", true, 100, {}},
        {"channels beyond 65535", "c:\\cw\\a.dmf", false, 65535, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.files.clear();
        files.read_only.clear();
        platform.programs.clear();
        platform.boxes.clear();
        CwExportChoice choice = Choice();
        choice.paths[kCwDmf] = c.dmf_path;
        choice.first_channel = c.first_channel;
        choice.show = true;
        choice.run = true;
        if (c.dmf_read_only) files.read_only.insert(c.dmf_path);
        exports.Export(choice, items, settings::TComSettings{});
        std::vector<std::string> started;
        for (const auto& program : platform.programs) {
            started.push_back(program.file + " " + program.parameters);
            EXPECT_EQ(program.show, ShowMode::Show) << program.file;  // SW_SHOW
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(platform.boxes.size(), c.started.empty() ? 1u : 0u);
    }
}

TEST_F(CwExportsTest, AppendingToAMissingOrBlankFileWritesItWhole) {
    CwExportChoice choice = Choice();
    exports.Write(choice, items, settings::TComSettings{});
    const std::map<std::string, std::string> whole = files.files;
    for (const char* before : {"", "  \r\n\r\n", "(missing)"}) {
        SCOPED_TRACE(before);
        files.files.clear();
        if (std::string_view(before) != "(missing)")
            for (const std::string& path : choice.paths) files.files[path] = before;
        choice.append = true;
        EXPECT_EQ(exports.Write(choice, items, settings::TComSettings{}), 4u);
        EXPECT_EQ(files.files, whole);
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(CwExportsTest, ControlWebThatCannotStartSaysItsCode) {
    CwExportChoice choice = Choice();
    choice.run = true;
    platform.shell_result = 2;
    exports.ShowAndRun(choice);
    ASSERT_EQ(platform.programs.size(), 1u);
    EXPECT_EQ(platform.programs[0].show, ShowMode::Show);  // SW_SHOW
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Chyba (kód 2) během startu Control Web."_cp);
}

}  // namespace
}  // namespace lm::test
