// init objects on a damaged definition file: the host's answer stays as it
// was (success, the objects before the fault), and the user is told what
// stopped the load and where, in an error box and in the log.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/cp1250.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

constexpr const char kGood[] =
    "OBJECT IDENT 1 JMENO \"GOOD\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"IN\" TYP WORD ITEM_END D_IN_END\r\n"
    "OBJECT_END\r\n";

struct Case {
    const char* name;
    const char* tools;    // TOOLS.INI
    const char* bad;      // BAD.DEF
    const char* message;  // "$DIR" stands for the driver directory
    const char* place;    // after the driver directory; empty: no error
    std::uint16_t objects;
};

const Case kCases[] = {
    {"clean", "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL", kGood, "", "",
     3},
    {"TYP misspelt", "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2 JMENO \"BAD\"\r\n"
     "D_IN\r\n"
     "  ITEM IDENT 1 JMENO \"IN\" TYP WROD ITEM_END\r\n"
     "D_IN_END OBJECT_END\r\n",
     "LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER.", "BAD.DEF:3:31", 1},
    {"unknown object keyword", "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2\r\n\tLEVL 3\r\nOBJECT_END\r\n", "LOAD OBJECT: Nezname klicove slovo: LEVL",
     "BAD.DEF:2:2", 1},
    {"bad LEVEL in TOOLS.INI",
     "TOOL ID 1 OBJECTS GOOD.DEF END_OBJECTS END_TOOL\r\n"
     "TOOL\r\n  LEVEL abc OBJECTS BAD.DEF AFTER.DEF END_OBJECTS END_TOOL\r\n",
     kGood,
     "$DIR"
     "TOOLS.INI: LEVEL - chyba definice",
     "TOOLS.INI:3:9", 1},
    // Placed at the real line whatever the line ends.
    {"CR line ends", "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2 JMENO \"BAD\"\rD_IN\r  ITEM IDENT 1 JMENO \"IN\" TYP WROD ITEM_END\r"
     "D_IN_END OBJECT_END\r",
     "LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER.", "BAD.DEF:3:31", 1},
    {"mixed line ends", "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2\n\r\n\r\tLEVL 3\r\nOBJECT_END\r\n", "LOAD OBJECT: Nezname klicove slovo: LEVL",
     "BAD.DEF:4:2", 1},
    // A comment never closed swallowed OBJECT_END: told where it opens (the
    // object was skipped without a word).
    {"unclosed comment in an object file",
     "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2 JMENO \"BAD\"\r\n"
     "D_IN ITEM IDENT 1 JMENO \"IN\" TYP WORD ITEM_END D_IN_END\r\n"
     "  {vstupy\r\nOBJECT_END\r\n",
     "LOAD OBJECT: Neukoncena poznamka, chybi }", "BAD.DEF:3:3", 1},
    {"unclosed comment inside an item",
     "TOOL ID 1 OBJECTS GOOD.DEF BAD.DEF AFTER.DEF END_OBJECTS END_TOOL",
     "OBJECT IDENT 2 D_IN ITEM IDENT 1 {JMENO \"IN\" TYP WORD ITEM_END D_IN_END OBJECT_END\r\n",
     "LOAD OBJECT: Neukoncena poznamka, chybi }", "BAD.DEF:1:34", 1},
    {"unclosed comment in TOOLS.INI",
     "TOOL ID 1 OBJECTS GOOD.DEF END_OBJECTS END_TOOL\r\n"
     "{ TOOL ID 2 OBJECTS BAD.DEF AFTER.DEF END_OBJECTS END_TOOL\r\n",
     kGood,
     "$DIR"
     "TOOLS.INI: Neukoncena poznamka, chybi }",
     "TOOLS.INI:2:1", 1},
};

class LibraryLoadError : public DriverFixture {};

TEST_F(LibraryLoadError, TheAnswerStaysAndTheUserIsToldWhereTheLoadStopped) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE ON\r\n");
        WriteFile(dir_.driver_dir() / "TOOLS.INI", c.tools);
        WriteFile(dir_.driver_dir() / "GOOD.DEF", kGood);
        WriteFile(dir_.driver_dir() / "BAD.DEF", c.bad);
        std::string after = kGood;
        after.replace(after.find("IDENT 1"), 7, "IDENT 3");
        WriteFile(dir_.driver_dir() / "AFTER.DEF", after);
        Load();

        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        EXPECT_EQ(init.error, 0);
        EXPECT_EQ(init.wparam1, c.objects);
        void* objects = init.pointer1;  // a packed field: copied, not bound
        ASSERT_NE(objects, nullptr);
        EXPECT_EQ(static_cast<dLM_OBJECT*>(objects)->ident, 1);
        std::string message = c.message;
        if (message.rfind("$DIR", 0) == 0) message.replace(0, 4, dir_.driver_dir_text());
        EXPECT_EQ(TheEntry().wide().message_buffer.view(), message);

        // This call's lines from the load on (the log is on from STARTUP.INI's
        // reading; the log file goes on over the cases).
        const std::vector<std::string> all = LogLines();
        const auto begin =
            std::find(all.rbegin(), all.rend(), "LM ENTRY: init objects - load tools");
        ASSERT_NE(begin, all.rend());
        const std::vector<std::string> log(begin.base() - 1, all.end());
        const auto error_line = std::find_if(log.begin(), log.end(), [](const std::string& line) {
            return line.rfind("LOAD_TOOLS ERROR: ", 0) == 0;
        });
        if (*c.place == '\0') {
            EXPECT_TRUE(fake_->boxes.empty());
            EXPECT_EQ(error_line, log.end());
            continue;
        }
        const std::string place = dir_.driver_dir_text() + c.place;
        ASSERT_EQ(fake_->boxes.size(), 1u);
        EXPECT_EQ(fake_->boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(fake_->boxes[0].text, message + "\r" + place);
        ASSERT_NE(error_line, log.end());
        EXPECT_EQ(*error_line, "LOAD_TOOLS ERROR: " + place + ": " + message);
        // The line comes between the load and the count the host is handed.
        EXPECT_NE(std::find(error_line, log.end(), "LM ENTRY: init objects - END OK"), log.end());
    }
}

}  // namespace
}  // namespace lm::test
