// profiles.ini loaded into the profile table and saved from it.
#include "settings/profiles.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"

namespace lm::settings {
namespace {

constexpr const char kPath[] = "D/profiles.ini";

TEST(ProfileTable, StartsWithTheFactoryProfiles) {
    ProfileTable table;
    ASSERT_EQ(table.entries.size(), 501u);
    EXPECT_EQ(table.entries[0].Name, "profil000");
    EXPECT_EQ(table.entries[500].Name, "profil500");
    TComProfile factory;
    factory.Name = "profil007";
    EXPECT_EQ(table.entries[7], factory);
    EXPECT_EQ(factory.ComSpeed, 38400);
    EXPECT_EQ(factory.TimeOut, 10.0);
    EXPECT_EQ(factory.TCPIP, kDefaultIP);
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.position, -1);
}

TEST(LoadProfiles, MissingKeysAndSectionsGiveTheDefaults) {
    ProfileTable table;
    test::RecordingLog log;
    LoadProfiles(
        "[main]\r\ncount=2\r\nposition=1\r\n[profile000]\r\nName=Kotelna\r\nComPort=3\r\n"
        "ComSpeed=19200\r\nTimeOut=2,5\r\nAddress=7\r\nRetranslation=8\r\nRS485=1\r\nTCP=0\r\n"
        "TCPPort=502\r\nTCPIP=10.1.1.1\r\n",
        table, ',', log);
    EXPECT_EQ(table.count, 2);
    EXPECT_EQ(table.position, 1);
    const TComProfile kotelna{"Kotelna", 3, 19200, 2.5, 7, 8, true, false, "10.1.1.1", 502};
    EXPECT_EQ(table.entries[0], kotelna);
    TComProfile defaults;
    defaults.Name = "profile001";  // the section's name, not the factory "profil001"
    EXPECT_EQ(table.entries[1], defaults);
    EXPECT_EQ(table.entries[2].Name, "profil002");
    EXPECT_TRUE(log.lines.empty());
}

TEST(LoadProfiles, BadValuesAreRepairedAndLogged) {
    struct Case {
        const char* file;
        int count, position;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"", 0, -1, {}},
        {"[main]\r\ncount=-5\r\n", 0, -1, {"profiles.ini: [main] count=-5 read as 0"}},
        {"[main]\r\ncount=dva\r\nposition=0\r\n",
         0,
         -1,
         {"profiles.ini: [main] count=dva read as 0",
          "profiles.ini: [main] position=0 read as -1"}},
        {"[main]\r\ncount=100000\r\nposition=600\r\n",
         501,
         0,
         {"profiles.ini: [main] count=100000 read as 501",
          "profiles.ini: [main] position=600 read as 0"}},
        {"[main]\r\ncount=3\r\n", 3, 0, {"profiles.ini: [main] position=-1 read as 0"}},
        {"[main]\r\ncount=2\r\nposition=1\r\n[profile000]\r\nAddress=300\r\nTCPPort=-1\r\n"
         "TimeOut=x\r\n",
         2,
         1,
         {"profiles.ini: [profile000] TimeOut=x read as 10",
          "profiles.ini: [profile000] Address=300 read as 1",
          "profiles.ini: [profile000] TCPPort=-1 read as 1998"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ProfileTable table;
        test::RecordingLog log;
        LoadProfiles(c.file, table, '.', log);
        EXPECT_EQ(table.count, c.count);
        EXPECT_EQ(table.position, c.position);
        EXPECT_EQ(log.lines, c.log);
        EXPECT_EQ(table.entries[0].Address, 1);
        EXPECT_EQ(table.entries[0].TCPPort, 1998);
        EXPECT_EQ(table.entries[0].TimeOut, 10.0);
    }
}

TEST(LoadProfiles, LongTextsAreCutAndTheFirstOfARepeatedSectionCounts) {
    ProfileTable table;
    NoLog log;
    LoadProfiles("[main]\r\ncount=1\r\n[profile000]\r\nName=" + std::string(500, 'N') +
                     "\r\nTCPIP=192.168.100.100.5\r\n[profile000]\r\nName=Druhy\r\nComPort=4\r\n",
                 table, '.', log);
    EXPECT_EQ(table.entries[0].Name, std::string(50, 'N'));
    EXPECT_EQ(table.entries[0].TCPIP, "192.168.100.100");
    EXPECT_EQ(table.entries[0].ComPort, 1);
}

TEST(SaveProfiles, WritesAllTenKeysOfEveryProfileInUse) {
    test::MemoryFiles files;
    ProfileTable table;
    table.count = 2;
    table.position = 1;
    table.entries[0] = {
        "Čerpací stanice Žďár"_cp, 2, 19200, 2.5, 5, 6, true, false, "10.0.0.1", 80};
    table.entries[1].Name = "TCP";
    table.entries[1].TCP = true;
    ASSERT_TRUE(SaveProfiles(files, kPath, table, ','));
    EXPECT_EQ(files[kPath],
              "[main]\r\ncount=2\r\nposition=1\r\n"
              "[profile000]\r\nName=Čerpací stanice Žďár\r\nComPort=2\r\nComSpeed=19200\r\n"
              "TimeOut=2,5\r\nAddress=5\r\nRetranslation=6\r\nRS485=1\r\nTCP=0\r\nTCPPort=80\r\n"
              "TCPIP=10.0.0.1\r\n"
              "[profile001]\r\nName=TCP\r\nComPort=1\r\nComSpeed=38400\r\nTimeOut=10\r\n"
              "Address=1\r\nRetranslation=1\r\nRS485=0\r\nTCP=1\r\nTCPPort=1998\r\n"
              "TCPIP=192.168.1.10\r\n"_cp);
    ProfileTable back;
    NoLog log;
    LoadProfiles(files, kPath, back, ',', log);
    EXPECT_EQ(back.count, 2);
    EXPECT_EQ(back.position, 1);
    EXPECT_EQ(back.entries[0], table.entries[0]);
    EXPECT_EQ(back.entries[1], table.entries[1]);
}

TEST(SaveProfiles, KeepsWhatItDoesNotWrite) {
    test::MemoryFiles files;
    files.files[kPath] =
        "; profily\r\n[main]\r\ncount=3\r\nposition=2\r\nviewer=1\r\n\r\n[profile000]\r\n"
        "Name=A\r\n[profile001]\r\nName=B\r\n[profile002]\r\nName=C\r\n";
    ProfileTable table;
    NoLog log;
    LoadProfiles(files, kPath, table, '.', log);
    // The user deleted the first profile.
    table.entries.erase(table.entries.begin());
    table.count = 2;
    table.position = 0;
    ASSERT_TRUE(SaveProfiles(files, kPath, table, '.'));
    const std::string saved = files[kPath];
    EXPECT_EQ(saved.substr(0, 52),
              "; profily\r\n[main]\r\ncount=2\r\nposition=0\r\nviewer=1\r\n\r\n");
    EXPECT_NE(saved.find("[profile002]\r\nName=C\r\n"), std::string::npos);
    ProfileTable back;
    LoadProfiles(files, kPath, back, '.', log);
    EXPECT_EQ(back.entries[0].Name, "B");
    EXPECT_EQ(back.entries[1].Name, "C");
}

TEST(SaveProfiles, OneReadAndOneWriteForAFullTable) {
    test::MemoryFiles files;
    ProfileTable table;
    table.count = kProfileSlots;
    table.position = 500;
    ASSERT_TRUE(SaveProfiles(files, kPath, table, '.'));
    ASSERT_TRUE(SaveProfiles(files, kPath, table, '.'));
    EXPECT_EQ(files.writes, 2);
    EXPECT_EQ(files.reads, 1);
    ProfileTable back;
    NoLog log;
    LoadProfiles(files, kPath, back, '.', log);
    EXPECT_EQ(files.reads, 2);
    EXPECT_EQ(back.count, 501);
    EXPECT_EQ(back.entries[500].Name, "profil500");
}

TEST(SampleDriverDirectory, HoldsActiveSettingsAndFourProfiles) {
    const std::string dir = std::string(LM_SAMPLE_DRIVER_DIR) + "/";
    test::RecordingLog log;
    EXPECT_EQ(ParseComSettings(test::ReadFile(dir + kSetComFileName), kMaxIpText, log),
              (TComSettings{1, 38400, 1, 1, false, 1.5, false, kDefaultIP, 1998}));
    ProfileTable table;
    LoadProfiles(test::ReadFile(dir + kProfilesFileName), table, '.', log);
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
    ASSERT_EQ(table.count, 4);
    EXPECT_EQ(table.entries[1], (TComProfile{"Výměníková stanice - RS485"_cp, 2, 19200, 2.5, 5, 1,
                                             true, false, kDefaultIP, 1998}));
    EXPECT_EQ(table.entries[2].Name, "Čerpací stanice Žďár - TCP"_cp);
    EXPECT_TRUE(table.entries[2].TCP);
    EXPECT_EQ(table.entries[3].Retranslation, 5);
}

}  // namespace
}  // namespace lm::settings
