// The whole life of a project through the entry (load, init objects, open,
// the object dialogs, save, the netlist exports and the Control Web files in
// append mode, run mode with live values and a write, unload) with the Nth
// platform call of each kind failing, for every N the clean run
// makes (many-call kinds sampled evenly). Each run must end without a crash
// or leak, must leave every file that existed before either as it was or as a
// clean run leaves it, and must tell the user (a box) or the host (a failed
// call, a value that never came) whenever its results differ from the clean
// run's.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "frame/entry.h"
#include "platform/headless/form_steps.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fault_loop_files.h"
#include "tests/support/fault_platform.h"
#include "tests/support/fault_trials.h"
#include "tests/support/temp_dir.h"
#include "tools/lumarsim/headless_run_host.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/host_session.h"
#include "tools/lumarsim/project_file.h"
#include "tools/lumarsim/run_session.h"

namespace lm::test {
namespace {

namespace fs = std::filesystem;

// The blocks whose dialogs a run opens: the analog modules (a form), the
// string table (a form and its hand-over file) and KAVLIN (a program).
constexpr std::pair<std::uint16_t, std::uint16_t> kDialogBlocks[] = {{11, 1}, {60, 1}, {155, 1}};

// What the user does in each form of a run, by the form's name; the Control
// Web dialog appends four files to those in `driver_dir` (its CP name chosen
// in the save-file dialog) with a selection over several blocks.
std::string UserSteps(const std::string& form, const std::string& driver_dir) {
    if (form == "TDlgHouse") return "select ComboBox1 3\nset FloatEdit7 1,25\npress OKBtn";
    if (form == "TDlgStr") return "cell StringGrid1 1 1 Porucha kotle\npress OKBtn";
    if (form != "TCWOutDlg") return "";
    constexpr std::pair<const char*, const char*> kFiles[] = {{"EditPARname", "KADEX.PAR"},
                                                              {"EditDMFname", "KADEX.DMF"},
                                                              {"EditCWname", "KADEX.CW"},
                                                              {"EditCPName", "KADEX.CP"}};
    std::string steps;
    for (const auto& [field, name] : kFiles) {
        steps += "set ";
        steps += field;
        steps += ' ';
        steps += driver_dir;
        steps += name;
        steps += '\n';
    }
    steps += "press ButtonListCP\npress CheckBoxCP\npress CheckBoxShow\npress RadioButton2\n";
    steps += "press Button1\n";
    for (const char* item : {"AI6.1.AI0", "TEXTY.1.TEXT1", "PID.1.W", "TERMOST.2.X",
                             "KAVLIN.1.STAV", "RAMPA.1.STRMOST"}) {
        steps += "tick CheckListBox1 ";
        steps += item;
        steps += '\n';
    }
    return steps + "press OKBtn";
}

// What one run leaves: what the user and the host saw, and the files.
// The error boxes leave out the export's question: it is no news.
struct Outcome : LifeResults {
    // Files that existed before and are now neither as they were nor as the
    // driver last wrote them whole.
    std::vector<std::string> spoiled;
};

class FaultLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        lumarsim::ProjectError error;
        project_ = lumarsim::ParseProject(ReadFile(fs::path(LM_SAMPLE_PROJECT)), error).value();
    }

    // One whole life with `faults` armed from the start; calls_ and injected_
    // get the calls made and failed of each kind.
    Outcome Play(const std::vector<PlatformFault>& faults) {
        TempDir dir;
        PrepareLifeDriverDir(dir, LM_SAMPLE_DRIVER_DIR);
        // And the Control Web files the dialog appends to.
        for (const char* ext : {".PAR", ".DMF", ".CW", ".CP"}) {
            fs::copy(fs::path(LM_SAMPLE_DRIVER_DIR).parent_path() / "tests" / "golden" /
                         (std::string("KADEX") + ext),
                     dir.driver_dir() / (std::string("KADEX") + ext));
        }
        before_ = FilesIn(dir.driver_dir());

        auto fake = std::make_unique<FakePlatform>();
        fake->current_directory = dir.path().string();
        fake->separator = static_cast<char>(fs::path::preferred_separator);
        fake->run_programs = true;
        fake->outside_programs = {"KAVLIN.EXE"};  // the tool of block 155 starts
        FakePlatform& inner = *fake;
        auto platform = std::make_unique<FaultPlatform>(std::move(fake));
        FaultPlatform& faulty = *platform;
        for (const PlatformFault& fault : faults) faulty.Arm(fault);
        // The user of each form that shows (a form that cannot show takes no
        // script); the CP name chosen in the save-file dialog is the typed one.
        const std::string driver_dir = dir.driver_dir_text();
        for (std::size_t i = 0; i < std::size(kDialogBlocks) + 1; ++i) {
            inner.modal_scripts.push_back([driver_dir](ui::Form& form) {
                // A run whose library lost objects offers fewer entries:
                // the steps stop there and the form ends as Zpět.
                PlayFormSteps(form, UserSteps(form.name(), driver_dir));
            });
        }
        inner.save_answers.push_back(driver_dir + "KADEX.CP");
        InstallPlatform(std::move(platform));

        Outcome outcome;
        std::FILE* out = std::tmpfile();
        {
            lumarsim::DriverLibrary library(&LumarDriver_Entry);
            lumarsim::HostSession host(library, out);
            // The host window and the communication program stand-in of the
            // run, on the platform inside the faults (the stand-in's own calls
            // never fail).
            auto run_host = std::make_unique<lumarsim::HeadlessRunHost>(inner);
            run_host->StartStandIn();
            run_host->AddHostWindow();
            host.Identify();
            host.LoadDriver();
            host.InitObjects(false);
            host.GetMenu();
            host.OpenProject(*project_, false);
            for (const auto& [ident, instance] : kDialogBlocks) host.ObjectDialog(ident, instance);
            outcome.saved_project = lumarsim::FormatProject(host.SaveProject(*project_));
            lumarsim::HostNetlist netlist(*project_);
            for (std::uint16_t command : {3001, 3000, 3010})
                if (host.MenuItem(command)) host.NetList(0x1234, netlist.head());
            lumarsim::RunOptions options;
            options.seconds = 2;
            options.orders = {"TERMOST:2.X@2", "KAVLIN:1.STAV@5"};
            options.sets = {"TERMOST:2.X=25"};
            lumarsim::RunSession run(library, *run_host, out);
            outcome.run_ok = run.Play(host.objects(), *project_, options);
            host.UnloadDriver();
            run_host.reset();
            outcome.host_failures = host.failures();
        }
        std::fclose(out);
        for (const auto& box : inner.boxes)
            if (box.kind == BoxKind::Error) outcome.errors.push_back(box.text);
        for (FaultKind kind : AllFaultKinds()) {
            calls_[static_cast<std::size_t>(kind)] = faulty.Calls(kind);
            injected_[static_cast<std::size_t>(kind)] = faulty.Injected(kind);
        }
        outcome.files = FilesIn(dir.driver_dir());
        for (const auto& [name, content] : before_) {
            auto after = outcome.files.find(name);
            const std::string* written =
                faulty.faulty_files().LastComplete(dir.driver_dir_text() + name);
            const bool kept = after != outcome.files.end() && after->second == content;
            const bool renewed =
                after != outcome.files.end() && written != nullptr && after->second == *written;
            if (!kept && !renewed) outcome.spoiled.push_back(name);
        }
        ReleaseTheEntry();
        return outcome;
    }

    static inline std::optional<lumarsim::Project> project_;
    std::map<std::string, std::string> before_;  // the driver directory before a run
    std::array<int, kFaultKinds> calls_{};
    std::array<int, kFaultKinds> injected_{};
};

TEST_F(FaultLoop, EveryFailingCallOfAWholeLifeIsSurvivedToldAndLeavesNoFileHalfWritten) {
    const Outcome clean = Play({});
    ASSERT_EQ(clean.host_failures, 0);
    ASSERT_TRUE(clean.run_ok);
    ASSERT_TRUE(clean.errors.empty()) << clean.errors.front();
    const std::array<int, kFaultKinds> clean_calls = calls_;
    // The clean run took the dialogs' values and appended to every Control Web file.
    for (const char* value : {"       1.25", "Porucha kotle"})
        EXPECT_NE(clean.saved_project.find(value), std::string::npos) << value;
    for (const char* name : {"KADEX.PAR", "KADEX.DMF", "KADEX.CW", "KADEX.CP"})
        EXPECT_GT(clean.files.at(name).size(), before_.at(name).size()) << name;

    std::printf("fault loop: kind, calls in a clean run, runs, faults injected, told, absorbed\n");
    int total = 0;
    for (FaultKind kind : AllFaultKinds()) {
        const int calls = clean_calls[static_cast<std::size_t>(kind)];
        int runs = 0, injected = 0, told = 0, absorbed = 0;
        for (bool from_then_on : {false, true}) {
            for (int n : FaultTrials(calls, from_then_on ? 4 : 40)) {
                SCOPED_TRACE(std::string(FaultKindName(kind)) + " call " + std::to_string(n) +
                             (from_then_on ? " and on" : ""));
                const Outcome faulty = Play({{kind, n, from_then_on}});
                ++runs;
                injected += injected_[static_cast<std::size_t>(kind)];
                for (const std::string& name : faulty.spoiled)
                    ADD_FAILURE() << name << " is neither as it was nor as last written whole";
                const bool same = SameAsClean(faulty, clean);
                const bool user_told = Told(faulty);
                if (same) ++absorbed;
                if (!same && user_told) ++told;
                // A short read the system reports as whole is a shorter file
                // to the driver, and a form that could not be shown ends as
                // Zpět on a dialog the user never saw: there it is enough to
                // survive. (A question that could not be shown is told to the
                // host in its call's error code.)
                if (kind != FaultKind::FileRead && kind != FaultKind::ModalForm) {
                    EXPECT_TRUE(same || user_told) << "the results changed and nobody was told";
                }
            }
        }
        total += injected;
        std::printf("  %-17s %5d %4d %5d %4d %4d\n", FaultKindName(kind), calls, runs, injected,
                    told, absorbed);
    }
    std::printf("fault loop: %d faults injected, all survived\n", total);
}

}  // namespace
}  // namespace lm::test
