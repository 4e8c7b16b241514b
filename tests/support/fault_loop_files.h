// The driver directory of a fault loop's life: a copy of a driver directory
// with exports of an earlier session, which a failed export must not spoil,
// and what it holds after the life.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace lm::test {

// `dir`'s driver directory as a copy of `source`, with NETLIST.TXT and
// LMKOMUN.INI left by an earlier session.
inline void PrepareLifeDriverDir(const TempDir& dir, const std::filesystem::path& source) {
    for (const auto& entry : std::filesystem::directory_iterator(source))
        std::filesystem::copy(entry.path(), dir.driver_dir() / entry.path().filename());
    WriteFile(dir.driver_dir() / "NETLIST.TXT", "earlier netlist\r\n");
    WriteFile(dir.driver_dir() / "LMKOMUN.INI", "[earlier]\r\n");
}

// Every file of `folder` but the log, by name, as `seen` makes its content.
inline std::map<std::string, std::string> FilesIn(
    const std::filesystem::path& folder,
    const std::function<std::string(std::string)>& seen = [](std::string text) { return text; }) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "LMDRIVER.LOG" && entry.is_regular_file())
            files[name] = seen(ReadFile(entry.path()));
    }
    return files;
}

// What a life left that the user and the host can see, against which the
// clean run's is compared.
struct LifeResults {
    std::vector<std::string> errors;  // error boxes the user saw
    int host_failures = 0;
    bool run_ok = false;
    std::string saved_project;
    std::map<std::string, std::string> files;  // the driver directory but the log
};

// The fault changed nothing the user or the host can see.
inline bool SameAsClean(const LifeResults& faulty, const LifeResults& clean) {
    return faulty.saved_project == clean.saved_project && faulty.files == clean.files &&
           faulty.run_ok && faulty.host_failures == 0;
}

// The user or the host learnt that something went wrong.
inline bool Told(const LifeResults& faulty) {
    return !faulty.errors.empty() || faulty.host_failures > 0 || !faulty.run_ok;
}

}  // namespace lm::test
