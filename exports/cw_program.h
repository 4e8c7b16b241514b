// The Control Web and Control Panel program texts: a head with the folders
// and the driver, one channel line per item, then the timer and the panel
// with one row per item (a label, a display for what the supervisory system
// reads, an input for what it writes). The Control Panel text is the same
// program without fonts, timers on its inputs and procedure headings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exports/cw_items.h"
#include "exports/cw_side_files.h"

namespace lm {

enum class CwProgramKind { ControlWeb, ControlPanel };

struct CwProgramNames {
    std::string par_path;    // the PAR file as the dialog names it
    std::string dmf_path;    // the DMF file as the dialog names it
    std::string driver_dir;  // ends with "\"
};

// The label of an item's panel row: its channel name, shortened to its first
// and last 12 characters around "..." when longer than 24, and " (In)",
// " (Out)" or " (I/O)" by its direction.
std::string CwLabelText(const CwItem& item);

// The whole program text. In append mode over an existing text the new
// channel lines go in before its "end_channel;" and the new panel rows
// before its program block, numbered on from the rows it has, so the file
// stays one program; an existing text without "end_channel;" is refused.
// Append mode to a missing or blank file writes the whole text (AppendsTo).
CwFileText CwProgramText(CwProgramKind kind, const std::vector<CwItem>& items, long first_channel,
                         bool append, const CwProgramNames& names,
                         std::optional<std::string_view> existing);

}  // namespace lm
