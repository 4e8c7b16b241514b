// lumarsim settings: the active communication settings (SETCOM.INI) and the
// profiles (profiles.ini) of a driver directory, read by the driver's own
// readers, as the driver window and the settings dialog would show them: the
// values the driver uses after its repairs, each repair marked "repaired:"
// with the value the file gave.
#pragma once

#include <cstdio>
#include <string>

namespace lumarsim {

// Prints the report; 0 when both files were read, 1 when SETCOM.INI is
// missing (the driver would beep, say so and use its defaults).
int PrintSettings(const std::string& driver_dir, std::FILE* out);

}  // namespace lumarsim
