// Reads arbitrary bytes as a lumarsim script and plays it against a stand-in
// driver that answers every call with texts and blocks of its own, and a
// stand-in run-mode host: a script either plays to its end or stops with the
// number of a line it has, and the transcript has one line per call played.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/form_player.h"
#include "tools/lumarsim/run_host.h"
#include "tools/lumarsim/script.h"

namespace {

using fuzz::Check;

int calls = 0;

// Hands back texts and blocks of its own, as the driver does, on every
// other call; leaves the host's pointers as they were on the others.
int LM_STDCALL StandInEntry(PARAM_ENTRY* record) {
    static char text[] = "Ovlada\x9a KADEX";
    static std::uint8_t block[4096] = {0x4B, 0x41, 0x44, 0x45, 0x58};
    ++calls;
    if (record->lmd_func % 2 == 1) {
        record->string1 = text;
        record->string2 = text;
        record->data1 = block;
        record->data2 = block;
        record->pointer1 = block;
        record->pointer2 = block;
    }
    record->wparam1 = static_cast<std::uint16_t>(record->wparam1 + 1);
    return record->lmd_func % 3 == 0 ? 0 : 1;
}

class StandInHost : public lumarsim::RunHost {
public:
    std::uint32_t window() const override { return 0x1234; }
    void Wait(int ticks) override { Check(ticks >= 0 && ticks <= 36000); }
    bool SendTolan(unsigned, const std::string& text) override {
        Check(text.size() <= 255);
        return true;
    }
    bool ProgramRunning() const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    static const lumarsim::DriverLibrary library(&StandInEntry);
    StandInHost host;
    char* transcript = nullptr;
    std::size_t transcript_size = 0;
    std::FILE* out = open_memstream(&transcript, &transcript_size);
    Check(out != nullptr);
    std::string error;
    calls = 0;
    const bool played = lumarsim::RunScript(library, &host, script, out, error);
    std::fclose(out);
    const std::string_view shown(transcript, transcript_size);

    std::size_t lines = 1;
    for (char c : script) lines += c == '\n';
    if (played) {
        Check(error.empty());
    } else {
        // "line N: why" with N a line of the script.
        Check(error.starts_with("line "));
        const long number = std::strtol(error.c_str() + 5, nullptr, 10);
        Check(number >= 1 && static_cast<std::size_t>(number) <= lines);
    }
    int call_lines = shown.starts_with("call ") ? 1 : 0;
    for (std::size_t at = shown.find("\ncall "); at != std::string_view::npos;
         at = shown.find("\ncall ", at + 1)) {
        ++call_lines;
    }
    // A call whose answer cannot be printed is played but not shown.
    Check(call_lines == calls || (!played && call_lines == calls - 1));
    std::free(transcript);

    // Forms queued by the script and never shown are forgotten.
    while (lumarsim::FormQueue::Instance().Next()) {
    }
    lumarsim::FormQueue::Instance().TakeReports();
    return 0;
}
