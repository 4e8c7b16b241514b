// The communication settings of a driver directory: SETCOM.INI and
// profiles.ini read with the driver's own readers, which report the lines
// they cannot read; here the values that read but that the settings dialog
// or the line cannot use.
#pragma once

#include <string>

#include "platform/files.h"
#include "tools/lmcheck/collector.h"

namespace lmcheck {

// `driver_dir` ends with the separator.
void CheckSettings(lm::Files& files, const std::string& driver_dir, Collector& collector);

}  // namespace lmcheck
