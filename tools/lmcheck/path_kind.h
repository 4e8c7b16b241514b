// What a path of the checked folder names, for the findings that tell a
// missing file from one that is there but cannot be read as a file.
#pragma once

#include <string>

namespace lmcheck {

enum class PathKind { Missing, File, Folder, Other };

// `path` is CP1250, as the parsers name files. A link is followed; one that
// leads nowhere is Missing. Other: a FIFO, a device, a socket.
PathKind KindOfPath(const std::string& path);

}  // namespace lmcheck
