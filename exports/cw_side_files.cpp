#include "exports/cw_side_files.h"

#include "base/cp1250.h"
#include "base/item_codes.h"
#include "base/number_text.h"
#include "exports/cw_types.h"
#include "values/number_texts.h"

namespace lm {
namespace {

constexpr std::string_view kParComment = "{ generovano ovladacem pro Lumar }";

// IRQ and base address of the standard ports COM1 to COM4.
struct StandardPort {
    int irq;
    std::string_view base;
};
constexpr StandardPort kStandardPorts[] = {{4, "03F8"}, {3, "02F8"}, {4, "03E8"}, {3, "02E8"}};

void Lines(ExportText& out, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) out.Line(line);
}

void WriteParGlobal(ExportText& out, const settings::TComSettings& settings) {
    out.Line(kParComment);
    Lines(out, {"[COM]"});
    std::string line = "  DRIVER SYSTEM ";
    line += std::to_string(settings.ComPort);
    out.Line(line);
    if (settings.ComPort >= 1 && settings.ComPort <= 4) {
        const StandardPort& port = kStandardPorts[settings.ComPort - 1];
        line = "  IRQ ";
        line += std::to_string(port.irq);
        out.Line(line);
        line = "  BASE $";
        line += port.base;
        out.Line(line);
    } else {
        Lines(out, {"  IRQ 0     { nestandardni port - prosim definujte }",
                    "  BASE 0    { nestandardni port - prosim definujte }"});
    }
    line = "  BAUD ";
    line += std::to_string(settings.ComSpeed);
    out.Line(line);
    Lines(out, {"  BITS 8", "  PARITY NONE", "  STOP 1"});
    out.Line(settings.RS485 ? "  OPTIONS 32" : "  OPTIONS 0");
    Lines(out, {"  BUFFER_SIZE 1024", "END", "", "[GLOBAL]", "  PREFIX $E1 $5C", "  SUFFIX NONE",
                "  PRESUFFIX NONE", "  ADDRESS $00"});
    line = "  ANSWER_TIME ";
    line += REAL_TEXT(settings.TimeOut, 3, 1);
    out.Line(line);
    Lines(out, {"  REFRESH_PERIOD 0", "  SILENCE_WAIT 10", "  RTS_TIME_ON 0", "  RTS_TIME_OFF 0",
                "  DEF_ANALOG_IN_ADDR $D61A", "  SLEEP_TIME 0", "  SLEEP_COUNT 100",
                "  IDLE_TIME 10", "END", ""});
}

std::string_view ParDirection(std::uint8_t cw_out) {
    switch (cw_out) {
        case kCwOutRead:
            return "READ ";
        case kCwOutWrite:
            return "WRITE ";
        case kCwOutBidir:
            return "BIDIR ";
        default:
            return "";
    }
}

std::string_view DmfDirection(std::uint8_t cw_out) {
    switch (cw_out) {
        case kCwOutRead:
            return " input";
        case kCwOutWrite:
            return " output";
        case kCwOutBidir:
            return " bidirectional";
        default:
            return " ?invalid_direction?";
    }
}

}  // namespace

bool AppendsTo(bool append, std::optional<std::string_view> existing) {
    if (!append || !existing) return false;
    return existing->find_first_not_of(" \t\r\n") != std::string_view::npos;
}

void WriteParHead(ExportText& out, bool append, const settings::TComSettings& settings) {
    if (append) {
        out.Line("");
        out.Line(kParComment);
    } else {
        WriteParGlobal(out, settings);
    }
    out.Line("[STATION]");
    std::string line = "  ADDRESS ";
    line += std::to_string(settings.Address);
    out.Line(line);
    line = "  RETRANSLATION ";
    line += std::to_string(settings.Retranslation);
    out.Line(line);
    Lines(out,
          {"  NAME \"KADEX2\" \"\"", "  NUM_BINAR_IN 0", "  NUM_BINAR_OUT 0", "  NUM_ANALOG_IN 0",
           "  NUM_COUNTER_IN 0", "  NUM_MEMORY_IN 0", "  NUM_MEMORY_OUT 0", "  BINAR_IN_XOR NONE",
           "  BINAR_OUT_XOR NONE", "  DEF_ANALOG_IN_ADDR FROM_GLOBAL", "  DEF_MEMORY_IN NONE",
           "  DEF_MEMORY_OUT NONE", "  DEF_COUNTER_IN NONE"});
}

void WriteParLine(ExportText& out, const CwItem& item, long channel) {
    std::string line = "  QQ ";
    line += ParDirection(item.cw_out);
    line += std::to_string(channel);
    line += ' ';
    line += std::to_string(item.ident);
    line += ' ';
    line += std::to_string(item.instance);
    line += ' ';
    line += std::to_string(item.item_ident);
    line += ' ';
    line += ParType(item.typ, item.subtyp);
    out.Line(line);
}

void WriteDmfLine(ExportText& out, const CwItem& item, long channel) {
    std::string line = RightAligned(channel, 6);
    line += ' ';
    line += CwChannelType(item.typ, item.subtyp);
    line += DmfDirection(item.cw_out);
    out.Line(line);
}

CwFileText ParFileText(const std::vector<CwItem>& items, long first_channel, bool append,
                       const settings::TComSettings& settings,
                       std::optional<std::string_view> existing) {
    CwFileText result;
    result.error = CwChannelRangeError(first_channel, items.size());
    if (!result.error.empty()) return result;
    append = AppendsTo(append, existing);
    ExportText out;
    WriteParHead(out, append, settings);
    long channel = first_channel;
    for (const CwItem& item : items) WriteParLine(out, item, channel++);
    out.Line("END");
    if (append) {
        result.text = std::string(*existing);
        // A last line without its line end still ends before the new station.
        if (result.text.back() != '\n') result.text += "\r\n";
    }
    result.text += out.text();
    return result;
}

CwFileText DmfFileText(const std::vector<CwItem>& items, long first_channel, bool append,
                       std::optional<std::string_view> existing) {
    CwFileText result;
    result.error = CwChannelRangeError(first_channel, items.size());
    if (!result.error.empty()) return result;
    append = AppendsTo(append, existing);
    std::size_t end = std::string_view::npos;
    if (append) {
        end = FindLine(*existing, "end.", true);
        if (end == std::string_view::npos) {
            result.error = "Soubor nelze doplnit: chybí řádek \"end.\"."_cp;
            return result;
        }
    }
    ExportText out;
    out.Line(append ? "" : "begin");
    long channel = first_channel;
    for (const CwItem& item : items) WriteDmfLine(out, item, channel++);
    if (!append) {
        out.Line("end.");
        result.text = out.Take();
    } else {
        // The new channels go in before the existing closing line, which
        // stays last. Written after it, as a plain append would, they would
        // stand after "end.", where the driver of the supervisory system no
        // longer reads.
        result.text = std::string(existing->substr(0, end));
        result.text += out.text();
        result.text += existing->substr(end);
    }
    return result;
}

}  // namespace lm
