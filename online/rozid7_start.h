// The four ways the driver starts the communication program ROZID7.EXE from
// the driver directory, with the shell's "open" action and no working folder:
// the program finds LMKOMUN.INI beside its own executable.
#pragma once

#include <string>

#include "platform/platform.h"

namespace lm {

enum class Rozid7Start {
    RunMode,    // "/DDE 0000", minimised: StartRUN
    Keyboard,   // "/K", normal: menu item "&Klávesnice"
    ReadAll,    // "/READALL", normal: menu item "Načíst celou &CMOS"
    Translate,  // no parameters, SW_SHOW: NetList after menu item "&Překlad"
};

// Starts the program; returns the shell's result code (32 or less: failure).
int StartRozid7(Platform& platform, const std::string& driver_dir, Rozid7Start how);

}  // namespace lm
