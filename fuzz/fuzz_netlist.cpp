// Builds a netlist graph from arbitrary bytes over instances of the sample
// library, as a broken host could hand it over (next, other and the lists
// pointing anywhere among the records, loops, null data, any form and length),
// and runs the walk in both modes. The host's records must come out unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "base/log_sink.h"
#include "exports/netlist_text.h"
#include "fuzz/fuzz_check.h"
#include "instances/instance_list.h"
#include "instances/lookups.h"
#include "library/tools.h"
#include "platform/headless/headless_platform.h"

namespace {

using fuzz::Check;
using fuzz::CheckingLog;

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t Next() { return at < size ? data[at++] : 0; }
    std::uint16_t Next16() { return static_cast<std::uint16_t>(Next() | Next() << 8); }
};

constexpr std::size_t kRecords = 32;

struct Host {
    std::array<dLMN_NODE, kRecords> nodes{};
    std::array<dLMN_CONNECT, kRecords> wires{};
    std::array<dLMN_CONST, kRecords> constants{};
    std::array<std::array<std::uint8_t, 256>, 4> data{};
};

// A pointer among the records of `array`, or null.
template <class Record, std::size_t N>
Record* Pick(std::array<Record, N>& array, std::uint8_t byte) {
    return byte % (N + 1) == N ? nullptr : &array[byte % (N + 1)];
}

lm::InstanceList& Instances() {
    static lm::HeadlessPlatform platform;
    static lm::ObjectLibrary library(platform);
    static lm::InstanceList instances;
    static const bool loaded = [] {
        platform.SetQuiet(true);
        const std::string dir = std::string(LM_SAMPLE_DRIVER_DIR) + "/";
        std::string error;
        lm::NoLog log;
        lm::LOAD_TOOLS(platform.files(), dir + "TOOLS.INI", dir, library, error, lm::kMaxText,
                       log);
        for (dLM_OBJECT* o = library.objects.head(); o != nullptr; o = o->next) {
            for (std::uint16_t instance : {1, 2, 255, 256}) instances.Create(*o, instance, log);
        }
        return true;
    }();
    Check(loaded);
    return instances;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint16_t kIdents[] = {1, 7, 11, 20, 40, 42, 43, 60, 155, 164, 999};
    Bytes in{data, size};
    Host host;
    for (auto& block : host.data) {
        for (auto& b : block) b = in.Next();
    }
    for (dLMN_NODE& node : host.nodes) {
        node.next = Pick(host.nodes, in.Next());
        node.level = in.Next();
        node.ident = kIdents[in.Next() % std::size(kIdents)];
        const std::uint8_t instance = in.Next();
        node.instance = instance < 200 ? instance % 3 : in.Next16();
        node.connections = Pick(host.wires, in.Next());
        node.constants = Pick(host.constants, in.Next());
    }
    for (dLMN_CONNECT& wire : host.wires) {
        wire.next = Pick(host.wires, in.Next());
        wire.item = in.Next() < 200 ? in.Next() % 32 : in.Next16();
        wire.other_item = in.Next() < 200 ? in.Next() % 32 : in.Next16();
        wire.other = Pick(host.nodes, in.Next());
    }
    for (dLMN_CONST& constant : host.constants) {
        constant.next = Pick(host.constants, in.Next());
        constant.level = in.Next() % 4;
        constant.item = in.Next() < 200
                            ? static_cast<std::uint16_t>(in.Next() % 32 + 140 * (in.Next() & 1))
                            : in.Next16();
        constant.data = Pick(host.data, in.Next());
        constant.length = in.Next16();
    }
    Host before;
    std::memcpy(&before, &host, sizeof host);

    CheckingLog log;
    lm::NetListHeader header;
    header.settings.TCPIP = "192.168.1.1";
    for (lm::NetListMode mode : {lm::NetListMode::Listing, lm::NetListMode::Komun}) {
        const std::string text =
            lm::NetListText(mode, in.Next16() * 65537u, &Instances(),
                            in.Next() & 1 ? &host.nodes[0] : nullptr, header, log);
        Check(text.size() >= 2 && text.ends_with("\r\n"));
    }
    Check(std::memcmp(&before, &host, sizeof host) == 0);
    return 0;
}
