#include "values/convert.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/number_text.h"
#include "values/hex_texts.h"
#include "values/number_syntax.h"
#include "values/number_texts.h"
#include "values/short_real.h"
#include "values/unit_3bf.h"

namespace lm {

namespace {

// Log lines show at most this many bytes of a value (a log line holds 255
// characters, three per byte).
constexpr std::size_t kLogBytes = 85;

// A 3BF holds magnitudes below 2^64 only.
constexpr double kBf3Limit = 0x1p64;
// Doubles from here on round to infinity as an IEEE single.
constexpr double kSingleOverflow = 0x1.ffffffp127;
constexpr double kSingleMax = 0x1.fffffep127;

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

void WriteLittleEndian(std::uint8_t* bytes, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

// `source` cut to `limit` characters, assigned without giving up the text's
// reserved capacity.
void AssignCut(std::string& text, std::string_view source, std::size_t limit) {
    text.assign(source.data(), std::min(source.size(), limit));
}

// `value` in decimal, right-aligned in `width` characters, cut to `limit`.
void AssignNumber(std::string& text, long long value, int width, std::size_t limit) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<std::size_t>(result.ptr - digits);
    const std::size_t padding = std::min(width > 0 && static_cast<std::size_t>(width) > length
                                             ? static_cast<std::size_t>(width) - length
                                             : std::size_t{0},
                                         limit);
    const std::size_t shown = std::min(length, limit - padding);
    // Laid out in place and assigned once: a netlist converts a number for
    // every constant.
    text.resize(padding + shown);
    std::memset(text.data(), ' ', padding);
    std::memcpy(text.data() + padding, digits, shown);
}

std::string Quoted(std::string_view label, std::string_view text) {
    std::string line(label);
    line += '"';
    line += text;
    line += '"';
    return line;
}

struct Conversion {
    std::span<std::uint8_t> binary;
    std::string& text;
    std::string_view format;
    std::size_t limit;
    LogSink& log;
};

// The standard integer types, binary -> text.
bool IntegerToText(std::uint8_t typ_code, Conversion& c) {
    const std::optional<FormatPicture> picture = VERFORMAT(FormatKind::Numeric, c.format, c.log);
    if (!picture) return false;
    const std::size_t size = SIZE_OF_TYP(typ_code);
    if (c.binary.size() < size) return false;
    const std::uint32_t bits = ReadLittleEndian(c.binary.data(), size);
    long long value = bits;
    const char* label = "  byte = ";
    switch (typ_code) {
        case kTypInt:
            value = static_cast<std::int16_t>(bits);
            label = "  int = ";
            break;
        case kTypWord:
            label = "  word = ";
            break;
        case kTypLong:
            value = static_cast<std::int32_t>(bits);
            label = "  long = ";
            break;
        case kTypDword:
            label = "  dword = ";
            break;
        default:
            break;
    }
    AssignNumber(c.text, value, picture->width, c.limit);
    c.log.WriteWith([&] { return label + c.text; });
    return true;
}

bool UserToText(std::uint8_t subtyp_code, Conversion& c) {
    const std::uint8_t* bytes = c.binary.data();
    switch (subtyp_code) {
        case kSubtyp3BF: {
            if (c.binary.size() < 3) return false;
            c.log.Write("  3bf -> real");
            const double value = BF3_TO_REAL(std::span<const std::uint8_t, 3>(bytes, 3));
            const auto picture = VERFORMAT(FormatKind::Numeric, c.format, c.log);
            if (!picture) return false;
            AssignCut(c.text, REAL_TEXT(value, picture->width, picture->decimals), c.limit);
            c.log.WriteWith([&] { return "  3bf = " + c.text; });
            return true;
        }
        case kSubtypString: {
            const auto picture = VERFORMAT(FormatKind::String, c.format, c.log);
            if (!picture) return false;
            const auto width = static_cast<std::size_t>(picture->width);
            if (c.binary.size() < width) return false;
            const auto* chars = reinterpret_cast<const char*>(bytes);
            const std::size_t length = std::find(chars, chars + width, '\0') - chars;
            const std::size_t kept = std::min(length, c.limit);
            c.text.assign(chars, kept);
            c.text.append(std::min(width, c.limit) - kept, ' ');
            c.log.WriteWith([&] { return Quoted("StrToText = ", c.text); });
            return true;
        }
        case kSubtypBit: {
            const auto picture = VERFORMAT(FormatKind::Numeric, c.format, c.log);
            if (!picture || c.binary.empty()) return false;
            std::uint8_t bit = bytes[0];
            if (bit > 1) {
                c.log.Write("  bit value ERROR ! -> resbit");
                bit = 0;
            }
            AssignNumber(c.text, bit, picture->width, c.limit);
            c.log.WriteWith([&] { return "  bit = " + c.text; });
            return true;
        }
        case kSubtypWordHex: {
            // The width of the picture is not applied to hexadecimal texts.
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.size() < 2)
                return false;
            AssignCut(c.text, HEX_WORD(static_cast<std::uint16_t>(ReadLittleEndian(bytes, 2))),
                      c.limit);
            c.log.WriteWith([&] { return "  word = " + c.text; });
            return true;
        }
        case kSubtypByteHex: {
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.empty()) return false;
            AssignCut(c.text, HEX_BYTE(bytes[0]), c.limit);
            c.log.WriteWith([&] { return "  byte = " + c.text; });
            return true;
        }
        case kSubtypFloat: {
            if (c.binary.size() < 4) return false;
            const std::uint32_t pattern = ReadLittleEndian(bytes, 4);
            c.log.WriteWith(
                [&] { return "  bindata -> real4 moved " + REAL_DEFAULT_TEXT(pattern); });
            const std::string shown = SINGLE_TO_TEXT(pattern);
            c.log.WriteWith([&] { return "  floatStr=" + shown; });
            const auto picture = VERFORMAT(FormatKind::Numeric, c.format, c.log);
            if (!picture) return false;
            // The number is formatted as the text above shows it; the special
            // texts (infinities, NaN) stand as they are.
            if (const std::optional<double> value = ParseDecimalReal(shown))
                AssignCut(c.text, REAL_TEXT(*value, picture->width, picture->decimals), c.limit);
            else
                AssignCut(c.text, shown, c.limit);
            c.log.WriteWith([&] { return "  float = " + c.text; });
            return true;
        }
        default:
            return false;
    }
}

bool IntegerToBin(std::uint8_t typ_code, Conversion& c) {
    if (!VERFORMAT(FormatKind::Numeric, c.format, c.log)) return false;
    const std::size_t size = SIZE_OF_TYP(typ_code);
    if (c.binary.size() < size) return false;
    std::uint64_t bits = 0;
    if (typ_code == kTypDword) {
        const std::optional<std::int64_t> value = ParseInt64(c.text);
        if (!value) return false;
        bits = static_cast<std::uint64_t>(*value);
    } else {
        const std::optional<std::int32_t> value = ParseInt32(c.text);
        if (!value) return false;
        bits = static_cast<std::uint32_t>(*value);
    }
    WriteLittleEndian(c.binary.data(), bits, size);
    return true;
}

// A real text as the short real holds it, or nothing when it is no number or
// lies beyond the short real's range.
std::optional<double> ShortRealOfText(std::string_view text) {
    const std::optional<double> value = ParseDecimalReal(text);
    if (!value) return std::nullopt;
    const std::optional<ShortRealBytes> bytes = EncodeShortReal(*value);
    if (!bytes) return std::nullopt;
    return DecodeShortReal(*bytes);
}

bool UserToBin(std::uint8_t subtyp_code, Conversion& c) {
    std::uint8_t* bytes = c.binary.data();
    switch (subtyp_code) {
        case kSubtyp3BF: {
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.size() < 3)
                return false;
            const std::optional<double> value = ShortRealOfText(c.text);
            if (!value || !(std::fabs(*value) < kBf3Limit)) return false;
            const Bf3Bytes bf3 = REAL_TO_BF3(*value);
            std::copy(bf3.begin(), bf3.end(), bytes);
            return true;
        }
        case kSubtypString: {
            const auto picture = VERFORMAT(FormatKind::String, c.format, c.log);
            if (!picture) return false;
            const auto width = static_cast<std::size_t>(picture->width);
            if (c.binary.size() < width) return false;
            const std::size_t length = std::min(c.text.size(), width);
            std::memcpy(bytes, c.text.data(), length);
            std::memset(bytes + length, ' ', width - length);
            c.text.resize(length);
            c.text.append(width - length, ' ');
            if (c.text.size() > c.limit) c.text.resize(c.limit);
            c.log.WriteWith([&] { return Quoted("StrToBin = ", c.text); });
            return true;
        }
        case kSubtypBit: {
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.empty()) return false;
            const std::optional<double> value = ShortRealOfText(c.text);
            if (!value) return false;
            std::uint8_t bit = *value == 1.0 ? 1 : 0;
            if (*value != 0.0 && *value != 1.0) c.log.Write("  bit value ERROR ! -> resbit");
            bytes[0] = bit;
            return true;
        }
        case kSubtypWordHex:
        case kSubtypByteHex: {
            const std::size_t size = subtyp_code == kSubtypWordHex ? 2 : 1;
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.size() < size)
                return false;
            const std::optional<std::uint32_t> value = HexTextValue(c.text);
            if (!value) return false;
            WriteLittleEndian(bytes, *value, size);
            return true;
        }
        case kSubtypFloat: {
            if (!VERFORMAT(FormatKind::Numeric, c.format, c.log) || c.binary.size() < 4)
                return false;
            const std::optional<double> value = ParseDecimalReal(c.text);
            if (!value || !(std::fabs(*value) < kSingleOverflow)) return false;
            // Between the largest single and the rounding edge to infinity the
            // nearest single is the largest one.
            const double near = std::clamp(*value, -kSingleMax, kSingleMax);
            const auto single = static_cast<float>(near);
            WriteLittleEndian(bytes, std::bit_cast<std::uint32_t>(single), 4);
            return true;
        }
        default:
            return false;
    }
}

bool IsStandardType(std::uint8_t typ_code) {
    return SIZE_OF_TYP(typ_code) != 0;
}

}  // namespace

std::optional<std::uint32_t> HexTextValue(std::string_view text) {
    constexpr std::size_t kLongest = 255;
    if (text.empty() || text.size() > kLongest) return std::nullopt;
    char buffer[kLongest + 1];
    buffer[0] = '$';
    std::memcpy(buffer + 1, text.data(), text.size());
    const auto value = ParseInt32({buffer, text.size() + 1});
    if (!value) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::optional<FormatPicture> FormatPictureOf(FormatKind kind, std::string_view format) {
    if (format.size() > kMaxFormatLength) return std::nullopt;
    FormatPicture picture;
    picture.width = static_cast<int>(format.size());
    if (kind == FormatKind::String) {
        if (format.find_first_not_of('?') != std::string_view::npos) return std::nullopt;
        return picture;
    }
    if (format.find('?') != std::string_view::npos) return std::nullopt;
    const std::size_t point = format.find('.');
    if (point != std::string_view::npos)
        picture.decimals = static_cast<int>(format.size() - point - 1);
    return picture;
}

std::optional<FormatPicture> VERFORMAT(FormatKind kind, std::string_view format, LogSink& log) {
    const std::optional<FormatPicture> picture = FormatPictureOf(kind, format);
    if (picture && kind == FormatKind::Numeric) {
        log.WriteWith([&] {
            return "num format OK, delka=" + RightAligned(picture->width, 2) +
                   ", des=" + RightAligned(picture->decimals, 2);
        });
    }
    return picture;
}

std::size_t SIZE_OF_TYP(unsigned typ_code) {
    switch (typ_code) {
        case kTypByte:
            return 1;
        case kTypInt:
        case kTypWord:
            return 2;
        case kTypLong:
        case kTypDword:
            return 4;
        default:
            return 0;
    }
}

bool CONVERT(ConvertDirection direction, std::span<std::uint8_t> binary, std::string& text,
             std::uint8_t subtyp_code, std::uint8_t typ_code, ConvertibleItem* item,
             std::string_view format, std::size_t text_limit, LogSink& log) {
    if (item != nullptr) {
        typ_code = item->typ();
        subtyp_code = item->subtyp();
    }
    const bool to_bin = direction == ConvertDirection::TextToBin;

    log.Write("Konverze dat");
    if (item != nullptr) {
        log.WriteWith([&] { return "  Item.Jmeno=" + std::string(item->name()); });
    } else {
        log.WriteWith([&] {
            return "  ext_typ=" + std::to_string(typ_code) +
                   ", ext_subtyp=" + std::to_string(subtyp_code);
        });
    }
    if (to_bin)
        log.WriteWith([&] { return "  text -> bin, text=" + text; });
    else
        log.Write("  bin -> text");

    if (!to_bin) text.clear();
    Conversion c{binary, text, format, text_limit, log};
    bool ok = false;
    if (IsStandardType(typ_code))
        ok = to_bin ? IntegerToBin(typ_code, c) : IntegerToText(typ_code, c);
    else if (typ_code == kTypUser)
        ok = to_bin ? UserToBin(subtyp_code, c) : UserToText(subtyp_code, c);

    if (item != nullptr) {
        if (to_bin) {
            log.WriteWith([&] {
                const std::size_t shown =
                    std::min({std::size_t{item->delka()}, binary.size(), kLogBytes});
                return "  BinData [Hex] = " + HEX_BYTES(binary.first(shown));
            });
        }
        item->SetValueText(std::string_view(text).substr(0, kItemValueLimit));
    }
    return ok;
}

}  // namespace lm
