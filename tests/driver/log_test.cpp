// The log file and its memo mirror: the frame lines and the parameter dumps.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1250.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

using DriverLog = DriverFixture;

std::vector<std::string> DumpOf(const PARAM_ENTRY& r, const std::string& hex_data1,
                                const std::string& hex_string1, const std::string& text1) {
    auto five = [](unsigned v) {
        char b[16];
        std::snprintf(b, sizeof b, "%5u", v);
        return std::string(b);
    };
    const std::string in = "              ";
    std::vector<std::string> lines = {
        std::string(41, '-'),
        "PARAM ENTRY:  level   =" + five(r.level),
        in + "lmd_func=" + five(r.lmd_func),
        in + "dlm_func=" + five(r.dlm_func),
        in + "error   =" + five(r.error),
        in + "wparam1 =" + five(r.wparam1),
        in + "wparam2 =" + five(r.wparam2),
        in + "lparam1 =0012:ABCD",
        in + "lparam2 =0000:0000",
        in + "data1   =" + hex_data1,
        in + "data1   <> nil",
        in + "data2   =0000:0000",
        in + "string1 =" + hex_string1,
        in + "string1 =" + text1,
        in + "string2 =0000:0000",
        in + "pointer1=0000:0000",
        in + "pointer2=0000:0000",
        "",
    };
    return lines;
}

std::string Hex(const void* p) {
    auto v = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
    char b[16];
    std::snprintf(b, sizeof b, "%04X:%04X", v >> 16, v & 0xFFFF);
    return b;
}

TEST_F(DriverLog, AnUnknownCallWritesTheFrameAndBothDumpsToFileAndMemo) {
    Load();
    EnableLog();
    const std::size_t memo_before = MemoLines().size();
    char text[] = "ahoj";
    int data = 0;
    PARAM_ENTRY record = Record(31);
    record.level = 2;
    record.wparam1 = 65535;
    record.lparam1 = 0x12ABCD;
    record.data1 = &data;
    record.string1 = text;
    record.dlm_func = 4;
    PARAM_ENTRY before = record;
    Call(record);

    std::vector<std::string> expected = {"LumarDriver_Entry - START"};
    for (auto& l : DumpOf(before, Hex(&data), Hex(text), "ahoj")) expected.push_back(l);
    expected.push_back("Neznama funkce:  31");
    expected.push_back("ENTRY OUTPUT = FALSE !");
    PARAM_ENTRY after = before;
    after.dlm_func = 0;
    after.error = 14;
    for (auto& l : DumpOf(after, Hex(&data), Hex(text), "ahoj")) expected.push_back(l);

    EXPECT_EQ(LogLines(), expected);
    std::vector<std::string> memo(MemoLines().begin() + memo_before, MemoLines().end());
    EXPECT_EQ(memo, expected);
}

TEST_F(DriverLog, NothingIsWrittenWhileLoggingIsOffButTheCreationLinesReachTheMemo) {
    Load();
    Call(kErrText);
    Call(40);
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
    ASSERT_EQ(MemoLines().size(), 2u);
    EXPECT_EQ(MemoLines()[0], "Vortel Kadex-RX7, komunikace COM/TCP");
    EXPECT_EQ(MemoLines()[1], "Adresář="_cp + dir_.driver_dir_text());
}

TEST_F(DriverLog, SwitchingLoggingOffStopsBothSinks) {
    Load();
    EnableLog();
    Call(kErrText);
    window()["CheckLog"].checked = false;
    window().Fire("CheckLog", ui::Event::Click);
    auto file_before = LogLines().size();
    auto memo_before = MemoLines().size();
    Call(kErrText);
    EXPECT_EQ(LogLines().size(), file_before);
    EXPECT_EQ(MemoLines().size(), memo_before);
}

TEST_F(DriverLog, MessagesAreWrittenWholeUpTo255CharactersAndCutBeyond) {
    Load();
    EnableLog();
    Log& log = TheEntry().wide().log;
    const std::string exact(255, 'x');
    log.Write(exact);
    log.Write(std::string(254, 'y') + "ZZZ");
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], exact);
    EXPECT_EQ(lines[1], std::string(254, 'y') + "Z");
    EXPECT_EQ(MemoLines()[MemoLines().size() - 2], exact);
}

TEST_F(DriverLog, HostTextsWithoutZeroByteAreReadFor255CharactersOnly) {
    Load();
    EnableLog();
    // Exactly 255 bytes with no zero byte: reading one more would leave the buffer.
    std::vector<char> unterminated(255, 'q');
    PARAM_ENTRY record = Record(kErrText);
    record.string2 = unterminated.data();
    Call(record);
    auto log = LogLines();
    const std::string line = "              string2 =" + std::string(255, 'q');
    EXPECT_NE(std::find(log.begin(), log.end(), line.substr(0, 255)), log.end());
}

TEST_F(DriverLog, AFileThatCannotBeWrittenStillFeedsTheMemo) {
    Load();
    EnableLog();
    std::filesystem::create_directory(LogFile());  // a folder where the file should be
    Call(kErrText);
    EXPECT_GT(MemoLines().size(), 30u);
}

}  // namespace
}  // namespace lm::test
