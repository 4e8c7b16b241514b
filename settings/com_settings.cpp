#include "settings/com_settings.h"

#include <utility>
#include <vector>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "library/texts.h"
#include "settings/settings_numbers.h"

namespace lm::settings {
namespace {

// The lines of a text, each without its CR LF; a last line end opens no line.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The column of a line's first character that is not a blank (1 for a blank line).
std::uint32_t FirstColumn(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return static_cast<std::uint32_t>(first == std::string_view::npos ? 1 : first + 1);
}

// The fields of the lines, in order.
constexpr std::string_view kFields[] = {"ComPort", "ComSpeed", "Address", "Retranslation", "RS485",
                                        "TimeOut", "TCP",      "TCPIP",   "TCPPort"};
constexpr int kTimeOutLine = 6;

// Reads the numbered lines into the fields, each falling back to its default.
class LineReader {
public:
    LineReader(std::string_view text, LogSink& log, LoadProblems* problems)
        : lines_(Lines(text)), log_(log), problems_(problems) {}

    std::size_t count() const { return lines_.size(); }
    const std::string_view* Line(int number) {
        const auto index = static_cast<std::size_t>(number - 1);
        return index < lines_.size() ? &lines_[index] : nullptr;
    }

    template <class Value>
    void Read(int number, Value& field, std::optional<Value> (*parse)(std::string_view),
              const std::string& default_text) {
        const std::string_view* line = Line(number);
        if (line == nullptr) return Missing(number, default_text);
        std::optional<Value> value = parse(*line);
        if (value) {
            field = *value;
            return;
        }
        log_.WriteWith([&] {
            return "SETCOM.INI: line " + std::to_string(number) + " is not a number, default " +
                   default_text;
        });
        if (problems_ == nullptr) return;
        // Only an unreadable time-out has a default of its own; any other line
        // is a fault of the file.
        problems_->Add(
            {number == kTimeOutLine ? Severity::Warning : Severity::Error, Place(number),
             "bad-value", "",
             Concat({"line ", std::to_string(number), " (", Field(number), "): \"",
                     ShownToken(*line), "\" is not a number; the driver takes ", default_text})});
    }

    // A line the file ends before: logged; the first one reported.
    void Missing(int number, const std::string& default_text) {
        log_.WriteWith([&] {
            return "SETCOM.INI: line " + std::to_string(number) + " is missing, default " +
                   default_text;
        });
        if (problems_ == nullptr || missing_reported_) return;
        missing_reported_ = true;
        const auto last = static_cast<std::uint32_t>(lines_.size());
        problems_->Add({Severity::Error,
                        {last == 0 ? 1 : last, 1},
                        "missing-line",
                        "",
                        Concat({"the file ends after line ", std::to_string(last), ": line ",
                                std::to_string(number), " (", Field(number),
                                ") and the lines after it are missing; the driver takes their "
                                "defaults (",
                                Field(number), " ", default_text, ")"})});
    }

    // A value the driver cannot use as the file gives it, read as `used`:
    // logged, and with `problems` reported as a warning naming both.
    void Repaired(int number, std::string_view code, std::string_view was_text,
                  std::string_view why, const std::string& used) {
        const std::string was = ShownToken(was_text);
        log_.WriteWith([&] {
            return Concat({"SETCOM.INI: line ", std::to_string(number), " (", Field(number), ") ",
                           was, " ", why, ", used ", used});
        });
        if (problems_ == nullptr) return;
        problems_->Add({Severity::Warning, Place(number), std::string(code), "",
                        Concat({"line ", std::to_string(number), " (", Field(number), "): ", was,
                                " ", why, "; the driver uses ", used})});
    }

    // Where line `number` begins: its first character that is not a blank.
    TextPosition Place(int number) {
        const std::string_view line = *Line(number);
        return {static_cast<std::uint32_t>(number), FirstColumn(line)};
    }
    LoadProblems* problems() const { return problems_; }

private:
    static std::string_view Field(int number) { return kFields[number - 1]; }

    std::vector<std::string_view> lines_;
    LogSink& log_;
    LoadProblems* problems_;
    bool missing_reported_ = false;
};

bool On(std::int32_t flag) {
    return flag == 1;
}

// The number at the start of a line as it is written there.
std::string_view LeadingNumberText(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    line.remove_prefix(first);
    return line.substr(0, line.find_first_not_of("+-0123456789.,eE"));
}

// True when the number at the start of the line has a decimal comma.
bool HasDecimalComma(std::string_view line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos) return false;
    if (line[i] == '+' || line[i] == '-') ++i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    return i < line.size() && line[i] == ',';
}

}  // namespace

TComSettings ParseComSettings(std::string_view text, std::size_t max_ip, LogSink& log,
                              LoadProblems* problems) {
    TComSettings s;
    LineReader lines(text, log, problems);
    std::int32_t rs485 = 0, tcp = 0, port = s.TCPPort;
    lines.Read(1, s.ComPort, LeadingInt, "1");
    lines.Read(2, s.ComSpeed, LeadingInt, "9600");
    lines.Read(3, s.Address, LeadingInt, "1");
    lines.Read(4, s.Retranslation, LeadingInt, "1");
    lines.Read(5, rs485, LeadingInt, "0");
    lines.Read(6, s.TimeOut, LeadingReal, "1.5");
    // The line waits for an answer: never for no time, never for ever.
    const std::string_view time_out =
        lines.Line(6) != nullptr ? LeadingNumberText(*lines.Line(6)) : std::string_view();
    if (!(s.TimeOut >= kShortestTimeOut)) {
        s.TimeOut = kDefaultTimeOut;
        lines.Repaired(6, "out-of-range", time_out, "is below 0.05", TimeOutText(s.TimeOut, '.'));
    } else if (s.TimeOut > kLongestTimeOut) {
        s.TimeOut = kLongestTimeOut;
        lines.Repaired(6, "out-of-range", time_out, "is above an hour",
                       TimeOutText(s.TimeOut, '.'));
    } else if (HasDecimalComma(time_out)) {
        // Read right (not as the whole seconds before the comma), and told:
        // the driver itself writes '.'.
        lines.Repaired(6, "decimal-comma", time_out, "has a decimal comma",
                       TimeOutText(s.TimeOut, '.'));
    }
    // An older file ends after the time-out: no TCP then.
    if (lines.count() > 6) {
        lines.Read(7, tcp, LeadingInt, "0");
        if (const std::string_view* ip = lines.Line(8)) {
            s.TCPIP = Bounded(*ip, max_ip);
            if (ip->size() > max_ip) {
                lines.Repaired(8, "text-cut", *ip,
                               "is longer than " + std::to_string(max_ip) + " characters",
                               "its first " + std::to_string(max_ip));
            }
        } else {
            lines.Missing(8, kDefaultIP);
        }
        lines.Read(9, port, LeadingInt, "1998");
    }
    s.RS485 = On(rs485);
    s.TCP = On(tcp);
    for (const auto& [number, flag] : {std::pair{5, rs485}, std::pair{7, tcp}}) {
        if (flag == 0 || flag == 1) continue;
        lines.Repaired(number, "not-a-flag", std::to_string(flag), "is neither 0 nor 1", "0 (off)");
    }
    // A port beyond 16 bits is not cut to its low bits (70000 would name
    // port 4464): it gives the default, as a profile's does.
    if (port < 0 || port > 65535) {
        lines.Repaired(9, "out-of-range", std::to_string(port), "is not 0 to 65535",
                       std::to_string(kDefaultTcpPort));
        port = kDefaultTcpPort;
    }
    s.TCPPort = static_cast<std::uint16_t>(port);
    return s;
}

TextPosition SetComLinePlace(std::string_view text, int number) {
    const std::vector<std::string_view> lines = Lines(text);
    const auto index = static_cast<std::size_t>(number - 1);
    if (number < 1 || index >= lines.size()) return {};
    return {static_cast<std::uint32_t>(number), FirstColumn(lines[index])};
}

bool ReadComSettings(Files& files, Platform& platform, const std::string& driver_dir,
                     TComSettings& settings, std::size_t max_ip, LogSink& log) {
    const std::string path = driver_dir + kSetComFileName;
    std::optional<std::string> text;
    if (files.CanBeOpened(path)) text = files.ReadWhole(path);
    if (!text) {
        platform.Beep();
        settings = TComSettings{};
        platform.ShowMessageBox(BoxKind::Error, "Nenalezen soubor SETCOM.INI");
        return false;
    }
    settings = ParseComSettings(*text, max_ip, log);
    return true;
}

std::string ComSettingsText(const TComSettings& s) {
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    return JoinCrLfLines({std::to_string(s.ComPort), std::to_string(s.ComSpeed),
                          std::to_string(s.Address), std::to_string(s.Retranslation), flag(s.RS485),
                          TimeOutText(s.TimeOut, '.'), flag(s.TCP), s.TCPIP,
                          std::to_string(s.TCPPort)});
}

FileStatus WriteComSettings(Files& files, const std::string& driver_dir,
                            const TComSettings& settings) {
    return ReplaceWholeFile(files, driver_dir + kSetComFileName, ComSettingsText(settings));
}

std::string ComSetText(const TComSettings& s, char decimal_separator) {
    const std::string tail = ", adr=" + std::to_string(s.Address) +
                             ", tout=" + TimeOutText(s.TimeOut, decimal_separator) + "s";
    if (s.TCP) return "TCP " + s.TCPIP + ":" + std::to_string(s.TCPPort) + tail;
    return std::string(s.RS485 ? "RS485" : "RS232") + ", COM" + std::to_string(s.ComPort) + ", " +
           std::to_string(s.ComSpeed) + "Bd" + tail;
}

bool IsValidIP(std::string_view text) {
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('.', start);
        std::string_view part = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty() || ++parts > 4) return false;
        int value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
            if (value > 255) return false;
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts == 4;
}

}  // namespace lm::settings
