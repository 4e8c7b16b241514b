// lumarsim: a stand-in for the host Lumar. It prepares a working folder with
// the driver directory OVLADACE/KADEX2 copied from a sample driver directory,
// loads the driver library as the host does and plays the host's calls.
//
//   lumarsim tour LIBRARY DRIVERDIR WORKDIR
//       identify, load driver, errtext, an unknown code, unload driver; then
//       prints where the driver's log lies and what it holds.
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/cp1250.h"
#include "base/files.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/host_session.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: lumarsim tour LIBRARY DRIVERDIR WORKDIR\n");
    return 2;
}

// WORKDIR/OVLADACE/KADEX2 as a fresh copy of the sample driver directory.
bool PrepareWorkFolder(const fs::path& driver_dir, const fs::path& work) {
    std::error_code error;
    fs::path target = work / "OVLADACE" / "KADEX2";
    fs::remove_all(target, error);
    fs::create_directories(target, error);
    if (error) {
        std::fprintf(stderr, "lumarsim: cannot create %s: %s\n", target.string().c_str(),
                     error.message().c_str());
        return false;
    }
    fs::copy(driver_dir, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
             error);
    if (error) {
        std::fprintf(stderr, "lumarsim: cannot copy %s: %s\n", driver_dir.string().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

int Tour(const std::string& library_path, const fs::path& driver_dir, const fs::path& work) {
    fs::path library_file = fs::absolute(library_path);
    if (!PrepareWorkFolder(driver_dir, work)) return 1;
    fs::current_path(work);  // the host's working folder decides the driver directory
    std::printf("lumarsim: working folder %s\n", fs::current_path().string().c_str());

    lumarsim::DriverLibrary library(library_file.string());
    if (!library.ok()) {
        std::fprintf(stderr, "lumarsim: %s\n", library.error().c_str());
        return 1;
    }
    std::printf("lumarsim: loaded %s\n\n", library_file.string().c_str());
    lumarsim::HostSession host(library, stdout);
    host.Identify();
    host.LoadDriver();
    host.ErrText(0);
    host.ErrText(3);
    host.ErrText(99);
    host.Unknown(26);
    host.UnloadDriver();

    fs::path log = work / "OVLADACE" / "KADEX2" / "LMDRIVER.LOG";
    auto content = lm::ReadWholeFile(log.string());
    std::printf("\nlog: %s\n", log.string().c_str());
    if (!content || content->empty()) {
        std::printf(
            "  (empty: logging is off until the log check box or the start-up option "
            "LOGFILE ON turns it on)\n");
    } else {
        std::printf("%s", lm::Cp1250ToUtf8(*content).c_str());
    }
    std::printf("\n%s\n", host.failures() == 0 ? "session ok" : "session had failures");
    return host.failures() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    if (command == "tour" && argc == 5) return Tour(argv[2], argv[3], argv[4]);
    return Usage();
}
