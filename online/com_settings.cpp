#include "online/com_settings.h"

#include <vector>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "online/settings_numbers.h"

namespace lm::online {
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

// Reads the numbered lines into the fields, each falling back to its default.
class LineReader {
public:
    LineReader(std::string_view text, LogSink& log) : lines_(Lines(text)), log_(log) {}

    std::size_t count() const { return lines_.size(); }
    const std::string_view* Line(int number) {
        const auto index = static_cast<std::size_t>(number - 1);
        return index < lines_.size() ? &lines_[index] : nullptr;
    }

    template <class Value>
    void Read(int number, Value& field, std::optional<Value> (*parse)(std::string_view),
              const std::string& default_text) {
        const std::string_view* line = Line(number);
        std::optional<Value> value = line != nullptr ? parse(*line) : std::nullopt;
        if (value) {
            field = *value;
            return;
        }
        log_.WriteWith([&] {
            return std::string("SETCOM.INI: line ") + std::to_string(number) +
                   (line != nullptr ? " is not a number" : " is missing") + ", default " +
                   default_text;
        });
    }

private:
    std::vector<std::string_view> lines_;
    LogSink& log_;
};

bool On(std::int32_t flag) {
    return flag == 1;
}

}  // namespace

TComSettings ParseComSettings(std::string_view text, std::size_t max_ip, LogSink& log) {
    TComSettings s;
    LineReader lines(text, log);
    std::int32_t rs485 = 0, tcp = 0, port = s.TCPPort;
    lines.Read(1, s.ComPort, LeadingInt, "1");
    lines.Read(2, s.ComSpeed, LeadingInt, "9600");
    lines.Read(3, s.Address, LeadingInt, "1");
    lines.Read(4, s.Retranslation, LeadingInt, "1");
    lines.Read(5, rs485, LeadingInt, "0");
    lines.Read(6, s.TimeOut, LeadingReal, "1.5");
    // An older file ends after the time-out: no TCP then.
    if (lines.count() > 6) {
        lines.Read(7, tcp, LeadingInt, "0");
        if (const std::string_view* ip = lines.Line(8)) {
            s.TCPIP = Bounded(*ip, max_ip);
        } else {
            log.Write(std::string("SETCOM.INI: line 8 is missing, default ") + kDefaultIP);
        }
        lines.Read(9, port, LeadingInt, "1998");
    }
    s.RS485 = On(rs485);
    s.TCP = On(tcp);
    s.TCPPort = static_cast<std::uint16_t>(port);
    return s;
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

}  // namespace lm::online
