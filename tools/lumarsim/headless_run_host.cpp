#include "tools/lumarsim/headless_run_host.h"

#include <utility>

#include "base/window_messages.h"
#include "values/hex_texts.h"

namespace lumarsim {

HostWindow::HostWindow(lm::HeadlessPlatform& platform, bool keep)
    : platform_(platform),
      keep_(keep),
      msg_rec_to_lmr_(platform.RegisterMessage(lm::kMsgRecToLmr)) {
    window_ = platform_.AddWindow([this](unsigned msg, std::uintptr_t, std::intptr_t lparam) {
        if (msg != msg_rec_to_lmr_ || lparam == 0) return std::intptr_t{0};
        const LiveAnswer answer = AnswerOf(*reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam));
        if (keep_ && answers.size() < RunHost::kKeptAnswers) {
            answers.push_back(answer);
        } else if (keep_) {
            ++lost;
        }
        if (on_answer) on_answer(answer);
        return std::intptr_t{0};
    });
}

HostWindow::~HostWindow() {
    platform_.RemoveWindow(window_);
}

ScriptedProgram::ScriptedProgram(lm::HeadlessPlatform& platform)
    : platform_(platform), msg_tolan_(platform.RegisterMessage(lm::kMsgTolan)) {
    window_ =
        platform_.AddWindow([this](unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
            if (msg == msg_tolan_ && wparam == 1) {
                std::string text = platform_.GlobalAtomName(static_cast<lm::AtomId>(lparam));
                received.push_back(text);
                if (on_text) on_text(text);
            }
            return std::intptr_t{0};
        });
}

ScriptedProgram::~ScriptedProgram() {
    Vanish();
}

void ScriptedProgram::Announce() {
    platform_.SendMessageTo(platform_.driver_window(), msg_tolan_, 0,
                            static_cast<std::intptr_t>(window_));
}

void ScriptedProgram::Send(std::string_view text, std::uintptr_t wparam) {
    const lm::AtomId atom = platform_.AddGlobalAtom(std::string(text));
    platform_.SendMessageTo(platform_.driver_window(), msg_tolan_, wparam, atom);
    platform_.DeleteGlobalAtom(atom);
}

void ScriptedProgram::Vanish() {
    if (!gone_) platform_.RemoveWindow(window_);
    gone_ = true;
}

std::string DataAnswerFor(std::string_view command, const std::vector<std::uint8_t>& bytes) {
    std::string text = "QQ_RD";
    text += command.substr(5, 9);  // " oo ii tt"
    for (std::uint8_t b : bytes) {
        text += ' ';
        text += lm::HEX_BYTE(b);
    }
    text += '|';
    return text;
}

HeadlessRunHost::HeadlessRunHost(lm::HeadlessPlatform& platform) : platform_(platform) {}

HeadlessRunHost::~HeadlessRunHost() = default;

lm::rozid7::InProcess& HeadlessRunHost::StartStandIn(std::vector<std::string> extra) {
    stand_in_.reset();  // the platform has one program runner
    stand_in_ = std::make_unique<lm::rozid7::InProcess>(platform_, std::move(extra));
    return *stand_in_;
}

HostWindow& HeadlessRunHost::AddHostWindow(bool keep) {
    host_windows_.push_back(std::make_unique<HostWindow>(platform_, keep));
    return *host_windows_.back();
}

ScriptedProgram& HeadlessRunHost::AddProgram() {
    programs_.push_back(std::make_unique<ScriptedProgram>(platform_));
    return *programs_.back();
}

std::uint32_t HeadlessRunHost::window() const {
    return host_windows_.empty() ? 0 : static_cast<std::uint32_t>(host_windows_[0]->handle());
}

void HeadlessRunHost::Wait(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        if (stand_in_) {
            stand_in_->Step();
        } else {
            platform_.Tick();
        }
    }
}

bool HeadlessRunHost::SendTolan(unsigned code, const std::string& text) {
    const lm::WindowHandle driver = platform_.driver_window();
    if (driver == 0) return false;
    const lm::AtomId atom = platform_.AddGlobalAtom(text);
    platform_.SendMessageTo(driver, platform_.RegisterMessage(lm::kMsgTolan), code, atom);
    platform_.DeleteGlobalAtom(atom);
    return true;
}

bool HeadlessRunHost::ProgramRunning() const {
    if (stand_in_ && stand_in_->window() != 0) return true;
    for (const auto& program : programs_)
        if (platform_.WindowExists(program->handle())) return true;
    return false;
}

std::vector<LiveAnswer> HeadlessRunHost::TakeAnswers() {
    if (host_windows_.empty()) return {};
    return std::exchange(host_windows_[0]->answers, {});
}

std::size_t HeadlessRunHost::lost() const {
    return host_windows_.empty() ? 0 : host_windows_[0]->lost;
}

}  // namespace lumarsim
