// The whole life of a project against the real LMDRIVER.DLL under Wine (load,
// init objects, open, save, the netlist exports, run mode with live values
// and a write against the ROZID7.EXE stand-in, unload) with the Nth call of
// each kind that the DLL makes to the system failing, sampled: of the calls
// the native loop tries, every k-th. The DLL is loaded anew for each run and
// its imports are routed through countdown wrappers. Each run must end
// without a crash or a hang, must leave every file that existed before either
// as it was or as a clean run leaves it, and must tell the user (a box) or
// the host (a failed call, a value that never came) whenever its results
// differ from the clean run's. Without a display no dialog can be played: the
// object dialogs and the Control Web export are left out.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win32/win32_text.h"
#include "tests/e2e/dll_fault_hooks.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"
#include "tests/support/fault_loop_files.h"
#include "tests/support/fault_trials.h"
#include "tests/support/temp_dir.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/host_session.h"
#include "tools/lumarsim/project_file.h"
#include "tools/lumarsim/run_host.h"
#include "tools/lumarsim/run_session.h"

namespace lm::test {
namespace {

namespace fs = std::filesystem;

// Of the faults the native loop injects (every call of a kind up to 40, else
// 40 spread evenly, and 4 from-then-on runs), every k-th, and the first call
// of each kind: about 40 lives, under 3 minutes on a busy 2-core machine.
// LM_FAULT_SAMPLE=1 plays them all (about 350 lives).
int SampleEvery() {
    const char* every = std::getenv("LM_FAULT_SAMPLE");
    return every != nullptr && std::atoi(every) > 0 ? std::atoi(every) : 16;
}

// A life that takes longer than this has hung: the test ends at once. A life
// takes seconds; the bound is generous, so that a loaded machine (a life once
// took over a minute at a load of 22) is not taken for a hang.
constexpr std::chrono::seconds kLifeLimit{240};
constexpr int kStandInEndMs = 5000;

// Ends the process when a life outlives its limit, so that nothing hangs.
class Watchdog {
public:
    explicit Watchdog(const std::string& what)
        : thread_([this, what] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_cv_.wait_for(lock, kLifeLimit, [this] { return done_; })) {
                  std::fprintf(stderr, "fault loop: %s did not end within %lld s\n", what.c_str(),
                               static_cast<long long>(kLifeLimit.count()));
                  std::fflush(stderr);
                  std::_Exit(3);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::thread thread_;
};

// Ends the ROZID7.EXE stand-ins still running once the driver window is gone
// (they end by themselves within a tick); false when one had to be ended.
bool StandInsEnded() {
    for (int waited = 0; waited < kStandInEndMs; waited += 50) {
        if (FindWindowW(L"Rozid7StandIn", nullptr) == nullptr) return true;
        gui::Pump(50);
    }
    while (HWND window = FindWindowW(L"Rozid7StandIn", nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr) break;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kStandInEndMs);
        CloseHandle(process);
    }
    return false;
}

// The HWND line of LMKOMUN.INI carries this run's window handle and place.
std::string WithoutWindowLine(std::string text) {
    const std::size_t at = text.find("HWND ");
    if (at != std::string::npos && (at == 0 || text[at - 1] == '\n'))
        text.erase(at, text.find('\n', at) - at);
    return text;
}

struct Outcome : LifeResults {
    // What the driver last wrote whole to each file that existed before.
    std::map<std::string, std::string> written_whole;
    std::string transcript;  // what the host saw
};

class DllFaultLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        lumarsim::ProjectError error;
        project_ = lumarsim::ParseProject(ReadFile(fs::path(LM_SAMPLE_PROJECT)), error).value();
    }
    void SetUp() override {
        GetDesktopWindow();  // Wine readies the desktop here, not in two threads at once
        watcher_ = std::make_unique<gui::BoxWatcher>();
        // Every box is shown and answered: a question with Yes, else OK.
        OnMessageBox([this](UINT flags, const wchar_t* text) {
            const bool question = (flags & MB_TYPEMASK) == MB_YESNO;
            watcher_->Answer(question ? IDYES : IDOK);
            if ((flags & MB_ICONMASK) == MB_ICONERROR) boxes_.push_back(win32::Narrow(text));
        });
        // Run mode starts the stand-in for real; Notepad with the listing and
        // the program's start after the LMKOMUN.INI export would stay open
        // without a user: they are answered as started.
        OnShellStart([](const wchar_t*, const wchar_t* parameters) {
            return std::wstring(parameters).rfind(L"/DDE", 0) == 0;
        });
    }
    void TearDown() override {
        OnMessageBox(nullptr);
        OnShellStart(nullptr);
        watcher_.reset();
    }

    Outcome Play(std::optional<SystemFault> fault, const std::string& what) {
        Watchdog watchdog(what);
        TempDir dir;
        PrepareLifeDriverDir(dir, LM_BUILD_DRIVER_DIR);
        before_ = FilesIn(dir.driver_dir(), WithoutWindowLine);
        SetCurrentDirectoryW(dir.path().wstring().c_str());
        boxes_.clear();

        Outcome outcome;
        const fs::path transcript = dir.path() / "host.txt";
        std::FILE* out = _wfopen(transcript.wstring().c_str(), L"wb");
        {
            lumarsim::RunSetup setup = lumarsim::MakeRunSetup(DllPath());
            EXPECT_TRUE(setup.library && setup.host) << setup.error;
            if (!setup.library || !setup.host) return outcome;
            std::string error;
            EXPECT_TRUE(HookSystemCalls(GetModuleHandleW(L"LMDRIVER.DLL"), error)) << error;
            ResetSystemCalls(fault);
            lumarsim::HostSession host(*setup.library, out);
            host.Identify();
            host.LoadDriver();
            host.InitObjects(false);
            host.GetMenu();
            host.OpenProject(*project_, false);
            outcome.saved_project = lumarsim::FormatProject(host.SaveProject(*project_));
            lumarsim::HostNetlist netlist(*project_);
            for (std::uint16_t command : {3001, 3000})
                if (host.MenuItem(command)) host.NetList(0x1234, netlist.head());
            lumarsim::RunOptions options;
            options.seconds = 1;
            options.orders = {"TERMOST:2.X@2", "KAVLIN:1.STAV@5"};
            options.sets = {"TERMOST:2.X=25"};
            lumarsim::RunSession run(*setup.library, *setup.host, out);
            outcome.run_ok = run.Play(host.objects(), *project_, options);
            host.UnloadDriver();
            outcome.host_failures = host.failures();
        }
        // The library is gone with its hooks: what it did is counted.
        for (std::size_t i = 0; i < kSystemCalls; ++i) {
            calls_[i] = SystemCalls(static_cast<SystemCall>(i));
            failed_[i] = SystemCallsFailed(static_cast<SystemCall>(i));
        }
        for (const auto& [name, content] : before_) {
            if (const std::string* whole = LastWrittenWhole(win32::Wide(name)))
                outcome.written_whole[name] = WithoutWindowLine(*whole);
        }
        std::fclose(out);
        EXPECT_TRUE(StandInsEnded()) << "a ROZID7.EXE stand-in outlived the driver window";
        SetCurrentDirectoryW(fs::temp_directory_path().wstring().c_str());
        outcome.transcript = ReadFile(transcript);
        outcome.errors = boxes_;
        outcome.files = FilesIn(dir.driver_dir(), WithoutWindowLine);
        return outcome;
    }

    // The files that existed before and are now neither as they were, nor as
    // the clean run left them, nor as this run last wrote them whole.
    std::vector<std::string> Spoiled(const Outcome& run, const Outcome& clean) const {
        std::vector<std::string> spoiled;
        for (const auto& [name, content] : before_) {
            auto after = run.files.find(name);
            auto whole = run.written_whole.find(name);
            const bool fine =
                after != run.files.end() &&
                (after->second == content || after->second == clean.files.at(name) ||
                 (whole != run.written_whole.end() && after->second == whole->second));
            if (!fine) spoiled.push_back(name);
        }
        return spoiled;
    }

    static inline std::optional<lumarsim::Project> project_;
    std::unique_ptr<gui::BoxWatcher> watcher_;
    std::vector<std::string> boxes_;
    std::map<std::string, std::string> before_;
    std::array<int, kSystemCalls> calls_{};
    std::array<int, kSystemCalls> failed_{};
};

TEST_F(DllFaultLoop, SampledFailingSystemCallsOfAWholeLifeAreSurvivedToldAndSpoilNoFile) {
    const Outcome clean = Play(std::nullopt, "the clean run");
    ASSERT_EQ(clean.host_failures, 0) << clean.transcript;
    ASSERT_TRUE(clean.run_ok) << clean.transcript;
    ASSERT_TRUE(clean.errors.empty()) << clean.errors.front();
    ASSERT_TRUE(Spoiled(clean, clean).empty());
    const std::array<int, kSystemCalls> clean_calls = calls_;
    EXPECT_GT(clean.files.at("NETLIST.TXT").size(), before_.at("NETLIST.TXT").size());
    EXPECT_GT(clean.files.at("LMKOMUN.INI").size(), before_.at("LMKOMUN.INI").size());

    const int every = SampleEvery();
    std::printf(
        "fault loop (LMDRIVER.DLL, every %d. fault): call, calls in a clean run, runs, "
        "faults injected, told, absorbed\n",
        every);
    int total = 0, lives = 1;
    int index = 0;  // of the fault in the native loop's list, over every call
    for (std::size_t i = 0; i < kSystemCalls; ++i) {
        const auto call = static_cast<SystemCall>(i);
        int runs = 0, injected = 0, told = 0, absorbed = 0;
        for (bool from_then_on : {false, true}) {
            for (int n : FaultTrials(clean_calls[i], from_then_on ? 4 : 40)) {
                const bool sampled = index++ % every == 0;
                if (!sampled && (from_then_on || n != 1)) continue;
                const std::string what = std::string(SystemCallName(call)) + " call " +
                                         std::to_string(n) + (from_then_on ? " and on" : "");
                SCOPED_TRACE(what);
                const Outcome faulty = Play(SystemFault{call, n, from_then_on}, what);
                ++runs;
                ++lives;
                injected += failed_[i];
                for (const std::string& name : Spoiled(faulty, clean))
                    ADD_FAILURE() << name
                                  << " is neither as it was, nor as a clean run leaves "
                                     "it, nor as last written whole";
                const bool same = SameAsClean(faulty, clean);
                const bool user_told = Told(faulty);
                if (same) ++absorbed;
                if (!same && user_told) ++told;
                EXPECT_TRUE(same || user_told) << "the results changed and nobody was told\n"
                                               << faulty.transcript;
            }
        }
        // The wrappers are in the way: each kind played failed where asked.
        if (runs > 0) {
            EXPECT_GT(injected, 0) << SystemCallName(call);
        }
        total += injected;
        std::printf("  %-22s %5d %4d %5d %4d %4d\n", SystemCallName(call), clean_calls[i], runs,
                    injected, told, absorbed);
    }
    std::printf("fault loop: %d lives, %d faults injected, all survived\n", lives, total);
}

}  // namespace
}  // namespace lm::test

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_dll_fault_loop_tests");
}
