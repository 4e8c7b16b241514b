// What the checks beyond the parsers' own find: notes with a place in the
// file being read.
#pragma once

#include <string>
#include <vector>

#include "library/load_problems.h"

namespace lmcheck {

struct Note {
    lm::Severity severity;
    lm::TextPosition at;
    std::string code;
    std::string text;  // English, UTF-8
};

using Notes = std::vector<Note>;

}  // namespace lmcheck
