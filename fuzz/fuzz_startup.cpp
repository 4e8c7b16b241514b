// Reads arbitrary bytes as STARTUP.INI: the label stays within its limit, the
// checking reader reads the same options and places every problem inside the
// file, and the options and label written back read as they were (a label the
// format can hold). The first byte picks the label's limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/startup_options.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"

namespace {

using fuzz::Check;

struct Read {
    bool ok = false;
    std::string label;
    lm::StartupOptions options;
};

Read Load(fuzz::MemoryPlatform& platform, std::size_t limit, lm::LoadProblems* problems) {
    fuzz::CheckingLog log;
    Read read;
    read.ok = lm::LoadStartup(platform.memory, platform.DriverDir(), read.label, limit,
                              read.options, log, problems);
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = data[0] < 128 ? 255 : data[0] % 16;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::MemoryPlatform platform;
    platform.Put(lm::kStartupFileName, text);

    const Read read = Load(platform, limit, nullptr);
    Check(read.label.size() <= limit);
    fuzz::CollectedProblems problems;
    const Read checked = Load(platform, limit, &problems);
    // The checking reader reads on after a bad value; up to it both agree,
    // and a clean file reads the same.
    Check(checked.ok == (read.ok && problems.errors() == 0));
    if (read.ok) Check(checked.options == read.options && checked.label == read.label);
    for (const lm::LoadProblem& problem : problems.all) {
        Check(fuzz::Inside(text, problem.position, fuzz::LineEnds::Any));
    }

    Check(lm::SaveStartup(platform.memory, platform.DriverDir(), read.label, read.options).ok);
    const Read again = Load(platform, 255, nullptr);
    // A label cut to a short limit may end in '}', which the file reads as
    // the end of a comment: the format cannot hold such a label (the driver
    // itself only writes "(no_lab)" back).
    const bool label_fits = read.label.empty() || read.label.back() != '}';
    Check(again.ok && again.options == read.options && (!label_fits || again.label == read.label));
    return 0;
}
