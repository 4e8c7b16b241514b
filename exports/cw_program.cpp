#include "exports/cw_program.h"

#include <initializer_list>

#include "base/cp1250.h"
#include "base/item_codes.h"
#include "exports/cw_types.h"

namespace lm {
namespace {

constexpr std::string_view kEndChannel = "end_channel;";
constexpr std::string_view kProgramLine = "  program program_tick1sec;";
constexpr std::string_view kEndInstrument = "end_instrument;";
constexpr std::string_view kRowLabel = "  label label_";
constexpr std::string_view kTicksetLabel = "  label label_tickset;";
constexpr std::string_view kArialFont = "    font = 'Arial (Central European)', 10, bold;";

// The row state of the panel: element number and row position.
struct Row {
    long n = 1;
    long y = 46;
};

class Writer {
public:
    explicit Writer(CwProgramKind kind) : cw_(kind == CwProgramKind::ControlWeb) {}

    void Lines(std::initializer_list<std::string_view> lines) {
        for (std::string_view line : lines) out_.Line(line);
    }
    void Line(std::string_view line) { out_.Line(line); }
    // A line only the Control Web text has.
    void CwLine(std::string_view line) {
        if (cw_) out_.Line(line);
    }
    bool cw() const { return cw_; }
    std::string Take() { return out_.Take(); }

private:
    bool cw_;
    ExportText out_;
};

bool IsSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

std::string FolderOf(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && !IsSeparator(path[end - 1])) --end;
    std::string folder(path.substr(0, end));
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    folder += '.';
    return folder;
}

std::string_view NameOf(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start);
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

void WriteHead(Writer& w, const CwProgramNames& names) {
    const std::string dmf_name(NameOf(names.dmf_path));
    const std::string par_name(NameOf(names.par_path));
    if (w.cw()) {
        w.Line("directories");
        w.Line(Joined({"  '*.dmf' = '", FolderOf(names.dmf_path), "';"}));
        w.Line(Joined({"  '*.par' = '", FolderOf(names.par_path), "';"}));
        w.Line(Joined({"  'panel.gif' = '", names.driver_dir, ".';"}));
        w.Lines({"end_directories;", "", "settings", "  skip_init_outputs = true;",
                 "  operation_mode = real_time;", "  independent_procedure_execution = true;"});
    } else {
        w.Lines({"settings", "  skip_init_outputs = true;"});
    }
    w.Lines({"end_settings;", "", "const", "end_const;", "", "var", "  prom1 = real, 0;",
             "  tick1 = real, 0;", "  tickset = real, 5;", "end_var;", "", "driver"});
    w.Line(Joined({w.cw() ? "  kadex = cwdrt485.dll, " : "  kadex = drt485.dll, ", dmf_name, ", ",
                   par_name, ";"}));
    w.Lines({"end_driver;", "", "channel"});
}

std::string_view ChannelDirection(std::uint8_t cw_out) {
    switch (cw_out) {
        case kCwOutRead:
            return "input;";
        case kCwOutWrite:
            return "output, 0;";
        case kCwOutBidir:
            return "bidirectional, 0;";
        default:
            return "?invalid_direction? ;";
    }
}

void WriteChannels(Writer& w, const std::vector<CwItem>& items, long first_channel) {
    long channel = first_channel;
    for (const CwItem& item : items) {
        const std::string number = std::to_string(channel++);
        w.Line(Joined({"  ", ChannelName(item), " = ", CwChannelType(item.typ, item.subtyp), ", ",
                       number, ", kadex, ", ChannelDirection(item.cw_out)}));
    }
}

void WriteTimerAndPanel(Writer& w) {
    w.Lines({kEndChannel,
             "",
             "timer",
             "",
             "  sequencer tick1sec;",
             "    timer = 1;",
             "  end_sequencer;",
             "",
             "  selector sel_monitor;",
             "    timer = tick1sec, 2;",
             "    case",
             "      start = tick1 >= tickset;",
             "    end;",
             "  end_selector;",
             "",
             "end_timer;",
             "",
             "instrument",
             "",
             "  window panel panel_main;",
             "    owner = background;",
             "    position = 16, 32, 369, 424;",
             "    win_title = 'VORTEL KADEX-RX7';",
             "    dv_file = 'PANEL.GIF';",
             "    container;",
             "    follow_scrollbars;",
             "  end_panel;",
             "",
             "  meter meter_tick;",
             "    timer = tick1sec, 3;",
             "    owner = panel_main;",
             "    position = 212, 8, 42, 19;",
             "    expression = tickset - tick1;",
             "    mode = text_display;",
             "    low_limit = 0;",
             "    high_limit = 100;",
             "    dec_places = 0;"});
    w.CwLine(kArialFont);
    w.Lines({"    colors", "      ink = black;", "      paper = lgray;", "      value = lgray;",
             "      low_limit = lgray;", "      high_limit = lgray;", "    end_colors;",
             "  end_meter;", "", "  label label_tickset;", "    owner = panel_main;",
             "    position = 6, 10;"});
    w.CwLine("    font = 'MS Sans Serif (Central European)', 8, bold;");
    w.Lines({"    text = 'Interval obnovy dat';",
             "  end_label;",
             "",
             "  control control_tickset;",
             "    owner = panel_main;",
             "    position = 126, 8, 80, 19;",
             "    output = tickset;",
             "    mode = count_box;",
             "    range_from = 1;",
             "    init_value = 5;",
             "    dec_places = 0;",
             "  end_control;",
             "",
             "  meter meter_bar_tick;",
             "    timer = tick1sec, 4;",
             "    owner = panel_main;",
             "    position = 126, 31, 128, 7;",
             "    expression = tickset - tick1;",
             "    mode = horizontal_bar;",
             "    range_to = 10;",
             "    low_limit = 0;",
             "    high_limit = 10;",
             "    dec_places = 0;"});
    w.CwLine(kArialFont);
    w.Lines({"    colors", "      ink = black;", "      low_limit = lgreen;",
             "      high_limit = lgreen;", "    end_colors;", "  end_meter;", ""});
}

void WriteProgramBlock(Writer& w) {
    w.Lines({kProgramLine, "    timer = tick1sec, 1;"});
    if (w.cw()) w.Lines({"", "    procedure OnActivate();"});
    w.Lines({"    begin", "      tick1 = tick1 + 1;", "      if tick1 > tickset then",
             "        tick1 = 0;", "      end;"});
    w.Line(w.cw() ? "    end_procedure;" : "    end;");
    w.Lines({"", "  end_program;", "", kEndInstrument, ""});
}

void WriteRow(Writer& w, const CwItem& item, Row& row) {
    const std::string n = std::to_string(row.n);
    const std::string y = std::to_string(row.y);
    const std::string name = ChannelName(item);
    w.Line(Joined({"  label label_", n, ";"}));
    w.Line("    owner = panel_main;");
    w.Line(Joined({"    position = 9, ", std::to_string(row.y + 2), ";"}));
    w.CwLine("    font = 'MS Sans Serif (Central European)', 8, normal;");
    w.Line(Joined({"    text = '", CwLabelText(item), "';"}));
    w.Lines({"  end_label;", ""});
    const bool label_only = IsUserString(item.typ, item.subtyp) &&
                            (item.cw_out == kCwOutWrite || item.cw_out == kCwOutBidir);
    const bool bidir = item.cw_out == kCwOutBidir;
    if (!label_only && (item.cw_out == kCwOutRead || bidir)) {
        w.Line(Joined({"  meter meter_", n, ";"}));
        w.Line(Joined({"    timer = sel_monitor.start, ", n, ";"}));
        w.Line("    owner = panel_main;");
        w.Line(Joined({"    position = ", bidir ? "264" : "174", ", ", y, ", 80, 19;"}));
        w.Line(Joined({"    expression = ", name, ";"}));
        w.Lines({"    mode = text_display;", "    range_from = -1000000;",
                 "    range_to = 1000000;", "    low_limit = 0;", "    high_limit = 100;"});
        w.CwLine(kArialFont);
        w.Lines({"    colors", "      ink = black;", "      paper = lgray;", "      value = lgray;",
                 "      low_limit = lgray;", "      high_limit = lgray;", "    end_colors;",
                 "  end_meter;", ""});
    }
    if (!label_only && (item.cw_out == kCwOutWrite || bidir)) {
        w.Line(Joined({"  control control_", n, ";"}));
        if (bidir) w.CwLine(Joined({"    timer = sel_monitor.start, ", n, ";"}));
        w.Line("    owner = panel_main;");
        w.Line(Joined({"    position = 174, ", y, ", 80, 19;"}));
        w.Line(Joined({"    output = ", name, ";"}));
        w.Lines({"    mode = count_box;", "    range_from = -1000000;", "    range_to = 1000000;"});
        if (item.value_flag) w.Line(Joined({"    init_value = ", item.value, ";"}));
        w.Line("    dec_places = 2;");
        if (bidir) w.CwLine("    auto_update;");
        w.Lines({"  end_control;", ""});
    }
    ++row.n;
    row.y += 20;
}

void WriteRows(Writer& w, const std::vector<CwItem>& items, Row row) {
    for (const CwItem& item : items) WriteRow(w, item, row);
}

// The rows an existing program already has: its numbered labels.
Row RowAfter(std::string_view tail) {
    Row row;
    std::size_t start = 0;
    while (start < tail.size()) {
        std::size_t end = tail.find('\n', start);
        if (end == std::string_view::npos) end = tail.size();
        const std::string_view line = tail.substr(start, end - start);
        if (line.substr(0, kRowLabel.size()) == kRowLabel &&
            line.substr(0, kTicksetLabel.size()) != kTicksetLabel) {
            ++row.n;
            row.y += 20;
        }
        start = end + 1;
    }
    return row;
}

// The new channel lines go in before the existing "end_channel;" and the new
// panel rows before the program block, numbered on from the rows there. A
// plain append after the end of the text would leave lines after the end of
// the program, declare channels outside the channel section and repeat the
// panel's element names (label_1, meter_1, ...), so Control Web would refuse
// the program.
CwFileText AppendToExisting(CwProgramKind kind, const std::vector<CwItem>& items,
                            long first_channel, std::string_view existing) {
    CwFileText result;
    const std::size_t channels_end = FindLine(existing, kEndChannel);
    if (channels_end == std::string_view::npos) {
        result.error = "Soubor nelze doplnit: chybí řádek \"end_channel;\"."_cp;
        return result;
    }
    const std::string_view tail = existing.substr(channels_end);
    std::size_t rows_end = FindLine(tail, kProgramLine);
    if (rows_end == std::string_view::npos) rows_end = FindLine(tail, kEndInstrument);
    if (rows_end == std::string_view::npos) {
        result.error = "Soubor nelze doplnit: chybí řádek \"end_instrument;\"."_cp;
        return result;
    }
    Writer channels(kind);
    channels.Line("");
    WriteChannels(channels, items, first_channel);
    Writer rows(kind);
    WriteRows(rows, items, RowAfter(tail.substr(0, rows_end)));
    result.text = std::string(existing.substr(0, channels_end));
    result.text += channels.Take();
    result.text += tail.substr(0, rows_end);
    result.text += rows.Take();
    result.text += tail.substr(rows_end);
    return result;
}

}  // namespace

std::string CwLabelText(const CwItem& item) {
    constexpr std::size_t kKeptWhole = 24;
    constexpr std::size_t kEnd = 12;
    std::string name = ChannelName(item);
    if (name.size() > kKeptWhole) {
        name = Joined({std::string_view(name).substr(0, kEnd), "...",
                       std::string_view(name).substr(name.size() - kEnd)});
    }
    switch (item.cw_out) {
        case kCwOutRead:
            name += " (In)";
            break;
        case kCwOutWrite:
            name += " (Out)";
            break;
        case kCwOutBidir:
            name += " (I/O)";
            break;
        default:
            break;
    }
    return name;
}

CwFileText CwProgramText(CwProgramKind kind, const std::vector<CwItem>& items, long first_channel,
                         bool append, const CwProgramNames& names,
                         std::optional<std::string_view> existing) {
    CwFileText result;
    result.error = CwChannelRangeError(first_channel, items.size());
    if (!result.error.empty()) return result;
    if (AppendsTo(append, existing)) return AppendToExisting(kind, items, first_channel, *existing);
    Writer w(kind);
    WriteHead(w, names);
    WriteChannels(w, items, first_channel);
    WriteTimerAndPanel(w);
    WriteRows(w, items, Row{});
    WriteProgramBlock(w);
    result.text = w.Take();
    return result;
}

}  // namespace lm
