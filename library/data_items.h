// Data item definitions: the `ITEM` ... `ITEM_END` blocks inside the item
// lists of an object file, and the dLM_DATAITEM records built from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/host_records.h"
#include "base/item_codes.h"
#include "base/log_sink.h"
#include "library/definition_reader.h"
#include "library/record_lists.h"

namespace lm {

// Text limits of the item's texts.
inline constexpr std::size_t kItemNameLimit = 20;
inline constexpr std::size_t kItemHelpLimit = 30;
inline constexpr std::size_t kItemFormatLimit = 80;
inline constexpr std::size_t kItemLabelLimit = 8;
inline constexpr std::size_t kItemValueTextLimit = 80;  // DEFAULT and the value text

// Every field of a data item, with the defaults of an item block.
struct ItemFields {
    std::uint16_t ident = 0;
    std::string name;
    std::string help;
    std::string second_help;
    std::uint8_t typ = kTypNone;
    std::uint16_t delka = 0;
    std::string format;
    std::uint16_t pos_x = 0;
    std::uint16_t pos_y = 0;
    std::uint32_t attributes = 0;
    std::uint8_t subtyp = kSubtypNone;
    std::uint8_t subindex = 0;
    std::string label;
    std::string index;
    std::string default_value;
    double min = 0.0;  // within the short real's range (READ_REAL sees to it)
    double max = 65535.0;
    std::uint8_t save_flag = 0;
    std::uint8_t cw_out = kCwOutNone;
    std::uint8_t cw_selected = 0;
};

enum class TypMode { Type, Subtype };

// Reads one item block (the `ITEM` token already read) up to `ITEM_END`, the
// end of input or the first value that fails. Appends the item and returns
// true when it has a name and a type and nothing failed; otherwise returns
// false with the failing reader's message in the error text, or "LOAD
// DATAITEM: JMENO nebo TYP nedefinovano" when there is none. Unknown tokens in
// the block are skipped.
bool LOAD_DATAITEM(TextSource& source, ItemList& list, std::string& error, std::size_t error_limit,
                   LogSink& log);

// Reads a TYP keyword (type mode) or a SUBTYP keyword (subtype mode) and
// stores its code. Clears the error text first; an unknown word leaves the
// code unchanged, sets the mode's message and returns false.
bool READ_TYP(TextSource& source, std::string& error, std::size_t error_limit, TypMode mode,
              std::uint8_t& code);

// Reads a CW_OUT keyword and stores its code; logs READ_CW_OUT: "<word>"
// first. An unknown word leaves the code unchanged, sets the message and
// returns false.
bool READ_CW_OUT(TextSource& source, std::string& error, std::size_t error_limit,
                 std::uint8_t& code, LogSink& log);

// Reads an item attribute group into `attributes` (see ReadAttributeGroup).
bool LOADDATAITEM_ATTR(TextSource& source, std::string& error, std::size_t error_limit,
                       std::uint32_t& attributes);

// Builds an item and its extension from `fields` (texts cut to their limits;
// the value text is the default) and appends it. Logs "INS_DATAITEM: " + name.
dLM_DATAITEM* INS_DATAITEM(ItemList& list, const ItemFields& fields, LogSink& log);

// Appends a copy of `source` to `target`: every field and flag, but the value
// text is the default again, not the source's current value.
dLM_DATAITEM* COPY_DATAITEM(const dLM_DATAITEM& source, ItemList& target, LogSink& log);

// Frees every item of the list with everything it owns.
void FREE_DATAITEMS(ItemList& list);

// The fields of an item record, as INS_DATAITEM would take them again.
ItemFields FieldsOf(const dLM_DATAITEM& item);

// The item's limits as reals (0 and 65535 for an item without extension).
double ItemMin(const dLM_DATAITEM& item);
double ItemMax(const dLM_DATAITEM& item);

}  // namespace lm
