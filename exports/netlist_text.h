// The whole text of WriteNetList in either mode: the header of the mode, the
// CRC32 line, in the listing the list of every instance, then the walk.
//
// NETLIST.TXT begins:
//     Lumar, NetList - text
//     DLL:VORTEL KADEX-RX7
//         verze 4.05 ze dne 1.12.2005
//     -------------------------------------------
//     FIRMWARE (min/max) = 2100 3000
//     CRC32 = 305419896
//     HEX = 78 56 34 12
// LMKOMUN.INI begins with the lines of komun_header.h and the CRC32 line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "exports/komun_header.h"
#include "exports/netlist_walk.h"
#include "instances/instance_list.h"

namespace lm {

inline constexpr std::string_view kKomunFileName = "LMKOMUN.INI";
inline constexpr std::string_view kNetlistFileName = "NETLIST.TXT";

// Exactly "LMKOMUN.INI" selects the communication-program mode; any other
// name the listing.
NetListMode NetListModeOf(std::string_view file_name);

// What the headers need besides the checksum.
struct NetListHeader {
    std::uint32_t firmware_low = 0;
    std::uint32_t firmware_high = 0;
    settings::TComSettings settings;  // communication-program mode only
    KomunWindow window;               // communication-program mode only
};

// The file's text into `out`; the walk changes the instance list as
// netlist_walk.h says and hands the orders it left out to `left_out`.
void WriteNetListText(ExportText& out, NetListMode mode, std::uint32_t checksum,
                      InstanceList* instances, const dLMN_NODE* netlist,
                      const NetListHeader& header, LogSink& log, LeftOutOrders* left_out = nullptr);
// The same text whole.
std::string NetListText(NetListMode mode, std::uint32_t checksum, InstanceList* instances,
                        const dLMN_NODE* netlist, const NetListHeader& header, LogSink& log);

}  // namespace lm
