// The driver's name and version as it introduces itself: identify hands them
// to the host and the netlist listing prints them in its header.
#pragma once

#include <string_view>

namespace lm::texts {

inline constexpr const char kShortName[] = "VORTEL KADEX-RX7";
inline constexpr std::string_view kVersion = "verze 4.05 ze dne 1.12.2005";

}  // namespace lm::texts
