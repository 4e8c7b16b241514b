// What the conversion of data item values needs to know about an item, and the
// one thing it changes: the item's value text. The library's item record is
// adapted to this interface where items are looked up; the conversion code
// does not depend on the record layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lm {

// Binary type codes (TYP).
namespace typ {
inline constexpr std::uint8_t NONE = 0;
inline constexpr std::uint8_t BYTE = 1;
inline constexpr std::uint8_t INT = 2;
inline constexpr std::uint8_t WORD = 3;
inline constexpr std::uint8_t LONG = 4;
inline constexpr std::uint8_t DWORD = 5;
inline constexpr std::uint8_t USER = 255;
}  // namespace typ

// Presentation subtype codes (SUBTYP) of USER items.
namespace subtyp {
inline constexpr std::uint8_t NONE = 0;
inline constexpr std::uint8_t BF3 = 1;  // the controller's three-byte real "3BF"
inline constexpr std::uint8_t STRING = 2;
inline constexpr std::uint8_t BIT = 3;
inline constexpr std::uint8_t WORDHEX = 4;
inline constexpr std::uint8_t BYTEHEX = 5;
inline constexpr std::uint8_t FLOAT = 6;
}  // namespace subtyp

// Attribute flags of an item that the conversions interpret.
namespace item_attr {
inline constexpr std::uint32_t JEDEF = 0x10;     // the item has a default
inline constexpr std::uint32_t JEMINMAX = 0x20;  // the item has limits
}  // namespace item_attr

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
    return item.typ() == typ::USER && item.subtyp() == subtyp::STRING;
}

}  // namespace lm
