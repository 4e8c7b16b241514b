#include "tools/lumarsim/settings_report.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/cp1250.h"
#include "base/log_sink.h"
#include "platform/system_files.h"
#include "settings/com_settings.h"
#include "settings/profiles.h"
#include "settings/settings_numbers.h"

namespace lumarsim {
namespace {

// What the readers log: the values they repaired, each with the value used.
class Notes : public lm::LogSink {
public:
    bool enabled() const override { return true; }
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

std::string Utf8(std::string_view cp1250) {
    return lm::Cp1250ToUtf8(cp1250);
}

// Each value the readers repaired, with the value used instead.
void PrintNotes(Notes& notes, std::FILE* out) {
    for (const std::string& line : notes.lines)
        std::fprintf(out, "  repaired: %s\n", Utf8(line).c_str());
    notes.lines.clear();
}

// A profile as the settings dialog shows it, and so writes it to SETCOM.INI
// when it is chosen: a port or speed it does not offer shows as COM1 or
// 38400. Each such value is noted.
lm::settings::TComProfile AsShown(lm::settings::TComProfile p, int index, Notes& notes) {
    constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const std::string section = lm::settings::ProfileSection(index);
    if (p.ComPort < 1 || p.ComPort > 8) {
        notes.Write("profiles.ini: [" + section + "] ComPort=" + std::to_string(p.ComPort) +
                    " is not offered by the settings dialog, shown as COM1");
        p.ComPort = 1;
    }
    if (std::find(std::begin(kSpeeds), std::end(kSpeeds), p.ComSpeed) == std::end(kSpeeds)) {
        notes.Write("profiles.ini: [" + section + "] ComSpeed=" + std::to_string(p.ComSpeed) +
                    " is not offered by the settings dialog, shown as 38400");
        p.ComSpeed = 38400;
    }
    return p;
}

}  // namespace

int PrintSettings(const std::string& driver_dir, std::FILE* out) {
    // The headless driver's number format: '.' (a Czech Windows shows ',').
    constexpr char kSeparator = '.';
    const auto files = lm::MakeSystemFiles();
    std::string dir = driver_dir;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    Notes notes;

    const std::string setcom = dir + lm::settings::kSetComFileName;
    lm::settings::TComSettings active;
    const std::optional<std::string> text = files->ReadWhole(setcom);
    std::fprintf(out, "active settings (%s):\n", setcom.c_str());
    if (text) {
        active = lm::settings::ParseComSettings(*text, lm::settings::kMaxIpText, notes);
    } else {
        std::fprintf(out,
                     "  missing: the driver beeps, says \"Nenalezen soubor SETCOM.INI\" and "
                     "uses the defaults\n");
    }
    std::fprintf(out, "  %s\n", Utf8(lm::settings::ComSetText(active, kSeparator)).c_str());
    std::fprintf(out,
                 "  port COM%d, speed %d Bd, address %d, retranslation %d, RS485 %s, time-out %s "
                 "s, TCP %s, IP %s, TCP port %u\n",
                 active.ComPort, active.ComSpeed, active.Address, active.Retranslation,
                 active.RS485 ? "on" : "off",
                 lm::settings::TimeOutText(active.TimeOut, kSeparator).c_str(),
                 active.TCP ? "on" : "off", Utf8(active.TCPIP).c_str(),
                 static_cast<unsigned>(active.TCPPort));
    PrintNotes(notes, out);

    const std::string profiles_file = dir + lm::settings::kProfilesFileName;
    lm::settings::ProfileTable table;
    lm::settings::LoadProfiles(*files, profiles_file, table, kSeparator, notes);
    std::fprintf(out, "\nprofiles (%s): %d, selected %d\n", profiles_file.c_str(), table.count,
                 table.position);
    if (table.count == 0) {
        std::fprintf(out,
                     "  none: the settings dialog makes \"_default\" of the active settings\n");
    }
    for (int i = 0; i < table.count; ++i) {
        const lm::settings::TComProfile p =
            AsShown(table.entries[static_cast<std::size_t>(i)], i, notes);
        const lm::settings::TComSettings shown{p.ComPort,       p.ComSpeed, p.Address,
                                               p.Retranslation, p.RS485,    p.TimeOut,
                                               p.TCP,           p.TCPIP,    p.TCPPort};
        std::fprintf(out, "  %c %3d %s: %s, retranslation %d\n", i == table.position ? '*' : ' ', i,
                     Utf8(p.Name).c_str(),
                     Utf8(lm::settings::ComSetText(shown, kSeparator)).c_str(), p.Retranslation);
    }
    PrintNotes(notes, out);
    return text ? 0 : 1;
}

}  // namespace lumarsim
