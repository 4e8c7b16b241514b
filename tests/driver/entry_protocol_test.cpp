// The host's view of the entry: results, record fields, error codes and texts.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/driver_fixture.h"
#include "tests/support/entry_cases.h"

namespace lm::test {
namespace {

using EntryProtocol = DriverFixture;

TEST_F(EntryProtocol, UnknownCodesAnswerError14AndFalseWithTheirLogLine) {
    Load();
    EnableLog();
    for (std::uint16_t code : UnknownCodes()) {
        PARAM_ENTRY record = Record(code);
        record.wparam1 = 7;
        record.dlm_func = 9;
        EXPECT_EQ(Call(record), 0) << code;
        EXPECT_EQ(record.error, 14) << code;
        EXPECT_EQ(record.wparam1, 7) << code;
        EXPECT_EQ(record.dlm_func, 0) << code;
        EXPECT_EQ(MemoLines().back(), "") << code;  // the closing dump ends with an empty line
    }
    auto log = LogLines();
    for (std::uint16_t code : UnknownCodes()) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "Neznama funkce: %3u", code);
        EXPECT_NE(std::find(log.begin(), log.end(), expected), log.end()) << expected;
    }
}

TEST_F(EntryProtocol, ErrTextGivesTheExactTextWithItsZeroByteBeforeAndAfterLoad) {
    for (bool loaded : {false, true}) {
        if (loaded) Load();
        for (const auto& c : ErrTextCases()) {
            PARAM_ENTRY record = Record(kErrText);
            record.wparam1 = c.code;
            record.error = 1234;
            ASSERT_EQ(Call(record), 1) << c.code;
            const char* text = record.string1;  // a packed field: read it by value
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(std::string_view(text, c.text.size() + 1), std::string(c.text) + '\0')
                << c.code;
            EXPECT_EQ(record.error, 1234) << "errtext leaves error alone";
            EXPECT_EQ(record.wparam1, c.code) << "errtext leaves wparam1 alone";
        }
    }
}

TEST_F(EntryProtocol, ErrTextIsLoggedWithoutItsZeroByte) {
    Load();
    EnableLog();
    PARAM_ENTRY record = Record(kErrText);
    record.wparam1 = 15;
    Call(record);
    auto log = LogLines();
    std::string expected =
        "LM ENTRY: errtext=" + std::string("Chyba - Maximální počet hradel je 500."_cp);
    EXPECT_NE(std::find(log.begin(), log.end(), expected), log.end());
}

TEST_F(EntryProtocol, IdentifyAcceptsVersion3And34AndRefusesOlderHostsButStillAnswers) {
    struct Row {
        std::uint16_t w1, w2;
        std::uint32_t l1;
        std::uint16_t accepted;
    };
    const Row rows[] = {{3, 0, 34, 1}, {3, 0, 33, 0}, {2, 0, 34, 0}, {4, 9, 100, 1}, {0, 0, 0, 0}};
    for (const Row& row : rows) {
        PARAM_ENTRY record = Record(kIdentify);
        record.wparam1 = row.w1;
        record.wparam2 = row.w2;
        record.lparam1 = row.l1;
        record.error = 77;
        ASSERT_EQ(Call(record), 1);
        EXPECT_EQ(record.wparam1, row.accepted) << row.w1 << "/" << row.l1;
        EXPECT_EQ(record.error, 0);
        EXPECT_STREQ(record.string1, "Vortel Kadex-RX7, komunikace COM/TCP");
        EXPECT_STREQ(record.string2, "VORTEL KADEX-RX7");
        EXPECT_EQ(std::string_view(static_cast<const char*>(record.data1)), kIdentifyText);
    }
}

TEST_F(EntryProtocol, IdentifyLogsAcceptanceOrRefusal) {
    Load();
    EnableLog();
    PARAM_ENTRY accepted = Record(kIdentify);
    accepted.wparam1 = 3;
    accepted.lparam1 = 34;
    Call(accepted);
    PARAM_ENTRY refused = Record(kIdentify);
    refused.wparam1 = 3;
    refused.lparam1 = 33;
    Call(refused);
    auto log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "LM ENTRY: identify"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "LM ENTRY: identify failed / LM-version !!!"),
              log.end());
}

TEST_F(EntryProtocol, LoadAndUnloadAnswerAsTheHostExpects) {
    PARAM_ENTRY load = Record(kLoadDriver);
    load.lparam1 = 5;
    load.error = 3;
    ASSERT_EQ(Call(load), 1);
    EXPECT_EQ(load.lparam1, 0u);
    EXPECT_EQ(load.wparam1, 1);
    EXPECT_EQ(load.error, 0);
    EXPECT_EQ(fake_->windows_created, 1);

    PARAM_ENTRY unload = Record(kUnloadDriver);
    unload.error = 1234;  // unload does not write error
    ASSERT_EQ(Call(unload), 1);
    EXPECT_EQ(unload.error, 1234);
    EXPECT_EQ(fake_->windows_destroyed, 1);
    EXPECT_EQ(TheEntry().driver(), nullptr);
}

TEST_F(EntryProtocol, ASecondLoadKeepsTheOneWindow) {
    Load();
    ASSERT_EQ(Call(kLoadDriver), 1);
    EXPECT_EQ(fake_->windows_created, 1);
}

TEST_F(EntryProtocol, CallsWithoutTheWindowAreRefusedAndTouchNothing) {
    auto check_refused = [&](const char* when) {
        for (std::uint16_t code : {3, 4, 6, 9, 13, 19, 20, 23, 56}) {
            PARAM_ENTRY record = Record(code);
            record.wparam1 = 5;
            record.lparam1 = 6;
            record.dlm_func = 20;
            EXPECT_EQ(Call(record), 0) << when << " " << code;
            EXPECT_EQ(record.error, 14) << when << " " << code;
            EXPECT_EQ(record.wparam1, 5);
            EXPECT_EQ(record.lparam1, 6u);
            EXPECT_EQ(record.dlm_func, 0);
            EXPECT_TRUE(record.string1 == nullptr);
        }
        EXPECT_EQ(fake_->live_form, nullptr) << when;
    };
    check_refused("before load");
    Load();
    ASSERT_EQ(Call(kUnloadDriver), 1);
    check_refused("after unload");
    EXPECT_EQ(fake_->windows_created, 1);
}

TEST_F(EntryProtocol, DlmFuncIsClearedByEveryCall) {
    Load();
    for (std::uint16_t code : {1, 2, 5, 0, 26, 3}) {
        PARAM_ENTRY record = Record(code);
        record.wparam1 = 3;
        record.lparam1 = 34;
        record.dlm_func = 8;
        Call(record);
        EXPECT_EQ(record.dlm_func, 0) << code;
    }
}

TEST_F(EntryProtocol, NullRecordIsRefusedWithoutACrash) {
    EXPECT_EQ(LumarDriver_Entry(nullptr), 0);
    Load();
    EXPECT_EQ(LumarDriver_Entry(nullptr), 0);
}

TEST_F(EntryProtocol, InEntryIsClearBetweenCalls) {
    Load();
    EXPECT_FALSE(TheEntry().wide().in_entry);
    Call(kErrText);
    EXPECT_FALSE(TheEntry().wide().in_entry);
}

}  // namespace
}  // namespace lm::test
