// What the conversion of data item values needs to know about an item, and the
// one thing it changes: the item's value text. The library's item record is
// adapted to this interface where items are looked up; the conversion code
// does not depend on the record layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/item_codes.h"

namespace lm {

// Value texts are kept to at most this many characters.
inline constexpr std::size_t kItemValueLimit = 80;

class ConvertibleItem {
public:
    virtual ~ConvertibleItem() = default;

    virtual std::string_view name() const = 0;
    virtual std::uint8_t typ() const = 0;
    virtual std::uint8_t subtyp() const = 0;
    // Length of the binary value in bytes (DELKA).
    virtual std::uint16_t delka() const = 0;
    virtual std::string_view format() const = 0;
    virtual std::string_view default_text() const = 0;
    virtual double min() const = 0;
    virtual double max() const = 0;
    virtual std::uint32_t attributes() const = 0;

    // Replaces the item's current value text. The conversions pass at most
    // kItemValueLimit characters and never a zero byte at the end.
    virtual void SetValueText(std::string_view text) = 0;
};

// A USER item with the STRING subtype: a text, never a number.
inline bool IsStringItem(const ConvertibleItem& item) {
    return IsUserString(item.typ(), item.subtyp());
}

}  // namespace lm
