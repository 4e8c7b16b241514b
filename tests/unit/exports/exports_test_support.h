// Helpers of the export tests: the sample library loaded once, instance lists
// placed from it, netlists written as lumarsim project texts, and the lines of
// the texts the exports build.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exports/netlist_text.h"
#include "instances/instance_list.h"
#include "instances/lookups.h"
#include "instances/project_lines.h"
#include "library/tools.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/library/library_test_support.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/project_file.h"

namespace lm::test {

// The library of the sample driver directory (TOOLS.INI and its objects).
inline const ObjectLibrary& SampleLibrary() {
    static HeadlessPlatform platform;
    static ObjectLibrary library(platform);
    static const bool loaded = [] {
        const std::string dir = std::string(LM_SAMPLE_DRIVER_DIR) + "/";
        std::string error;
        NoLog log;
        return LOAD_TOOLS(platform.files(), dir + "TOOLS.INI", dir, library, error, kMaxText, log);
    }();
    EXPECT_TRUE(loaded) << "the sample library did not load";
    return library;
}

// Places a block of the sample library; null when the library has no such object.
inline dLM_OBJECT* Place(InstanceList& instances, std::uint16_t ident, std::uint16_t instance) {
    dLM_OBJECT* object = FIND_INSTANCE(SampleLibrary().objects.head(), ident, 0);
    NoLog log;
    return object != nullptr ? instances.Create(*object, instance, log) : nullptr;
}

inline settings::TComSettings SampleSettings() {
    settings::TComSettings s;
    s.ComPort = 2;
    s.ComSpeed = 38400;
    s.Address = 5;
    s.Retranslation = 7;
    s.RS485 = true;
    s.TimeOut = 10;
    return s;
}

inline NetListHeader SampleHeader() {
    NetListHeader header;
    header.firmware_low = SampleLibrary().firmware_low;
    header.firmware_high = SampleLibrary().firmware_high;
    header.settings = SampleSettings();
    header.window = {4660, 10, 20, 161};
    return header;
}

inline lumarsim::Project ParsedProject(std::string_view text) {
    lumarsim::ProjectError error;
    auto project = lumarsim::ParseProject(std::string(text), error);
    EXPECT_TRUE(project.has_value()) << error.line << ": " << error.message;
    return project.value_or(lumarsim::Project{});
}

// A project as the host would hand it over: its blocks placed in an instance
// list (those the library has), their stored lines loaded, and its netlist.
struct Scenario {
    explicit Scenario(std::string_view project_text) : project(ParsedProject(project_text)) {
        NoLog log;
        for (const lumarsim::ProjectBlock& block : project.blocks) {
            if (Place(instances, block.ident, block.instance) == nullptr) continue;
            for (const std::string& line : block.lines) {
                std::uint16_t error = 0;
                DECODE_LINE(instances, block.ident, block.instance, line, error, log);
            }
        }
        netlist = std::make_unique<lumarsim::HostNetlist>(project);
        EXPECT_TRUE(netlist->ok()) << netlist->error();
    }

    std::string Text(NetListMode mode, std::uint32_t checksum = 0) {
        return NetListText(mode, checksum, &instances, netlist->head(), SampleHeader(), log);
    }
    // The lines of the walk alone: after the listing's instance list (its
    // empty line), or after the CRC32 line of LMKOMUN.INI.
    std::vector<std::string> Walk(NetListMode mode, std::uint32_t checksum = 0) {
        std::vector<std::string> lines = SplitCrLf(Text(mode, checksum));
        const std::string_view end_of_header = mode == NetListMode::Listing ? "" : "CRC32 = ";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (std::string_view(lines[i]).starts_with(end_of_header) &&
                (mode == NetListMode::Komun || lines[i].empty())) {
                return {lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end()};
            }
        }
        ADD_FAILURE() << "no end of the header";
        return {};
    }

    lumarsim::Project project;
    InstanceList instances;
    std::unique_ptr<lumarsim::HostNetlist> netlist;
    RecordingLog log;
};

}  // namespace lm::test
