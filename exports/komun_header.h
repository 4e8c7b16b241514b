// The first lines of LMKOMUN.INI, the communication program's configuration:
// the line settings of SETCOM.INI, the firmware range of the library and the
// driver window. The CRC32 line and the order lines follow them.
#pragma once

#include <cstdint>
#include <string>

#include "exports/export_text.h"
#include "settings/com_settings.h"

namespace lm {

// The driver window: its handle, its left and top position and its height.
struct KomunWindow {
    std::uint64_t handle = 0;
    int left = 0;
    int top = 0;
    int height = 0;
};

// Lines 1 to 7:
//     port 2 38400          (or: tcp 192.168.1.10 1998)
//     rs232                 (or rs485; no such line for TCP)
//     address 1
//     retranslation 1
//     TIMEOUT 1.5
//     FIRMWARE 2100 3000
//     HWND 1234 10 20 161
void WriteKomunHeader(ExportText& out, const settings::TComSettings& settings,
                      std::uint32_t firmware_low, std::uint32_t firmware_high,
                      const KomunWindow& window);

}  // namespace lm
