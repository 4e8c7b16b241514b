// The driver's constant texts (CP1250), handed to the host by pointer and shown
// in the driver window.
#pragma once

#include <string_view>

#include "base/cp1250.h"
#include "base/driver_identity.h"

namespace lm::texts {

// identify: description, short name (base/driver_identity.h), and the identify
// text (name, line feed, version).
inline constexpr const char kDescription[] = "Vortel Kadex-RX7, komunikace COM/TCP";
inline constexpr const char kIdentify[] = "VORTEL KADEX-RX7 LM-Driver\nverze 4.05 ze dne 1.12.2005";

inline constexpr std::string_view kWindowCaption = "Lumar: KADEX line 2";
inline constexpr std::string_view kLineName = "KADEX line 2";

inline constexpr std::string_view kDriverSubdirectory1 = "OVLADACE";
inline constexpr std::string_view kDriverSubdirectory2 = "KADEX2";
inline constexpr std::string_view kLogFileName = "LMDRIVER.LOG";
inline constexpr std::string_view kHelpFileName = "LMRX7.HLP";
inline constexpr std::string_view kHostHelpFileName = "LUMAR.HLP";

}  // namespace lm::texts
