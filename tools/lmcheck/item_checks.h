// The checks of one data item beyond what the parser finds: does its FORMAT
// fit its TYP, do its DEFAULT, MIN and MAX convert as the host will convert
// them, does the DEFAULT lie within the limits, does DELKA fit the type.
#pragma once

#include "library/data_items.h"
#include "tools/lmcheck/notes.h"

namespace lmcheck {

Notes CheckItem(const lm::ItemFields& item, const lm::BlockPositions& at);

}  // namespace lmcheck
