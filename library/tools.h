// TOOLS.INI: the firmware range of the library and its tools (palettes of the
// host), each naming the object definition files it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "library/load_problems.h"
#include "library/object_library.h"
#include "library/record_lists.h"
#include "platform/files.h"

namespace lm {

// Text limit of a tool's description.
inline constexpr std::size_t kToolDescriptionLimit = 12;

// Reads TOOLS.INI at `path` through `files` into `library`: the firmware pair, the tools and
// every object file their OBJECTS lists name (relative to `driver_dir`, which
// ends with the separator), with the bitmaps of both. The error text is
// cleared first and holds the message that stopped the load, if one did;
// what was loaded before it stays. True when the error text is empty.
// With `problems` every file is checked (see load_problems.h): the load goes
// on after errors, and the error text is the first one the driver would have
// stopped with. With `stop`, a load stopped by a message leaves there the
// file and the place where the reading stopped.
bool LOAD_TOOLS(Files& files, const std::string& path, const std::string& driver_dir,
                ObjectLibrary& library, std::string& error, std::size_t error_limit, LogSink& log,
                LoadProblems* problems = nullptr, LoadStopPlace* stop = nullptr);

// Loads the tool's bitmap (none when the name is empty), appends a tool
// record (description cut to 12 characters, id kept as 8 bits) and logs
// "INS_TOOL: " + description.
dLMN_TOOL* INS_TOOL(ToolList& tools, std::uint16_t level, std::uint16_t id,
                    std::string_view description, std::string_view bitmap_name, BitmapList& bitmaps,
                    const std::string& driver_dir, LogSink& log);

// Frees every tool record; the list becomes empty.
void FREE_TOOLS(ToolList& tools);

// A FIRMWARE value as stored: values from 1 to 999 are multiplied by 10 until
// they are at least 1000 (2 means 2000, 21 means 2100); others stay.
std::uint32_t ScaleFirmware(std::uint32_t value);

}  // namespace lm
