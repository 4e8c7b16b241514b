// The driver's partners in run mode as the tests play them on the headless
// platform: the communication program's window and a host window that takes
// the live values.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_records.h"
#include "platform/headless/headless_platform.h"

namespace lm::test {

// The communication program: records the texts the driver sends it
// (MSG_TOLAN wParam 1) and sends the driver window what the test says.
class FakeClient {
public:
    explicit FakeClient(HeadlessPlatform& platform);
    ~FakeClient();
    FakeClient(const FakeClient&) = delete;
    FakeClient& operator=(const FakeClient&) = delete;

    WindowHandle handle() const { return window_; }
    // wParam 0 with its own window.
    void Announce();
    // A text with wParam 2 (answers and notices) or wParam 1.
    void Send(std::string_view text, std::uintptr_t wparam = 2);
    // The program ends without a word: its window is gone.
    void Vanish();

    std::vector<std::string> received;
    // Called with each text received, inside the driver's send.
    std::function<void(const std::string&)> on_text;

private:
    HeadlessPlatform& platform_;
    unsigned msg_tolan_;
    WindowHandle window_ = 0;
    bool gone_ = false;
};

// A window of the host that receives WM_REC_TO_LMR.
class FakeHostWindow {
public:
    explicit FakeHostWindow(HeadlessPlatform& platform);
    ~FakeHostWindow();
    FakeHostWindow(const FakeHostWindow&) = delete;
    FakeHostWindow& operator=(const FakeHostWindow&) = delete;

    WindowHandle handle() const { return window_; }

    struct Answer {
        alignas(8) dLM_ITEMDATA record;
        std::array<std::uint8_t, kItemDataBytes> data;
        bool self_contained;  // the record points at the data right behind it
    };
    std::vector<Answer> answers;
    // Called after each answer is recorded, inside the driver's send.
    std::function<void()> on_answer;

private:
    HeadlessPlatform& platform_;
    unsigned msg_rec_to_lmr_;
    WindowHandle window_ = 0;
};

// "QQ_RD oo ii tt|" answered with the data bytes: "QQ_RD oo ii tt d1 ... dn|".
std::string DataAnswerFor(std::string_view command, const std::vector<std::uint8_t>& bytes);

}  // namespace lm::test
