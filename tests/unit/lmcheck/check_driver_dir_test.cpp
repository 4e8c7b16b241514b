// lmcheck over small broken driver directories: what it reports, where, and
// that it reads on after each error (the rest of the item, the next item, the
// next object file).
#include "tools/lmcheck/check_driver_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"

namespace lmcheck {
namespace {

using Lines = std::vector<std::string>;

constexpr const char kHelp[] =
    "ITEM IDENT 9999 JMENO \"H\" TYP WORD DELKA 2 FORMAT \"#####\" ITEM_END\r\n";

// An object file: OBJECT, an ident, the body lines, the help index, OBJECT_END.
std::string Object(int ident, const std::string& body) {
    std::string text = "OBJECT IDENT ";
    text += std::to_string(ident);
    text += " JMENO \"O\"\r\n";
    text += body;
    text += "D_PROM ";
    text += kHelp;
    text += "D_PROM_END\r\nOBJECT_END\r\n";
    return text;
}

// The findings' lines without the folder in front of each file name.
Lines Check(const std::vector<std::pair<std::string, std::string>>& files) {
    lm::test::TempDir dir;
    std::string tools = "TOOL ID 1 POPIS \"T\" OBJECTS";
    for (const auto& [name, content] : files) {
        lm::test::WriteFile(dir.driver_dir() / name, content);
        if (name != "TOOLS.INI" && name != "STARTUP.INI" && name != "SETCOM.INI") {
            tools += " " + name;
        }
    }
    tools += " END_OBJECTS END_TOOL\r\n";
    if (!std::filesystem::exists(dir.driver_dir() / "TOOLS.INI")) {
        lm::test::WriteFile(dir.driver_dir() / "TOOLS.INI", tools);
    }
    if (!std::filesystem::exists(dir.driver_dir() / "STARTUP.INI")) {
        lm::test::WriteFile(dir.driver_dir() / "STARTUP.INI", "LOGFILE OFF\r\n");
    }
    if (!std::filesystem::exists(dir.driver_dir() / "SETCOM.INI")) {
        lm::test::WriteFile(dir.driver_dir() / "SETCOM.INI",
                            "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n192.168.1.10\r\n1998\r\n");
    }
    const std::string prefix = dir.driver_dir_text();
    Lines lines;
    for (const Finding& finding : CheckDriverDir(prefix).findings) {
        std::string line = FormatLine(finding);
        for (std::size_t at; (at = line.find(prefix)) != std::string::npos;) {
            line.erase(at, prefix.size());
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(CheckDriverDir, ReportsEveryProblemAndReadsOn) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        Lines expected;
    } rows[] = {
        {"two faults in one item, one in the next: all three",
         {{"A.DEF", Object(1,
                           "D_IN\r\n"
                           "ITEM JMENO \"X\" TYP BYTES CW_OUT BOTH ITEM_END\r\n"
                           "ITEM JMENO \"Y\" TYP WORD DELKA 2 SUBTYP RAW ITEM_END\r\n"
                           "D_IN_END\r\n")}},
         {"TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]",
          "A.DEF:3:20: error: LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER. "
          "-- TYP \"BYTES\" is none of BYTE, INT, WORD, LONG, DWORD, USER (upper case); the driver "
          "rejects this object and loads no object after it [bad-typ]",
          "A.DEF:3:33: error: LOAD DATAITEM CW_OUT: ocekavano READ, WRITE, BIDIR nebo NONE. -- "
          "CW_OUT \"BOTH\" is none of READ, WRITE, BIDIR, NONE (upper case); the driver rejects "
          "this object and loads no object after it [bad-cw-out]",
          "A.DEF:4:40: error: LOAD DATAITEM SUBTYP: ocekavano 3BF, FLOAT, STRING, BIT, BYTEHEX "
          "nebo "
          "WORDHEX -- SUBTYP \"RAW\" is none of 3BF, FLOAT, STRING, BIT, BYTEHEX, WORDHEX (upper "
          "case); the driver rejects this object and loads no object after it [bad-subtyp]"}},
        {"an unknown keyword with its value: one finding, the object read on",
         {{"A.DEF", Object(1, "VSTUPY 2 VYSTUPU x\r\n")}},
         {"TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]",
          "A.DEF:2:1: error: LOAD OBJECT: Nezname klicove slovo: VSTUPY -- \"VSTUPY\" is no "
          "keyword "
          "of an object; the driver rejects this object and loads no object after it "
          "[unknown-keyword]",
          "A.DEF:2:18: error: VYSTUPU: x is not a whole number; the driver skips this object "
          "without a word [bad-value]"}},
        {"an item without ITEM_END ends at the next ITEM, which is read on its own",
         {{"A.DEF", Object(1,
                           "D_IN\r\n"
                           "ITEM JMENO \"X\" TYP WORD DELKA 2\r\n"
                           "ITEM JMENO \"Y\" TYP WORT ITEM_END\r\n"
                           "D_IN_END\r\n")}},
         {"TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]",
          "A.DEF:4:1: error: ITEM_END missing before ITEM (the item begins at line 3); the driver "
          "reads on into what follows [missing-end]",
          "A.DEF:4:20: error: LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER. "
          "-- TYP \"WORT\" is none of BYTE, INT, WORD, LONG, DWORD, USER (upper case); the driver "
          "rejects this object and loads no object after it [bad-typ]"}},
        {"a ')' missing before ITEM_END: the next item is read as usual",
         {{"A.DEF", Object(1,
                           "D_IN\r\n"
                           "ITEM JMENO \"X\" TYP WORD DELKA 2 ATRIBUTY ( JEDEF ITEM_END\r\n"
                           "ITEM JMENO \"Y\" TYP WORD DELKA 2 ATRIBUTY ( JEMINMAX ) ITEM_END\r\n"
                           "D_IN_END\r\n")}},
         {"TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]",
          "A.DEF:3:33: error: ATRIBUTY: ')' missing before ITEM_END; the driver reads on past it "
          "[missing-parenthesis]"}},
        {"a text without its closing quote: one finding, not every end after it",
         {{"A.DEF",
           "OBJECT IDENT 1 D_IN ITEM JMENO \"X TYP WORD ITEM_END D_IN_END OBJECT_END\r\n"}},
         {"TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]",
          "A.DEF:1:32: error: LOAD DATAITEM: JMENO nebo TYP nedefinovano -- JMENO: the text \"X "
          "has no closing double quote before the end of the file; the driver rejects this object "
          "and loads no object after it [bad-value]"}},
        {"every object file is checked, and idents are compared across files",
         {{"A.DEF", Object(7, "LEVEL x\r\n")}, {"B.DEF", Object(7, "")}},
         {"A.DEF:2:7: error: LEVEL: x is not a whole number; the driver skips this object without "
          "a word [bad-value]",
          "B.DEF:1:14: error: object IDENT 7 is also given in A.DEF:1; the host would see two "
          "objects of one ident [duplicate-object]"}},
        {"a clean object gives nothing",
         {{"A.DEF", Object(1,
                           "D_IN ITEM IDENT 1 JMENO \"X\" TYP INT DELKA 2 FORMAT \"###\" "
                           "DEFAULT \"-5\" MIN -10 MAX 10 ATRIBUTY ( JEDEF JEMINMAX ) ITEM_END "
                           "D_IN_END\r\n")}},
         {}},
    };
    for (const auto& row : rows) EXPECT_EQ(Check(row.files), row.expected) << row.what;
}

TEST(CheckDriverDir, MissingSettingsFilesAreWarningsOfTheWholeFile) {
    lm::test::TempDir dir;
    lm::test::WriteFile(dir.driver_dir() / "TOOLS.INI", "FIRMWARE 2 3\r\n");
    const CheckResult result = CheckDriverDir(dir.driver_dir_text());
    std::vector<std::string> codes;
    for (const Finding& finding : result.findings) {
        EXPECT_EQ(finding.position, (lm::TextPosition{1, 1})) << finding.code;
        EXPECT_EQ(finding.severity, lm::Severity::Warning) << finding.code;
        codes.push_back(finding.code);
    }
    // profiles.ini may be missing: the settings dialog starts with one profile.
    EXPECT_EQ(codes, (std::vector<std::string>{"no-startup", "no-setcom"}));
    EXPECT_EQ(result.errors, 0u);
}

}  // namespace
}  // namespace lmcheck
