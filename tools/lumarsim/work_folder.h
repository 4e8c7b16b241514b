// The host's working folder of a lumarsim session: WORK/OVLADACE/KADEX2 as a
// copy of a driver directory. lumarsim deletes only what it made itself: the
// copy carries a mark file, and a driver directory found there without the
// mark is left alone and refused. A WORK that is, holds or lies inside the
// driver directory to copy is refused too (the copy would land in its own
// source, or replace it).
#pragma once

#include <filesystem>
#include <string>

namespace lumarsim {

// The mark lumarsim leaves in every working copy it made.
inline constexpr const char kWorkCopyMark[] = "LUMARSIM.COPY";

// Copies `driver_dir` to `work`/OVLADACE/KADEX2, replacing a marked copy made
// earlier; false with `error` (for the user) when refused or when a file
// cannot be copied.
bool PrepareWorkFolder(const std::filesystem::path& driver_dir, const std::filesystem::path& work,
                       std::string& error);

}  // namespace lumarsim
