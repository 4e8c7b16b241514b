#include "exports/cw_types.h"

#include <array>

#include "base/item_codes.h"

namespace lm {
namespace {

// One name per type: BYTE, INT, WORD, LONG, DWORD, then the USER subtypes
// 3BF, STRING, BIT, WORDHEX, BYTEHEX, FLOAT, then the unknown one.
using TypeNames = std::array<std::string_view, 12>;

constexpr TypeNames kChannelTypes = {"shortcard", "integer",   "cardinal",  "longint",
                                     "longcard",  "real",      "string",    "boolean",
                                     "cardinal",  "shortcard", "shortreal", "?invalid_type?"};
constexpr TypeNames kParTypes = {"BYTE",     "INTEGER", "WORD",   "LONGINT",
                                 "CARDINAL", "REAL3BF", "STRING", "BYTE",
                                 "WORD",     "BYTE",    "REAL",   "?invalid_type?"};
constexpr TypeNames kListTypes = {"byte",       "integer",  "word",   "longint",
                                  "doubleword", "real-3BF", "string", "bit",
                                  "word-hex",   "byte-hex", "float",  "invalid_type"};

std::size_t TypeIndex(std::uint8_t typ, std::uint8_t subtyp) {
    constexpr std::size_t kInvalid = 11;
    if (typ >= kTypByte && typ <= kTypDword) return typ - kTypByte;
    if (typ == kTypUser && subtyp >= kSubtyp3BF && subtyp <= kSubtypFloat) {
        return 5 + (subtyp - kSubtyp3BF);
    }
    return kInvalid;
}

}  // namespace

std::string_view CwChannelType(std::uint8_t typ, std::uint8_t subtyp) {
    return kChannelTypes[TypeIndex(typ, subtyp)];
}

std::string_view ParType(std::uint8_t typ, std::uint8_t subtyp) {
    return kParTypes[TypeIndex(typ, subtyp)];
}

std::string_view ListType(std::uint8_t typ, std::uint8_t subtyp) {
    return kListTypes[TypeIndex(typ, subtyp)];
}

std::string_view CwDirectionName(std::uint8_t cw_out) {
    switch (cw_out) {
        case kCwOutRead:
            return "READ";
        case kCwOutWrite:
            return "WRITE";
        case kCwOutBidir:
            return "BIDIR";
        default:
            return {};
    }
}

std::string CwListEntry(const CwItem& item) {
    std::string entry = item.object_name;
    entry += '.';
    entry += std::to_string(item.instance);
    entry += '.';
    entry += item.item_name;
    entry += " (";
    entry += CwDirectionName(item.cw_out);
    entry += ' ';
    entry += ListType(item.typ, item.subtyp);
    entry += ')';
    if (item.value_flag && (item.cw_out == kCwOutWrite || item.cw_out == kCwOutBidir)) {
        entry += " = ";
        entry += item.value;
    }
    return entry;
}

}  // namespace lm
