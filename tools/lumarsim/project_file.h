// The simulator's project file: plain text, one fact per line, '#' starts a
// comment. It stands for the project file of the host, holding what the host
// keeps of a project: its blocks and, with each block, the driver's stored
// lines.
//
//   # a comment
//   block 11 1          object ident, instance number
//   line K2_USER Kanal1 = 12.50    a stored line of the block above
//
// Blocks keep file order, lines keep file order within their block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumarsim {

struct ProjectBlock {
    std::uint16_t ident = 0;
    std::uint16_t instance = 0;
    int source_line = 0;
    std::vector<std::string> lines;  // CP1250, as the driver handed them out
};

struct Project {
    std::vector<ProjectBlock> blocks;
};

struct ProjectError {
    int line = 0;  // 1-based; 0 when the file itself is the problem
    std::string message;
};

// Parses a project text; on error names the line.
std::optional<Project> ParseProject(const std::string& text, ProjectError& error);

// The project text: a header comment, then every block and its lines.
std::string FormatProject(const Project& project);

}  // namespace lumarsim
