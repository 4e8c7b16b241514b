// The driver's lines in the host's project: one line per user data item of an
// instance, "K2_USER <name> = <value>", handed out one by one while the host
// saves (SaveLine) and taken back while it loads (LoadLine).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/bounded_text.h"
#include "base/host_records.h"
#include "base/log_sink.h"
#include "instances/instance_list.h"

namespace lm {

inline constexpr std::string_view kSaveIdent = "K2_USER";

// The first word of `line` (up to the first space) and the line after it and
// its one separator; line breaks are stripped from both ends of both.
std::string TAKE_WORD(std::string& line);

// Puts the value of a project line into the named item of the instance.
// True when the line is one of ours and names an item of that instance.
bool DECODE_LINE(const InstanceList& instances, std::uint16_t ident, std::uint16_t instance,
                 std::string_view line, std::uint16_t& error, LogSink& log);

// The line of one item, as saved: the value in double quotes for a USER/STRING
// item, bare otherwise.
std::string ProjectLineOf(const dLM_DATAITEM& item);

// What SaveLine keeps between the calls of one save sequence.
struct SaveState {
    bool all_saved = false;                 // allSaved
    TextBuffer<kMaxText + 1>* line_buffer;  // LineBuffer
};

// SaveLine: the next line of the instance named by wparam1/wparam2 into
// string1 (zero-terminated in LineBuffer), wparam1 1 while more follow.
// Returns the call's result.
bool SaveLine(const InstanceList& instances, PARAM_ENTRY& record, SaveState& state, LogSink& log);

}  // namespace lm
