// Our profile-file reader and writer: the shared table of cases, and what only
// ours promises (every other byte of the file kept, CP1250 names as they are).
#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "tests/unit/settings/profile_cases.h"

namespace lm::settings {
namespace {

TEST(ProfileFile, AgreesWithTheTableOfCases) {
    for (const test::ProfileCase& c : test::ProfileCases()) {
        SCOPED_TRACE(c.what);
        ProfileFile file(c.file != nullptr ? c.file : "");
        for (const test::ProfileWrite& w : c.writes) file.Write(w.section, w.key, w.value);
        // What was written reads back the same from the text as from memory.
        const ProfileFile reread(file.Text());
        for (const test::ProfileRead& r : c.reads) {
            SCOPED_TRACE(std::string(r.section) + "/" + r.key);
            for (const ProfileFile* f : {static_cast<const ProfileFile*>(&file), &reread}) {
                std::optional<std::string> value = f->Read(r.section, r.key);
                if (r.value == nullptr) {
                    EXPECT_FALSE(value.has_value());
                } else {
                    ASSERT_TRUE(value.has_value());
                    EXPECT_EQ(*value, r.value);
                }
            }
        }
    }
}

TEST(ProfileFile, WritingChangesOnlyTheLinesWritten) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        // The same value: nothing changes, not even the blanks.
        {"; settings\r\n[main]\r\n count = 3 \r\n\r\n", "main", "count", "3",
         "; settings\r\n[main]\r\n count = 3 \r\n\r\n"},
        // A new value: the key's line only, with the file's own name and line end.
        {"[Main]\n Count = 3\n\n[x]\n", "main", "count", "4", "[Main]\nCount=4\n\n[x]\n"},
        // A new key goes after the section's last line that is not blank.
        {"[main]\r\ncount=3\r\n\r\n[x]\r\ny=1", "main", "position", "0",
         "[main]\r\ncount=3\r\nposition=0\r\n\r\n[x]\r\ny=1"},
        // A new section at the end, after a line end given to the last line.
        {"[x]\r\ny=1", "main", "count", "1", "[x]\r\ny=1\r\n[main]\r\ncount=1\r\n"},
        // A file of CR line ends gets CR line ends.
        {"[x]\ry=1\r", "x", "z", "2", "[x]\ry=1\rz=2\r"},
        // The lines after the last LF of a file end at CR: they get an LF
        // before a line is added after them, else they would join it.
        {"[x]\r\ny=1\r", "main", "count", "1", "[x]\r\ny=1\r\n[main]\r\ncount=1\r\n"},
        {"[x]\r\ny=1\rz=2", "x", "w", "3", "[x]\r\ny=1\r\nz=2\r\nw=3\r\n"},
        // Line breaks in a value would break the file: they become spaces.
        {"", "s", "k", "a\r\nb", "[s]\r\nk=a  b\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ProfileFile file(c.before);
        file.Write(c.section, c.key, c.value);
        EXPECT_EQ(file.Text(), c.after);
    }
}

TEST(ProfileFile, CzechNamesRoundTripAsTheirCp1250Bytes) {
    const std::string name = "Čerpací stanice Žďár"_cp;
    ProfileFile file;
    file.Write("profile000", "Name", name);
    file.Write("Čerpadla"_cp, "Žďár"_cp, "1");
    EXPECT_EQ(file.Text(), "[profile000]\r\nName="_cp + name + "\r\n[Čerpadla]\r\nŽďár=1\r\n"_cp);
    const ProfileFile reread(file.Text());
    EXPECT_EQ(reread.Read("profile000", "Name"), name);
    // Czech capitals match their small letters, as on a Central European Windows.
    EXPECT_EQ(reread.Read("ČERPADLA"_cp, "žĎÁR"_cp), "1");
    EXPECT_EQ(FoldCase("ŠŤŽŹĽŁĄŞŻŔÁÉĚÍÓÚŮÝ×ß"_cp), "šťžźľłąşżŕáéěíóúůý×ß"_cp);
}

}  // namespace
}  // namespace lm::settings
