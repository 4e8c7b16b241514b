// The GUI timing report: every dialog of the real LMDRIVER.DLL opened five
// times as the host opens it, on the sample project with the biggest dialogs
// the driver makes (an AI12 block, 51 modules, 32 texts), and timed until it has
// painted (gui/gui_timing.h). The report is written whatever the figures; the
// test fails only when a dialog never showed or the report was not written.
#include "tests/e2e/gui/gui_timing.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"
#include "tests/e2e/project_host.h"

namespace {

namespace gui = lm::gui;
namespace fs = std::filesystem;

constexpr int kOpenings = 5;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The most modules a module list holds: '0', then A to Z and a to x.
std::string ModuleListOf51() {
    std::string text = "; 51 modules\r\n";
    std::string codes = "0";
    for (char c = 'A'; c <= 'Z'; ++c) codes += c;
    for (char c = 'a'; c <= 'x'; ++c) codes += c;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::string line = codes.substr(i, 1) + " module " + std::to_string(i);
        line.resize(45, ' ');
        text += line + "    0.00   100.00\r\n";
    }
    return text;
}

// The string table's most rows: TEXTY.DEF's last text item copied until the
// block has 32 (each text takes 8 idents).
std::string TextsOf32(const std::string& def) {
    const std::string last = "    ITEM\r\n      IDENT       156\r\n";
    const std::size_t from = def.find(last);
    const std::string end = "    ITEM_END\r\n";
    const std::size_t to = def.find(end, from);
    if (from == std::string::npos || to == std::string::npos) return def;
    const std::string item = def.substr(from, to + end.size() - from);
    std::string more;
    for (int n = 9; n <= 32; ++n) {
        std::string copy = item;
        auto swap = [&copy](const std::string& what, const std::string& with) {
            const std::size_t at = copy.find(what);
            if (at != std::string::npos)
                copy = copy.substr(0, at) + with + copy.substr(at + what.size());
        };
        swap("156", std::to_string(100 + 8 * (n - 1)));
        const std::string number = std::to_string(n);
        swap("\"TEXT8\"", std::string("\"TEXT").append(number).append("\""));
        swap(" 8\"", std::string(" ").append(number).append("\""));
        more += copy;
    }
    std::string out = def;
    out.insert(to + end.size(), more);
    return out;
}

TEST(TimingMedian, LeavesOutOpeningsThatNeverShowed) {
    struct Case {
        std::vector<double> ms;
        double median;
    } cases[] = {
        {{30, 10, 20}, 20}, {{40, 10, 30, 20}, 25}, {{-1, 50, 10, -1, 20}, 20}, {{-1, -1}, -1},
        {{}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(gui::Median(c.ms), c.median) << c.ms.size();
}

class DialogTimes : public lm::test::DllHost {
protected:
    DialogTimes() : DllHost("lmguitime-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        CopyIntoDriverDir(LM_SAMPLE_DRIVER_DIR);
        const fs::path dir = work_ / "OVLADACE" / "KADEX2";
        WriteFile(dir / "cai_modul.cfg", ModuleListOf51());
        WriteFile(dir / "TEXTY.DEF", TextsOf32(ReadFile(dir / "TEXTY.DEF")));
        lumarsim::ProjectError error;
        auto project = lumarsim::ParseProject(ReadFile(LM_SAMPLE_PROJECT), error);
        ASSERT_TRUE(project) << error.line << ": " << error.message;
        lumarsim::ProjectBlock ai12;
        ai12.ident = 18;
        ai12.instance = 1;
        project->blocks.push_back(ai12);
        session_.Open(work_, entry_, std::move(*project));
        if (HasFatalFailure()) return;
        gui::Pump(100);
    }

    void TearDown() override {
        session_.Close();
        DllHost::TearDown();
    }

    lm::test::ProjectHost session_;
};

TEST_F(DialogTimes, EveryDialogIsTimedAndTheReportHasARowForEach) {
    gui::BoxWatcher boxes;
    struct Dialog {
        const char* name;
        const wchar_t* caption;
        const wchar_t* close;  // the button that leaves it unchanged
        std::function<void()> open;
    };
    const Dialog dialogs[] = {
        {"analog inputs (12 channels, 51 modules)", L"Nastavení analogových vstupů", L"CancelBtn",
         [&] { session_.host->ObjectDialog(18, 1); }},
        {"string table (32 texts)", L"TEXTY.1", L"CancelBtn",
         [&] { session_.host->ObjectDialog(60, 1); }},
        {"communication settings", L"Nastavení komunikace", L"ButtonCancel",
         [&] { session_.host->MenuItem(3004); }},
        // The menu item asks for NetList, which shows the dialog.
        {"Control Web export", L"Výstup do systému Control Panel / Web", L"CancelBtn",
         [&] {
             if (session_.host->MenuItem(3010))
                 session_.host->NetList(305419896, session_.netlist->head());
         }},
        {"about", L"O ovladači pro LUMAR", L"OKBtn", [&] { session_.host->MenuItem(3008); }},
        {"start-up options", L"Ovladač po startu...", L"ButtonZpet",
         [&] { session_.host->MenuItem(3009); }},
    };
    std::vector<gui::TimingRow> rows;
    for (const Dialog& d : dialogs) {
        gui::TimingRow row{d.name, 0, {}};
        for (int i = 0; i < kOpenings; ++i) {
            const gui::Opening opening = gui::TimeOpening(d.caption, d.close, d.open);
            EXPECT_GE(opening.ms, 0) << d.name << " never showed";
            row.ms.push_back(opening.ms);
            row.windows = std::max(row.windows, opening.windows);
        }
        std::printf("%s: median %.1f ms\n", d.name, gui::Median(row.ms));
        rows.push_back(row);
    }
    EXPECT_TRUE(boxes.Boxes().empty());

    const std::string path = gui::TimingReportPath();
    ASSERT_FALSE(path.empty()) << "LM_GUI_REPORT names the report";
    std::ofstream("Z:" + path, std::ios::binary) << gui::TimingReport(rows, LM_BUILD_NAME);
    const std::string report = ReadFile("Z:" + path);
    for (const Dialog& d : dialogs) {
        EXPECT_NE(report.find(std::string("| ") + d.name + " | "), std::string::npos) << d.name;
    }
    std::printf("%s", report.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_timing_tests");
}
