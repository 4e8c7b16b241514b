// The codes of a data item: its type (TYP), subtype (SUBTYP), attribute bits
// (ATRIBUTY) and Control Web direction (CW_OUT) as the item records store them,
// and the request bits of the data item service that works on an item.
#pragma once

#include <cstdint>

namespace lm {

// TYP codes: the item's binary type in the controller.
inline constexpr std::uint8_t kTypNone = 0;
inline constexpr std::uint8_t kTypByte = 1;
inline constexpr std::uint8_t kTypInt = 2;
inline constexpr std::uint8_t kTypWord = 3;
inline constexpr std::uint8_t kTypLong = 4;
inline constexpr std::uint8_t kTypDword = 5;
inline constexpr std::uint8_t kTypUser = 255;  // laid out by the subtype

// SUBTYP codes: how a USER item's value is laid out and shown.
inline constexpr std::uint8_t kSubtypNone = 0;  // a plain number
inline constexpr std::uint8_t kSubtyp3BF = 1;   // the controller's three-byte real
inline constexpr std::uint8_t kSubtypString = 2;
inline constexpr std::uint8_t kSubtypBit = 3;
inline constexpr std::uint8_t kSubtypWordHex = 4;
inline constexpr std::uint8_t kSubtypByteHex = 5;
inline constexpr std::uint8_t kSubtypFloat = 6;  // an IEEE single

// Item attribute bits.
inline constexpr std::uint32_t kAttrSetRun = 0x01;
inline constexpr std::uint32_t kAttrSetEdit = 0x02;
inline constexpr std::uint32_t kAttrDoBloku = 0x04;
inline constexpr std::uint32_t kAttrZobraz = 0x08;
inline constexpr std::uint32_t kAttrJeDef = 0x10;     // the item has a default
inline constexpr std::uint32_t kAttrJeMinMax = 0x20;  // the item has limits
inline constexpr std::uint32_t kAttrEditForm = 0x40;
inline constexpr std::uint32_t kAttrPole = 0x80;

// CW_OUT codes: the direction in which the Control Web export uses the item.
inline constexpr std::uint8_t kCwOutNone = 0;
inline constexpr std::uint8_t kCwOutRead = 1;
inline constexpr std::uint8_t kCwOutWrite = 2;
inline constexpr std::uint8_t kCwOutBidir = 3;

// Request bits of the data item service (lparam1); the same values mark the
// operations done in lparam2.
inline constexpr std::uint32_t kRequestBinData = 0x01;     // value in pointer1, not string1
inline constexpr std::uint32_t kRequestTestDef = 0x02;     // equals the item's default?
inline constexpr std::uint32_t kRequestTestMinMax = 0x04;  // within the item's limits?
inline constexpr std::uint32_t kRequestConvToStr = 0x08;   // binary -> text (string2)
inline constexpr std::uint32_t kRequestConvToBin = 0x10;   // text -> binary (pointer2)
inline constexpr std::uint32_t kRequestVerFormat = 0x20;   // string1 is a valid format
inline constexpr std::uint32_t kRequestGetDefData = 0x40;  // default in binary (pointer1)

// A USER item with the STRING subtype: its value is a text, never a number.
constexpr bool IsUserString(std::uint8_t typ, std::uint8_t subtyp) {
    return typ == kTypUser && subtyp == kSubtypString;
}

}  // namespace lm
