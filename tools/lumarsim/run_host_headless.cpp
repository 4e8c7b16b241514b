// Run mode natively: the driver inside lumarsim on the headless platform, the
// ROZID7.EXE stand-in in process, the host window a window of the platform.
#include <memory>

#include "frame/entry.h"
#include "platform/headless/headless_platform.h"
#include "tools/lumarsim/headless_run_host.h"

namespace lumarsim {

bool RunsDriverInProcess() {
    return true;
}

RunSetup MakeRunSetup(const std::string&) {
    // A fresh process-wide driver on a platform whose programs and windows
    // this host plays.
    auto platform = std::make_unique<lm::HeadlessPlatform>();
    lm::HeadlessPlatform& kept = *platform;
    lm::InstallPlatform(std::move(platform));
    RunSetup setup;
    setup.library = std::make_unique<DriverLibrary>(&LumarDriver_Entry);
    auto host = std::make_unique<HeadlessRunHost>(kept);
    host->StartStandIn();
    host->AddHostWindow();
    setup.host = std::move(host);
    return setup;
}

}  // namespace lumarsim
