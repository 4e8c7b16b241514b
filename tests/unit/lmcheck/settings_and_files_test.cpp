// lmcheck on what leaves the driver without its options or its library (a
// STARTUP.INI that is no file, comments never closed), on line ends of any
// kind, and on every settings value the driver repairs: each reported at its
// place with the value the driver uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/lmcheck/check_driver_dir.h"

namespace lmcheck {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::pair<std::string, std::string>>;

constexpr const char kObject[] =
    "OBJECT IDENT 1 JMENO \"O\"\r\n"
    "D_PROM ITEM IDENT 9999 JMENO \"H\" TYP WORD DELKA 2 FORMAT \"#####\" ITEM_END D_PROM_END\r\n"
    "OBJECT_END\r\n";
constexpr const char kSetCom[] =
    "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n192.168.1.10\r\n1998\r\n";

// SETCOM.INI with `time_out` on its sixth line.
std::string SetComWith(const std::string& time_out) {
    return "1\r\n38400\r\n1\r\n1\r\n0\r\n" + time_out + "\r\n0\r\n192.168.1.10\r\n1998\r\n";
}

std::string Profiles(const std::string& section) {
    return "[main]\r\ncount=1\r\nposition=0\r\n[profile000]\r\n" + section;
}

struct Expected {
    std::string file;  // the name in the driver directory
    lm::TextPosition at;
    lm::Severity severity;
    std::string code;
    std::string says;  // a part of the explanation
};

// Every finding of the folder made of the default files and `files` (a
// content "<folder>" makes a folder).
std::vector<Finding> Check(const Files& files) {
    lm::test::TempDir dir;
    const fs::path dd = dir.driver_dir();
    Files all = {{"TOOLS.INI", "TOOL ID 1 POPIS \"T\" OBJECTS A.DEF END_OBJECTS END_TOOL\r\n"},
                 {"A.DEF", kObject},
                 {"STARTUP.INI", "LOGFILE OFF\r\n"},
                 {"SETCOM.INI", kSetCom}};
    for (const auto& file : files) {
        bool replaced = false;
        for (auto& each : all) {
            if (each.first == file.first) {
                each.second = file.second;
                replaced = true;
            }
        }
        if (!replaced) all.push_back(file);
    }
    for (const auto& [name, content] : all) {
        if (content == "<folder>") {
            fs::create_directories(dd / name);
        } else {
            lm::test::WriteFile(dd / name, content);
        }
    }
    return CheckDriverDir(dir.driver_dir_text()).findings;
}

TEST(CheckSettingsAndFiles, EachFindingAtItsPlaceWithWhatTheDriverDoes) {
    using lm::Severity;
    const struct {
        const char* what;
        Files files;
        Expected expected;
    } rows[] = {
        {"STARTUP.INI is a folder",
         {{"STARTUP.INI", "<folder>"}},
         {"STARTUP.INI", {1, 1}, Severity::Error, "unreadable-startup", "loads no library"}},
        {"a comment never closed in STARTUP.INI",
         {{"STARTUP.INI", "HIDE_DIALOG OFF\r\n {LOGFILE ON\r\n"}},
         {"STARTUP.INI", {2, 2}, Severity::Error, "unclosed-comment", "every option after it"}},
        {"a comment never closed in an object file",
         {{"A.DEF", "OBJECT IDENT 1 JMENO \"O\"\r\n{ D_PROM\r\nOBJECT_END\r\n"}},
         {"A.DEF", {2, 1}, Severity::Error, "unclosed-comment", "OBJECT_END"}},
        {"a comment never closed in TOOLS.INI",
         {{"TOOLS.INI", "TOOL ID 1 OBJECTS A.DEF END_OBJECTS END_TOOL\r\n\r\n{ TOOL\r\n"}},
         {"TOOLS.INI", {3, 1}, Severity::Error, "unclosed-comment", "rest of TOOLS.INI"}},
        {"CR line ends: a bad TYP at its real line",
         {{"A.DEF",
           "OBJECT IDENT 1 JMENO \"O\"\rD_IN\r  ITEM JMENO \"X\" TYP WROD ITEM_END\r"
           "D_IN_END OBJECT_END\r"}},
         {"A.DEF", {3, 22}, Severity::Error, "bad-typ", "WROD"}},
        {"mixed line ends",
         {{"A.DEF", "OBJECT\r\nIDENT 1\nJMENO \"O\"\r\r LEVEL x\rOBJECT_END\n"}},
         {"A.DEF", {5, 8}, Severity::Error, "bad-value", "LEVEL"}},
        {"SETCOM.INI is a folder",
         {{"SETCOM.INI", "<folder>"}},
         {"SETCOM.INI", {1, 1}, Severity::Error, "unreadable-setcom", "cannot be read"}},
        {"a time-out of -1",
         {{"SETCOM.INI", SetComWith("-1")}},
         {"SETCOM.INI",
          {6, 1},
          Severity::Warning,
          "out-of-range",
          "-1 is below 0.05; the driver uses 1.5"}},
        {"a time-out of 0",
         {{"SETCOM.INI", SetComWith(" 0")}},
         {"SETCOM.INI",
          {6, 2},
          Severity::Warning,
          "out-of-range",
          "0 is below 0.05; the driver uses 1.5"}},
        {"a time-out of 1e300",
         {{"SETCOM.INI", SetComWith("1e300")}},
         {"SETCOM.INI", {6, 1}, Severity::Warning, "out-of-range", "the driver uses 3600.0"}},
        {"a time-out of 99999999999",
         {{"SETCOM.INI", SetComWith("99999999999")}},
         {"SETCOM.INI", {6, 1}, Severity::Warning, "out-of-range", "the driver uses 3600.0"}},
        {"a time-out with a decimal comma",
         {{"SETCOM.INI", SetComWith("1,5")}},
         {"SETCOM.INI", {6, 1}, Severity::Warning, "decimal-comma", "the driver uses 1.5"}},
        {"a TCP port beyond 16 bits",
         {{"SETCOM.INI", "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n1\r\n10.0.0.1\r\n70000\r\n"}},
         {"SETCOM.INI",
          {9, 1},
          Severity::Warning,
          "out-of-range",
          "70000 is not 0 to 65535; the driver uses 1998"}},
        {"a profile on COM16",
         {{"profiles.ini", Profiles("ComPort=16\r\n")}},
         {"profiles.ini", {5, 9}, Severity::Warning, "out-of-range", "shows COM1"}},
        {"a profile with RS485=2",
         {{"profiles.ini", Profiles("RS485=2\r\n")}},
         {"profiles.ini",
          {5, 7},
          Severity::Warning,
          "bad-value",
          "RS485=2: the settings dialog reads it as 1"}},
        {"a name cut to 50 characters",
         {{"profiles.ini", Profiles("Name=" + std::string(60, 'n') + "\r\n")}},
         {"profiles.ini",
          {5, 6},
          Severity::Warning,
          "bad-value",
          "reads it as " + std::string(50, 'n')}},
        {"a time-out of 1e300 in a profile",
         {{"profiles.ini", Profiles("TimeOut=1e300\r\n")}},
         {"profiles.ini",
          {5, 9},
          Severity::Warning,
          "bad-value",
          "TimeOut=1e300: the settings dialog reads it as 10"}},
        {"a section given twice",
         {{"profiles.ini", Profiles("ComPort=2\r\n [PROFILE000]\r\nComPort=3\r\n")}},
         {"profiles.ini", {6, 2}, Severity::Warning, "duplicate-section", "first at line 4"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<Finding> findings = Check(row.files);
        const Expected& e = row.expected;
        bool found = false;
        for (const Finding& f : findings) {
            const std::string name = f.file.substr(f.file.find_last_of("/\\") + 1);
            if (name != e.file || f.code != e.code) continue;
            found = true;
            EXPECT_EQ(f.position, e.at);
            EXPECT_EQ(f.severity, e.severity);
            EXPECT_NE(f.explanation.find(e.says), std::string::npos) << f.explanation;
        }
        EXPECT_TRUE(found) << e.code << " in " << e.file;
        // The cause is told once: not again as the ends it swallowed.
        if (e.code == "unclosed-comment") {
            for (const Finding& f : findings) EXPECT_NE(f.code, "missing-end") << f.explanation;
        }
    }
}

}  // namespace
}  // namespace lmcheck
