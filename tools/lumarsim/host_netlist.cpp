#include "tools/lumarsim/host_netlist.h"

#include <map>
#include <utility>

namespace lumarsim {

HostNetlist::HostNetlist(const Project& project) {
    // The first block of a pair is the one a wire reaches, as in the host.
    std::map<std::pair<std::uint16_t, std::uint16_t>, dLMN_NODE*> by_pair;
    for (const ProjectBlock& block : project.blocks) {
        dLMN_NODE& node = nodes_.emplace_back();
        node = {};
        node.ident = block.ident;
        node.instance = block.instance;
        if (nodes_.size() > 1) nodes_[nodes_.size() - 2].next = &node;
        by_pair.emplace(std::make_pair(block.ident, block.instance), &node);
    }
    for (std::size_t n = 0; n < project.blocks.size(); ++n) {
        const ProjectBlock& block = project.blocks[n];
        dLMN_NODE& node = nodes_[n];
        dLMN_CONNECT* last_wire = nullptr;
        for (const ProjectWire& wire : block.wires) {
            auto other = by_pair.find({wire.other_ident, wire.other_instance});
            if (other == by_pair.end()) {
                error_ = std::to_string(wire.source_line) + ": the wire's other block " +
                         std::to_string(wire.other_ident) + " " +
                         std::to_string(wire.other_instance) + " is not in the project";
                return;
            }
            dLMN_CONNECT& record = connections_.emplace_back();
            record = {};
            record.item = wire.item;
            record.other_item = wire.other_item;
            record.other = other->second;
            (last_wire != nullptr ? last_wire->next : node.connections) = &record;
            last_wire = &record;
        }
        dLMN_CONST* last_const = nullptr;
        for (const ProjectConst& constant : block.constants) {
            dLMN_CONST& record = constants_.emplace_back();
            record = {};
            record.level = constant.form;
            record.item = constant.item;
            if (!constant.nil) {
                std::vector<std::uint8_t>& data = data_.emplace_back(constant.bytes);
                // Form 1 is a whole block of 256 bytes; the host's memory
                // after the given bytes is zero.
                if (constant.form == 1) data.resize(256, 0);
                data.reserve(1);  // an empty constant still has an address
                record.data = data.data();
                record.length = static_cast<std::uint16_t>(constant.bytes.size());
            }
            (last_const != nullptr ? last_const->next : node.constants) = &record;
            last_const = &record;
        }
    }
}

}  // namespace lumarsim
