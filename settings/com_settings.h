// The active communication settings: SETCOM.INI in the driver directory, nine
// lines of one value each (older files end after the sixth), and the text the
// driver window shows of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "library/load_problems.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace lm::settings {

inline constexpr const char kSetComFileName[] = "SETCOM.INI";
// The controller's address on a TCP line until the user sets one.
inline constexpr const char kDefaultIP[] = "192.168.1.10";
inline constexpr std::uint16_t kDefaultTcpPort = 1998;
// The time-out of a SETCOM.INI whose line holds no number, and the shortest
// and longest the driver waits: a time-out below 0.05 s (written as 0.0, so
// no wait at all) reads as the default, one above an hour as an hour.
inline constexpr double kDefaultTimeOut = 1.5;
inline constexpr double kShortestTimeOut = 0.05;
inline constexpr double kLongestTimeOut = 3600.0;
// Every reader takes IP texts of up to this many characters.
inline constexpr std::size_t kMaxIpText = 255;

struct TComSettings {
    std::int32_t ComPort = 1;
    std::int32_t ComSpeed = 9600;
    std::int32_t Address = 1;
    std::int32_t Retranslation = 1;
    bool RS485 = false;
    double TimeOut = 1.5;
    bool TCP = false;
    std::string TCPIP = kDefaultIP;
    std::uint16_t TCPPort = kDefaultTcpPort;

    bool operator==(const TComSettings&) const = default;
};

// Reads the settings from the text of SETCOM.INI. Each line's number is read
// from its start and the rest of the line skipped; lines 5 and 7 count as on
// only when their number is exactly 1; line 8 is the IP text cut to `max_ip`
// characters. A file that ends after line 6 has TCP off, the default IP and
// port. A line that is missing or holds no number keeps the default of its
// field (the time-out 1.5 s) and is logged. The time-out takes '.' or ',' as
// its decimal mark. Values the driver cannot use are repaired and logged
// with the value used: a time-out below 0.05 s (1.5) or above an hour
// (3600), a flag other than 0 and 1 (off), a TCP port outside 0 to 65535
// (1998), an IP text longer than `max_ip`. With `problems` (lmcheck) each
// such line is reported with its place too.
TComSettings ParseComSettings(std::string_view text, std::size_t max_ip, LogSink& log,
                              LoadProblems* problems = nullptr);

// Where line `number` of a SETCOM.INI text begins (its first character that
// is not a blank); no place when the text has no such line.
TextPosition SetComLinePlace(std::string_view text, int number);

// ReadComSettings: DriverDir + SETCOM.INI. True when the file was read; when it
// cannot be opened: a beep, the defaults, the error box "Nenalezen soubor
// SETCOM.INI" and false.
bool ReadComSettings(Files& files, Platform& platform, const std::string& driver_dir,
                     TComSettings& settings, std::size_t max_ip, LogSink& log);

// The nine lines of SETCOM.INI (CR LF), the time-out with one decimal and '.'.
std::string ComSettingsText(const TComSettings& settings);
// WriteComSettings: rewrites DriverDir + SETCOM.INI whole in the nine-line form.
FileStatus WriteComSettings(Files& files, const std::string& driver_dir,
                            const TComSettings& settings);

// The caption of the driver window's LabelSetCom:
// "TCP 192.168.1.10:1998, adr=1, tout=1.5s" or "RS485, COM2, 19200Bd, adr=5, tout=2.5s".
std::string ComSetText(const TComSettings& settings, char decimal_separator);

// True when the text is four decimal numbers 0 to 255 joined by '.'.
bool IsValidIP(std::string_view text);

}  // namespace lm::settings
