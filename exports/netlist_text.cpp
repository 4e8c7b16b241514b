#include "exports/netlist_text.h"

#include "base/driver_identity.h"
#include "exports/export_text.h"
#include "values/hex_texts.h"

namespace lm {
namespace {

void ListingHeader(ExportText& out, const NetListHeader& header) {
    out.Line("Lumar, NetList - text");
    out.LineOf("DLL:", texts::kShortName);
    out.LineOf("    ", texts::kVersion);
    out.Line(kListingSeparator);
    out.LineOf("FIRMWARE (min/max) = ", header.firmware_low, ' ', header.firmware_high);
}

void InstanceLines(ExportText& out, const InstanceList* instances) {
    out.Line(kListingSeparator);
    out.Line(kListingSeparator);
    out.Line("Seznam vsech objektu v projektu:");
    if (instances != nullptr) {
        for (const dLM_OBJECT* r = instances->head(); r != nullptr; r = r->next) {
            out.LineOf(r->name != nullptr ? std::string_view(r->name) : std::string_view(), '.',
                       r->instance, ", id=", r->ident);
        }
    }
    out.Line(kListingSeparator);
    out.Line("");
}

}  // namespace

NetListMode NetListModeOf(std::string_view file_name) {
    return file_name == kKomunFileName ? NetListMode::Komun : NetListMode::Listing;
}

std::string NetListText(NetListMode mode, std::uint32_t checksum, InstanceList* instances,
                        const dLMN_NODE* netlist, const NetListHeader& header, LogSink& log) {
    ExportText out;
    WriteNetListText(out, mode, checksum, instances, netlist, header, log);
    return out.Take();
}

void WriteNetListText(ExportText& out, NetListMode mode, std::uint32_t checksum,
                      InstanceList* instances, const dLMN_NODE* netlist,
                      const NetListHeader& header, LogSink& log, LeftOutOrders* left_out) {
    if (mode == NetListMode::Komun) {
        WriteKomunHeader(out, header.settings, header.firmware_low, header.firmware_high,
                         header.window);
    } else {
        ListingHeader(out, header);
    }
    out.LineOf("CRC32 = ", static_cast<std::int32_t>(checksum));
    if (mode == NetListMode::Listing) {
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(checksum), static_cast<std::uint8_t>(checksum >> 8),
            static_cast<std::uint8_t>(checksum >> 16), static_cast<std::uint8_t>(checksum >> 24)};
        out.Line("HEX = " + HEX_BYTES(bytes));
        InstanceLines(out, instances);
    }
    WalkNetlist(mode, netlist, instances, checksum, out, log, {}, left_out);
}

}  // namespace lm
