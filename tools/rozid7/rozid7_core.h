// The stand-in for the communication program ROZID7.EXE, without any OS: a
// simulated KADEX-RX7 controller holding a 4-byte value per (object,
// instance, item), the reading of LMKOMUN.INI, and the answers to the
// driver's texts. Whatever carries the texts (window messages and atoms on
// Windows, the headless platform in process) wraps this core.
//
// It misbehaves on purpose when LMKOMUN.INI carries "SIMULATE" lines (or the
// same words come on the command line), so that tests can show how the
// driver copes:
//   SIMULATE LATE n        answers wait n more ticks
//   SIMULATE DROP n        every n-th answer is lost
//   SIMULATE GARBAGE       answers whose numbers are not hexadecimal
//   SIMULATE SHORT         answers too short to be read
//   SIMULATE COM_ERROR n   "CLIENT CLOSED COM_ERROR|" after n commands
//   SIMULATE USER_CLOSE n  "CLIENT CLOSED USER_CLOSE|" after n commands
//   SIMULATE DIE n         ends without a word after n commands
//   SIMULATE SILENT        never announces its window
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lm::rozid7 {

struct Misbehaviour {
    int late_ticks = 0;
    int drop_every = 0;
    bool garbage = false;
    bool too_short = false;
    int com_error_after = 0;
    int user_close_after = 0;
    int die_after = 0;
    bool silent = false;
};

// Reads one "SIMULATE" setting without the word itself ("LATE 3"); false
// when it is not one.
bool ReadMisbehaviour(std::string_view setting, Misbehaviour& into);

using Value = std::array<std::uint8_t, 4>;

// The simulated controller's memory.
class Controller {
public:
    Value Read(std::uint8_t obj, std::uint8_t instance, std::uint8_t item) const;
    void Write(std::uint8_t obj, std::uint8_t instance, std::uint8_t item, const Value& value);
    std::size_t size() const { return memory_.size(); }

private:
    static std::uint32_t Key(std::uint8_t obj, std::uint8_t instance, std::uint8_t item) {
        return (std::uint32_t{obj} << 16) | (std::uint32_t{instance} << 8) | item;
    }
    std::map<std::uint32_t, Value> memory_;
};

// What the stand-in takes from LMKOMUN.INI.
struct Komun {
    std::uint64_t driver_window = 0;  // the "HWND" line, 0 when missing
    Misbehaviour misbehaviour;
    // The "QQwrite" lines: the controller's program.
    struct Write {
        std::uint8_t obj, instance, item;
        Value value;
    };
    std::vector<Write> program;
};
Komun ReadKomun(std::string_view text);

class Core {
public:
    // `send` carries a text to the driver window (MSG_TOLAN wParam 2).
    Core(const Komun& komun, std::function<void(const std::string&)> send);

    // A text from the driver (MSG_TOLAN wParam 1).
    void Receive(std::string_view text);
    // One 100 ms step: answers whose time has come go out.
    void Tick();

    Controller& controller() { return controller_; }
    const Misbehaviour& misbehaviour() const { return misbehaviour_; }
    bool closed() const { return closed_; }  // said "CLIENT CLOSED"
    bool dead() const { return dead_; }      // ended without a word
    bool window_shown() const { return window_shown_; }
    // The traffic as its window shows it: "> " received, "< " sent.
    const std::vector<std::string>& traffic() const { return traffic_; }

private:
    void Answer(std::string text);
    void Say(const std::string& text);
    void AfterCommand();

    Controller controller_;
    Misbehaviour misbehaviour_;
    std::function<void(const std::string&)> send_;
    struct Pending {
        std::uint64_t due;
        std::string text;
    };
    std::deque<Pending> pending_;
    std::uint64_t now_ = 0;
    int commands_ = 0;
    int answers_ = 0;
    bool closed_ = false;
    bool dead_ = false;
    bool window_shown_ = false;
    std::vector<std::string> traffic_;
};

}  // namespace lm::rozid7
