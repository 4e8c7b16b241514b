#include "tools/lmcheck/item_checks.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/log_sink.h"
#include "library/texts.h"
#include "values/convert.h"
#include "values/number_syntax.h"

namespace lmcheck {

namespace {

using lm::Concat;
using lm::Severity;

std::string_view TypName(std::uint8_t typ) {
    switch (typ) {
        case lm::kTypByte:
            return "BYTE";
        case lm::kTypInt:
            return "INT";
        case lm::kTypWord:
            return "WORD";
        case lm::kTypLong:
            return "LONG";
        case lm::kTypDword:
            return "DWORD";
        case lm::kTypUser:
            return "USER";
        default:
            return "no type";
    }
}

std::string_view SubtypName(std::uint8_t subtyp) {
    constexpr std::array<std::string_view, 7> kNames = {"no subtype", "3BF",     "STRING", "BIT",
                                                        "WORDHEX",    "BYTEHEX", "FLOAT"};
    return subtyp < kNames.size() ? kNames[subtyp] : "an unknown subtype";
}

// "WORD" or "USER/3BF": what the item is, for the texts.
std::string KindName(const lm::ItemFields& item) {
    if (item.typ != lm::kTypUser) return std::string(TypName(item.typ));
    return Concat({"USER/", SubtypName(item.subtyp)});
}

// The size of the binary value the conversions produce; 0 for a string,
// whose size is its format width.
std::size_t ValueSize(const lm::ItemFields& item) {
    if (item.typ != lm::kTypUser) return lm::SIZE_OF_TYP(item.typ);
    constexpr std::array<std::size_t, 7> kSizes = {0, 3, 0, 1, 2, 1, 4};
    return item.subtyp < kSizes.size() ? kSizes[item.subtyp] : 0;
}

bool IsString(const lm::ItemFields& item) {
    return item.typ == lm::kTypUser && item.subtyp == lm::kSubtypString;
}

bool IsHex(const lm::ItemFields& item) {
    return item.typ == lm::kTypUser &&
           (item.subtyp == lm::kSubtypWordHex || item.subtyp == lm::kSubtypByteHex);
}

std::string Shortest(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// An item as the conversions see it: its texts cut as the record keeps them.
struct Converter {
    const lm::ItemFields& item;
    std::string format = item.format.substr(0, lm::kItemFormatLimit);

    // The text converted to the item's binary form and back, or nothing when
    // the host's conversion refuses it.
    std::optional<std::string> RoundTrip(std::string text) const {
        lm::NoLog log;
        std::array<std::uint8_t, 256> binary{};
        if (!lm::CONVERT(lm::ConvertDirection::TextToBin, binary, text, item.subtyp, item.typ,
                         nullptr, format, lm::kMaxText, log)) {
            return std::nullopt;
        }
        std::string back;
        if (!lm::CONVERT(lm::ConvertDirection::BinToText, binary, back, item.subtyp, item.typ,
                         nullptr, format, lm::kMaxText, log)) {
            return std::nullopt;
        }
        return back;
    }
};

std::optional<double> NumberOf(std::string_view text) {
    return lm::ParseDecimalReal(text);
}

// False when the item's values cannot be converted at all.
bool CheckFormat(const lm::ItemFields& item, const lm::BlockPositions& at, Notes& notes) {
    if (item.typ == lm::kTypUser && ValueSize(item) == 0 && !IsString(item)) {
        notes.push_back({Severity::Error, at.Of("SUBTYP"), "user-without-subtyp",
                         "a USER item needs SUBTYP 3BF, STRING, BIT, WORDHEX, BYTEHEX or FLOAT; no "
                         "conversion of the host can handle its value"});
        return false;
    }
    const lm::FormatKind kind = IsString(item) ? lm::FormatKind::String : lm::FormatKind::Numeric;
    if (lm::FormatPictureOf(kind, item.format.substr(0, lm::kItemFormatLimit))) return true;
    notes.push_back(
        {Severity::Error, at.Of("FORMAT"), "format-typ",
         kind == lm::FormatKind::String
             ? Concat({"FORMAT \"", lm::ShownToken(item.format),
                       "\" does not fit a STRING item: its format must be all '?'"})
             : Concat({"FORMAT \"", lm::ShownToken(item.format), "\" does not fit a ",
                       KindName(item), " item: a number's format must not contain '?'"})});
    return false;
}

void CheckDefault(const lm::ItemFields& item, const lm::BlockPositions& at, Notes& notes) {
    const std::string value = item.default_value.substr(0, lm::kItemValueTextLimit);
    if (value.empty()) return;
    const Converter converter{item};
    const std::optional<std::string> back = converter.RoundTrip(value);
    const lm::TextPosition where = at.Of("DEFAULT");
    if (!back) {
        notes.push_back({Severity::Error, where, "default-convert",
                         Concat({"DEFAULT \"", lm::ShownToken(value), "\" does not convert to a ",
                                 KindName(item), " value with FORMAT \"",
                                 lm::ShownToken(converter.format), "\""})});
        return;
    }
    if (IsString(item)) {
        if (value.size() > converter.format.size()) {
            notes.push_back(
                {Severity::Warning, where, "text-cut",
                 Concat({"DEFAULT is longer than the field of ",
                         std::to_string(converter.format.size()), " characters; the host gets \"",
                         lm::ShownToken(back->substr(0, converter.format.size())), "\""})});
        }
        return;
    }
    const std::optional<double> written = NumberOf(value);
    const std::optional<double> kept = NumberOf(*back);
    if (!IsHex(item) && written && kept && *written != *kept && item.subtyp != lm::kSubtyp3BF &&
        item.subtyp != lm::kSubtypFloat) {
        notes.push_back({Severity::Warning, where, "default-range",
                         Concat({"DEFAULT ", lm::ShownToken(value), " does not fit a ",
                                 KindName(item), " value; it is stored as ", Shortest(*kept)})});
    }
    if ((item.attributes & lm::kAttrJeMinMax) != 0 && written && !IsHex(item) &&
        item.min <= item.max && (*written < item.min || *written > item.max)) {
        notes.push_back(
            {Severity::Warning, where, "default-outside",
             Concat({"DEFAULT ", lm::ShownToken(value), " lies outside MIN ", Shortest(item.min),
                     " .. MAX ", Shortest(item.max), "; the host's limit test fails on it"})});
    }
}

void CheckLimit(const lm::ItemFields& item, const lm::BlockPositions& at, std::string_view keyword,
                double limit, Notes& notes) {
    const std::optional<std::string> back = Converter{item}.RoundTrip(Shortest(limit));
    const lm::TextPosition where = at.Of(keyword);
    if (!back) {
        notes.push_back({Severity::Error, where, "limit-convert",
                         Concat({keyword, " ", Shortest(limit), " is no ", KindName(item),
                                 " value: the host cannot convert it with the item's format"})});
    } else if (const std::optional<double> kept = NumberOf(*back); kept && *kept != limit) {
        notes.push_back(
            {Severity::Warning, where, "limit-range",
             Concat({keyword, " ", Shortest(limit), " is beyond what a ", KindName(item),
                     " holds (it is stored as ", Shortest(*kept), ")"})});
    }
}

// False when MIN lies above MAX. Found whatever the format: the limits are
// wrong on their own.
bool CheckMinMax(const lm::ItemFields& item, const lm::BlockPositions& at, Notes& notes) {
    if (IsString(item)) return true;  // the host tests no limits of a text
    const bool limits = (item.attributes & lm::kAttrJeMinMax) != 0;
    // MIN above MAX is found wherever both are given: with JEMINMAX no value
    // passes the limit test; without it the limits wait for the attribute.
    if (item.min > item.max && (limits || (at.Has("MIN") && at.Has("MAX")))) {
        notes.push_back(
            {limits ? Severity::Error : Severity::Warning, at.Of("MIN"), "min-max",
             Concat({"MIN ", Shortest(item.min), " is greater than MAX ", Shortest(item.max),
                     limits
                         ? ": no value passes the host's limit test"
                         : ": no value would pass the host's limit test once JEMINMAX is set"})});
        return false;
    }
    return true;
}

void CheckLimits(const lm::ItemFields& item, const lm::BlockPositions& at, Notes& notes) {
    if ((item.attributes & lm::kAttrJeMinMax) == 0 || IsString(item) || IsHex(item)) return;
    // The conversions of real kinds hold every limit the reader accepts.
    if (item.subtyp == lm::kSubtyp3BF || item.subtyp == lm::kSubtypFloat) return;
    CheckLimit(item, at, "MIN", item.min, notes);
    CheckLimit(item, at, "MAX", item.max, notes);
}

void CheckLength(const lm::ItemFields& item, const lm::BlockPositions& at, Notes& notes) {
    const lm::TextPosition where = at.Of("DELKA");
    if (IsString(item)) {
        const std::size_t width = std::min(item.format.size(), lm::kItemFormatLimit);
        if (item.delka != width) {
            notes.push_back(
                {Severity::Warning, where, "string-length",
                 Concat({"DELKA ", std::to_string(item.delka), " differs from the FORMAT width ",
                         std::to_string(width), " that the string's value fills"})});
        }
        if (item.subindex != item.delka) {
            notes.push_back({Severity::Warning, at.Of("SUBINDEX"), "string-length",
                             Concat({"SUBINDEX ", std::to_string(item.subindex),
                                     " differs from DELKA ", std::to_string(item.delka),
                                     ": the string dialogs take SUBINDEX as the text length"})});
        }
        return;
    }
    const std::size_t size = ValueSize(item);
    if (size != 0 && item.delka != size) {
        notes.push_back({Severity::Warning, where, "delka-size",
                         Concat({"DELKA ", std::to_string(item.delka), " differs from the ",
                                 std::to_string(size), " bytes of a ", KindName(item), " value"})});
    }
}

}  // namespace

Notes CheckItem(const lm::ItemFields& item, const lm::BlockPositions& at) {
    Notes notes;
    if (item.typ == 0) return notes;  // the parser has reported it
    CheckLength(item, at, notes);
    const bool limits_ordered = CheckMinMax(item, at, notes);
    if (!CheckFormat(item, at, notes)) return notes;  // nothing converts then
    CheckDefault(item, at, notes);
    if (limits_ordered) CheckLimits(item, at, notes);
    return notes;
}

}  // namespace lmcheck
