// The settings readers in checking mode: every line they default is reported
// at its place, with the value the driver takes instead.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/com_settings.h"
#include "settings/profiles.h"

namespace lm::settings {
namespace {

// The problems as "LINE:COL severity code".
class Recorded : public LoadProblems {
public:
    void EnterFile(const std::string&) override {}
    void LeaveFile() override {}
    std::vector<std::string> lines;
    std::vector<std::string> explanations;

protected:
    void Take(LoadProblem problem) override {
        lines.push_back(
            std::to_string(problem.position.line) + ":" + std::to_string(problem.position.column) +
            (problem.severity == Severity::Error ? " error " : " warning ") + problem.code);
        explanations.push_back(problem.explanation);
    }
};

using Lines = std::vector<std::string>;

TEST(SettingsProblems, SetComLinesThatDoNotReadArePlacedAndNamed) {
    const struct {
        const char* what;
        std::string text;
        Lines expected;
        const char* explanation;  // of the first problem
    } rows[] = {
        {"clean", "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n192.168.1.10\r\n1998\r\n", {}, ""},
        {"an older file of six lines is clean", "1\r\n9600\r\n1\r\n1\r\n0\r\n1.5\r\n", {}, ""},
        {"a port that is no number: an error at its first character",
         "1\r\n\t x19200\r\n1\r\n1\r\n0\r\n1.5\r\n",
         {"2:3 error bad-value"},
         "line 2 (ComSpeed): \"\t x19200\" is not a number; the driver takes 9600"},
        {"a time-out that is no number has a default of its own: a warning",
         "1\r\n9600\r\n1\r\n1\r\n0\r\nkratce\r\n",
         {"6:1 warning bad-value"},
         "line 6 (TimeOut): \"kratce\" is not a number; the driver takes 1.5"},
        {"a file that ends early: one error at its last line",
         "1\r\n9600\r\n1\r\n",
         {"3:1 error missing-line"},
         "the file ends after line 3: line 4 (Retranslation) and the lines after it are missing; "
         "the driver takes their defaults (Retranslation 1)"},
        {"an empty file", "", {"1:1 error missing-line"}, nullptr},
        {"a seventh line without the IP and port",
         "1\r\n9600\r\n1\r\n1\r\n0\r\n1.5\r\n1\r\n",
         {"7:1 error missing-line"},
         "the file ends after line 7: line 8 (TCPIP) and the lines after it are missing; the "
         "driver takes their defaults (TCPIP 192.168.1.10)"},
        {"flags other than 0 and 1, a port beyond 16 bits",
         "1\r\n9600\r\n1\r\n1\r\n2\r\n1.5\r\n-1\r\n1.2.3.4\r\n 65536\r\n",
         {"5:1 warning not-a-flag", "7:1 warning not-a-flag", "9:2 warning out-of-range"},
         "line 5 (RS485): 2 is neither 0 nor 1; the driver uses 0 (off)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Recorded problems;
        NoLog log;
        ParseComSettings(row.text, kMaxIpText, log, &problems);
        EXPECT_EQ(problems.lines, row.expected);
        if (row.explanation != nullptr && !row.expected.empty()) {
            EXPECT_EQ(problems.explanations[0], row.explanation);
        }
    }
}

TEST(SettingsProblems, ProfileValuesThatDoNotReadArePlacedAtTheirValue) {
    const std::string text =
        "[main]\r\n"
        "count=600\r\n"
        "position=x\r\n"
        "[profile000]\r\n"
        "ComPort=dva\r\n"
        "  Address =  300 \r\n"
        "TimeOut=1,5\r\n"
        "TCPPort=\r\n";
    Recorded problems;
    NoLog log;
    ProfileTable table;
    LoadProfiles(text, table, '.', log, &problems);
    // The position that is no number is reported once, with the place in the
    // table it ends at.
    EXPECT_EQ(problems.lines,
              (Lines{"2:7 warning bad-value", "3:10 warning bad-value", "5:9 warning bad-value",
                     "6:14 warning bad-value", "8:8 warning bad-value"}));
    EXPECT_EQ(problems.explanations[0], "[main] count=600: the settings dialog reads it as 501");
    EXPECT_EQ(problems.explanations[1], "[main] position=x: the settings dialog reads it as 0");
    EXPECT_EQ(problems.explanations[3],
              "[profile000] Address=300: the settings dialog reads it as 1");
    EXPECT_EQ(table.entries[0].TimeOut, 1.5) << "both decimal separators read";
}

}  // namespace
}  // namespace lm::settings
