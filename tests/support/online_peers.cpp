#include "tests/support/online_peers.h"

#include <cstring>

#include "base/window_messages.h"
#include "values/hex_texts.h"

namespace lm::test {

FakeClient::FakeClient(HeadlessPlatform& platform)
    : platform_(platform), msg_tolan_(platform.RegisterMessage(kMsgTolan)) {
    window_ =
        platform_.AddWindow([this](unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
            if (msg == msg_tolan_ && wparam == 1) {
                std::string text = platform_.GlobalAtomName(static_cast<AtomId>(lparam));
                received.push_back(text);
                if (on_text) on_text(text);
            }
            return std::intptr_t{0};
        });
}

FakeClient::~FakeClient() {
    Vanish();
}

void FakeClient::Announce() {
    platform_.SendMessageTo(platform_.driver_window(), msg_tolan_, 0,
                            static_cast<std::intptr_t>(window_));
}

void FakeClient::Send(std::string_view text, std::uintptr_t wparam) {
    const AtomId atom = platform_.AddGlobalAtom(std::string(text));
    platform_.SendMessageTo(platform_.driver_window(), msg_tolan_, wparam, atom);
    platform_.DeleteGlobalAtom(atom);
}

void FakeClient::Vanish() {
    if (!gone_) platform_.RemoveWindow(window_);
    gone_ = true;
}

FakeHostWindow::FakeHostWindow(HeadlessPlatform& platform)
    : platform_(platform), msg_rec_to_lmr_(platform.RegisterMessage(kMsgRecToLmr)) {
    window_ = platform_.AddWindow([this](unsigned msg, std::uintptr_t, std::intptr_t lparam) {
        if (msg != msg_rec_to_lmr_) return std::intptr_t{0};
        const auto* block = reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam);
        Answer answer{};
        answer.record = block->record;
        std::memcpy(answer.data.data(), block->data, sizeof block->data);
        answer.self_contained = block->record.data == block->data;
        answers.push_back(answer);
        if (on_answer) on_answer();
        return std::intptr_t{0};
    });
}

FakeHostWindow::~FakeHostWindow() {
    platform_.RemoveWindow(window_);
}

std::string DataAnswerFor(std::string_view command, const std::vector<std::uint8_t>& bytes) {
    std::string text = "QQ_RD";
    text += command.substr(5, 9);  // " oo ii tt"
    for (std::uint8_t b : bytes) {
        text += ' ';
        text += HEX_BYTE(b);
    }
    text += '|';
    return text;
}

}  // namespace lm::test
