// lmcheck over small broken driver directories: what it reports, where, and
// that it reads on after each error (the rest of the item, the next item, the
// next object file).
#include "tools/lmcheck/check_driver_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    text += " JMENO \"O";
    text += std::to_string(ident);
    text += "\"\r\n";
    text += body;
    text += "D_PROM ";
    text += kHelp;
    text += "D_PROM_END\r\nOBJECT_END\r\n";
    return text;
}

// The files written to a fresh driver directory (a TOOLS.INI naming every
// object file, a STARTUP.INI and a SETCOM.INI unless given), then checked.
CheckResult CheckFiles(const std::vector<std::pair<std::string, std::string>>& files,
                       std::string& prefix, const CheckOptions& options = {});

// The findings' lines without the folder in front of each file name.
CheckResult CheckFiles(const std::vector<std::pair<std::string, std::string>>& files,
                       std::string& prefix, const CheckOptions& options) {
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
    prefix = dir.driver_dir_text();
    return CheckDriverDir(prefix, options);
}

Lines Check(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string prefix;
    Lines lines;
    for (const Finding& finding : CheckFiles(files, prefix).findings) {
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
         {"A.DEF:3:20: error: LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER. "
          "-- TYP \"BYTES\" is none of BYTE, INT, WORD, LONG, DWORD, USER (upper case); the driver "
          "rejects this object and loads no object after it [bad-typ]",
          "A.DEF:3:33: error: LOAD DATAITEM CW_OUT: ocekavano READ, WRITE, BIDIR nebo NONE. -- "
          "CW_OUT \"BOTH\" is none of READ, WRITE, BIDIR, NONE (upper case); the driver rejects "
          "this object and loads no object after it [bad-cw-out]",
          "A.DEF:4:40: error: LOAD DATAITEM SUBTYP: ocekavano 3BF, FLOAT, STRING, BIT, BYTEHEX "
          "nebo "
          "WORDHEX -- SUBTYP \"RAW\" is none of 3BF, FLOAT, STRING, BIT, BYTEHEX, WORDHEX (upper "
          "case); the driver rejects this object and loads no object after it [bad-subtyp]",
          "TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]"}},
        {"an unknown keyword with its value: one finding, the object read on",
         {{"A.DEF", Object(1, "VSTUPY 2 VYSTUPU x\r\n")}},
         {"A.DEF:2:1: error: LOAD OBJECT: Nezname klicove slovo: VSTUPY -- \"VSTUPY\" is no "
          "keyword "
          "of an object; the driver rejects this object and loads no object after it "
          "[unknown-keyword]",
          "A.DEF:2:18: error: VYSTUPU: x is not a whole number; the driver skips this object "
          "without a word [bad-value]",
          "TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]"}},
        {"an item without ITEM_END ends at the next ITEM, which is read on its own",
         {{"A.DEF", Object(1,
                           "D_IN\r\n"
                           "ITEM JMENO \"X\" TYP WORD DELKA 2\r\n"
                           "ITEM JMENO \"Y\" TYP WORT ITEM_END\r\n"
                           "D_IN_END\r\n")}},
         {"A.DEF:4:1: error: ITEM_END missing before ITEM (the item begins at line 3); the driver "
          "reads on into what follows [missing-end]",
          "A.DEF:4:20: error: LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER. "
          "-- TYP \"WORT\" is none of BYTE, INT, WORD, LONG, DWORD, USER (upper case); the driver "
          "rejects this object and loads no object after it [bad-typ]",
          "TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]"}},
        {"a ')' missing before ITEM_END: the next item is read as usual",
         {{"A.DEF", Object(1,
                           "D_IN\r\n"
                           "ITEM JMENO \"X\" TYP WORD DELKA 2 ATRIBUTY ( JEDEF ITEM_END\r\n"
                           "ITEM JMENO \"Y\" TYP WORD DELKA 2 ATRIBUTY ( JEMINMAX ) ITEM_END\r\n"
                           "D_IN_END\r\n")}},
         {"A.DEF:3:33: error: ATRIBUTY: ')' missing before ITEM_END; the driver reads on past it "
          "[missing-parenthesis]",
          "TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]"}},
        {"a text without its closing quote: one finding, not every end after it",
         {{"A.DEF",
           "OBJECT IDENT 1 D_IN ITEM JMENO \"X TYP WORD ITEM_END D_IN_END OBJECT_END\r\n"}},
         {"A.DEF:1:32: error: LOAD DATAITEM: JMENO nebo TYP nedefinovano -- JMENO: the text \"X "
          "has no closing double quote before the end of the file; the driver rejects this object "
          "and loads no object after it [bad-value]",
          "TOOLS.INI:1:29: warning: the driver stops loading the library at A.DEF: no object after "
          "it is loaded [load-stops]"}},
        {"every object file is checked, and idents are compared across files",
         {{"A.DEF", Object(7, "LEVEL x\r\n")}, {"B.DEF", Object(7, "")}},
         {"A.DEF:2:7: error: LEVEL: x is not a whole number; the driver skips this object without "
          "a word [bad-value]",
          "B.DEF:1:14: error: object IDENT 7 is also given in A.DEF:1:14; the host would see two "
          "objects of one ident [duplicate-object]",
          "B.DEF:1:22: warning: object JMENO \"O7\" is also given in A.DEF:1:22; the host lists "
          "two objects of one name [duplicate-object-name]"}},
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
    lm::test::WriteFile(dir.driver_dir() / "TOOLS.INI",
                        "FIRMWARE 2 3\r\nTOOL ID 1 POPIS \"T\" END_TOOL\r\n");
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

// The words joined with += (a chain of + trips a false warning of GCC 12).
std::string Joined(std::initializer_list<std::string> words) {
    std::string text;
    for (const std::string& word : words) text += word;
    return text;
}

// "FILE:LINE:COL:severity:code" of a finding, FILE without its folder.
std::string Short(const Finding& f) {
    const std::size_t slash = f.file.find_last_of("/\\");
    return Joined({f.file.substr(slash + 1), ":", std::to_string(f.position.line), ":",
                   std::to_string(f.position.column), ":",
                   f.severity == lm::Severity::Error ? "error" : "warning", ":", f.code});
}

// An item of a WORD with the given tail (limits, attributes).
std::string Item(int ident, const std::string& name, const std::string& tail) {
    return Joined({"ITEM IDENT ", std::to_string(ident), " JMENO \"", name,
                   "\" TYP WORD DELKA 2 FORMAT \"#####\" ", tail, " ITEM_END\r\n"});
}

// The items W1..Wcount, each with its DEFAULT outside its limits (a warning).
std::string Warned(int count) {
    std::string body;
    for (int i = 1; i <= count; ++i) {
        body += Item(i, Joined({"W", std::to_string(i)}),
                     "DEFAULT \"50\" MIN 0 MAX 9 ATRIBUTY ( JEMINMAX )");
    }
    return body;
}

TEST(CheckDriverDir, FindsWhatLeavesTheDriverWithoutItsLibraryOrLimits) {
    // 210 warnings, then one error.
    const std::string many_warnings =
        Object(1, Joined({"D_IN\r\n", Warned(210),
                          "ITEM IDENT 300 JMENO \"E\" TYP WORT ITEM_END\r\nD_IN_END\r\n"}));
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        std::vector<std::string> wanted;  // findings that must be there, in this order
        std::size_t objects, tools;       // what the driver loads
        bool stops;
    } rows[] = {
        {"an empty TOOLS.INI",
         {{"TOOLS.INI", "\r\n  \r\n"}},
         {"TOOLS.INI:1:1:error:empty-library"},
         0,
         0,
         false},
        {"MIN above MAX with JEMINMAX, even with a bad FORMAT",
         {{"A.DEF",
           Object(1,
                  Joined({"D_IN ", Item(1, "X", "FORMAT \"?#\" MIN 5 MAX 1 ATRIBUTY ( JEMINMAX )"),
                          "D_IN_END\r\n"}))}},
         {"A.DEF:2:77:error:min-max"},
         1,
         1,
         false},
        {"MIN above MAX without JEMINMAX: a warning",
         {{"A.DEF", Object(1, Joined({"D_IN ", Item(1, "X", "MIN 5 MAX 1"), "D_IN_END\r\n"}))}},
         {"A.DEF:2:65:warning:min-max"},
         1,
         1,
         false},
        {"one JMENO twice in an object, one object JMENO in two files",
         {{"A.DEF",
           Object(1, Joined({"D_IN ", Item(1, "X", ""), Item(2, "X", ""), "D_IN_END\r\n"}))},
          {"B.DEF", Joined({"OBJECT IDENT 2 JMENO \"O1\"\r\nD_PROM ", kHelp,
                            "D_PROM_END\r\nOBJECT_END\r\n"})}},
         {"A.DEF:3:20:error:duplicate-item-name", "B.DEF:1:22:warning:duplicate-object-name"},
         2,
         1,
         false},
        {"two tools of one ID",
         {{"TOOLS.INI", "TOOL ID 4 POPIS \"A\" END_TOOL\r\nTOOL ID 4 POPIS \"B\" END_TOOL\r\n"}},
         {"TOOLS.INI:2:9:error:duplicate-tool"},
         0,
         2,
         false},
        {"a file named twice points at its first naming, not at itself",
         {{"A.DEF", Object(1, "")},
          {"TOOLS.INI", "TOOL ID 1 POPIS \"T\" OBJECTS A.DEF A.DEF END_OBJECTS END_TOOL\r\n"}},
         {"TOOLS.INI:1:35:warning:named-twice"},
         2,  // the driver reads the file twice
         1,
         false},
        {"the load stops at a bad file: only what came before counts",
         {{"A.DEF", Object(1, "")},
          {"B.DEF", Object(2, "D_IN ITEM JMENO \"Y\" TYP WORT ITEM_END D_IN_END\r\n")},
          {"C.DEF", Object(3, "")},
          {"TOOLS.INI",
           "TOOL ID 1 POPIS \"T\" OBJECTS A.DEF END_OBJECTS END_TOOL\r\n"
           "TOOL ID 2 POPIS \"U\" OBJECTS B.DEF C.DEF END_OBJECTS END_TOOL\r\n"}},
         {"B.DEF:2:25:error:bad-typ", "TOOLS.INI:2:29:warning:load-stops"},
         1,
         1,
         true},
        {"an error behind more than 200 warnings is shown, and first",
         {{"A.DEF", many_warnings}},
         {"A.DEF:213:30:error:bad-typ", "TOOLS.INI:1:29:warning:load-stops",
          "A.DEF:3:65:warning:default-outside", "A.DEF:202:69:warning:too-many"},
         0,
         0,
         true},
    };
    for (const auto& row : rows) {
        std::string prefix;
        const CheckResult result = CheckFiles(row.files, prefix);
        std::vector<std::string> found;
        for (const Finding& f : result.findings) found.push_back(Short(f));
        std::size_t at = 0;
        for (const std::string& wanted : row.wanted) {
            const auto it =
                std::find(found.begin() + static_cast<std::ptrdiff_t>(at), found.end(), wanted);
            EXPECT_NE(it, found.end())
                << row.what << ": " << wanted << " missing or out of order in\n"
                << ::testing::PrintToString(found);
            if (it != found.end()) at = static_cast<std::size_t>(it - found.begin()) + 1;
        }
        EXPECT_EQ(result.objects, row.objects) << row.what;
        EXPECT_EQ(result.tools, row.tools) << row.what;
        EXPECT_EQ(!result.load_stop.empty(), row.stops) << row.what << ": " << result.load_stop;
        // Errors come before every warning.
        bool warned = false;
        for (const Finding& f : result.findings) {
            if (f.severity == lm::Severity::Warning) warned = true;
            EXPECT_FALSE(warned && f.severity == lm::Severity::Error)
                << row.what << ": " << Short(f);
        }
    }
}

TEST(CheckDriverDir, AllShowsEveryWarning) {
    const std::string body = Joined({"D_IN\r\n", Warned(230), "D_IN_END\r\n"});
    std::string prefix;
    CheckOptions all;
    all.warnings_per_file = static_cast<std::size_t>(-1);
    const CheckResult limited = CheckFiles({{"A.DEF", Object(1, body)}}, prefix);
    const CheckResult every = CheckFiles({{"A.DEF", Object(1, body)}}, prefix, all);
    EXPECT_EQ(limited.findings.size(), 201u);  // 200 and the one that tells the rest
    EXPECT_EQ(every.findings.size(), 230u);
    EXPECT_EQ(every.warnings, 230u);
}

}  // namespace
}  // namespace lmcheck
