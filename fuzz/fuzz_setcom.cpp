// Reads arbitrary bytes as SETCOM.INI: the settings stay within their fields,
// the checking reader reads the same settings and places every problem inside
// the text, and the settings written back read as they were written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"
#include "settings/com_settings.h"

namespace {

using fuzz::Check;
using lm::settings::TComSettings;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every reader takes IP texts of the same length.
    const std::size_t max_ip = lm::settings::kMaxIpText;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fuzz::CheckingLog log;
    fuzz::CollectedProblems problems;

    const TComSettings read = lm::settings::ParseComSettings(text, max_ip, log);
    Check(read.TCPIP.size() <= max_ip);
    Check(lm::settings::ParseComSettings(text, max_ip, log, &problems) == read);
    for (const lm::LoadProblem& problem : problems.all) {
        Check(fuzz::Inside(text, problem.position));
    }
    for (int number = 1; number <= 10; ++number) {
        const lm::TextPosition place = lm::settings::SetComLinePlace(text, number);
        Check(place == lm::TextPosition{} || fuzz::Inside(text, place));
    }
    Check(lm::settings::ComSetText(read, ',').size() < 512);

    // The nine lines written read back to themselves (the time-out has
    // one decimal once written).
    const std::string written = lm::settings::ComSettingsText(read);
    const TComSettings again = lm::settings::ParseComSettings(written, max_ip, log);
    Check(lm::settings::ComSettingsText(again) == written);
    Check(again.ComPort == read.ComPort && again.ComSpeed == read.ComSpeed &&
          again.Address == read.Address && again.TCPIP == read.TCPIP &&
          again.TCPPort == read.TCPPort && again.TCP == read.TCP && again.RS485 == read.RS485);

    fuzz::MemoryPlatform platform;
    Check(lm::settings::WriteComSettings(platform.memory, platform.DriverDir(), read).ok);
    TComSettings from_file;
    Check(lm::settings::ReadComSettings(platform.memory, platform, platform.DriverDir(), from_file,
                                        max_ip, log));
    Check(from_file == again);
    return 0;
}
