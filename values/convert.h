// CONVERT: the one conversion between a data item's binary value and its text,
// by type (TYP), subtype (SUBTYP) and display format (FORMAT); the format
// picture check VERFORMAT; and SIZE_OF_TYP.
//
// Binary forms are little-endian: BYTE 1 byte unsigned, INT 2 signed, WORD 2
// unsigned, LONG 4 signed, DWORD 4 unsigned; USER by subtype: 3BF 3 bytes,
// STRING exactly w bytes (w = format width), BIT 1 byte 0/1, WORDHEX 2 bytes,
// BYTEHEX 1 byte, FLOAT an IEEE single. USER without one of these subtypes, and
// any other type, cannot be converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "values/convertible_item.h"

namespace lm {

enum class ConvertDirection { TextToBin, BinToText };

// The value of a WORDHEX or BYTEHEX text: bare hexadecimal digits (read as
// "$" + text), at most 32 bits; nothing for any other text.
std::optional<std::uint32_t> HexTextValue(std::string_view text);

// Numeric pictures (`####.##`) for every type but USER/STRING, string pictures
// (`?????`) for USER/STRING.
enum class FormatKind { Numeric, String };

struct FormatPicture {
    int width = 0;     // the field width w: the length of the format
    int decimals = 0;  // d: the characters after the first '.', numeric kind only
};

// Formats are bounded texts: one longer than this is not a valid picture.
inline constexpr std::size_t kMaxFormatLength = 255;

// The picture of `format`, or nothing when it breaks the rules: a numeric
// picture must not contain '?', a string picture must be all '?'. An empty
// format is valid with w = 0. Pure; VERFORMAT adds the log line.
std::optional<FormatPicture> FormatPictureOf(FormatKind kind, std::string_view format);

// FormatPictureOf, and for a valid numeric picture the log line
// "num format OK, delka=ww, des=dd".
std::optional<FormatPicture> VERFORMAT(FormatKind kind, std::string_view format, LogSink& log);

// BYTE 1, INT and WORD 2, LONG and DWORD 4, anything else 0.
std::size_t SIZE_OF_TYP(unsigned typ);

// Converts between `binary` and `text` in `direction`. With an item, the
// item's type and subtype are used and `typ_code` and `subtyp_code` are
// ignored; after the conversion, successful or not, the item's value text is
// set to the text (at most 80 characters).
//
// Text -> binary reads `text` (a STRING field leaves it padded to its width)
// and writes the value's bytes to the start of `binary`, which is left alone
// on failure. Binary -> text reads the value's bytes from `binary` and
// replaces `text`; a failed conversion leaves `text` empty, so no earlier text
// can be mistaken for the value. The text produced is at most `text_limit`
// characters (callers pass 255). `format` must not refer to `text`. A
// `binary` span too small for the value fails.
//
// Returns ok. Integer texts keep the low bytes of their value (`300` as BYTE
// stores 44); real texts beyond the range of their target (an IEEE single for
// FLOAT, the short real and 2^64 for 3BF, the short real for BIT) fail instead
// of storing a wrapped or infinite value.
bool CONVERT(ConvertDirection direction, std::span<std::uint8_t> binary, std::string& text,
             std::uint8_t subtyp_code, std::uint8_t typ_code, ConvertibleItem* item,
             std::string_view format, std::size_t text_limit, LogSink& log);

}  // namespace lm
