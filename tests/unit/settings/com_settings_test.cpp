// SETCOM.INI read and written, the driver window's text of it, and IP texts.
#include "settings/com_settings.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_log.h"

namespace lm::settings {
namespace {

TComSettings Settings(std::int32_t port, std::int32_t speed, std::int32_t address,
                      std::int32_t retranslation, bool rs485, double timeout, bool tcp,
                      std::string ip, std::uint16_t tcp_port) {
    return {port, speed, address, retranslation, rs485, timeout, tcp, std::move(ip), tcp_port};
}

TEST(ComSettingsFile, ReadsEachLineFromItsStart) {
    struct Case {
        const char* what;
        std::string text;
        TComSettings expected;
        std::vector<std::string> log;
    };
    const std::string long_line(10000, '7');
    const Case cases[] = {
        {"nine lines",
         "2\r\n19200\r\n5\r\n7\r\n1\r\n2.5\r\n0\r\n10.0.0.7\r\n502\r\n",
         Settings(2, 19200, 5, 7, true, 2.5, false, "10.0.0.7", 502),
         {}},
        {"an older file of six lines",
         "3\r\n4800\r\n1\r\n1\r\n0\r\n1.0\r\n",
         Settings(3, 4800, 1, 1, false, 1.0, false, kDefaultIP, 1998),
         {}},
        {"the rest of a line skipped; on only when exactly 1",
         " 4 COM\r\n9600Bd\r\n\t12 x\r\n1\r\n2\r\n 3.25 s\r\n01\r\n1.2.3.4 \r\n80 tcp\r\n",
         Settings(4, 9600, 12, 1, false, 3.25, true, "1.2.3.4 ", 80),
         {"SETCOM.INI: line 5 (RS485) 2 is neither 0 nor 1, used 0 (off)"}},
        {"a time-out that is no number",
         "1\r\n9600\r\n1\r\n1\r\n0\r\nrychle\r\n",
         Settings(1, 9600, 1, 1, false, 1.5, false, kDefaultIP, 1998),
         {"SETCOM.INI: line 6 is not a number, default 1.5"}},
        {"other lines that are no numbers",
         "COM1\r\n\r\n5\r\n99999999999\r\nano\r\n2\r\nx\r\n1.1.1.1\r\nport\r\n",
         Settings(1, 9600, 5, 1, false, 2.0, false, "1.1.1.1", 1998),
         {"SETCOM.INI: line 1 is not a number, default 1",
          "SETCOM.INI: line 2 is not a number, default 9600",
          "SETCOM.INI: line 4 is not a number, default 1",
          "SETCOM.INI: line 5 is not a number, default 0",
          "SETCOM.INI: line 7 is not a number, default 0",
          "SETCOM.INI: line 9 is not a number, default 1998"}},
        {"an empty file",
         "",
         TComSettings{},
         {"SETCOM.INI: line 1 is missing, default 1", "SETCOM.INI: line 2 is missing, default 9600",
          "SETCOM.INI: line 3 is missing, default 1", "SETCOM.INI: line 4 is missing, default 1",
          "SETCOM.INI: line 5 is missing, default 0",
          "SETCOM.INI: line 6 is missing, default 1.5"}},
        {"seven lines",
         "1\n9600\n1\n1\n0\n1.5\n1\n",
         Settings(1, 9600, 1, 1, false, 1.5, true, kDefaultIP, 1998),
         {std::string("SETCOM.INI: line 8 is missing, default ") + kDefaultIP,
          "SETCOM.INI: line 9 is missing, default 1998"}},
        {"lines of 10,000 characters and binary bytes",
         long_line + "\r\n\x01\x02\xff\r\n1\r\n1\r\n0\r\n1.5\r\n1\r\n" + std::string(300, '9') +
             "\r\n70000\r\n",
         Settings(1, 9600, 1, 1, false, 1.5, true, std::string(255, '9'), 1998),
         {"SETCOM.INI: line 1 is not a number, default 1",
          "SETCOM.INI: line 2 is not a number, default 9600",
          "SETCOM.INI: line 8 (TCPIP) " + std::string(40, '9') +
              "... is longer than 255 characters, used its first 255",
          // A port beyond 16 bits gives the default, not its low bits (4464).
          "SETCOM.INI: line 9 (TCPPort) 70000 is not 0 to 65535, used 1998"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RecordingLog log;
        EXPECT_EQ(ParseComSettings(c.text, kMaxIpText, log), c.expected);
        EXPECT_EQ(log.lines, c.log);
    }
}

TEST(ComSettingsFile, ATimeOutOrPortTheLineCannotUseIsRepairedAndLogged) {
    struct Case {
        const char* time_out;  // line 6
        const char* port;      // line 9
        double used_time_out;
        std::uint16_t used_port;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"2.5", "502", 2.5, 502, {}},
        {"1,5",
         "1998",
         1.5,
         1998,
         {"SETCOM.INI: line 6 (TimeOut) 1,5 has a decimal comma, used 1.5"}},
        {" 2,4 s",
         "65535",
         2.4,
         65535,
         {"SETCOM.INI: line 6 (TimeOut) 2,4 has a decimal comma, used 2.4"}},
        {"-1", "0", 1.5, 0, {"SETCOM.INI: line 6 (TimeOut) -1 is below 0.05, used 1.5"}},
        // Written as 0.0: no wait at all.
        {"0.04", "1998", 1.5, 1998, {"SETCOM.INI: line 6 (TimeOut) 0.04 is below 0.05, used 1.5"}},
        {"0",
         "-1",
         1.5,
         1998,
         {"SETCOM.INI: line 6 (TimeOut) 0 is below 0.05, used 1.5",
          "SETCOM.INI: line 9 (TCPPort) -1 is not 0 to 65535, used 1998"}},
        {"1e300",
         "65536",
         3600,
         1998,
         {"SETCOM.INI: line 6 (TimeOut) 1e300 is above an hour, used 3600.0",
          "SETCOM.INI: line 9 (TCPPort) 65536 is not 0 to 65535, used 1998"}},
        {"99999999999",
         "70000",
         3600,
         1998,
         {"SETCOM.INI: line 6 (TimeOut) 99999999999 is above an hour, used 3600.0",
          "SETCOM.INI: line 9 (TCPPort) 70000 is not 0 to 65535, used 1998"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time_out);
        test::RecordingLog log;
        const TComSettings s =
            ParseComSettings(std::string("1\r\n9600\r\n1\r\n1\r\n0\r\n") + c.time_out +
                                 "\r\n1\r\n1.2.3.4\r\n" + c.port + "\r\n",
                             kMaxIpText, log);
        EXPECT_EQ(s.TimeOut, c.used_time_out);
        EXPECT_EQ(s.TCPPort, c.used_port);
        EXPECT_EQ(log.lines, c.log);
    }
}

TEST(ComSettingsFile, AMissingFileBeepsShowsTheBoxAndGivesTheDefaults) {
    test::MemoryFiles files;
    test::FakePlatform platform;
    NoLog log;
    TComSettings settings = Settings(4, 1200, 9, 9, true, 9, true, "x", 1);
    EXPECT_FALSE(ReadComSettings(files, platform, "D/", settings, kMaxIpText, log));
    EXPECT_EQ(settings, TComSettings{});
    EXPECT_EQ(settings.ComSpeed, 9600);
    EXPECT_EQ(platform.beeps, 1);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(platform.boxes[0].text, "Nenalezen soubor SETCOM.INI");

    files.files["D/SETCOM.INI"] = "2\r\n";
    EXPECT_TRUE(ReadComSettings(files, platform, "D/", settings, kMaxIpText, log));
    EXPECT_EQ(settings.ComPort, 2);
    EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST(ComSettingsFile, WrittenWholeInNineCrLfLines) {
    test::MemoryFiles files;
    files.files["D/SETCOM.INI"] = "old\r\n";
    ASSERT_TRUE(WriteComSettings(files, "D/", Settings(2, 19200, 5, 7, true, 10, false, "", 80)));
    EXPECT_EQ(files["D/SETCOM.INI"], "2\r\n19200\r\n5\r\n7\r\n1\r\n10.0\r\n0\r\n\r\n80\r\n");
    EXPECT_FALSE(files.Exists("D/SETCOM.INI.tmp"));
    const TComSettings tcp = Settings(1, 9600, 255, 1, false, 0.05, true, "192.168.1.2", 65535);
    ASSERT_TRUE(WriteComSettings(files, "D/", tcp));
    EXPECT_EQ(files["D/SETCOM.INI"],
              "1\r\n9600\r\n255\r\n1\r\n0\r\n0.1\r\n1\r\n192.168.1.2\r\n65535\r\n");
    NoLog log;
    TComSettings back = ParseComSettings(files["D/SETCOM.INI"], kMaxIpText, log);
    EXPECT_EQ(back.TimeOut, 0.1);
    back.TimeOut = tcp.TimeOut;
    EXPECT_EQ(back, tcp);

    // A file that cannot be replaced keeps what it held.
    const std::string before = files["D/SETCOM.INI"];
    files.read_only.insert("D/SETCOM.INI");
    EXPECT_FALSE(WriteComSettings(files, "D/", TComSettings{}));
    EXPECT_EQ(files["D/SETCOM.INI"], before);
    EXPECT_FALSE(files.Exists("D/SETCOM.INI.tmp"));
}

TEST(ComSettingsText, NamesTheLineKindAndItsValues) {
    EXPECT_EQ(ComSetText(Settings(2, 19200, 5, 7, true, 2.5, false, "1.2.3.4", 80), '.'),
              "RS485, COM2, 19200Bd, adr=5, tout=2.5s");
    EXPECT_EQ(ComSetText(Settings(1, 9600, 1, 1, false, 10, false, "", 80), ','),
              "RS232, COM1, 9600Bd, adr=1, tout=10,0s");
    // TCP wins over RS485.
    EXPECT_EQ(ComSetText(Settings(1, 9600, 3, 1, true, 1.5, true, "10.0.0.9", 1998), '.'),
              "TCP 10.0.0.9:1998, adr=3, tout=1.5s");
}

TEST(IpAddress, FourPartsOf0To255) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"192.168.1.10", true}, {"0.0.0.0", true},   {"255.255.255.255", true},
        {"001.2.3.4", true},    {"1.2.3", false},    {"1.2.3.256", false},
        {"1.2.3.4.5", false},   {"1..3.4", false},   {"1.2.3.", false},
        {".1.2.3", false},      {"", false},         {" 1.2.3.4", false},
        {"1.2.3.4 ", false},    {"1.2.3.-4", false}, {"1.2.3.99999999999999", false},
        {"a.b.c.d", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidIP(c.text), c.valid) << c.text;
}

}  // namespace
}  // namespace lm::settings
