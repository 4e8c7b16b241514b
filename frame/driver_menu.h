// The driver's popup menu in the host.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace lm {

enum MenuId : std::uint16_t {
    kMenuTranslate = 3000,
    kMenuNetlist = 3001,
    kMenuKeyboard = 3002,
    kMenuReadCmos = 3003,
    kMenuComSettings = 3004,
    kMenuComAddress = 3005,
    kMenuLabelTable = 3006,
    kMenuShowHide = 3007,
    kMenuAbout = 3008,
    kMenuStartup = 3009,
    kMenuCwOutput = 3010,
};

// The 16 entries in menu order; identifiers of 3900 and above are separators.
const std::vector<MenuEntry>& DriverMenuEntries();

inline constexpr const char kMenuTitle[] = "&KADEXline2";

}  // namespace lm
