// The GUI timing report: every dialog of the real LMDRIVER.DLL opened five
// times as the host opens it, on the sample project, and timed until it has
// painted (gui/gui_timing.h). The report is written whatever the figures; the
// test fails only when a dialog never showed or the report was not written.
#include "tests/e2e/gui/gui_timing.h"

#include <gtest/gtest.h>
#include <windows.h>

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
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/host_session.h"
#include "tools/lumarsim/project_file.h"

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
        lumarsim::ProjectError error;
        auto project = lumarsim::ParseProject(ReadFile(LM_SAMPLE_PROJECT), error);
        ASSERT_TRUE(project) << error.line << ": " << error.message;
        project_ = std::move(*project);
        netlist_ = std::make_unique<lumarsim::HostNetlist>(project_);
        ASSERT_TRUE(netlist_->ok()) << netlist_->error();
        transcript_ = std::fopen((work_ / "host.txt").string().c_str(), "wb");
        ASSERT_NE(transcript_, nullptr);
        library_ = std::make_unique<lumarsim::DriverLibrary>(entry_);
        host_ = std::make_unique<lumarsim::HostSession>(*library_, transcript_);
        ASSERT_TRUE(host_->Identify());
        ASSERT_TRUE(host_->LoadDriver());
        ASSERT_TRUE(host_->InitObjects(false));
        host_->GetMenu();
        ASSERT_TRUE(host_->OpenProject(project_, false));
        gui::Pump(100);
    }

    void TearDown() override {
        if (host_ != nullptr) host_->UnloadDriver();
        if (transcript_ != nullptr) std::fclose(transcript_);
        DllHost::TearDown();
    }

    lumarsim::Project project_;
    std::unique_ptr<lumarsim::HostNetlist> netlist_;
    std::FILE* transcript_ = nullptr;
    std::unique_ptr<lumarsim::DriverLibrary> library_;
    std::unique_ptr<lumarsim::HostSession> host_;
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
         [&] { host_->ObjectDialog(11, 1); }},
        {"string table (32 texts)", L"TEXTY.1", L"CancelBtn", [&] { host_->ObjectDialog(60, 1); }},
        {"communication settings", L"Nastavení komunikace", L"ButtonCancel",
         [&] { host_->MenuItem(3004); }},
        // The menu item asks for NetList, which shows the dialog.
        {"Control Web export", L"Výstup do systému Control Panel / Web", L"CancelBtn",
         [&] {
             if (host_->MenuItem(3010)) host_->NetList(305419896, netlist_->head());
         }},
        {"about", L"O ovladači pro LUMAR", L"OKBtn", [&] { host_->MenuItem(3008); }},
        {"start-up options", L"Ovladač po startu...", L"ButtonZpet",
         [&] { host_->MenuItem(3009); }},
    };
    std::vector<gui::TimingRow> rows;
    for (const Dialog& d : dialogs) {
        gui::TimingRow row{d.name, {}};
        for (int i = 0; i < kOpenings; ++i) {
            row.ms.push_back(gui::TimeOpening(d.caption, d.close, d.open));
            EXPECT_GE(row.ms.back(), 0) << d.name << " never showed";
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
