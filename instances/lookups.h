// The three lookups every part of the driver uses to reach an object record
// or one of its data items. On a plain list (the object library) they walk
// from the head; the instance list answers the same questions from its index.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/host_records.h"

namespace lm {

inline constexpr std::uint16_t kAnyInstance = 0xFFFF;
inline constexpr std::uint16_t kFirstUserString = 0xFFFF;

// A USER item with the STRING subtype: its value is text, saved in quotes.
bool IsStringRecord(const dLM_DATAITEM& item);

// FIND_INSTANCE: the first record with this ident and instance, or null.
dLM_OBJECT* FIND_INSTANCE(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance);

// The item of one record: the first with `item_ident` in the order d_in,
// d_out, d_init, d_prom, data_user; failing that, for item ident 0xFFFF, the
// first USER/STRING item of data_user. Null when there is none.
dLM_DATAITEM* ItemOfRecord(const dLM_OBJECT& record, std::uint16_t item_ident);

// The first item of one record, in the same order, whose name is exactly `name`.
dLM_DATAITEM* ItemOfRecordByName(const dLM_OBJECT& record, std::string_view name);

// FIND_ITEM: in the first record of `ident` whose instance equals `instance`
// (or any instance when it is 0xFFFF), the item as ItemOfRecord finds it.
dLM_DATAITEM* FIND_ITEM(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance,
                        std::uint16_t item_ident);

// FIND_ITEM_BY_NAME: in the record with exactly this pair, the item by name.
dLM_DATAITEM* FIND_ITEM_BY_NAME(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance,
                                std::string_view name);

}  // namespace lm
