// One table of profile-file cases, run against our reader and writer on every
// platform and against the system's profile functions under Windows: the two
// must give the same values. ASCII only, so that the system's code page does
// not matter.
#pragma once

#include <string>
#include <vector>

namespace lm::test {

inline const std::string kLongValue(10000, 'v');

struct ProfileRead {
    const char* section;
    const char* key;
    const char* value;  // nullptr: the key is not there
};

struct ProfileWrite {
    const char* section;
    const char* key;
    const char* value;
};

struct ProfileCase {
    const char* what;
    const char* file;  // nullptr: no file
    std::vector<ProfileWrite> writes;
    std::vector<ProfileRead> reads;  // after the writes
};

inline const std::vector<ProfileCase>& ProfileCases() {
    static const std::string long_line = "[s]\r\nlong=" + kLongValue + "\r\nafter=1\r\n";
    static const std::vector<ProfileCase> cases = {
        {"plain keys",
         "[main]\r\ncount=3\r\nposition=1\r\n",
         {},
         {{"main", "count", "3"}, {"main", "position", "1"}}},
        {"names without regard to case",
         "[MAIN]\r\nCount=3\r\n",
         {},
         {{"main", "COUNT", "3"}, {"Main", "count", "3"}}},
        {"blanks around lines, names and values",
         "  [main]  \r\n\t count \t=   3 4  \r\n",
         {},
         {{"main", "count", "3 4"}}},
        {"the first of duplicate keys", "[s]\r\nk=1\r\nK=2\r\n", {}, {{"s", "k", "1"}}},
        {"the first of duplicate sections",
         "[s]\r\na=1\r\n[t]\r\nx=0\r\n[S]\r\na=2\r\nb=3\r\n",
         {},
         {{"s", "a", "1"}, {"s", "b", nullptr}, {"t", "x", "0"}}},
        {"quotes",
         "[s]\r\nq=\"a b\"\r\nr='x'\r\nu=\"mixed'\r\nv=\"\r\nw=\" in \"\r\ne=\"\"\r\n",
         {},
         {{"s", "q", "a b"},
          {"s", "r", "x"},
          {"s", "u", "\"mixed'"},
          {"s", "v", "\""},
          {"s", "w", " in "},
          {"s", "e", ""}}},
        {"missing keys and sections",
         "[s]\r\nk=1\r\nlonely\r\n",
         {},
         {{"s", "x", nullptr}, {"t", "k", nullptr}, {"s", "lonely", nullptr}}},
        {"empty and '=' inside values",
         "[s]\r\nk=\r\nj=a=b\r\n",
         {},
         {{"s", "k", ""}, {"s", "j", "a=b"}}},
        {"a line of any length",
         long_line.c_str(),
         {},
         {{"s", "long", kLongValue.c_str()}, {"s", "after", "1"}}},
        {"LF line ends and no last line end",
         "[s]\nk=1\nj=2",
         {},
         {{"s", "k", "1"}, {"s", "j", "2"}}},
        {"keys before the first section", "k=1\r\n[s]\r\nk=2\r\n", {}, {{"s", "k", "2"}}},
        {"blank and comment lines", "[s]\r\n\r\n; k=0\r\n\r\nk=1\r\n", {}, {{"s", "k", "1"}}},
        {"a missing file is empty", nullptr, {}, {{"main", "count", nullptr}}},
        {"a key rewritten",
         "[main]\r\ncount=1\r\nposition=0\r\n",
         {{"main", "count", "3"}},
         {{"main", "count", "3"}, {"main", "position", "0"}}},
        {"a key rewritten without regard to case",
         "[Main]\r\nCOUNT=1\r\n",
         {{"main", "count", "2"}},
         {{"MAIN", "Count", "2"}}},
        {"keys and sections added",
         "[main]\r\ncount=1\r\n",
         {{"main", "position", "0"}, {"profile000", "Name", "A"}, {"profile000", "TCP", "1"}},
         {{"main", "count", "1"},
          {"main", "position", "0"},
          {"profile000", "Name", "A"},
          {"profile000", "TCP", "1"}}},
        {"a missing file is created", nullptr, {{"s", "k", "v"}}, {{"s", "k", "v"}}},
        {"a duplicate section: the first one is written",
         "[s]\r\nk=1\r\n[s]\r\nk=2\r\n",
         {{"s", "k", "3"}},
         {{"s", "k", "3"}}},
        {"leading blanks of a written value dropped",
         "[s]\r\nk=1\r\n",
         {{"s", "k", "  x y"}},
         {{"s", "k", "x y"}}},
        {"sections beyond the count kept by a save",
         "[main]\r\ncount=3\r\nposition=2\r\n[profile000]\r\nName=A\r\n[profile001]\r\n"
         "Name=B\r\n[profile002]\r\nName=C\r\nTCP=1\r\n",
         {{"main", "count", "1"}, {"main", "position", "0"}, {"profile000", "Name", "A2"}},
         {{"main", "count", "1"},
          {"main", "position", "0"},
          {"profile000", "Name", "A2"},
          {"profile001", "Name", "B"},
          {"profile002", "Name", "C"},
          {"profile002", "TCP", "1"}}},
    };
    return cases;
}

}  // namespace lm::test
