// The two files of the Control Web serial driver: the parameter file (PAR),
// which describes the serial line and the station with one QQ line per
// channel, and the data map (DMF), which declares one typed channel per item.
// Both are built whole in memory; in append mode from the existing file's
// text, so the caller writes the result over the file in one go.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exports/cw_items.h"
#include "exports/export_text.h"
#include "settings/com_settings.h"

namespace lm {

// The file text, or the message that says why none can be made.
struct CwFileText {
    std::string text;
    std::string error;
};

// Append mode adds to a file only when there is something to add to: a file
// that does not exist, or holds nothing but blanks and line ends, is written
// whole as in overwrite mode. (Appended to, it would be a PAR file without
// [COM] and [GLOBAL], a DMF without "begin", a program text without its head
// and channel section: files the supervisory system cannot use.)
bool AppendsTo(bool append, std::optional<std::string_view> existing);

// WriteParHead: the head in overwrite mode, only the comment line in append
// mode; then the station block.
void WriteParHead(ExportText& out, bool append, const settings::TComSettings& settings);
// WriteParLine: "  QQ READ 100 12 3 4 WORD".
void WriteParLine(ExportText& out, const CwItem& item, long channel);
// WriteDmfLine: "   100 cardinal input".
void WriteDmfLine(ExportText& out, const CwItem& item, long channel);

// The PAR file for `items` numbered from `first_channel`. `existing` is the
// file's text in append mode when the file exists: the new station follows it
// (AppendsTo).
CwFileText ParFileText(const std::vector<CwItem>& items, long first_channel, bool append,
                       const settings::TComSettings& settings,
                       std::optional<std::string_view> existing);

// The DMF file. In append mode over an existing file (AppendsTo) the new
// channels go in before its closing "end." so the map stays one block; an
// existing file without "end." is refused.
CwFileText DmfFileText(const std::vector<CwItem>& items, long first_channel, bool append,
                       std::optional<std::string_view> existing);

}  // namespace lm
