#include "values/item_services.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/bounded_text.h"
#include "base/number_text.h"
#include "values/convert.h"
#include "values/hex_texts.h"
#include "values/number_syntax.h"
#include "values/number_texts.h"
#include "values/short_real.h"
#include "values/unit_3bf.h"

namespace lm {

namespace {

constexpr std::size_t kLogBytes = 85;

// A text handed in by the host, copied out of the host's memory before any
// buffer is written: the host may hand back a pointer it got from us.
class HostText {
public:
    explicit HostText(const char* text) {
        const std::string_view read = ReadZeroText(text);
        if (!read.empty()) std::memcpy(chars_, read.data(), read.size());
        size_ = read.size();
    }
    std::string_view view() const { return {chars_, size_}; }

private:
    char chars_[kMaxText];
    std::size_t size_ = 0;
};

std::string HexOf(const std::uint8_t* bytes, std::size_t count) {
    return HEX_BYTES({bytes, std::min(count, kLogBytes)});
}

// The number a value text stands for in the limit test, within the range of
// the short real. Hexadecimal subtypes read their texts as hexadecimal; the
// standard types also take the integer syntax their conversion accepts
// (`$FF`), so a value typed that way is tested, not refused.
std::optional<double> LimitTestValue(const ConvertibleItem& item, std::string_view text) {
    if (item.typ() == kTypUser &&
        (item.subtyp() == kSubtypWordHex || item.subtyp() == kSubtypByteHex)) {
        const std::optional<std::uint32_t> value = HexTextValue(text);
        if (!value) return std::nullopt;
        return static_cast<double>(*value);
    }
    if (const std::optional<double> real = ParseDecimalReal(text)) return LimitToShortReal(*real);
    if (item.typ() == kTypDword) {
        if (const auto value = ParseInt64(text)) return static_cast<double>(*value);
    } else if (SIZE_OF_TYP(item.typ()) != 0) {
        if (const auto value = ParseInt32(text)) return static_cast<double>(*value);
    }
    return std::nullopt;
}

void WriteLong(std::uint8_t* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

// x rounded to a LONG as ROUND_INT rounds it, or nothing where ROUND_INT would
// give 0 for a value outside the LONG range: a LONG of 0 handed to the host
// for 5E9 would be a wrong value reported as success.
std::optional<std::int32_t> RoundToLong(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    const std::int32_t rounded = ROUND_INT(x);
    if (rounded == 0 && !(std::fabs(x) < 0.5)) return std::nullopt;
    return rounded;
}

}  // namespace

bool AkceItem(PARAM_ENTRY& record, ConvertibleItem* item, ConversionBuffers& buffers,
              LogSink& log) {
    const std::uint32_t request = record.lparam1;
    log.WriteWith([&] {
        return "LM ENTRY: AkceItem, object=" + RightAligned(record.wparam1, 5) +
               ", dataitem=" + RightAligned(record.wparam2, 5);
    });
    log.WriteWith([&] { return "lparam1=" + RightAligned(request, 5); });
    record.error = kErrOk;
    if (item == nullptr) {
        log.Write("NEZNAMY OBJEKT / DATAITEM !!!");
        return true;
    }

    const HostText string1(record.string1);
    const char* const host_format = record.string2;
    const HostText format_override(host_format);
    const std::string_view format = host_format ? format_override.view() : item->format();

    std::uint32_t answer = 0;
    log.WriteWith([&] { return "DataItem: " + std::string(item->name()); });
    const bool binary_input = (request & kRequestBinData) != 0;
    std::string& text = buffers.text();
    if (binary_input) {
        const std::size_t delka = item->delka();
        const void* const source = record.pointer1;
        if (source != nullptr) {
            buffers.LoadBinary(source, delka);
        } else {
            buffers.ClearBinary(delka);
            log.Write("   pointer1=nil !!!");
        }
        log.WriteWith([&] { return "  BinData = " + HexOf(buffers.binary_data(), delka); });
        answer |= kRequestBinData;
    } else {
        text.assign(string1.view());
        log.WriteWith([&] { return "  StringData = " + text; });
    }
    log.WriteWith([&] { return "  Format = " + std::string(format); });

    const ConvertDirection direction =
        binary_input ? ConvertDirection::BinToText : ConvertDirection::TextToBin;
    auto convert = [&](ConvertDirection d) {
        return CONVERT(d, buffers.binary(), text, 0, 0, item, format, ConversionBuffers::kTextLimit,
                       log);
    };
    const std::uint32_t attributes = item->attributes();

    if (request & kRequestTestDef) {
        log.Write("  TESTDEF");
        if ((attributes & kAttrJeDef) && convert(direction) && text == item->default_text())
            answer |= kRequestTestDef;
    }
    if (request & kRequestTestMinMax) {
        log.Write("  TESTMINMAX");
        // A text item has no limits to lie within.
        if ((attributes & kAttrJeMinMax) && !IsStringItem(*item) && convert(direction)) {
            log.Write("   konverze OK");
            const std::optional<double> value = LimitTestValue(*item, text);
            const double min = item->min();
            const double max = item->max();
            log.WriteWith([&] { return "   R=" + REAL_TEXT(value.value_or(0.0), 5, 1); });
            log.WriteWith([&] { return "   min=" + REAL_TEXT(min, 5, 1); });
            log.WriteWith([&] { return "   max=" + REAL_TEXT(max, 5, 1); });
            if (value && min <= *value && *value <= max) answer |= kRequestTestMinMax;
        }
    }
    if (request & kRequestConvToStr) {
        log.Write("  CONVTOSTR");
        if (binary_input && convert(ConvertDirection::BinToText)) {
            answer |= kRequestConvToStr;
            record.string2 = buffers.HandOutText();
            // The value text takes the text without the zero byte that ends it
            // for the host, so the project line written from it stays clean.
            item->SetValueText(std::string_view(text).substr(0, kItemValueLimit));
        }
    }
    if (request & kRequestConvToBin) {
        log.Write("  CONVTOBIN");
        if (!binary_input && convert(ConvertDirection::TextToBin)) {
            answer |= kRequestConvToBin;
            record.pointer2 = buffers.binary_data();
            item->SetValueText(std::string_view(text).substr(0, kItemValueLimit));
        }
    }
    if (request & kRequestVerFormat) {
        log.Write("  VERFORMAT");
        // The text handed in is checked as a format, not the format in use.
        const FormatKind kind = IsStringItem(*item) ? FormatKind::String : FormatKind::Numeric;
        if (!binary_input && VERFORMAT(kind, string1.view(), log)) answer |= kRequestVerFormat;
    }
    if (request & kRequestGetDefData) {
        log.Write("  GETDEFDATA");
        if (attributes & kAttrJeDef) {
            answer |= kRequestGetDefData;
            text.assign(item->default_text().substr(0, ConversionBuffers::kTextLimit));
            convert(ConvertDirection::TextToBin);  // a default that does not convert still answers
            log.WriteWith([&] { return "StrData = " + text; });
            // Only the binary form goes to the host; a text handed out by
            // CONVTOSTR in the same call stays as it was.
            record.pointer1 = buffers.binary_data();
        }
    }
    record.lparam2 = answer;
    return true;
}

bool BINTOSTR(PARAM_ENTRY& record, ConversionBuffers& buffers, LogSink& log) {
    log.Write("LM ENTRY: BINTOSTR");
    const auto type_code = static_cast<std::uint8_t>(record.wparam1 & 0xFF);
    const std::size_t size = SIZE_OF_TYP(type_code);
    const void* const source = record.data1;
    const HostText format(record.string1);
    bool ok = false;
    if (size != 0 && source != nullptr) {
        buffers.LoadBinary(source, size);
        ok = CONVERT(ConvertDirection::BinToText, buffers.binary(), buffers.text(), 0, type_code,
                     nullptr, format.view(), ConversionBuffers::kTextLimit, log);
    }
    if (ok) {
        record.wparam1 = 1;
        record.error = kErrOk;
        record.string2 = buffers.HandOutText();
    } else {
        record.wparam1 = 0;
        record.error = kErrBinToStr;
    }
    return true;
}

bool STRTOBIN(PARAM_ENTRY& record, ConversionBuffers& buffers, LogSink& log) {
    log.Write("LM ENTRY: STRTOBIN");
    const auto type_code = static_cast<std::uint8_t>(record.wparam1 & 0xFF);
    const std::size_t size = SIZE_OF_TYP(type_code);
    const HostText format(record.string2);
    buffers.text().assign(ReadZeroText(record.string1));
    const bool ok = CONVERT(ConvertDirection::TextToBin, buffers.binary(), buffers.text(), 0,
                            type_code, nullptr, format.view(), ConversionBuffers::kTextLimit, log);
    record.data1 = buffers.binary_data();
    if (size != 0 && ok) {
        record.wparam1 = 1;
        record.wparam2 = static_cast<std::uint16_t>(size);
        record.error = kErrOk;
        return true;
    }
    record.wparam1 = 0;
    record.wparam2 = 0;
    record.error = kErrStrToBin;
    return false;
}

bool LongCheck(PARAM_ENTRY& record, const ConvertibleItem* item) {
    if (item != nullptr && !IsStringItem(*item)) {
        record.wparam1 = 1;
        record.lparam2 = 4;
        record.error = kErrOk;
    } else {
        record.wparam1 = 0;
        record.error = kErrStringNotStandard;
    }
    return true;
}

bool UserLongConversion(PARAM_ENTRY& record, const ConvertibleItem* item,
                        ConversionBuffers& buffers, LogSink& log) {
    auto fail = [&](std::uint16_t code) {
        record.wparam1 = 0;
        record.error = code;
        return true;
    };
    if (item == nullptr || IsStringItem(*item)) return fail(kErrStringNotStandard);
    record.wparam1 = 1;
    record.error = kErrOk;

    // The direction is a pair of type codes: the low word names the type
    // converted to, the high word the type converted from.
    const std::uint32_t conversion = record.lparam1;
    const auto target_type = static_cast<std::uint16_t>(conversion & 0xFFFF);
    const auto source_type = static_cast<std::uint16_t>(conversion >> 16);
    const std::uint8_t kind = item->subtyp();
    const void* const data = record.data1;
    std::uint8_t* const bytes = buffers.binary_data();

    if (target_type == kTypLong) {
        const bool known = kind == kSubtyp3BF || kind == kSubtypBit || kind == kSubtypByteHex ||
                           kind == kSubtypWordHex || kind == kSubtypFloat;
        if (!known) return fail(kErrUnknownSubtype);
        if (data == nullptr) return fail(kErrValueNotConvertible);
        // data1 holds the item's value: exactly DELKA bytes are read; bytes
        // the subtype needs beyond DELKA read as 0.
        buffers.LoadBinary(data, item->delka());
        std::optional<std::int32_t> result;
        switch (kind) {
            case kSubtyp3BF:
                result = RoundToLong(BF3_TO_REAL(std::span<const std::uint8_t, 3>(bytes, 3)));
                break;
            case kSubtypBit:
            case kSubtypByteHex:
                result = bytes[0];
                break;
            case kSubtypWordHex:
                result = static_cast<std::int32_t>(ReadLittleEndian(bytes, 2));
                break;
            default: {  // FLOAT
                const auto single = std::bit_cast<float>(ReadLittleEndian(bytes, 4));
                result = RoundToLong(single);
                if (result) {
                    log.WriteWith([&] {
                        return "SINGLE (" + REAL_TEXT(single, 4, 2) + ")-> LONG (" +
                               RightAligned(*result, 1) + ")";
                    });
                }
                break;
            }
        }
        if (!result) return fail(kErrValueNotConvertible);
        WriteLong(bytes, *result);
        if (kind == kSubtyp3BF) log.WriteWith([&] { return "3BF -> LONG : " + HexOf(bytes, 4); });
        record.data2 = bytes;
        record.lparam2 = 4;
        return true;
    }

    if (target_type == kTypUser) {
        if (source_type != kTypLong) return fail(kErrOnlyFromLong);
        const bool known = kind == kSubtyp3BF || kind == kSubtypBit || kind == kSubtypByteHex ||
                           kind == kSubtypWordHex;
        if (!known) return fail(kErrUnknownSubtype);
        if (data == nullptr) return fail(kErrValueNotConvertible);
        // data1 holds the host's LONG: v is its 4 bytes, whatever the item's
        // length, so no byte of an earlier call enters v and a LONG is never
        // read past its end.
        std::uint8_t long_bytes[4];
        std::memcpy(long_bytes, data, 4);
        const auto v = static_cast<std::int32_t>(ReadLittleEndian(long_bytes, 4));
        buffers.ClearBinary(4);
        switch (kind) {
            case kSubtyp3BF: {
                const Bf3Bytes bf3 = REAL_TO_BF3(v);
                std::copy(bf3.begin(), bf3.end(), bytes);
                record.lparam2 = 3;
                log.WriteWith([&] { return "LONG -> 3BF : " + HexOf(bytes, 3); });
                break;
            }
            case kSubtypBit:
                bytes[0] = v == 1 ? 1 : 0;
                record.lparam2 = 1;
                log.WriteWith([&] { return "LONG -> BIT : " + std::to_string(v); });
                break;
            case kSubtypWordHex:
                bytes[0] = static_cast<std::uint8_t>(v & 0xFF);
                bytes[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
                record.lparam2 = 2;
                log.WriteWith([&] {
                    return "LONG -> WORDHEX : " + HEX_WORD(static_cast<std::uint16_t>(v & 0xFFFF));
                });
                break;
            default:  // BYTEHEX
                bytes[0] = static_cast<std::uint8_t>(v & 0xFF);
                record.lparam2 = 1;
                log.WriteWith([&] {
                    return "LONG -> BYTEHEX : " + HEX_BYTE(static_cast<std::uint8_t>(v & 0xFF));
                });
                break;
        }
        record.data2 = bytes;
        return true;
    }

    return fail(kErrOnlyToLong);
}

}  // namespace lm
