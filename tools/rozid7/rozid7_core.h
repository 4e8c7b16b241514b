// The stand-in for the communication program ROZID7.EXE, without any OS: a
// simulated KADEX-RX7 controller holding a 4-byte value per (object,
// instance, item), the reading of LMKOMUN.INI, and the answers to the
// driver's texts. Whatever carries the texts (window messages and atoms on
// Windows, the headless platform in process) wraps this core.
//
// It misbehaves on purpose when LMKOMUN.INI carries "SIMULATE" lines (or the
// same words come on the command line as switches: "/LATE 3", "/GARBAGE"),
// so that tests can show how the driver copes:
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

// How the program was started: the driver's three command lines, and the
// misbehaviour switches a test adds ("LATE 3" for "/LATE 3").
struct CommandLine {
    enum class Mode { Run, Keyboard, ReadAll };
    Mode mode = Mode::Run;  // "/DDE 0000", and a start without a mode
    std::vector<std::string> misbehaviour;
    std::vector<std::string> unknown;  // switches it does not know, ignored
};
CommandLine ReadCommandLine(std::string_view parameters);

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

// ROZID7.INI beside the program: the stand-in's own settings, which the
// driver does not rewrite at StartRUN as it does LMKOMUN.INI; only its
// "SIMULATE" lines count.
inline constexpr const char kOwnSettingsFile[] = "ROZID7.INI";
void ReadOwnSettings(std::string_view text, Misbehaviour& into);

class Core {
public:
    // `send` carries a text to the driver window (MSG_TOLAN wParam 2).
    Core(const Komun& komun, std::function<void(const std::string&)> send);

    // A text from the driver (MSG_TOLAN wParam 1).
    void Receive(std::string_view text);
    // One 100 ms step: answers whose time has come go out.
    void Tick();
    // Its user closed the window: "CLIENT CLOSED USER_CLOSE|" unless it
    // has already ended.
    void UserClose();

    Controller& controller() { return controller_; }
    const Misbehaviour& misbehaviour() const { return misbehaviour_; }
    bool closed() const { return closed_; }  // said "CLIENT CLOSED"
    bool dead() const { return dead_; }      // ended without a word
    bool window_shown() const { return window_shown_; }
    // The traffic as its window shows it: "> " received, "< " sent; the
    // latest kTrafficKept lines.
    static constexpr std::size_t kTrafficKept = 1000;
    const std::deque<std::string>& traffic() const { return traffic_; }
    // Every traffic line as it happens (the program's window).
    void SetTrafficView(std::function<void(const std::string&)> view) {
        traffic_view_ = std::move(view);
    }

private:
    void Answer(std::string text);
    void Say(const std::string& text);
    void AfterCommand();
    void Note(std::string line);

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
    std::deque<std::string> traffic_;
    std::function<void(const std::string&)> traffic_view_;
};

}  // namespace lm::rozid7
