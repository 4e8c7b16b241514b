// The bitmaps of tools and objects, loaded from the driver folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "library/record_lists.h"

namespace lm {

// Loads `driver_dir` + `name` as a new entry of the bitmap list and returns
// its handle as the records keep it; logs "INS_BITMAP: " + name. Returns 0 and
// changes nothing when the name is empty, the file does not exist, or the
// platform cannot read it as a picture (the last two logged as
// "INS_BITMAP: " + name + " not loaded - handle 0"). Every call loads its own entry, even
// for a file loaded before.
std::uint32_t INS_BITMAP(BitmapList& bitmaps, const std::string& driver_dir, std::string_view name,
                         LogSink& log);

// Frees every bitmap of the list; the list becomes empty.
void FREE_BITMAPS(BitmapList& bitmaps);

}  // namespace lm
