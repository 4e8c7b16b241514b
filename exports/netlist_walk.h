// The walk over the host's netlist that NETLIST.TXT and LMKOMUN.INI share:
// every node is matched with its instance, every constant is converted into
// its item's value text, and the constants, the instance's user values and
// the wires give their order lines. The listing mode also writes a line for
// every node, constant, user value and wire, and for everything that did not
// match; the communication-program mode writes the order lines only.
//
// The host's records are read in place and never written; the walk visits
// each record once and stops at the bounds of host_chain.h, with a line in
// the listing and in the log. What it changes is the instance list: every
// constant that converts becomes the value text of its item, and item 162 of
// the project block (ident 164) receives the checksum.
#pragma once

#include <cstdint>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "exports/export_text.h"
#include "exports/host_chain.h"
#include "exports/left_out_orders.h"
#include "instances/instance_list.h"

namespace lm {

enum class NetListMode {
    Listing,  // NETLIST.TXT
    Komun,    // LMKOMUN.INI
    // The Control Web export: the constants only, each converted into its
    // item's value text; no lines, no user values, no wires.
    Constants,
};

// The buffer a constant is converted from: a form-1 constant fills it whole.
inline constexpr std::size_t kConstantBytes = 256;

// The constants of the netlist from `head` become their items' value texts.
void ConvertNetlistConstants(const dLMN_NODE* head, InstanceList& instances, std::uint32_t checksum,
                             LogSink& log);

// Walks the netlist from `head` (null: nothing to walk). `instances` null
// finds no instance: every node is unknown. Every order left out goes to
// `left_out` when given.
void WalkNetlist(NetListMode mode, const dLMN_NODE* head, InstanceList* instances,
                 std::uint32_t checksum, ExportText& out, LogSink& log,
                 const NetlistLimits& limits = {}, LeftOutOrders* left_out = nullptr);

}  // namespace lm
