// The Czech texts of the error codes the host fetches with errtext.
#pragma once

#include <cstdint>
#include <string>

#include "base/cp1250.h"
#include "base/error_codes.h"

namespace lm {

// The text of kErrNotExported.
inline constexpr CpText kNotExportedText =
    "Dotaz na překlad nelze zobrazit: projekt nebyl přeložen ani nahrán do systému RX7."_cp;

// The text of any code (CP1250, without the zero byte).
std::string ErrorText(std::uint16_t code);

}  // namespace lm
