// The conversion services called as the host calls them: the shared table of
// cases, and the pointers the host hands back to the driver.
#include "values/item_services.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/unit/values/conversion_cases.h"
#include "tests/unit/values/conversion_test_support.h"

namespace lm::test {
namespace {

// Calls the service of the case with the item the lookup finds.
bool Serve(const ConversionCase& c, PARAM_ENTRY& record, ConversionTestItem* library_item,
           ConversionBuffers& buffers, LogSink& log) {
    const bool object = record.wparam1 == kObject;
    switch (c.function) {
        case kAkceItem:
            return AkceItem(record, object && record.wparam2 == kItem ? library_item : nullptr,
                            buffers, log);
        case kBinToStr:
            return BINTOSTR(record, buffers, log);
        case kStrToBin:
            return STRTOBIN(record, buffers, log);
        case kLongCheck:
            return LongCheck(record, object && record.wparam2 == kItem ? library_item : nullptr);
        case kUserLongConversion:
            return UserLongConversion(
                record, object && (record.lparam2 & 0xFFFF) == kItem ? library_item : nullptr,
                buffers, log);
        default:
            ADD_FAILURE() << "no service for function " << c.function;
            return false;
    }
}

void RunCase(const ConversionCase& c, ConversionBuffers& buffers) {
    SCOPED_TRACE(std::string(c.title));
    std::unique_ptr<ConversionTestItem> item;
    if (c.item) item = std::make_unique<ConversionTestItem>(*c.item);
    ConversionLog log;
    HostCall call(c);
    PARAM_ENTRY& record = call.record;

    const bool result = Serve(c, record, item.get(), buffers, log);
    ExpectHostSees(c, record, result ? 1 : 0);
    if (c.value_text) {
        ASSERT_TRUE(item);
        EXPECT_EQ(item->value(), *c.value_text);
    }
    EXPECT_EQ(log.MissingFrom(c.log), "");
}

TEST(ConversionServices, EveryCaseWithFreshBuffers) {
    for (const ConversionCase& c : ConversionCases()) {
        ConversionBuffers buffers;
        RunCase(c, buffers);
    }
}

// The driver has one pair of buffers: no call may depend on what the one
// before left in them.
TEST(ConversionServices, EveryCaseWithSharedBuffersInBothOrders) {
    ConversionBuffers buffers;
    const auto& cases = ConversionCases();
    for (const ConversionCase& c : cases) RunCase(c, buffers);
    for (auto it = cases.rbegin(); it != cases.rend(); ++it) RunCase(*it, buffers);
}

TEST(ConversionServices, LoggingOffWritesNothingAndGivesTheSameResults) {
    for (const ConversionCase& c : ConversionCases()) {
        SCOPED_TRACE(std::string(c.title));
        ConversionBuffers buffers;
        std::unique_ptr<ConversionTestItem> item;
        if (c.item) item = std::make_unique<ConversionTestItem>(*c.item);
        NoLog log;
        HostCall call(c);
        EXPECT_EQ(Serve(c, call.record, item.get(), buffers, log), c.result);
        if (c.out_string2) {
            EXPECT_EQ(std::string(call.record.string2), *c.out_string2);
        }
    }
}

// The host may hand back what the driver handed out: a text or binary value
// that lives in the driver's own buffers.
TEST(ConversionServices, PointersIntoTheDriversBuffersComeBack) {
    ConversionBuffers buffers;
    NoLog log;

    PARAM_ENTRY to_text{};
    std::uint8_t value[2] = {0x39, 0x30};
    char format[] = "######";
    to_text.wparam1 = 3;
    to_text.data1 = value;
    to_text.string1 = format;
    BINTOSTR(to_text, buffers, log);
    ASSERT_EQ(std::string(to_text.string2), " 12345");

    PARAM_ENTRY to_bin{};
    to_bin.wparam1 = 3;
    to_bin.string1 = to_text.string2;  // the driver's text as the value
    to_bin.string2 = to_text.string2;  // and as the format (six characters)
    ASSERT_TRUE(STRTOBIN(to_bin, buffers, log));
    const auto* stored = static_cast<const std::uint8_t*>(to_bin.data1);
    EXPECT_EQ(Bytes(stored, stored + 2), (Bytes{0x39, 0x30}));

    PARAM_ENTRY again{};
    again.wparam1 = 2;  // the same bytes as an INT, read from the driver's buffer
    again.data1 = to_bin.data1;
    again.string1 = format;
    BINTOSTR(again, buffers, log);
    EXPECT_EQ(std::string(again.string2), " 12345");

    ConversionTestItem item(
        ItemFacts{.typ = kTypUser, .subtyp = kSubtypString, .delka = 5, .format = "?????"});
    char text[] = "ABCDE";
    PARAM_ENTRY item_to_bin{};
    item_to_bin.lparam1 = kRequestConvToBin;
    item_to_bin.string1 = text;
    AkceItem(item_to_bin, &item, buffers, log);
    ASSERT_EQ(item_to_bin.lparam2, kRequestConvToBin);

    PARAM_ENTRY item_to_text{};
    item_to_text.lparam1 = kRequestBinData | kRequestConvToStr;
    item_to_text.pointer1 = item_to_bin.pointer2;
    item_to_text.string2 = again.string2;  // the driver's text " 12345" as the format: no '?'
    AkceItem(item_to_text, &item, buffers, log);
    EXPECT_EQ(item_to_text.lparam2, kRequestBinData);  // a STRING needs a '?' picture
    item_to_text.string2 = nullptr;
    AkceItem(item_to_text, &item, buffers, log);
    EXPECT_EQ(item_to_text.lparam2, kRequestBinData | kRequestConvToStr);
    EXPECT_EQ(std::string(item_to_text.string2), "ABCDE");
    EXPECT_EQ(item.value(), "ABCDE");
}

// An item shorter than its conversion reads the missing bytes as 0, never as
// what an earlier call left in the buffer.
TEST(ConversionServices, ShortItemLengthsReadNoStaleBytes) {
    ConversionBuffers buffers;
    NoLog log;
    ConversionTestItem wide(
        ItemFacts{.typ = kTypUser, .subtyp = kSubtypString, .delka = 5, .format = "?????"});
    char filler[] = "VWXYZ";
    PARAM_ENTRY fill{};
    fill.lparam1 = kRequestConvToBin;
    fill.string1 = filler;
    AkceItem(fill, &wide, buffers, log);
    ASSERT_EQ(fill.lparam2, kRequestConvToBin);

    ConversionTestItem narrow(
        ItemFacts{.typ = kTypUser, .subtyp = kSubtypString, .delka = 3, .format = "?????"});
    std::uint8_t abc[3] = {'A', 'B', 'C'};
    PARAM_ENTRY to_text{};
    to_text.lparam1 = kRequestBinData | kRequestConvToStr;
    to_text.pointer1 = abc;
    AkceItem(to_text, &narrow, buffers, log);
    EXPECT_EQ(std::string(to_text.string2), "ABC  ");

    AkceItem(fill, &wide, buffers, log);
    ConversionTestItem one_byte(
        ItemFacts{.typ = kTypUser, .subtyp = kSubtypWordHex, .delka = 1, .format = ""});
    std::uint8_t low = 0x12;
    PARAM_ENTRY to_long{};
    to_long.lparam1 = 4;
    to_long.data1 = &low;
    UserLongConversion(to_long, &one_byte, buffers, log);
    ASSERT_EQ(to_long.wparam1, 1);
    const auto* result = static_cast<const std::uint8_t*>(to_long.data2);
    EXPECT_EQ(Bytes(result, result + 4), (Bytes{0x12, 0, 0, 0}));
}

// Texts handed to the host end with a zero byte inside the 255-character
// buffer; the value text keeps at most 80 characters and no zero byte.
TEST(ConversionServices, LongTextsAreBoundedWhereTheyAreKept) {
    ConversionBuffers buffers;
    NoLog log;
    ConversionTestItem item(
        ItemFacts{.typ = kTypUser, .subtyp = kSubtypString, .delka = 300, .format = "?"});
    const std::string picture(255, '?');
    std::string value(300, 'x');
    PARAM_ENTRY record{};
    record.lparam1 = kRequestBinData | kRequestConvToStr;
    record.pointer1 = value.data();
    record.string2 = const_cast<char*>(picture.c_str());
    AkceItem(record, &item, buffers, log);
    ASSERT_EQ(record.lparam2, kRequestBinData | kRequestConvToStr);
    EXPECT_EQ(std::string(record.string2), std::string(254, 'x'));
    EXPECT_EQ(item.value(), std::string(80, 'x'));
}

// A definition may give any 16-bit length: the whole value is taken in and
// logged no further than a log line holds.
TEST(ConversionServices, TheLargestItemLengthFitsTheBinaryBuffer) {
    ConversionBuffers buffers;
    ConversionLog log;
    ConversionTestItem item(ItemFacts{.typ = kTypWord, .delka = 65535, .format = "#####"});
    std::vector<std::uint8_t> value(65535, 0xAB);
    value[0] = 0x39;
    value[1] = 0x30;
    PARAM_ENTRY record{};
    record.lparam1 = kRequestBinData | kRequestConvToStr;
    record.pointer1 = value.data();
    AkceItem(record, &item, buffers, log);
    EXPECT_EQ(std::string(record.string2), "12345");
    EXPECT_EQ(std::memcmp(buffers.binary_data(), value.data(), value.size()), 0);
    for (const std::string& line : log.lines) EXPECT_LE(line.size(), 255u);
}

}  // namespace
}  // namespace lm::test
