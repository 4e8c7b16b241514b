// The Czech texts of the error codes the host fetches with errtext.
#pragma once

#include <cstdint>
#include <string>

#include "base/error_codes.h"

namespace lm {

// The text of any code (CP1250, without the zero byte).
std::string ErrorText(std::uint16_t code);

}  // namespace lm
