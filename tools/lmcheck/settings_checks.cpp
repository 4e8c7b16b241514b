#include "tools/lmcheck/settings_checks.h"

#include <algorithm>
#include <array>

#include "base/log_sink.h"
#include "library/texts.h"
#include "settings/com_settings.h"
#include "settings/profile_file.h"
#include "settings/profiles.h"
#include "tools/lmcheck/path_kind.h"

namespace lmcheck {
namespace {

using lm::Concat;
using lm::Severity;

// The speeds the settings dialog offers.
constexpr std::array<std::int32_t, 8> kSpeeds = {1200,  2400,  4800,  9600,
                                                 19200, 38400, 57600, 115200};

// A value of SETCOM.INI outside what the settings dialog takes.
struct Range {
    int line;
    const char* field;
    std::int32_t value;
    bool fits;
    const char* expected;
    const char* consequence;
};

void CheckSetCom(const std::string& text, Collector& collector) {
    lm::NoLog log;
    // The reader reports the lines it cannot read.
    const lm::settings::TComSettings s =
        lm::settings::ParseComSettings(text, lm::settings::kMaxIpText, log, &collector);
    const bool speed_listed =
        std::find(kSpeeds.begin(), kSpeeds.end(), s.ComSpeed) != kSpeeds.end();
    constexpr const char kRefused[] = "the settings dialog refuses it when a profile is chosen";
    const Range ranges[] = {
        {1, "ComPort", s.ComPort, s.ComPort >= 1 && s.ComPort <= 8, "1 to 8",
         "the settings dialog offers COM1 to COM8 only"},
        {2, "ComSpeed", s.ComSpeed, speed_listed,
         "one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200",
         "the settings dialog shows 38400 instead"},
        {3, "Address", s.Address, s.Address >= 1 && s.Address <= 255, "1 to 255", kRefused},
        {4, "Retranslation", s.Retranslation, s.Retranslation >= 1 && s.Retranslation <= 255,
         "1 to 255", kRefused},
    };
    for (const Range& range : ranges) {
        if (range.fits) continue;
        collector.Add({Severity::Warning, lm::settings::SetComLinePlace(text, range.line),
                       "out-of-range", "",
                       Concat({"line ", std::to_string(range.line), " (", range.field,
                               "): ", std::to_string(range.value), " is not ", range.expected, "; ",
                               range.consequence})});
    }
    const lm::TextPosition ip_at = lm::settings::SetComLinePlace(text, 8);
    if (ip_at.line != 0 && !lm::settings::IsValidIP(s.TCPIP)) {
        collector.Add({s.TCP ? Severity::Error : Severity::Warning, ip_at, "bad-ip", "",
                       Concat({"line 8 (TCPIP): \"", lm::ShownToken(s.TCPIP),
                               "\" is no IP address of four numbers 0 to 255",
                               s.TCP ? "; the TCP line cannot be opened"
                                     : "; the settings dialog refuses it for a TCP line"})});
    }
}

// The port and speed of each profile as the settings dialog shows them: a
// value it does not offer shows as COM1 or 38400, which choosing the profile
// then writes to SETCOM.INI.
void CheckProfileLines(const std::string& text, const lm::settings::ProfileTable& table,
                       Collector& collector) {
    const lm::settings::ProfileFile file(text);
    for (int i = 0; i < table.count; ++i) {
        const lm::settings::TComProfile& p = table.entries[static_cast<std::size_t>(i)];
        const std::string section = lm::settings::ProfileSection(i);
        const bool speed_listed =
            std::find(kSpeeds.begin(), kSpeeds.end(), p.ComSpeed) != kSpeeds.end();
        const struct {
            const char* key;
            std::int32_t value;
            bool fits;
            const char* used;
        } values[] = {{"ComPort", p.ComPort, p.ComPort >= 1 && p.ComPort <= 8, "COM1"},
                      {"ComSpeed", p.ComSpeed, speed_listed, "38400"}};
        for (const auto& value : values) {
            if (value.fits) continue;
            collector.Add({Severity::Warning,
                           file.PlaceOf(section, value.key).value_or(lm::TextPosition{1, 1}),
                           "out-of-range", "",
                           Concat({"[", section, "] ", value.key, "=", std::to_string(value.value),
                                   ": the settings dialog does not offer it and shows ", value.used,
                                   ", which choosing the profile writes to SETCOM.INI"})});
        }
    }
}

}  // namespace

void CheckSettings(lm::Files& files, const std::string& driver_dir, Collector& collector) {
    const std::string setcom = Concat({driver_dir, lm::settings::kSetComFileName});
    if (std::optional<std::string> text = files.ReadWhole(setcom)) {
        const lm::ProblemFile file(&collector, setcom);
        CheckSetCom(*text, collector);
    } else if (KindOfPath(setcom) != PathKind::Missing) {
        collector.AddFileFinding(
            setcom, Severity::Error, "unreadable-setcom", "Nenalezen soubor SETCOM.INI",
            "SETCOM.INI is there but cannot be read as a file (a folder, no "
            "plain file, or no right to read it): the driver beeps and shows "
            "this box whenever it reads the settings, and takes COM1, 9600 Bd");
    } else {
        collector.AddFileFinding(setcom, Severity::Warning, "no-setcom",
                                 "Nenalezen soubor SETCOM.INI",
                                 "SETCOM.INI is missing: the driver beeps and shows this box "
                                 "whenever it reads the settings, and takes COM1, 9600 Bd");
    }
    // A missing profiles.ini is no fault: the dialog starts with one profile.
    const std::string profiles = Concat({driver_dir, lm::settings::kProfilesFileName});
    if (std::optional<std::string> text = files.ReadWhole(profiles)) {
        const lm::ProblemFile file(&collector, profiles);
        lm::NoLog log;
        lm::settings::ProfileTable table;
        // Both decimal separators read; a profile written on another machine
        // must not count as a fault.
        lm::settings::LoadProfiles(*text, table, ',', log, &collector);
        CheckProfileLines(*text, table, collector);
    }
}

}  // namespace lmcheck
