// The netlist as the host hands it to the driver with NetList: one dLMN_NODE
// per block in project order, each with its dLMN_CONNECT wires and dLMN_CONST
// constants, linked and laid out as the host lays them out; the driver reads
// them in place. The records live as long as the HostNetlist.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tools/lumarsim/project_file.h"

namespace lumarsim {

class HostNetlist {
public:
    // Builds the records of `project`. A wire whose other block is not in the
    // project makes the netlist fail with error() naming the project line:
    // "LINE: TEXT", to follow "FILE:" as every place is written.
    explicit HostNetlist(const Project& project);
    HostNetlist(const HostNetlist&) = delete;
    HostNetlist& operator=(const HostNetlist&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // The first node, or null for a project without blocks.
    dLMN_NODE* head() { return nodes_.empty() ? nullptr : &nodes_.front(); }
    // The records, for tests that break them on purpose.
    std::deque<dLMN_NODE>& nodes() { return nodes_; }
    std::deque<dLMN_CONNECT>& connections() { return connections_; }
    std::deque<dLMN_CONST>& constants() { return constants_; }

private:
    // Deques keep the records where they are while more are added.
    std::deque<dLMN_NODE> nodes_;
    std::deque<dLMN_CONNECT> connections_;
    std::deque<dLMN_CONST> constants_;
    std::deque<std::vector<std::uint8_t>> data_;
    std::string error_;
};

}  // namespace lumarsim
