// The host's conversion services: the data item service (AkceItem), BINTOSTR,
// STRTOBIN, the LONG check and the USER/LONG conversion.
//
// Each takes the host's parameter record, writes its results and error code
// into it and returns the call's result (TRUE/FALSE). The services that work on
// an item take it already looked up: the library's own record of the object
// ident and item ident (instance 0), or null when there is none. Every line the
// service logs, its "LM ENTRY" line included, is written here; the caller adds
// only the frame around the call.
//
// The record is packed: its fields are read and written by value only.
#pragma once

#include <cstdint>

#include "base/error_codes.h"
#include "base/host_records.h"
#include "base/item_codes.h"
#include "base/log_sink.h"
#include "values/conversion_buffers.h"
#include "values/convertible_item.h"

namespace lm {

// USER/LONG conversion of a value that has no LONG or no item form: a null
// data1, a 3BF or single outside the LONG range, an infinite or NaN single.
// The error table has no text for this; the conversion-to-binary failure is
// the nearest.
inline constexpr std::uint16_t kErrValueNotConvertible = kErrStrToBin;

// AkceItem (host function 19). Reads wparam1 (object), wparam2 (item),
// lparam1 (request bits), string1 (text value), string2 (format overriding the
// item's, when not null), pointer1 (binary value, DELKA bytes). Writes lparam2
// (answer bits), string2 (CONVTOSTR), pointer2 (CONVTOBIN), pointer1
// (GETDEFDATA); error 0; always TRUE. `item` null: only the log line of an
// unknown item, lparam2 unchanged.
bool AkceItem(PARAM_ENTRY& record, ConvertibleItem* item, ConversionBuffers& buffers, LogSink& log);

// BINTOSTR (36): low byte of wparam1 = standard type, data1 = its bytes,
// string1 = format. Success: wparam1 1, error 0, string2 = the text. Failure
// (no standard type, null data1, conversion failed): wparam1 0, error 7.
// Always TRUE.
bool BINTOSTR(PARAM_ENTRY& record, ConversionBuffers& buffers, LogSink& log);

// STRTOBIN (37): low byte of wparam1 = standard type, string1 = text, string2
// = format. data1 = the binary buffer in every case. Success: wparam1 1,
// wparam2 = size, error 0, TRUE. Failure: wparam1 0, wparam2 0, error 8, FALSE.
bool STRTOBIN(PARAM_ENTRY& record, ConversionBuffers& buffers, LogSink& log);

// LONG check (38), item of wparam1/wparam2: an item that is not USER/STRING
// gives wparam1 1, lparam2 4, error 0; otherwise wparam1 0, error 9. TRUE.
bool LongCheck(PARAM_ENTRY& record, const ConvertibleItem* item);

// USER/LONG conversion (39), item of wparam1 and the low word of lparam2;
// lparam1 = direction as type codes (low word kTypLong: item value -> LONG;
// low word kTypUser with high word kTypLong: LONG -> item value), data1 =
// value; result in data2, its size in lparam2.
// Errors 9 (no item, STRING item), 11 (subtype), 12 (direction), 13 (source
// not LONG), kValueNotConvertible. Always TRUE.
bool UserLongConversion(PARAM_ENTRY& record, const ConvertibleItem* item,
                        ConversionBuffers& buffers, LogSink& log);

}  // namespace lm
