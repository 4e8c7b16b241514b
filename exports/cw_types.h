// The names the Control Web export gives an item's type and direction: in the
// program texts and the data map, in the parameter file and in the dialog's
// item list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "exports/cw_items.h"

namespace lm {

// "cardinal", "real", ... as the channel lines and the data map name them.
std::string_view CwChannelType(std::uint8_t typ, std::uint8_t subtyp);
// "WORD", "REAL3BF", ... as the parameter file's QQ lines name them.
std::string_view ParType(std::uint8_t typ, std::uint8_t subtyp);
// "word", "real-3BF", ... as the dialog's item list names them.
std::string_view ListType(std::uint8_t typ, std::uint8_t subtyp);

// "READ", "WRITE", "BIDIR"; empty for no known direction.
std::string_view CwDirectionName(std::uint8_t cw_out);

// The dialog's list entry: "OBJ.3.ITEM (READ word)", with " = " and the
// value for init and user values written by the supervisory system.
std::string CwListEntry(const CwItem& item);

}  // namespace lm
