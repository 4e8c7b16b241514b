// The box that tells the user that a file the driver works with at the user's
// request could not be read, written or deleted: the file's path, and the
// system's reason on the next line when there is one.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace lm {

// "Chyba I/O: soubor " + path + " nelze " + action + "." and the reason.
void ShowFileError(Platform& platform, std::string_view path, std::string_view action,
                   std::string_view reason = {});

}  // namespace lm
