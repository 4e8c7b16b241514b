#include "tools/rozid7/in_process.h"

#include <cctype>

#include "base/window_messages.h"
#include "platform/system_files.h"

namespace lm::rozid7 {
namespace {

// The program file's name, upper case, without its folder.
std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

InProcess::InProcess(HeadlessPlatform& platform, std::vector<std::string> extra)
    : platform_(platform),
      extra_(std::move(extra)),
      msg_tolan_(platform.RegisterMessage(kMsgTolan)) {
    platform_.SetProgramRunner([this](const std::string& file, const std::string& parameters,
                                      const std::string&,
                                      ShowMode) { return Start(file, parameters); });
}

InProcess::~InProcess() {
    platform_.SetProgramRunner(nullptr);
    End();
}

int InProcess::Start(const std::string& file, const std::string& parameters) {
    constexpr int kFileNotFound = 2, kStarted = 42;
    if (FileName(file) != "ROZID7.EXE") return kFileNotFound;
    End();  // one program at a time
    const std::string folder = file.substr(0, file.size() - std::string("ROZID7.EXE").size());
    const auto files = MakeSystemFiles();
    Komun komun = ReadKomun(files->ReadWhole(folder + "LMKOMUN.INI").value_or(std::string()));
    ReadOwnSettings(files->ReadWhole(folder + kOwnSettingsFile).value_or(std::string()),
                    komun.misbehaviour);
    for (const std::string& setting : extra_) ReadMisbehaviour(setting, komun.misbehaviour);
    // The HWND line names the driver window; without it the driver window of
    // this process is the only one there is.
    driver_ = komun.driver_window != 0 ? static_cast<WindowHandle>(komun.driver_window)
                                       : platform_.driver_window();
    core_ = std::make_unique<Core>(komun, [this](const std::string& text) {
        const AtomId atom = platform_.AddGlobalAtom(text);
        SendToDriver(2, atom);
        platform_.DeleteGlobalAtom(atom);
    });
    window_ =
        platform_.AddWindow([this](unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
            if (msg == msg_tolan_ && wparam == 1 && core_) {
                core_->Receive(platform_.GlobalAtomName(static_cast<AtomId>(lparam)));
                if (core_->dead() || core_->closed()) End();  // the program has ended
            }
            return std::intptr_t{0};
        });
    announced_ = false;
    parameters_ = parameters;
    ++starts_;
    return kStarted;
}

void InProcess::SendToDriver(std::uintptr_t wparam, std::intptr_t lparam) {
    platform_.SendMessageTo(driver_, msg_tolan_, wparam, lparam);
}

void InProcess::End() {
    // Its window goes; the core stays for the test to inspect.
    if (window_ != 0) platform_.RemoveWindow(window_);
    window_ = 0;
}

void InProcess::Step() {
    if (core_ && window_ != 0) {
        if (!announced_ && !core_->misbehaviour().silent) {
            announced_ = true;
            SendToDriver(0, static_cast<std::intptr_t>(window_));
        }
        core_->Tick();
    }
    platform_.Tick();
}

}  // namespace lm::rozid7
