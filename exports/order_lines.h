// The order lines of LMKOMUN.INI: one "QQwrite" line per value the
// communication program writes into the controller. Each names the instance
// (ident and instance number), the data item and four bytes of the value,
// least significant first; the numbers are right-aligned in 3 characters:
//     QQwrite   5   1  12 200   0   0   0
// The controller addresses idents, instances and items by one byte each, so a
// line whose numbers do not fit a byte is left out; so is a value its line
// cannot carry. Each writer says why it left an order out, so that the user
// can be told: an item of a type without an order form (USER other than
// FLOAT) never has a line and is no order left out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "exports/export_text.h"

namespace lm {

using OrderBytes = std::array<std::uint8_t, 4>;

// Why an order line was left out.
struct LeftOutOrder {
    enum class Why {
        Value,     // a value the line cannot carry: not a number, nan, inf, out of range
        Ident,     // object number above 255
        Instance,  // instance number above 255
        Item,      // item number above 255 (a string's last item)
    };
    Why why = Why::Value;
    std::string value;    // Why::Value: the value text
    unsigned number = 0;  // the number above 255; for a string its first item
    bool string = false;  // the eight items of a string value
    std::string source;   // a wire's source "NAME.INSTANCE.ITEM" when the number is there
};
using LeftOut = std::optional<LeftOutOrder>;

// "PID.1.KP": the block (object name and instance number) and the item's name.
std::string BlockItem(const dLM_OBJECT& instance, const dLM_DATAITEM& item);

// One order line ended by CR LF into `file`.
void WriteOrderLine(ExportText& file, unsigned ident, unsigned instance, unsigned item,
                    const OrderBytes& bytes);

// The four bytes of a value text for an item of this type: BYTE, INT, WORD,
// LONG and DWORD read as whole numbers (the whole text, low bytes kept),
// USER/FLOAT as a real stored as an IEEE single. Nothing for a text that does
// not convert or a type without an order form.
//
// A DWORD is read over its whole range: a value above 2^31 - 1 (as CONVERT
// writes it, unsigned) gives its four bytes instead of no line.
std::optional<OrderBytes> OrderBytesOf(std::uint8_t typ, std::uint8_t subtyp,
                                       std::string_view text);

// WriteComOrder: the order line of a constant or a non-string user value,
// from the item's value text; what was left out and why.
LeftOut WriteComOrder(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item);

// WriteWireOrder: the order line of the item at this end of a wire; its value
// names the source at the other end (other item, other instance, other ident).
LeftOut WriteWireOrder(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item,
                       const dLM_OBJECT& other_instance, const dLM_DATAITEM& other_item);

// WriteStringOrders: the eight order lines of a USER/STRING value, four
// characters each at items item to item + 7; the text is cut or padded with
// spaces to 32 characters, with a zero byte right after a shorter text.
LeftOut WriteStringOrders(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item);

}  // namespace lm
