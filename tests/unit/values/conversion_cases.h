// Host calls of the conversion services as the host makes them, with the item
// the lookup finds and what the host must see afterwards. Shared by the tests
// of the service functions and of the same calls through LumarDriver_Entry.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "base/host_records.h"
#include "base/item_codes.h"
#include "frame/function_codes.h"

namespace lm::test {

using Bytes = std::vector<std::uint8_t>;

// The object ident and item ident every item of the table has in the library.
inline constexpr std::uint16_t kObject = 7;
inline constexpr std::uint16_t kItem = 3;
// An item ident the library does not have.
inline constexpr std::uint16_t kMissingItem = 99;

// Put into `error` before each call: a function that does not write `error`
// leaves it.
inline constexpr std::uint16_t kHostError = 0xEEEE;

// The library item of object kObject, ident kItem.
struct ItemFacts {
    std::string_view name = "Hodnota";
    std::uint8_t typ = 0;
    std::uint8_t subtyp = 0;
    std::uint16_t delka = 0;
    std::string_view format{};
    std::string_view default_text{};
    double min = 0.0;
    double max = 65535.0;
    std::uint32_t attributes = 0;  // kAttrJeDef, kAttrJeMinMax
};

// Where a service hands out binary data.
enum class OutField { None, Data1, Data2, Pointer1, Pointer2 };

struct ConversionCase {
    std::string_view title{};
    std::uint16_t function = 0;
    std::optional<ItemFacts> item{};  // in the library; the call names it unless it says otherwise

    // The record as the host fills it; nullopt texts and bytes are null pointers.
    std::uint16_t wparam1 = 0;
    std::uint16_t wparam2 = 0;
    std::uint32_t lparam1 = 0;
    std::uint32_t lparam2 = 0;
    std::optional<std::string_view> string1{};
    std::optional<std::string_view> string2{};
    std::optional<Bytes> data1{};  // allocated with exactly these bytes
    std::optional<Bytes> pointer1{};

    // What the host sees afterwards; nullopt fields are not checked.
    bool result = true;
    std::optional<std::uint16_t> error{};  // kHostError: left alone
    std::optional<std::uint16_t> out_wparam1{};
    std::optional<std::uint16_t> out_wparam2{};
    std::optional<std::uint32_t> out_lparam2{};
    std::optional<std::string_view> out_string2{};  // the zero-terminated text at string2
    OutField out_field = OutField::None;
    Bytes out_bytes{};                             // the first bytes at out_field
    std::optional<std::string_view> value_text{};  // the library item's value text
    std::vector<std::string_view> log{};           // lines that appear in this order
};

namespace detail {

inline ItemFacts User(std::uint8_t subtyp, std::uint16_t delka, std::string_view format) {
    return {.typ = kTypUser, .subtyp = subtyp, .delka = delka, .format = format};
}

// AkceItem converting binary -> text.
inline ConversionCase ToText(std::string_view title, ItemFacts item, Bytes value,
                             std::optional<std::string_view> text) {
    ConversionCase c{.title = title,
                     .function = kAkceItem,
                     .item = item,
                     .wparam1 = kObject,
                     .wparam2 = kItem,
                     .lparam1 = kRequestBinData | kRequestConvToStr,
                     .pointer1 = std::move(value),
                     .error = 0,
                     .out_lparam2 = text ? kRequestBinData | kRequestConvToStr : kRequestBinData};
    c.out_string2 = text;
    c.value_text = text ? *text : "";
    return c;
}

// AkceItem converting text -> binary.
inline ConversionCase ToBin(std::string_view title, ItemFacts item, std::string_view text,
                            std::optional<Bytes> bytes) {
    ConversionCase c{.title = title,
                     .function = kAkceItem,
                     .item = item,
                     .wparam1 = kObject,
                     .wparam2 = kItem,
                     .lparam1 = kRequestConvToBin,
                     .string1 = text,
                     .error = 0,
                     .out_lparam2 = bytes ? kRequestConvToBin : 0u,
                     .value_text = text};
    if (bytes) {
        c.out_field = OutField::Pointer2;
        c.out_bytes = *bytes;
    }
    return c;
}

// AkceItem storing a STRING: the bytes and the value text are the padded text.
inline ConversionCase ToPaddedBin(std::string_view title, ItemFacts item, std::string_view text,
                                  std::string_view padded) {
    ConversionCase c = ToBin(title, item, text, Bytes(padded.begin(), padded.end()));
    c.value_text = padded;
    return c;
}

inline ConversionCase BinToStr(std::string_view title, std::uint8_t type, Bytes value,
                               std::string_view format, std::optional<std::string_view> text) {
    return {.title = title,
            .function = kBinToStr,
            .wparam1 = type,
            .string1 = format,
            .data1 = std::move(value),
            .error = text ? 0 : 7,
            .out_wparam1 = text ? 1 : 0,
            .out_string2 = text};
}

inline ConversionCase StrToBin(std::string_view title, std::uint8_t type, std::string_view text,
                               std::string_view format, std::optional<Bytes> bytes) {
    ConversionCase c{.title = title,
                     .function = kStrToBin,
                     .wparam1 = type,
                     .string1 = text,
                     .string2 = format,
                     .result = bytes.has_value(),
                     .error = bytes ? 0 : 8,
                     .out_wparam1 = bytes ? 1 : 0,
                     .out_wparam2 = static_cast<std::uint16_t>(bytes ? bytes->size() : 0)};
    if (bytes) {
        c.out_field = OutField::Data1;
        c.out_bytes = *bytes;
    }
    return c;
}

// USER/LONG conversion of the item: `direction` in lparam1, the item ident in
// lparam2. `bytes` nullopt: fails with `error`.
inline ConversionCase UserLong(std::string_view title, ItemFacts item, std::uint32_t direction,
                               Bytes value, std::optional<Bytes> bytes, std::uint16_t error = 0) {
    ConversionCase c{.title = title,
                     .function = kUserLongConversion,
                     .item = item,
                     .wparam1 = kObject,
                     .lparam1 = direction,
                     .lparam2 = kItem,
                     .data1 = std::move(value),
                     .error = bytes ? 0 : error,
                     .out_wparam1 = bytes ? 1 : 0};
    if (bytes) {
        c.out_lparam2 = static_cast<std::uint32_t>(bytes->size());
        c.out_field = OutField::Data2;
        c.out_bytes = *bytes;
    } else {
        c.out_lparam2 = kItem;  // the size is not written
    }
    return c;
}

}  // namespace detail

inline const std::vector<ConversionCase>& ConversionCases() {
    using namespace detail;
    static const std::vector<ConversionCase> cases = [] {
        const ItemFacts word{.typ = kTypWord, .delka = 2, .format = "#####"};
        const ItemFacts bf3 = User(kSubtyp3BF, 3, "####.##");
        const ItemFacts text5 = User(kSubtypString, 5, "?????");
        const ItemFacts bit = User(kSubtypBit, 1, "#");
        const ItemFacts wordhex = User(kSubtypWordHex, 2, "####");
        const ItemFacts bytehex = User(kSubtypByteHex, 1, "##");
        const ItemFacts single = User(kSubtypFloat, 4, "####.##");
        ItemFacts limited = word;
        limited.attributes = kAttrJeMinMax;
        limited.max = 100.0;
        ItemFacts with_default = word;
        with_default.attributes = kAttrJeDef;
        with_default.default_text = "10";

        std::vector<ConversionCase> v = {
            // Standard types through the general conversions.
            BinToStr("WORD to text", kTypWord, {0x39, 0x30}, "#####", "12345"),
            StrToBin("WORD keeps the low 16 bits", kTypWord, "70000", "#####", Bytes{0x70, 0x11}),
            ToText("WORD item to text", word, {0x39, 0x30}, "12345"),
            ToBin("WORD item from text", word, "70000", Bytes{0x70, 0x11}),
            StrToBin("DWORD largest", kTypDword, "4294967295", "", Bytes{0xFF, 0xFF, 0xFF, 0xFF}),
            BinToStr("INT is signed", kTypInt, {0xFF, 0xFF}, "######", "    -1"),
            BinToStr("DWORD is unsigned", kTypDword, {0xFF, 0xFF, 0xFF, 0xFF}, "", "4294967295"),
            StrToBin("DWORD of -1", kTypDword, "-1", "", Bytes{0xFF, 0xFF, 0xFF, 0xFF}),
            BinToStr("LONG is signed", kTypLong, {0xFE, 0xFF, 0xFF, 0xFF}, "####", "  -2"),
            BinToStr("BYTE, width never cuts", kTypByte, {200}, "##", "200"),
            StrToBin("BYTE of 300 keeps 44", kTypByte, "300", "###", Bytes{44}),
            StrToBin("hexadecimal text", kTypWord, "$1F", "", Bytes{0x1F, 0x00}),
            StrToBin("LONG beyond 32 bits fails", kTypLong, "2147483648", "", std::nullopt),
            StrToBin("not a number", kTypWord, "12a", "#####", std::nullopt),
            StrToBin("empty text", kTypWord, "", "#####", std::nullopt),
            BinToStr("type 0 is no standard type", 0, {0x01, 0x02}, "#####", std::nullopt),
            BinToStr("USER is no standard type", kTypUser, {0x01, 0x02}, "", std::nullopt),
            StrToBin("STRTOBIN of USER", kTypUser, "12", "", std::nullopt),

            // The item's own conversions through the data item service.
            ToText("3BF to text", bf3, {0x43, 0x40, 0x00}, "  10.00"),
            ToBin("3BF from text", bf3, "12.345", Bytes{0x43, 0x8B, 0x0A}),
            ToBin("3BF of 2^64 fails", bf3, "18446744073709551616", std::nullopt),
            ToBin("3BF beyond the short real fails", bf3, "1E39", std::nullopt),
            ToText("STRING stops at the zero byte", text5, {0x41, 0x42, 0x00, 0x43, 0x44}, "AB   "),
            ToPaddedBin("STRING pads with spaces", text5, "AB", "AB   "),
            ToPaddedBin("STRING is cut to its width", text5, "ABCDEFG", "ABCDE"),

            ToText("STRING with a numeric format", User(kSubtypString, 5, "#####"),
                   {0x41, 0x42, 0x43, 0x44, 0x45}, std::nullopt),
            ToBin("STRING with a numeric format", User(kSubtypString, 5, "#####"), "AB",
                  std::nullopt),
            ToText("BIT other than 0 or 1 shows 0", bit, {0x05}, "0"),
            ToText("BIT right-aligned", User(kSubtypBit, 1, "###"), {0x01}, "  1"),
            ToBin("BIT of 1", bit, "1", Bytes{0x01}),
            ToBin("BIT of 1.0", bit, "1.0", Bytes{0x01}),
            ToBin("BIT beyond the short real fails", bit, "1E39", std::nullopt),
            ToBin("WORDHEX from bare digits", wordhex, "1f", Bytes{0x1F, 0x00}),
            ToBin("WORDHEX keeps the low 16 bits", wordhex, "12345", Bytes{0x45, 0x23}),
            ToBin("WORDHEX with a $", wordhex, "$1F", std::nullopt),
            ToBin("WORDHEX of nothing", wordhex, "", std::nullopt),
            ToText("WORDHEX ignores the width", wordhex, {0xAB, 0x12}, "12AB"),
            ToBin("BYTEHEX from bare digits", bytehex, "a5", Bytes{0xA5}),
            ToBin("BYTEHEX is no decimal", bytehex, "-1", std::nullopt),
            ToText("BYTEHEX to text", bytehex, {0x0A}, "0A"),
            ToText("FLOAT infinity", single, {0x00, 0x00, 0x80, 0x7F}, "+infinity"),
            ToText("FLOAT minus infinity", single, {0x00, 0x00, 0x80, 0xFF}, "-infinity"),
            ToText("FLOAT NaN", single, {0x01, 0x00, 0xC0, 0x7F}, "NaN/x87 err"),
            ToText("FLOAT largest single", single, {0xFF, 0xFF, 0x7F, 0x7F}, "+infinity"),
            ToText("FLOAT with decimals", single, {0x00, 0x00, 0x1E, 0xC1}, "  -9.88"),
            ToText("FLOAT rounds halves away", User(kSubtypFloat, 4, "####"),
                   {0x00, 0x00, 0x20, 0x40}, "   3"),
            ToBin("FLOAT from text", single, "-9.875", Bytes{0x00, 0x00, 0x1E, 0xC1}),
            ToBin("FLOAT rounds to nearest", single, "0.1", Bytes{0xCD, 0xCC, 0xCC, 0x3D}),
            ToBin("FLOAT largest single", single, "3.4028235E38", Bytes{0xFF, 0xFF, 0x7F, 0x7F}),
            ToBin("FLOAT beyond the single fails", single, "3.5E38", std::nullopt),
            ToBin("FLOAT of an infinite text fails", single, "1E400", std::nullopt),
            ToBin("USER without subtype", User(kSubtypNone, 2, "##"), "12", std::nullopt),
            ToText("USER without subtype", User(kSubtypNone, 2, "##"), {0x01, 0x02}, std::nullopt),
        };

        // The bit error log line, and a value text rewritten on failure.
        ConversionCase bit2 = ToBin("BIT of 2 stores 0", bit, "2", Bytes{0x00});
        bit2.log = {"  text -> bin, text=2", "  bit value ERROR ! -> resbit",
                    "  BinData [Hex] = 00 "};
        v.push_back(bit2);
        ConversionCase bit5 = ToText("BIT byte 5 logs its error", bit, {0x05}, "0");
        bit5.log = {"  bin -> text", "  bit value ERROR ! -> resbit", "  bit = 0"};
        v.push_back(bit5);

        // '?' in a numeric format fails for every numeric type.
        for (std::uint8_t type : {kTypByte, kTypInt, kTypWord, kTypLong, kTypDword}) {
            v.push_back(BinToStr("'?' in a numeric format", type, {0, 0, 0, 0}, "##?", {}));
            v.push_back(StrToBin("'?' in a numeric format", type, "1", "?##", {}));
        }
        for (std::uint8_t sub :
             {kSubtyp3BF, kSubtypBit, kSubtypWordHex, kSubtypByteHex, kSubtypFloat}) {
            v.push_back(ToText("'?' in a numeric format", User(sub, 4, "#?"), {0, 0, 0, 0}, {}));
            v.push_back(ToBin("'?' in a numeric format", User(sub, 4, "#?"), "1", {}));
        }

        // Limits, inclusive at both ends.
        for (auto [text, inside] : {std::pair{"0", true},
                                    {"100", true},
                                    {"101", false},
                                    {"-1", false},
                                    {"$64", true},
                                    {"abc", false}}) {
            ConversionCase c = ToBin("TESTMINMAX", limited, text, std::nullopt);
            c.lparam1 = kRequestTestMinMax;
            c.out_lparam2 = inside ? kRequestTestMinMax : 0u;
            c.value_text = std::nullopt;
            v.push_back(c);
        }
        {
            ConversionCase c = ToText("TESTMINMAX of a binary value", limited, {100, 0}, "  100");
            c.lparam1 = kRequestBinData | kRequestTestMinMax;
            c.out_lparam2 = kRequestBinData | kRequestTestMinMax;
            c.out_string2 = std::nullopt;
            c.log = {"  TESTMINMAX", "   konverze OK", "   R=100.0", "   min=  0.0",
                     "   max=100.0"};
            v.push_back(c);
            ItemFacts hex_limited = wordhex;
            hex_limited.attributes = kAttrJeMinMax;
            hex_limited.max = 255.0;
            c = ToText("TESTMINMAX reads hexadecimal", hex_limited, {0xFF, 0x00}, "00FF");
            c.lparam1 = kRequestBinData | kRequestTestMinMax;
            c.out_lparam2 = kRequestBinData | kRequestTestMinMax;
            c.out_string2 = std::nullopt;
            v.push_back(c);
            c = ToText("TESTMINMAX without JEMINMAX", word, {50, 0}, std::nullopt);
            c.lparam1 = kRequestBinData | kRequestTestMinMax;
            c.value_text = std::nullopt;
            v.push_back(c);
        }

        // Default: the formatted text is compared, not the value.
        {
            ConversionCase c = ToText("TESTDEF of binary 10", with_default, {10, 0}, "   10");
            c.lparam1 = kRequestBinData | kRequestTestDef;
            c.out_lparam2 = kRequestBinData;
            c.out_string2 = std::nullopt;
            v.push_back(c);
            c = ToBin("TESTDEF of text 10", with_default, "10", std::nullopt);
            c.lparam1 = kRequestTestDef;
            c.out_lparam2 = kRequestTestDef;
            v.push_back(c);
            c = ToBin("TESTDEF of text 010", with_default, "010", std::nullopt);
            c.lparam1 = kRequestTestDef;
            v.push_back(c);
            c = ToBin("GETDEFDATA", with_default, "", std::nullopt);
            c.lparam1 = kRequestGetDefData;
            c.out_lparam2 = kRequestGetDefData;
            c.out_field = OutField::Pointer1;
            c.out_bytes = {10, 0};
            c.value_text = "10";
            c.log = {"  GETDEFDATA", "StrData = 10"};
            v.push_back(c);
            ItemFacts bf3_default = bf3;
            bf3_default.attributes = kAttrJeDef;
            bf3_default.default_text = "12.345";
            c.title = "GETDEFDATA of a 3BF";
            c.item = bf3_default;
            c.out_bytes = {0x43, 0x8B, 0x0A};
            c.value_text = "12.345";
            c.log = {};
            v.push_back(c);
            c = ToBin("GETDEFDATA without JEDEF", word, "", std::nullopt);
            c.lparam1 = kRequestGetDefData;
            c.value_text = std::nullopt;
            v.push_back(c);
        }

        // Several requests of one call, in their order.
        {
            ItemFacts both = with_default;
            both.attributes = kAttrJeDef | kAttrJeMinMax;
            both.max = 100.0;
            ConversionCase c = ToText("every binary request", both, {10, 0}, "   10");
            c.lparam1 = 0x7F;
            c.out_lparam2 =
                kRequestBinData | kRequestTestMinMax | kRequestConvToStr | kRequestGetDefData;
            c.out_field = OutField::Pointer1;
            c.out_bytes = {10, 0};
            c.value_text = "10";  // GETDEFDATA converts the default last
            c.log = {"  TESTDEF",   "  TESTMINMAX", "  CONVTOSTR",
                     "  CONVTOBIN", "  VERFORMAT",  "  GETDEFDATA"};
            v.push_back(c);
            c = ToBin("every text request", both, "10", Bytes{10, 0});
            c.lparam1 = 0x7E;
            c.out_lparam2 = kRequestTestDef | kRequestTestMinMax | kRequestConvToBin |
                            kRequestVerFormat | kRequestGetDefData;
            c.log = {"  StringData = 10", "  Format = #####"};
            v.push_back(c);
        }

        // The format check looks at string1, by the item's kind.
        for (auto [item, text, ok] : {std::tuple{word, "###.##", true},
                                      {word, "", true},
                                      {word, "#?", false},
                                      {text5, "???", true},
                                      {text5, "##", false}}) {
            ConversionCase c = ToBin("VERFORMAT", item, text, std::nullopt);
            c.lparam1 = kRequestVerFormat;
            c.out_lparam2 = ok ? kRequestVerFormat : 0u;
            c.value_text = std::nullopt;
            v.push_back(c);
        }
        {
            ConversionCase c = ToBin("VERFORMAT logs the picture", word, "####.##", std::nullopt);
            c.lparam1 = kRequestVerFormat;
            c.out_lparam2 = kRequestVerFormat;
            c.value_text = std::nullopt;
            c.log = {"  VERFORMAT", "num format OK, delka= 7, des= 2"};
            v.push_back(c);
        }

        // string2 overrides the item's format; the item's length bounds what
        // is read from pointer1.
        {
            ConversionCase c = ToText("format from string2", word, {10, 0}, " 10");
            c.string2 = "###";
            v.push_back(c);
            c = ToText("DELKA bounds the bytes read", User(kSubtypString, 3, "?????"),
                       {'A', 'B', 'C', 'D', 'E'}, "ABC  ");
            v.push_back(c);
            c = ToText("null pointer1 reads zeros", word, {}, "    0");
            c.pointer1 = std::nullopt;
            c.log = {"   pointer1=nil !!!", "  BinData = 00 00 "};
            v.push_back(c);
            ItemFacts valued = word;
            valued.default_text = "5";
            c = ToText("unknown item", valued, {10, 0}, std::nullopt);
            c.wparam2 = kMissingItem;
            c.lparam2 = 0x1234;
            c.out_lparam2 = 0x1234;
            c.value_text = "5";  // the library item is not touched
            c.log = {"LM ENTRY: AkceItem, object=    7, dataitem=   99", "lparam1=    9",
                     "NEZNAMY OBJEKT / DATAITEM !!!"};
            v.push_back(c);
        }

        // LONG check.
        v.push_back({.title = "LONG check of a WORD",
                     .function = kLongCheck,
                     .item = word,
                     .wparam1 = kObject,
                     .wparam2 = kItem,
                     .error = 0,
                     .out_wparam1 = 1,
                     .out_lparam2 = 4});
        v.push_back({.title = "LONG check of a 3BF",
                     .function = kLongCheck,
                     .item = bf3,
                     .wparam1 = kObject,
                     .wparam2 = kItem,
                     .error = 0,
                     .out_wparam1 = 1,
                     .out_lparam2 = 4});
        v.push_back({.title = "LONG check of a STRING",
                     .function = kLongCheck,
                     .item = text5,
                     .wparam1 = kObject,
                     .wparam2 = kItem,
                     .lparam2 = 0x55,
                     .error = 9,
                     .out_wparam1 = 0,
                     .out_lparam2 = 0x55});
        v.push_back({.title = "LONG check of an unknown item",
                     .function = kLongCheck,
                     .item = word,
                     .wparam1 = kObject,
                     .wparam2 = kMissingItem,
                     .error = 9,
                     .out_wparam1 = 0});

        // USER/LONG in both directions for every subtype.
        constexpr std::uint32_t kToLong = kTypLong, kToItem = (kTypLong << 16) | kTypUser;
        const Bytes one = {1, 0, 0, 0};
        v.push_back(UserLong("3BF to LONG", bf3, kToLong, {0x43, 0x40, 0x00}, Bytes{10, 0, 0, 0}));
        v.push_back(UserLong("3BF to LONG rounds halves away", bf3, kToLong, {0xC1, 0x40, 0x00},
                             Bytes{0xFD, 0xFF, 0xFF, 0xFF}));
        v.push_back(UserLong("3BF beyond LONG fails", bf3, kToLong, {0x7F, 0xFF, 0xFF}, {}, 8));
        v.push_back(UserLong("BIT to LONG", bit, kToLong, {1}, Bytes{1, 0, 0, 0}));
        v.push_back(UserLong("BYTEHEX to LONG", bytehex, kToLong, {0xFF}, Bytes{0xFF, 0, 0, 0}));
        v.push_back(
            UserLong("WORDHEX to LONG", wordhex, kToLong, {0x34, 0x12}, Bytes{0x34, 0x12, 0, 0}));
        v.push_back(UserLong("FLOAT to LONG", single, kToLong, {0x00, 0x00, 0x20, 0x40},
                             Bytes{3, 0, 0, 0}));
        v.push_back(UserLong("FLOAT infinity to LONG fails", single, kToLong,
                             {0x00, 0x00, 0x80, 0x7F}, {}, 8));
        v.push_back(UserLong("3BF with DELKA 2 reads 2 bytes", User(kSubtyp3BF, 2, ""), kToLong,
                             {0x41, 0x80}, Bytes{3, 0, 0, 0}));
        v.push_back(UserLong("LONG to 3BF", bf3, kToItem, {10, 0, 0, 0}, Bytes{0x43, 0x40, 0x00}));
        v.push_back(UserLong("LONG to BIT", bit, kToItem, one, Bytes{1}));
        v.push_back(UserLong("LONG 2 to BIT", bit, kToItem, {2, 0, 0, 0}, Bytes{0}));
        v.push_back(UserLong("LONG to BIT reads 4 bytes", bit, kToItem, {1, 0, 0, 1}, Bytes{0}));
        v.push_back(UserLong("LONG to WORDHEX", wordhex, kToItem, {0x45, 0x23, 0x01, 0},
                             Bytes{0x45, 0x23}));
        v.push_back(UserLong("LONG to BYTEHEX", bytehex, kToItem, {0xFF, 0x01, 0, 0}, Bytes{0xFF}));
        v.push_back(UserLong("LONG to FLOAT", single, kToItem, one, {}, 11));
        v.push_back(UserLong("subtype 0 to LONG", word, kToLong, {1, 0}, {}, 11));
        v.push_back(UserLong("LONG to subtype 0", word, kToItem, one, {}, 11));
        v.push_back(UserLong("direction 3", bit, 3, one, {}, 12));
        v.push_back(UserLong("direction 4 in the high word", bit, 4u << 16, one, {}, 12));
        v.push_back(UserLong("to item from WORD", bit, (kTypWord << 16) | kTypUser, one, {}, 13));
        v.push_back(UserLong("STRING to LONG", text5, kToLong, one, {}, 9));
        ConversionCase missing = UserLong("unknown item", bit, kToLong, one, {}, 9);
        missing.lparam2 = kMissingItem;
        missing.out_lparam2 = kMissingItem;
        v.push_back(missing);
        ConversionCase null_data = UserLong("null data1", bit, kToLong, one, {}, 8);
        null_data.data1 = std::nullopt;
        v.push_back(null_data);

        // BINTOSTR and STRTOBIN log their own entry line.
        ConversionCase entry = BinToStr("BINTOSTR logs", kTypWord, {1, 0}, "", "1");
        entry.log = {"LM ENTRY: BINTOSTR",
                     "Konverze dat",
                     "  ext_typ=3, ext_subtyp=0",
                     "  bin -> text",
                     "num format OK, delka= 0, des= 0",
                     "  word = 1"};
        v.push_back(entry);
        entry = StrToBin("STRTOBIN logs", kTypInt, "-2", "##", Bytes{0xFE, 0xFF});
        entry.log = {"LM ENTRY: STRTOBIN", "Konverze dat", "  ext_typ=2, ext_subtyp=0",
                     "  text -> bin, text=-2"};
        v.push_back(entry);
        entry = BinToStr("BINTOSTR of a null data1", kTypWord, {}, "", std::nullopt);
        entry.data1 = std::nullopt;
        v.push_back(entry);
        return v;
    }();
    return cases;
}

// The host's side of one call of a case.
namespace detail {
inline std::unique_ptr<std::uint8_t[]> Allocate(const Bytes& bytes) {
    // Exactly these bytes: a read past them is caught by the sanitizers.
    auto memory = std::make_unique<std::uint8_t[]>(bytes.size());
    if (!bytes.empty()) std::memcpy(memory.get(), bytes.data(), bytes.size());
    return memory;
}

// The host's side of one call: the record and the memory its pointers name.
class HostCall {
public:
    explicit HostCall(const ConversionCase& c) {
        record.lmd_func = c.function;
        record.error = kHostError;
        record.wparam1 = c.wparam1;
        record.wparam2 = c.wparam2;
        record.lparam1 = c.lparam1;
        record.lparam2 = c.lparam2;
        if (c.string1) {
            string1_ = std::make_unique<std::string>(*c.string1);
            record.string1 = string1_->data();
        }
        if (c.string2) {
            string2_ = std::make_unique<std::string>(*c.string2);
            record.string2 = string2_->data();
        }
        if (c.data1) {
            data1_ = Allocate(*c.data1);
            record.data1 = data1_.get();
        }
        if (c.pointer1) {
            pointer1_ = Allocate(*c.pointer1);
            record.pointer1 = pointer1_.get();
        }
    }
    HostCall(const HostCall&) = delete;

    PARAM_ENTRY record{};

private:
    std::unique_ptr<std::string> string1_, string2_;
    std::unique_ptr<std::uint8_t[]> data1_, pointer1_;
};

}  // namespace detail
using detail::HostCall;

inline const void* OutPointer(const PARAM_ENTRY& record, OutField field) {
    switch (field) {
        case OutField::Data1:
            return record.data1;
        case OutField::Data2:
            return record.data2;
        case OutField::Pointer1:
            return record.pointer1;
        case OutField::Pointer2:
            return record.pointer2;
        case OutField::None:
            break;
    }
    return nullptr;
}

// What the host reads back after the call of a case (everything but the
// item's value text and the log, which each test reaches its own way).
inline void ExpectHostSees(const ConversionCase& c, const PARAM_ENTRY& record, int result) {
    EXPECT_EQ(result, c.result ? 1 : 0);
    if (c.error) {
        EXPECT_EQ(record.error, *c.error);
    }
    if (c.out_wparam1) {
        EXPECT_EQ(record.wparam1, *c.out_wparam1);
    }
    if (c.out_wparam2) {
        EXPECT_EQ(record.wparam2, *c.out_wparam2);
    }
    if (c.out_lparam2) {
        EXPECT_EQ(record.lparam2, *c.out_lparam2);
    }
    if (c.out_string2) {
        const char* text = record.string2;
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text), *c.out_string2);
    }
    if (c.out_field != OutField::None) {
        const auto* bytes = static_cast<const std::uint8_t*>(OutPointer(record, c.out_field));
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(Bytes(bytes, bytes + c.out_bytes.size()), c.out_bytes);
    }
}

}  // namespace lm::test
