// Object definitions: one object definition file gives one dLM_OBJECT record
// of the library. The same record type, copied, carries every placed instance.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "library/data_items.h"
#include "library/definition_reader.h"
#include "library/load_problems.h"
#include "library/record_lists.h"
#include "platform/files.h"

namespace lm {

// Object attribute bits.
inline constexpr std::uint32_t kAttrSpecDial = 0x01;  // the object has a special dialog
inline constexpr std::uint32_t kAttrJeden = 0x02;
inline constexpr std::uint32_t kAttrSetSize = 0x04;
inline constexpr std::uint32_t kAttrNoUniDial = 0x08;
inline constexpr std::uint32_t kAttrRunSpecDial = 0x40;

// Text limit of the object's name and title.
inline constexpr std::size_t kObjectNameLimit = 20;

// Every field of an object record except its item lists.
struct ObjectFields {
    std::uint16_t level = 0;
    std::uint16_t ident = 0;
    std::uint16_t instance = 0;
    std::string name;
    std::string title;
    std::uint8_t inputs = 0;
    std::uint8_t outputs = 0;
    std::uint8_t init_vars = 0;
    std::uint8_t vars = 0;
    std::uint32_t bm_lib = 0;
    std::uint32_t bm_desktop = 0;
    std::uint8_t ver_high = 0;
    std::uint8_t ver_low = 0;
    std::uint8_t tool = 0;
    std::uint32_t attributes = 0;
};

// The five item lists of an object, handed over to INS_OBJECT.
struct ObjectItems {
    ItemList d_in;
    ItemList d_out;
    ItemList d_init;
    ItemList d_prom;
    ItemList data_user;
};

// Reads the object definition file at `path` through `files` and appends one record to
// `objects`, with `tool` as its tool id. The error text is cleared first;
// when the object is rejected nothing is appended, everything read for it
// is released, and the error text holds the message, if the failure has one
// (a value that is not a number, a missing closing quote or a missing
// OBJECT_END have none). Bitmaps named by the object are loaded from
// `driver_dir` + name into `bitmaps`. True when the object was appended.
// A file that cannot be read is treated as a missing one: nothing appended,
// no message. With `problems` the file is checked (see load_problems.h); with
// `stop`, a failure with a message leaves there the file and the place where
// the reading stopped.
bool LOAD_OBJECT(Files& files, const std::string& path, std::uint8_t tool, std::string& error,
                 std::size_t error_limit, ObjectList& objects, BitmapList& bitmaps,
                 const std::string& driver_dir, LogSink& log, LoadProblems* problems = nullptr,
                 LoadStopPlace* stop = nullptr);
// The same for a definition already in memory (checked when the source has a
// collector).
bool LOAD_OBJECT(TextSource& source, std::uint8_t tool, std::string& error, std::size_t error_limit,
                 ObjectList& objects, BitmapList& bitmaps, const std::string& driver_dir,
                 LogSink& log);

// Reads an object attribute group into `attributes` (see ReadAttributeGroup).
bool LOADOBJECT_ATTR(TextSource& source, std::string& error, std::size_t error_limit,
                     std::uint32_t& attributes);

// Builds an object from `fields` (name and title cut to 20 characters,
// reserved fields 0), takes over the five lists and appends it. Logs
// "INS_OBJECT: " + name + " " + title.
dLM_OBJECT* INS_OBJECT(ObjectList& objects, const ObjectFields& fields, ObjectItems items,
                       LogSink& log);

// Appends to `target` a full copy of `source` with its own copies of every
// item (each item's value is its default) and the given instance number, and
// returns it. Bitmap handles are shared with the source.
dLM_OBJECT* COPY_OBJECT(const dLM_OBJECT& source, ObjectList& target, std::uint16_t instance,
                        LogSink& log);

// Unlinks `record` from `objects` and frees it with everything it owns. A
// record that is not in the list is left alone (false).
bool DELETE_OBJECT(ObjectList& objects, dLM_OBJECT* record);

// Frees every record of the list; the list becomes empty.
void FREE_OBJECTS(ObjectList& objects);

// The fields of an object record, as INS_OBJECT would take them again.
ObjectFields FieldsOf(const dLM_OBJECT& object);

// The heads of the object's five item lists in the order in which all of an
// object's items are visited: d_in, d_out, d_init, d_prom, data_user.
std::array<dLM_DATAITEM*, 5> ItemListsOf(const dLM_OBJECT& object);

// The object's first item whose ident equals `item_ident`, searching the five
// lists in that order; null when there is none. A plain walk over the
// object's own items (a few dozen at most).
dLM_DATAITEM* FindObjectItem(const dLM_OBJECT& object, std::uint16_t item_ident);

}  // namespace lm
