// Drives CONVERT and the host's conversion services with arbitrary type,
// subtype, format, text and binary value.
//
// Input: byte 0 type, byte 1 subtype, byte 2 switches (direction, item or
// none, text limit, service), byte 3 format length, then the format, then the
// value (its text, or its bytes).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/item_codes.h"
#include "base/log_sink.h"
#include "values/convert.h"
#include "values/item_services.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

class FuzzItem : public lm::ConvertibleItem {
public:
    FuzzItem(std::uint8_t t, std::uint8_t s, std::uint16_t delka, std::string_view format,
             std::string_view default_text)
        : typ_(t), subtyp_(s), delka_(delka), format_(format), default_(default_text) {}
    std::string_view name() const override { return "fuzz"; }
    std::uint8_t typ() const override { return typ_; }
    std::uint8_t subtyp() const override { return subtyp_; }
    std::uint16_t delka() const override { return delka_; }
    std::string_view format() const override { return format_; }
    std::string_view default_text() const override { return default_; }
    double min() const override { return -100.0; }
    double max() const override { return 100.0; }
    std::uint32_t attributes() const override { return lm::kAttrJeDef | lm::kAttrJeMinMax; }
    void SetValueText(std::string_view text) override {
        Check(text.size() <= lm::kItemValueLimit);
        value = text;
    }
    std::string value;

private:
    std::uint8_t typ_, subtyp_;
    std::uint16_t delka_;
    std::string format_, default_;
};

// Mostly the types and subtypes that exist, sometimes any code at all.
std::uint8_t PickType(std::uint8_t b) {
    static constexpr std::uint8_t kTypes[] = {lm::kTypNone, lm::kTypByte, lm::kTypInt,
                                              lm::kTypWord, lm::kTypLong, lm::kTypDword,
                                              lm::kTypUser, lm::kTypUser};
    return b < 224 ? kTypes[b % 8] : b;
}
std::uint8_t PickSubtype(std::uint8_t b) {
    return b < 224 ? static_cast<std::uint8_t>(b % 8) : b;
}

// Forms whose text gives back exactly the bytes it was made from.
bool ExactForm(std::uint8_t t, std::uint8_t s) {
    return lm::SIZE_OF_TYP(t) != 0 ||
           (t == lm::kTypUser && (s == lm::kSubtypWordHex || s == lm::kSubtypByteHex));
}

std::size_t ValueSize(std::uint8_t t, std::uint8_t s) {
    if (lm::SIZE_OF_TYP(t) != 0) return lm::SIZE_OF_TYP(t);
    switch (s) {
        case lm::kSubtyp3BF:
            return 3;
        case lm::kSubtypWordHex:
            return 2;
        case lm::kSubtypFloat:
            return 4;
        default:
            return 1;
    }
}

void FuzzConvert(std::uint8_t t, std::uint8_t s, std::uint8_t switches, std::string_view format,
                 std::string_view value) {
    lm::NoLog log;
    const bool to_bin = (switches & 1) != 0;
    const bool with_item = (switches & 2) != 0;
    const std::size_t limit = (switches & 4) ? 255 : (switches >> 3) % 40;
    FuzzItem item(t, s, static_cast<std::uint16_t>(value.size()), format, "");
    lm::ConvertibleItem* item_pointer = with_item ? &item : nullptr;

    std::vector<std::uint8_t> binary(300, 0xA5);
    std::string text;
    if (to_bin) {
        text.assign(value);
    } else {
        std::memcpy(binary.data(), value.data(), std::min(value.size(), binary.size()));
    }
    const auto direction =
        to_bin ? lm::ConvertDirection::TextToBin : lm::ConvertDirection::BinToText;
    const bool ok = lm::CONVERT(direction, binary, text, s, t, item_pointer, format, limit, log);
    if (!to_bin) Check(text.size() <= limit);
    if (!ok && !to_bin) Check(text.empty());
    if (with_item) Check(item.value == std::string_view(text).substr(0, lm::kItemValueLimit));
    if (!ok) return;

    if (to_bin) {
        // What was stored can be shown with the same format.
        std::string shown;
        std::vector<std::uint8_t> copy = binary;
        Check(lm::CONVERT(lm::ConvertDirection::BinToText, copy, shown, s, t, nullptr, format, 255,
                          log));
        if (t == lm::kTypUser && s == lm::kSubtypFloat) {
            const std::uint32_t pattern =
                binary[0] | binary[1] << 8 | binary[2] << 16 | std::uint32_t{binary[3]} << 24;
            Check(((pattern >> 23) & 0xFF) != 0xFF);  // never an infinity or NaN
        }
    } else if (limit == 255 && ExactForm(t, s)) {
        // The text reads back to the same bytes.
        std::vector<std::uint8_t> back(8, 0);
        std::string again = text;
        Check(lm::CONVERT(lm::ConvertDirection::TextToBin, back, again, s, t, nullptr, format, 255,
                          log));
        Check(std::memcmp(back.data(), binary.data(), ValueSize(t, s)) == 0);
    }
}

void FuzzServices(std::uint8_t t, std::uint8_t s, std::uint8_t switches, std::string_view format,
                  std::string_view value) {
    static lm::ConversionBuffers buffers;
    lm::NoLog log;
    const std::string format_text(format.substr(0, 255));
    std::string value_text(value.substr(0, 300));
    // The item's value lies at pointer1 and data1: exactly DELKA bytes.
    FuzzItem item(t, s, static_cast<std::uint16_t>(value_text.size()), format_text, value_text);

    PARAM_ENTRY record{};
    record.wparam1 = t;
    record.lparam1 = switches;
    record.string1 = value_text.data();
    record.string2 = (switches & 0x80) ? const_cast<char*>(format_text.c_str()) : nullptr;
    record.pointer1 = value_text.data();
    record.data1 = value_text.data();

    switch (switches % 5) {
        case 0:
            lm::AkceItem(record, &item, buffers, log);
            Check((record.lparam2 & ~0x7Fu) == 0);
            if (record.lparam2 & lm::kRequestConvToStr)
                Check(std::strlen(record.string2) < lm::ConversionBuffers::kTextLimit);
            break;
        case 1:
            if (value_text.size() < 4) break;  // data1 holds a standard type's bytes
            record.string1 = const_cast<char*>(format_text.c_str());
            lm::BINTOSTR(record, buffers, log);
            if (record.wparam1 == 1)
                Check(std::strlen(record.string2) < lm::ConversionBuffers::kTextLimit);
            break;
        case 2:
            record.string2 = const_cast<char*>(format_text.c_str());
            Check(lm::STRTOBIN(record, buffers, log) == (record.wparam1 == 1));
            Check(record.data1 == buffers.binary_data());
            break;
        case 3:
            lm::LongCheck(record, &item);
            break;
        default:
            if (value_text.size() < 4) break;  // data1 holds a LONG or the item's bytes
            record.lparam1 = (switches & 0x40) ? (lm::kTypLong << 16) | lm::kTypUser : lm::kTypLong;
            lm::UserLongConversion(record, &item, buffers, log);
            if (record.wparam1 == 1) Check(record.lparam2 >= 1 && record.lparam2 <= 4);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint8_t t = PickType(data[0]);
    const std::uint8_t s = PickSubtype(data[1]);
    const std::uint8_t switches = data[2];
    const std::size_t format_length = std::min<std::size_t>(data[3], size - 4);
    const std::string_view format(reinterpret_cast<const char*>(data + 4), format_length);
    const std::string_view value(reinterpret_cast<const char*>(data + 4 + format_length),
                                 size - 4 - format_length);
    FuzzConvert(t, s, switches, format, value);
    FuzzServices(t, s, switches, format, value);
    return 0;
}
