// lumarsim: a stand-in for the host Lumar. It prepares a working folder with
// the driver directory OVLADACE/KADEX2 copied from a driver directory, loads
// the driver library as the host does and plays the host's calls.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "platform/system_files.h"
#include "tools/lumarsim/box_answerer.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/form_player.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/host_session.h"
#include "tools/lumarsim/project_file.h"
#include "tools/lumarsim/run_host.h"
#include "tools/lumarsim/run_session.h"
#include "tools/lumarsim/script.h"
#include "tools/lumarsim/settings_report.h"
#include "tools/lumarsim/soak_session.h"
#include "tools/lumarsim/work_folder.h"
#include "tools/rozid7/rozid7_core.h"

namespace fs = std::filesystem;

using namespace lumarsim;

namespace {

constexpr const char kUsage[] =
    "usage: lumarsim COMMAND [ARGS] [OPTIONS]\n"
    "\n"
    "Plays the host Lumar against the KADEX driver library.\n"
    "\n"
    "commands:\n"
    "  open PROJECT   identify, load driver, init objects, get menu, open the project\n"
    "                 (blocks and their stored lines) and print every block's user values\n"
    "  save PROJECT   as open, then save the project with SaveLine and write it back\n"
    "                 (to --out FILE, or over PROJECT)\n"
    "  netlist PROJECT  as open, then the menu command and NetList with the project's\n"
    "                 wiring: NETLIST.TXT (--kind text), LMKOMUN.INI (--kind komun) or\n"
    "                 the Control Web files KADEX.PAR, .DMF, .CW and .CP (--kind cw)\n"
    "  run PROJECT    as open, then run mode: StartRUN, orders for live values, writes,\n"
    "                 StopRUN; prints the values as the host shows them (see lumarsim\n"
    "                 help run)\n"
    "  soak PROJECT   run mode at random for many steps against the misbehaving stand-in,\n"
    "                 checking after every step what a host relies on (see lumarsim help\n"
    "                 soak; natively only)\n"
    "  dialog PROJECT BLOCK  as open, then the driver's dialog of one block\n"
    "                 (ObjectDialog), played by --step or, on Windows without steps,\n"
    "                 on screen (see lumarsim help dialog)\n"
    "  script FILE    one host call per line of FILE; prints the transcript (see\n"
    "                 lumarsim help script)\n"
    "  settings       the active communication settings and the profiles of the\n"
    "                 driver directory, as the driver reads them\n"
    "  tour           identify, load driver, errtext, an unknown code, unload driver\n"
    "  help COMMAND   the help of one command\n"
    "\n"
    "options:\n"
    "  --library FILE     the driver library (default: the build's own)\n"
    "  --driver-dir DIR   the driver directory to copy (default: the sample driverdir)\n"
    "  --work DIR         the host's working folder (default: ./lumarsim-work); its\n"
    "                     OVLADACE/KADEX2 is lumarsim's marked copy of --driver-dir,\n"
    "                     replaced each run; refused when nested with --driver-dir or\n"
    "                     when a folder there is not lumarsim's\n"
    "  --out FILE         where save writes the project\n"
    "  --kind text|komun|cw  the export netlist asks for (default: text)\n"
    "  --first-channel N  cw: the dialog's first channel (default: the dialog's 100)\n"
    "  --select BLOCK.ITEM  cw: only these items ticked (repeatable; BLOCK is NAME:INSTANCE)\n"
    "  --append           cw: the dialog's append mode\n"
    "  --crc N            the project checksum the host passes with NetList (default: 0)\n"
    "  --quiet            no per-block lines, only the summary\n"
    "  --seconds N        how long run plays run mode (default: 3)\n"
    "  --order ORDER      run: BLOCK.ITEM@PERIOD, an order (repeatable)\n"
    "  --set WRITE        run: BLOCK.ITEM=VALUE, a write half way (repeatable)\n"
    "  --simulate TEXT    run, script: the ROZID7.EXE stand-in misbehaves (\"LATE 3\")\n"
    "  --steps N          soak: the number of host actions\n"
    "  --minutes M        soak: run for M minutes instead\n"
    "  --seed N           soak: the generator's seed (default: 1)\n"
    "  --keep-log         soak: leave the driver's log on as STARTUP.INI has it\n"
    "  --step STEP        dialog: what the user does in the dialog (repeatable)\n"
    "  --in-process       script, natively: the driver built into lumarsim with the\n"
    "                     stand-in in process, for run-mode steps\n";

const std::map<std::string, const char*>& CommandHelp() {
    static const std::map<std::string, const char*> help = {
        {"open",
         "lumarsim open PROJECT [--library FILE] [--driver-dir DIR] [--work DIR] [--quiet]\n"
         "  Opens PROJECT as the host does and prints the library it got, the menu and every\n"
         "  block with its user values. Exit code 1 when a block or a line is refused, 2 when\n"
         "  PROJECT cannot be read (FILE:LINE: names the line; LF, CR LF or CR end lines).\n"},
        {"save",
         "lumarsim save PROJECT [--out FILE] [--library FILE] [--driver-dir DIR] [--work DIR]\n"
         "  Opens PROJECT, then asks the driver for every block's lines (SaveLine) and writes\n"
         "  the project file again, to FILE or over PROJECT, with its comments. PROJECT is\n"
         "  not overwritten when the driver refused a block or stored line or handed no\n"
         "  lines for a block the file holds lines for: the blocks are named, exit code 1.\n"
         "  --out FILE is written whatever happened, with the same exit code.\n"},
        {"netlist",
         "lumarsim netlist PROJECT [--kind text|komun|cw] [--crc N] [--library FILE] ...\n"
         "         [--first-channel N] [--select BLOCK.ITEM ...] [--append]\n"
         "  Opens PROJECT, chooses the driver's menu command (3001 \"&Netlist\" for text, 3000\n"
         "  \"&Preklad\" for komun, its question answered Yes) and calls NetList with the\n"
         "  checksum N (decimal or 0x hex) and the netlist built from the project's wire and\n"
         "  const lines, laid out as the host lays it out. Prints where the driver wrote\n"
         "  NETLIST.TXT or LMKOMUN.INI; exit code 1 when it wrote nothing.\n"
         "  --kind cw chooses 3010 \"&Generovat soubory pro CP / CW\" and plays its dialog\n"
         "  headless: the four files KADEX.PAR, KADEX.DMF, KADEX.CW and KADEX.CP in the\n"
         "  working folder, Notepad not opened; --first-channel N types N as the first\n"
         "  channel, --append chooses append mode, --select NAME:INSTANCE.ITEM (repeatable)\n"
         "  ticks only the items named, else every item stays ticked.\n"
         "  Below a block of the project file:\n"
         "    wire ITEM OTHER_IDENT OTHER_INSTANCE OTHER_ITEM   ITEM takes the value of\n"
         "                                                     the other block's item\n"
         "    const ITEM FORM BYTES...    a constant: form 2 these hexadecimal bytes, form 1\n"
         "                                a 256-byte block starting with them; nil: no data\n"
         "  e.g.\n"
         "    block 43 2\n"
         "    wire 1 11 1 1\n"
         "    const 20 2 FE FF\n"},
        {"script",
         "lumarsim script FILE [--library FILE] [--driver-dir DIR] [--work DIR]\n"
         "  Runs FILE, one host call a line, and prints one transcript line per call:\n"
         "    call FUNCTION [FIELD=VALUE ...] [-> FIELD ...]\n"
         "  FUNCTION is a word (identify, load, init, menu, create, loadline, saveline,\n"
         "  bintostr, akceitem, unload, ...) or a number. Numbers are decimal or 0x hex;\n"
         "  string1/string2 take \"text\" or null; data1, data2, pointer1, pointer2 take\n"
         "  hex:BYTES or null. After ->: result, any number field, string1/string2,\n"
         "  FIELD:text, FIELD:hex:N (N bytes) or FIELD:set. Lines starting with # are\n"
         "  comments. Exit code 2 names the script line that could not be understood.\n"
         "  The driver's modal forms (menuitem 3004, 3008, ...) are played by steps given\n"
         "  before the call: \"form\" starts the next form's steps, then one a line:\n"
         "    step press CONTROL          a button, check box or radio button\n"
         "    step set CONTROL TEXT       an edit box's text (\"\" for none)\n"
         "    step select CONTROL N       item N (from 0) of a list or combo box\n"
         "    step dblclick CONTROL       a list box double-clicked\n"
         "    step key CONTROL up|down    an arrow key in a number field\n"
         "    step cell GRID C R TEXT     a string grid's cell typed (not on Windows)\n"
         "  call dialog wparam1=IDENT wparam2=INSTANCE shows a block's object dialog.\n"
         "  A form without steps, or left open by them, is dismissed; the transcript\n"
         "  says after the call how each form ended.\n"
         "  Run-mode steps: tick N (N periods of 100 ms pass), tolan CODE \"TEXT\" (the\n"
         "  communication program's MSG_TOLAN to the driver window), answers (what the\n"
         "  host window received); lparam2=host is the host window's handle. They need the\n"
         "  run-mode host: on Windows always, natively with --in-process.\n"},
        {"dialog",
         "lumarsim dialog PROJECT BLOCK [--step STEP ...] [--library FILE] ...\n"
         "  Opens PROJECT, then asks the driver for its own dialog of BLOCK (NAME:INSTANCE or\n"
         "  IDENT:INSTANCE, e.g. AI6:1 or 18:2) with ObjectDialog. Each --step is what the\n"
         "  user does in the dialog, in order:\n"
         "    press CONTROL          a button (OKBtn, CancelBtn, ...)\n"
         "    set CONTROL TEXT       an edit's text typed; a number field takes only the\n"
         "                           keys a number is written with (the decimal separator\n"
         "                           is the system's, \".\" natively), then loses the focus\n"
         "    key CONTROL up|down    an arrow key in a number field\n"
         "    select CONTROL N       item N (from 0) of a combo box (a module)\n"
         "    cell GRID C R TEXT     a string grid's cell typed (not on Windows)\n"
         "  Prints how the dialog ended, the block's user values after it and whether the\n"
         "  driver reports the project changed. Without steps the dialog is dismissed;\n"
         "  on Windows it stays on screen for the user instead. Exit code 1 when a step\n"
         "  cannot be played or the project has no such block.\n"
         "  e.g. lumarsim dialog samples/demo-project.txt AI6:1 --step \"select ComboBox1 8\" \\\n"
         "           --step \"set FloatEdit7 -20\" --step \"press OKBtn\"\n"},
        {"settings",
         "lumarsim settings [--driver-dir DIR]\n"
         "  Prints SETCOM.INI (the text the driver window shows, then every value) and the\n"
         "  profiles of profiles.ini, read by the driver's own readers, with the values\n"
         "  they repair. Exit code 1 when SETCOM.INI is missing.\n"},
        {"run",
         "lumarsim run PROJECT [--seconds N] [--order BLOCK.ITEM@PERIOD ...]\n"
         "             [--set BLOCK.ITEM=VALUE ...] [--simulate SETTING ...] [--crc N] ...\n"
         "  Opens PROJECT, starts run mode (StartRUN with the checksum N) and orders live\n"
         "  values for a window of its own: BLOCK is NAME:INSTANCE or IDENT:INSTANCE, ITEM a\n"
         "  name or ident, PERIOD in tenths of a second; without --order every input and\n"
         "  output every 0.5 s. Each value is converted with BINTOSTR and printed when it\n"
         "  changes. Half way the --set values are converted with STRTOBIN and written with\n"
         "  SetData; at the end StopRUN. On Windows the driver starts ROZID7.EXE from the\n"
         "  driver directory (the build's driver directory has it); natively the driver and\n"
         "  the stand-in run inside lumarsim and time passes without waiting. --simulate\n"
         "  writes \"SIMULATE SETTING\" lines to ROZID7.INI beside the program: LATE n,\n"
         "  DROP n, GARBAGE, SHORT, COM_ERROR n, USER_CLOSE n, DIE n, SILENT.\n"
         "  Each --set value is first tested against the item's limits (TESTMINMAX), as the\n"
         "  host does: a warning when it lies outside. Exit code 1 when an order got no\n"
         "  value, a call failed, the line ended before StopRUN or a write was not\n"
         "  delivered (each said in a line beginning with !!).\n"
         "  e.g. lumarsim run samples/demo-project.txt --order AI6:1.AI0@5 \\\n"
         "           --set DO8:1.DO0=1 --seconds 4\n"},
        {"soak",
         "lumarsim soak PROJECT (--steps N | --minutes M) [--seed N] [--simulate SETTING ...]\n"
         "              [--keep-log] [--driver-dir DIR] [--work DIR]\n"
         "  Opens PROJECT, then plays run mode as a host that calls at random, from a generator\n"
         "  seeded with N: OrderData (three host windows, periods of 0 to 3 s), UnOrderData of\n"
         "  one order or of a whole window, SetData, StartRUN, StopRUN, unload driver and a\n"
         "  fresh start, and waits of 1 to 8 ticks. Each StartRUN gives the ROZID7.EXE\n"
         "  stand-in one of the --simulate settings (or none) in ROZID7.INI. Time is\n"
         "  simulated: the driver and the stand-in run inside lumarsim, so the same seed plays\n"
         "  the same run. After every call and tick it checks: every order still placed is\n"
         "  answered, with data or failed, within its period, the line's time-out and the\n"
         "  stand-in's delay while run mode is on (and failed at once when the stand-in ends\n"
         "  the line with an error); no answer reaches a window after its order was withdrawn;\n"
         "  the command queue stays within its bound; resident memory stays flat (not checked\n"
         "  under the sanitizers); unload returns and the driver window is gone. The driver's\n"
         "  log is switched off in the working copy unless --keep-log. Prints the figures at\n"
         "  the end; exit code 1 on any broken check. Natively only.\n"
         "  e.g. lumarsim soak samples/demo-project.txt --steps 20000 --seed 7 \\\n"
         "           --simulate \"LATE 3\" --simulate \"DROP 4\" --simulate GARBAGE\n"},
        {"tour",
         "lumarsim tour [--library FILE] [--driver-dir DIR] [--work DIR]\n"
         "  The driver's introduction and start: identify, load driver, errtext, an unknown\n"
         "  function code, unload driver; then the log.\n"},
    };
    return help;
}

struct Options {
    std::string command;
    std::string project;
    fs::path library;
    fs::path driver_dir = LUMARSIM_SAMPLE_DRIVER_DIR;
    fs::path work = "lumarsim-work";
    fs::path out;
    bool quiet = false;
    bool in_process = false;
    lumarsim::RunOptions run;
    lumarsim::SoakOptions soak;
    std::vector<std::string> simulate;
    std::string block;               // dialog: the block
    std::vector<std::string> steps;  // dialog: the user's steps
    std::string kind = "text";
    std::uint32_t crc = 0;
    std::string first_channel;         // cw: typed into the dialog as it is
    std::vector<std::string> selects;  // cw: NAME:INSTANCE.ITEM
    bool append = false;               // cw
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "lumarsim: %s\n", message.c_str());
    return 2;
}

fs::path DefaultLibrary(const char* argv0) {
    fs::path exe = fs::absolute(argv0).parent_path();
#if defined(_WIN32)
    return exe / ".." / ".." / "dll" / "LMDRIVER.DLL";
#else
    return exe / ".." / ".." / "dll" / "liblmdriver.so";
#endif
}

bool ParseChecksum(std::string_view text, std::uint32_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    options.library = DefaultLibrary(argv[0]);
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](fs::path& target) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (arg == "--library") {
            if (!value(options.library)) return false;
        } else if (arg == "--driver-dir") {
            if (!value(options.driver_dir)) return false;
        } else if (arg == "--work") {
            if (!value(options.work)) return false;
        } else if (arg == "--out") {
            if (!value(options.out)) return false;
        } else if (arg == "--kind") {
            if (i + 1 >= argc ||
                (std::strcmp(argv[i + 1], "text") != 0 && std::strcmp(argv[i + 1], "komun") != 0 &&
                 std::strcmp(argv[i + 1], "cw") != 0)) {
                error = "--kind needs text, komun or cw";
                return false;
            }
            options.kind = argv[++i];
        } else if (arg == "--crc") {
            if (i + 1 >= argc || !ParseChecksum(argv[i + 1], options.crc)) {
                error = "--crc needs a 32-bit number (decimal or 0x hex)";
                return false;
            }
            ++i;
        } else if (arg == "--first-channel" || arg == "--select") {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            if (arg == "--select") {
                options.selects.push_back(argv[++i]);
            } else {
                options.first_channel = argv[++i];
            }
        } else if (arg == "--append") {
            options.append = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--in-process") {
            options.in_process = true;
        } else if (arg == "--seconds") {
            std::uint32_t seconds = 0;
            if (i + 1 >= argc || !ParseChecksum(argv[i + 1], seconds) || seconds == 0 ||
                seconds > 3600) {
                error = "--seconds needs a number of seconds from 1 to 3600";
                return false;
            }
            options.run.seconds = static_cast<int>(seconds);
            ++i;
        } else if (arg == "--steps" || arg == "--seed") {
            std::uint32_t number = 0;
            if (i + 1 >= argc || !ParseChecksum(argv[i + 1], number) ||
                (arg == "--steps" && number == 0)) {
                error = arg + " needs a number" + (arg == "--steps" ? " above 0" : "");
                return false;
            }
            if (arg == "--steps") {
                options.soak.steps = number;
            } else {
                options.soak.seed = number;
            }
            ++i;
        } else if (arg == "--minutes") {
            std::uint32_t minutes = 0;
            if (i + 1 >= argc || !ParseChecksum(argv[i + 1], minutes) || minutes == 0 ||
                minutes > 24 * 60) {
                error = "--minutes needs a number of minutes from 1 to 1440";
                return false;
            }
            options.soak.minutes = minutes;
            ++i;
        } else if (arg == "--keep-log") {
            options.soak.keep_log = true;
        } else if (arg == "--order" || arg == "--set" || arg == "--simulate" || arg == "--step") {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            auto& list = arg == "--order"  ? options.run.orders
                         : arg == "--set"  ? options.run.sets
                         : arg == "--step" ? options.steps
                                           : options.simulate;
            list.push_back(argv[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        error = "no command (see lumarsim --help)";
        return false;
    }
    options.command = positional[0];
    if (positional.size() > 1) options.project = positional[1];
    if (options.command == "dialog") {
        if (positional.size() != 3) {
            error = "dialog needs a PROJECT and a BLOCK";
            return false;
        }
        options.block = positional[2];
    } else if (positional.size() > 2) {
        error = "too many arguments";
        return false;
    }
    return true;
}

// WORK/OVLADACE/KADEX2 as a fresh copy of the driver directory.
bool PrepareWorkFolder(const fs::path& driver_dir, const fs::path& work) {
    std::string error;
    if (lumarsim::PrepareWorkFolder(driver_dir, work, error)) return true;
    std::fprintf(stderr, "lumarsim: %s\n", error.c_str());
    return false;
}

void PrintLog(const fs::path& work) {
    fs::path log = work / "OVLADACE" / "KADEX2" / "LMDRIVER.LOG";
    auto content = lm::MakeSystemFiles()->ReadWhole(log.string());
    std::size_t lines = 0;
    if (content) {
        for (char c : *content) lines += c == '\n';
    }
    std::printf("\nlog: %s (%zu lines)\n", log.string().c_str(), lines);
}

// The Control Web files lumarsim names in the dialog, in the working folder.
constexpr const char* kCwFiles[][2] = {{"EditPARname", "KADEX.PAR"},
                                       {"EditDMFname", "KADEX.DMF"},
                                       {"EditCWname", "KADEX.CW"},
                                       {"EditCPName", "KADEX.CP"}};

// The steps of the Control Web dialog: the four files named and created, no
// Notepad, the first channel, the mode and the ticks, then OK.
void QueueCwDialog(const Options& options) {
    FormQueue& queue = FormQueue::Instance();
    queue.StartForm();
    for (const auto& file : kCwFiles) {
        std::string step = "set ";
        step += file[0];
        step += ' ';
        step += file[1];
        queue.AddStep(step);
    }
    queue.AddStep("press CheckBoxCP");    // not ticked at first
    queue.AddStep("press CheckBoxShow");  // ticked at first
    if (!options.first_channel.empty()) queue.AddStep("set EditOdKanalu " + options.first_channel);
    if (options.append) queue.AddStep("press RadioButton2");
    if (!options.selects.empty()) {
        queue.AddStep("press Button1");
        std::vector<std::string> ticked;
        for (std::string entry : options.selects) {
            // NAME:INSTANCE.ITEM is the entry NAME.INSTANCE.ITEM (TYPE...).
            if (const std::size_t colon = entry.find(':'); colon != std::string::npos)
                entry[colon] = '.';
            if (std::find(ticked.begin(), ticked.end(), entry) != ticked.end()) continue;
            ticked.push_back(entry);
            queue.AddStep("tick CheckListBox1 " + entry);
        }
    }
    queue.AddStep("press OKBtn");
}

// An export file left by an earlier run (or copied with the driver
// directory) is removed first: only a file the driver writes in this run is
// reported as written.
bool RemoveStale(const fs::path& file) {
    std::error_code ec;
    if (!fs::remove(file, ec) && ec) {
        std::printf("  !! cannot remove the earlier %s: %s\n", file.string().c_str(),
                    ec.message().c_str());
        return false;
    }
    return true;
}

// The four Control Web files after menu 3010 and NetList; true when every
// one was written and the dialog was played to its end.
bool ExportCw(HostSession& host, HostNetlist& netlist, const Options& options,
              const fs::path& work) {
    std::printf("\nexport Control Web, checksum %u\n", options.crc);
    // Append mode writes onto the files there: each must have grown. Else
    // they are removed first.
    std::map<std::string, std::string> before;
    for (const auto& file : kCwFiles) {
        if (options.append) {
            before[file[1]] =
                lm::MakeSystemFiles()->ReadWhole((work / file[1]).string()).value_or("");
        } else if (!RemoveStale(work / file[1])) {
            return false;
        }
    }
    QueueCwDialog(options);
    if (host.MenuItem(3010)) host.NetList(options.crc, netlist.head());
    bool ok = true;
    for (const std::string& report : FormQueue::Instance().TakeReports()) {
        std::printf("  %s\n", report.c_str());
        if (report.find("closed by its steps") == std::string::npos) ok = false;
    }
    for (const auto& file : kCwFiles) {
        const fs::path path = work / file[1];
        auto content = lm::MakeSystemFiles()->ReadWhole(path.string());
        if (!content || content->empty() || (options.append && *content == before[file[1]])) {
            std::printf("  !! the driver wrote no %s\n", path.string().c_str());
            ok = false;
            continue;
        }
        std::size_t lines = 0;
        for (char c : *content) lines += c == '\n';
        std::printf("  written: %s (%zu lines)\n", path.string().c_str(), lines);
    }
    return ok;
}

bool ExportFile(HostSession& host, HostNetlist& netlist, const Options& options,
                const fs::path& work);

// The menu command of the export and NetList with the project's netlist;
// true when the driver wrote the file.
bool Export(HostSession& host, const Project& project, const Options& options,
            const fs::path& work) {
    HostNetlist netlist(project);
    if (!netlist.ok()) {
        std::fprintf(stderr, "lumarsim: %s:%s\n", options.project.c_str(), netlist.error().c_str());
        return false;
    }
    // NetList is one call; for a large project stderr says when it starts
    // and ends, as open and save tell their progress.
    const bool large = project.blocks.size() >= 5000;
    if (large) {
        std::fprintf(stderr, "lumarsim: the netlist of %zu blocks goes to the driver\n",
                     project.blocks.size());
    }
    const bool written = options.kind == "cw" ? ExportCw(host, netlist, options, work)
                                              : ExportFile(host, netlist, options, work);
    if (large) std::fprintf(stderr, "lumarsim: the driver's export has ended\n");
    return written;
}

// NETLIST.TXT or LMKOMUN.INI after the menu command and NetList.
bool ExportFile(HostSession& host, HostNetlist& netlist, const Options& options,
                const fs::path& work) {
    const bool text = options.kind == "text";
    std::printf("\nexport %s, checksum %u\n", text ? "NETLIST.TXT" : "LMKOMUN.INI", options.crc);
    const fs::path file = work / "OVLADACE" / "KADEX2" / (text ? "NETLIST.TXT" : "LMKOMUN.INI");
    if (!RemoveStale(file)) return false;
    if (host.MenuItem(text ? 3001 : 3000)) host.NetList(options.crc, netlist.head());
    auto content = lm::MakeSystemFiles()->ReadWhole(file.string());
    if (!content) {
        std::printf("  !! the driver wrote no %s\n", file.string().c_str());
        return false;
    }
    // An empty file is what the driver leaves when the export failed (no
    // SETCOM.INI for LMKOMUN.INI): not a successful export.
    if (content->empty()) {
        std::printf("  !! the driver left %s empty\n", file.string().c_str());
        return false;
    }
    std::size_t lines = 0;
    for (char c : *content) lines += c == '\n';
    std::printf("  written: %s (%zu lines)\n", file.string().c_str(), lines);
    return true;
}

// lumarsim save: the driver's lines of every block written to `out_file`.
// Over the original (no --out, or --out naming it) only when the driver took
// every block and stored line and handed lines out for every block that had
// them; else the original stays as it is and the blocks are named. With --out
// elsewhere the file is written whatever happened. False on any refusal or
// when nothing was written.
bool SaveTo(HostSession& host, const Project& project, const fs::path& project_file,
            const fs::path& out_file, bool out_given) {
    const Project saved = host.SaveProject(project);
    std::error_code ec;
    const bool over_original =
        !out_given || fs::equivalent(out_file, project_file, ec) || out_file == project_file;
    const std::vector<std::string>& refused = host.refused_blocks();
    if (!refused.empty()) {
        std::string names;
        for (std::size_t i = 0; i < refused.size() && i < 20; ++i) names += "\n    " + refused[i];
        if (refused.size() > 20)
            names += "\n    and " + std::to_string(refused.size() - 20) + " more";
        std::printf("  !! %zu blocks refused by the driver or without its lines:%s\n",
                    refused.size(), names.c_str());
        if (over_original) {
            std::printf(
                "  !! %s is not overwritten: its values would be lost; --out FILE writes "
                "the project elsewhere\n",
                project_file.string().c_str());
            return false;
        }
    }
    if (lm::FileStatus written =
            lm::MakeSystemFiles()->WriteWhole(out_file.string(), FormatProject(saved));
        !written) {
        std::printf("  !! cannot write %s: %s\n", out_file.string().c_str(),
                    lm::Cp1250ToUtf8(written.reason).c_str());
        return false;
    }
    std::size_t lines = 0;
    for (const auto& block : saved.blocks) lines += block.lines.size();
    std::printf("  saved %zu blocks, %zu lines to %s\n", saved.blocks.size(), lines,
                out_file.string().c_str());
    return refused.empty();
}

// The block named NAME:INSTANCE or IDENT:INSTANCE among the project's blocks.
std::optional<std::pair<std::uint16_t, std::uint16_t>> FindBlock(const std::string& text,
                                                                 const dLM_OBJECT* objects,
                                                                 const Project& project) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    std::uint32_t ident = 0, instance = 0;
    const std::string name = text.substr(0, colon);
    if (!ParseChecksum(text.substr(colon + 1), instance) || instance > 0xFFFF) return std::nullopt;
    if (!ParseChecksum(name, ident)) {
        const dLM_OBJECT* object = objects;
        while (object != nullptr && lm::ReadZeroText(object->name) != name) object = object->next;
        if (object == nullptr) return std::nullopt;
        ident = object->ident;
    }
    for (const ProjectBlock& block : project.blocks) {
        if (block.ident == ident && block.instance == instance)
            return std::make_pair(block.ident, block.instance);
    }
    return std::nullopt;
}

// lumarsim dialog: the steps queued as the next form's, then ObjectDialog.
bool BlockDialog(HostSession& host, const Project& project, const Options& options) {
    const auto block = FindBlock(options.block, host.objects(), project);
    if (!block) {
        std::printf("  !! %s: the project has no such block\n", options.block.c_str());
        return false;
    }
    if (!options.steps.empty()) {
        FormQueue::Instance().StartForm();
        for (const std::string& step : options.steps) {
            FormQueue::Instance().AddStep(lm::Utf8ToCp1250(step));
        }
    }
    std::printf("\ndialog of block %u/%u\n", block->first, block->second);
    FormQueue::Instance().TakeProblems();
    const bool handled = host.ObjectDialog(block->first, block->second);
    if (const std::size_t problems = FormQueue::Instance().TakeProblems(); problems > 0) {
        std::printf("  !! a step could not be played in %zu form(s)\n", problems);
        return false;
    }
    return handled;
}

// ROZID7.INI beside the stand-in with one "SIMULATE" line per setting.
bool WriteSimulation(const std::vector<std::string>& simulate, const fs::path& work) {
    if (simulate.empty()) return true;
    std::string text;
    for (const std::string& setting : simulate) {
        lm::rozid7::Misbehaviour probe;
        if (!lm::rozid7::ReadMisbehaviour(setting, probe)) {
            std::string message = "--simulate ";
            message += setting;
            message += ": not a misbehaviour of the stand-in";
            Fail(message);
            return false;
        }
        text += "SIMULATE ";
        text += setting;
        text += "\r\n";
    }
    const fs::path file = work / "OVLADACE" / "KADEX2" / lm::rozid7::kOwnSettingsFile;
    if (!lm::MakeSystemFiles()->WriteWhole(file.string(), text)) {
        Fail("cannot write " + file.string());
        return false;
    }
    return true;
}

// lumarsim run: the project opened, then run mode.
int RunMode(const Options& options, const Project& project, const fs::path& library_file,
            const fs::path& work) {
    if (!WriteSimulation(options.simulate, work)) return 1;
    RunSetup setup = MakeRunSetup(library_file.string());
    if (!setup.host) return Fail(setup.error);
    if (RunsDriverInProcess()) {
        std::printf("lumarsim: the driver in process, with the ROZID7.EXE stand-in in process\n\n");
    } else {
        std::printf("lumarsim: loaded %s\n\n", library_file.string().c_str());
    }
    HostSession host(*setup.library, stdout);
    host.Identify();
    host.LoadDriver();
    host.InitObjects(false);
    host.GetMenu();
    host.OpenProject(project, false);
    RunOptions run = options.run;
    run.crc = options.crc;
    const bool played =
        RunSession(*setup.library, *setup.host, stdout).Play(host.objects(), project, run);
    host.UnloadDriver();
    PrintLog(work);
    const bool ok = host.failures() == 0 && played;
    std::printf("\n%s\n", ok ? "session ok" : "session had failures");
    return ok ? 0 : 1;
}

// lumarsim soak: run mode at random, every step checked.
int SoakMode(const Options& options, const Project& project, const fs::path& work) {
#if defined(_WIN32)
    (void)options, (void)project, (void)work;
    return Fail("soak runs natively only: it needs the driver and the stand-in in process");
#else
    lumarsim::SoakOptions soak = options.soak;
    if ((soak.steps == 0) == (soak.minutes == 0))
        return Fail("soak needs --steps N or --minutes M");
    soak.modes = options.simulate;
    for (const std::string& mode : soak.modes) {
        lm::rozid7::Misbehaviour probe;
        if (!lm::rozid7::ReadMisbehaviour(mode, probe)) {
            return Fail("--simulate " + mode + ": not a misbehaviour of the stand-in");
        }
    }
    if (!soak.keep_log) {
        // A long run would write gigabytes of log: the working copy's start-up
        // options keep it off.
        const fs::path startup = work / "OVLADACE" / "KADEX2" / "STARTUP.INI";
        const auto files = lm::MakeSystemFiles();
        std::string text = files->ReadWhole(startup.string()).value_or(std::string());
        const std::size_t at = text.find("LOGFILE ON");
        if (at != std::string::npos) text.replace(at, 10, "LOGFILE OFF");
        if (!files->WriteWhole(startup.string(), text))
            return Fail("cannot write " + startup.string());
    }
    std::printf("lumarsim: soak, seed %u, ", soak.seed);
    if (soak.steps > 0) {
        std::printf("%llu steps", static_cast<unsigned long long>(soak.steps));
    } else {
        std::printf("%.0f minutes", soak.minutes);
    }
    std::printf(", stand-in modes:");
    for (const std::string& mode : soak.modes) std::printf(" \"%s\"", mode.c_str());
    std::printf(" or none\n");
    const lumarsim::SoakFigures figures = lumarsim::PlaySoak(project, soak, stdout);
    lumarsim::PrintSoakFigures(figures, stdout);
    std::printf("\n%s\n", figures.violations == 0 ? "soak ok" : "soak broke its checks");
    return figures.violations == 0 ? 0 : 1;
#endif
}

int Run(const Options& options) {
    if (options.command == "settings") {
        if (!options.project.empty()) return Fail("settings takes no file");
        return PrintSettings(options.driver_dir.string(), stdout);
    }
    BoxAnswerer answerer;  // nothing the driver shows waits for a person
    // Nor do its forms, unless a dialog without steps is for the user on screen.
    std::unique_ptr<FormPlayer> forms;
    if (options.command != "dialog" || !options.steps.empty()) {
        forms = std::make_unique<FormPlayer>();
    }
    const std::unique_ptr<lm::Files> files = lm::MakeSystemFiles();
    Project project;
    if (options.command == "open" || options.command == "save" || options.command == "netlist" ||
        options.command == "run" || options.command == "dialog" || options.command == "soak") {
        if (options.project.empty()) return Fail(options.command + " needs a PROJECT file");
        auto text = files->ReadWhole(fs::absolute(options.project).string());
        if (!text) return Fail("cannot read the project " + options.project);
        ProjectError error;
        auto parsed = ParseProject(*text, error);
        if (!parsed) {
            return Fail(options.project + ":" + std::to_string(error.line) + ": " + error.message);
        }
        project = std::move(*parsed);
    } else if (options.command == "script") {
        if (options.project.empty()) return Fail("script needs a FILE");
        auto text = files->ReadWhole(fs::absolute(options.project).string());
        if (!text) return Fail("cannot read the script " + options.project);
        const fs::path library_file = fs::absolute(options.library);
        const fs::path work = fs::absolute(options.work);
        if (!PrepareWorkFolder(fs::absolute(options.driver_dir), work)) return 2;
        fs::current_path(work);
        if (!WriteSimulation(options.simulate, work)) return 1;
        std::string error;
        if (!RunsDriverInProcess() || options.in_process) {
            // With the run-mode host (always on Windows: it costs a window).
            RunSetup setup = MakeRunSetup(library_file.string());
            if (!setup.host) return Fail(setup.error);
            if (!RunScript(*setup.library, setup.host.get(), *text, stdout, error))
                return Fail(options.project + ": " + error);
            return 0;
        }
        lumarsim::DriverLibrary library(library_file.string());
        if (!library.ok()) return Fail(library.error());
        if (!RunScript(library, nullptr, *text, stdout, error))
            return Fail(options.project + ": " + error);
        return 0;
    } else if (options.command != "tour") {
        return Fail("unknown command " + options.command + " (see lumarsim --help)");
    }

    const fs::path library_file = fs::absolute(options.library);
    const fs::path project_file =
        options.project.empty() ? fs::path() : fs::absolute(options.project);
    const fs::path out_file = options.out.empty() ? project_file : fs::absolute(options.out);
    const fs::path work = fs::absolute(options.work);
    if (!PrepareWorkFolder(fs::absolute(options.driver_dir), work)) return 2;
    fs::current_path(work);  // the host's working folder decides the driver directory
    std::printf("lumarsim: working folder %s\n", work.string().c_str());

    if (options.command == "run") return RunMode(options, project, library_file, work);
    if (options.command == "soak") return SoakMode(options, project, work);
    lumarsim::DriverLibrary library(library_file.string());
    if (!library.ok()) return Fail(library.error());
    std::printf("lumarsim: loaded %s\n\n", library_file.string().c_str());
    lumarsim::HostSession host(library, stdout);
    bool exported = true;
    host.Identify();
    host.LoadDriver();
    if (options.command == "tour") {
        host.ErrText(0);
        host.ErrText(3);
        host.ErrText(99);
        host.Unknown(26);
    } else {
        host.InitObjects(!options.quiet);
        host.GetMenu();
        std::printf("\nopening %s\n", project_file.string().c_str());
        host.OpenProject(project, !options.quiet);
        if (options.command == "save" &&
            !SaveTo(host, project, project_file, out_file, !options.out.empty())) {
            exported = false;
        } else if (options.command == "netlist" && !Export(host, project, options, work)) {
            exported = false;
        } else if (options.command == "dialog" && !BlockDialog(host, project, options)) {
            exported = false;
        }
    }
    host.UnloadDriver();
    PrintLog(work);
    const bool ok = host.failures() == 0 && exported;
    std::printf("\n%s\n", ok ? "session ok" : "session had failures");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "help") == 0) {
        auto it = argc > 2 ? CommandHelp().find(argv[2]) : CommandHelp().end();
        std::fputs(it != CommandHelp().end() ? it->second : kUsage, stdout);
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[2], "--help") == 0) {
        auto it = CommandHelp().find(argv[1]);
        if (it != CommandHelp().end()) {
            std::fputs(it->second, stdout);
            return 0;
        }
    }
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) return Fail(error);
    return Run(options);
}
