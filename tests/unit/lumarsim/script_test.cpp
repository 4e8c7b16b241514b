#include "tools/lumarsim/script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace lumarsim {
namespace {

// A driver that leaves the record as the script set it.
int LM_STDCALL Untouched(PARAM_ENTRY*) {
    return 1;
}

TEST(Script, BlocksOfTheScriptArePrintedWithinTheirBytes) {
    struct Case {
        const char* script;
        const char* transcript;  // when played
        const char* error;       // else
    } cases[] = {
        {"call 2 data1=hex:0102 -> data1:hex:2\n", "call 2 data1:hex:2=0102\n", ""},
        {"call 2 data1=hex:00 -> data1:hex:8\n", "", "line 1: cannot print data1:hex:8"},
        {"call 2 pointer2=hex:41 -> pointer2\n", "call 2 pointer2=\"A\"\n", ""},
        {"call 2 data2=hex:41420043 -> data2:text\n", "call 2 data2:text=\"AB\"\n", ""},
    };
    const DriverLibrary library(&Untouched);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::FILE* out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        std::string error;
        const bool played = RunScript(library, nullptr, c.script, out, error);
        std::rewind(out);
        std::string transcript;
        for (int ch = std::fgetc(out); ch != EOF; ch = std::fgetc(out)) {
            transcript += static_cast<char>(ch);
        }
        std::fclose(out);
        EXPECT_EQ(played, std::string(c.error).empty());
        EXPECT_EQ(error, c.error);
        if (played) {
            EXPECT_EQ(transcript, c.transcript);
        }
    }
}

}  // namespace
}  // namespace lumarsim
