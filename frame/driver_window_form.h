// The component table of the driver window TLMDriverForm.
#pragma once

#include <memory>

#include "ui/form.h"

namespace lm {

inline constexpr int kDriverWindowWidth = 242;   // client 236 + the dialog border
inline constexpr int kStatusClosedHeight = 161;  // only the top part
inline constexpr int kStatusOpenHeight = 375;    // the memo, ButtonClear and the edits too

std::unique_ptr<ui::Form> BuildDriverWindowForm();

}  // namespace lm
