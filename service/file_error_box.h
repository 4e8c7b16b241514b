// The texts that tell the user that a file could not be read, written,
// created or deleted, built the one way for every box that tells it: the
// file's path, what could not be done with it and, after the words, the
// system's reason or what the driver did instead.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace lm {

// "Soubor " + path + " nelze " + action, then `after` and `reason` as they
// stand: `after` is the punctuation before the reason (":\r", ": ", ".\r")
// or a whole closing sentence.
std::string FileErrorText(std::string_view path, std::string_view action, std::string_view after,
                          std::string_view reason = {});

// The driver window's own files (its log, the start-up options, DIALOG.INI):
// "Chyba I/O: soubor " + path + " nelze " + action + "." and the reason on
// the next line when there is one.
std::string IoFileErrorText(std::string_view path, std::string_view action,
                            std::string_view reason = {});

// IoFileErrorText in an error box.
void ShowFileError(Platform& platform, std::string_view path, std::string_view action,
                   std::string_view reason = {});

}  // namespace lm
