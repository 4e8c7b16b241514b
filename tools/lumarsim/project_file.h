// The simulator's project file: plain text, one fact per line, '#' starts a
// comment. It stands for the project file of the host, holding what the host
// keeps of a project: its blocks, with each block the driver's stored lines,
// and the wiring the host hands over as the netlist.
//
//   # a comment
//   block 40 1                 object ident, instance number
//   line K2_USER Kanal1 = 12.50    a stored line of the block above
//   wire 2 11 1 0              item 2 of the block above takes its value from
//                              item 0 of block 11 instance 1
//   const 20 2 43 40 00        item 20 of the block above gets a constant:
//                              form 2 (these bytes), hexadecimal, memory order
//   const 21 1 00 40 41        form 1: a 256-byte block starting with these bytes
//   const 22 2 nil             no data (the host's null pointer)
//
// Lines end in LF, CR LF or CR alone. Blocks keep file order, lines, wires and
// constants keep file order within their block; a block (ident and instance)
// is given once. A wire names the block at its other end, which must be in
// the project. Comments are kept for saving: those right before a block line
// with the block, those among a block's lines after its block line, those at
// the end with the project.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumarsim {

// A wire as the block that owns it sees it: its item takes the value of
// another block's item.
struct ProjectWire {
    std::uint16_t item = 0;
    std::uint16_t other_ident = 0;
    std::uint16_t other_instance = 0;
    std::uint16_t other_item = 0;
    int source_line = 0;
};

// A constant value given to an item of the block.
struct ProjectConst {
    std::uint16_t item = 0;
    std::uint16_t form = 0;           // 1: a 256-byte block, 2: exactly these bytes
    bool nil = false;                 // no data at all
    std::vector<std::uint8_t> bytes;  // at most 256
};

struct ProjectBlock {
    std::uint16_t ident = 0;
    std::uint16_t instance = 0;
    int source_line = 0;
    std::vector<std::string> lines;  // CP1250, as the driver handed them out
    std::vector<ProjectWire> wires;
    std::vector<ProjectConst> constants;
    std::vector<std::string> leading_comments;  // whole lines, '#' included
    std::vector<std::string> inner_comments;
};

struct Project {
    std::vector<ProjectBlock> blocks;
    std::vector<std::string> trailing_comments;
};

struct ProjectError {
    int line = 0;  // 1-based; 0 when the file itself is the problem
    std::string message;
};

// Parses a project text; on error names the line.
std::optional<Project> ParseProject(const std::string& text, ProjectError& error);

// The project text: every block with its comments, lines, wires and
// constants, then the trailing comments; a header comment first when the file
// has no comment of its own there.
std::string FormatProject(const Project& project);

}  // namespace lumarsim
