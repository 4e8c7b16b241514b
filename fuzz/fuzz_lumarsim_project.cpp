// Reads arbitrary bytes as lumarsim's project file: a project that parses
// keeps its limits, and its text as lumarsim writes it parses to the same
// project, whose text is the same again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "tools/lumarsim/project_file.h"

namespace {

using fuzz::Check;

bool SameProject(const lumarsim::Project& a, const lumarsim::Project& b) {
    if (a.blocks.size() != b.blocks.size()) return false;
    for (std::size_t i = 0; i < a.blocks.size(); ++i) {
        const lumarsim::ProjectBlock &x = a.blocks[i], &y = b.blocks[i];
        if (x.ident != y.ident || x.instance != y.instance || x.lines != y.lines ||
            x.wires.size() != y.wires.size() || x.constants.size() != y.constants.size())
            return false;
        for (std::size_t w = 0; w < x.wires.size(); ++w) {
            const lumarsim::ProjectWire &p = x.wires[w], &q = y.wires[w];
            if (p.item != q.item || p.other_ident != q.other_ident ||
                p.other_instance != q.other_instance || p.other_item != q.other_item)
                return false;
        }
        for (std::size_t c = 0; c < x.constants.size(); ++c) {
            const lumarsim::ProjectConst &p = x.constants[c], &q = y.constants[c];
            if (p.item != q.item || p.form != q.form || p.nil != q.nil || p.bytes != q.bytes)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    lumarsim::ProjectError error;
    const std::optional<lumarsim::Project> project = lumarsim::ParseProject(text, error);
    if (!project) {
        Check(!error.message.empty() && error.line >= 0);
        return 0;
    }
    // Lines end in LF, CR LF or CR alone.
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lines +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    for (const lumarsim::ProjectBlock& block : project->blocks) {
        Check(block.source_line >= 1 && static_cast<std::size_t>(block.source_line) <= lines);
        for (const lumarsim::ProjectConst& constant : block.constants) {
            Check(constant.bytes.size() <= (constant.form == 1 ? 256u : 65535u));
            Check(!constant.nil || constant.bytes.empty());
        }
    }
    const std::string written = lumarsim::FormatProject(*project);
    lumarsim::ProjectError again_error;
    const std::optional<lumarsim::Project> again = lumarsim::ParseProject(written, again_error);
    Check(again.has_value() && SameProject(*project, *again));
    Check(lumarsim::FormatProject(*again) == written);
    return 0;
}
