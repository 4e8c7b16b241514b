// Run mode natively: the driver inside lumarsim on the headless platform, the
// ROZID7.EXE stand-in in process, the host window a window of the platform.
#include <memory>

#include "base/window_messages.h"
#include "frame/entry.h"
#include "platform/headless/headless_platform.h"
#include "tools/lumarsim/run_host.h"
#include "tools/rozid7/in_process.h"

namespace lumarsim {
namespace {

class InProcessHost : public RunHost {
public:
    explicit InProcessHost(lm::HeadlessPlatform& platform)
        : platform_(platform),
          program_(platform),
          msg_rec_to_lmr_(platform.RegisterMessage(lm::kMsgRecToLmr)),
          msg_tolan_(platform.RegisterMessage(lm::kMsgTolan)) {
        window_ = platform_.AddWindow([this](unsigned msg, std::uintptr_t, std::intptr_t lparam) {
            if (msg == msg_rec_to_lmr_) Receive(reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam));
            return std::intptr_t{0};
        });
    }
    ~InProcessHost() override { platform_.RemoveWindow(window_); }

    std::uint32_t window() const override { return static_cast<std::uint32_t>(window_); }
    void Wait(int ticks) override {
        for (int i = 0; i < ticks; ++i) program_.Step();
    }
    bool SendTolan(unsigned code, const std::string& text) override {
        const lm::WindowHandle driver = platform_.driver_window();
        if (driver == 0) return false;
        const lm::AtomId atom = platform_.AddGlobalAtom(text);
        platform_.SendMessageTo(driver, msg_tolan_, code, atom);
        platform_.DeleteGlobalAtom(atom);
        return true;
    }

    bool ProgramRunning() const override { return program_.window() != 0; }

private:
    lm::HeadlessPlatform& platform_;
    lm::rozid7::InProcess program_;
    unsigned msg_rec_to_lmr_;
    unsigned msg_tolan_;
    lm::WindowHandle window_ = 0;
};

}  // namespace

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
    setup.host = std::make_unique<InProcessHost>(kept);
    return setup;
}

}  // namespace lumarsim
