#include "tools/rozid7/rozid7_core.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <sstream>

namespace lm::rozid7 {
namespace {

std::optional<std::uint8_t> Hex2(std::string_view text, std::size_t at) {
    if (at + 2 > text.size()) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = at; i < at + 2; ++i) {
        const char c = text[i];
        value *= 16;
        if (c >= '0' && c <= '9')
            value += static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value += static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            value += static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::string HexText(std::uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

// "oo ii tt" from position 6 of a command, and `extra` bytes after them.
bool Numbers(std::string_view text, std::uint8_t* out, int count) {
    for (int i = 0; i < count; ++i) {
        auto byte = Hex2(text, 6 + 3 * static_cast<std::size_t>(i));
        if (!byte) return false;
        out[i] = *byte;
    }
    return true;
}

std::string DataText(std::uint8_t obj, std::uint8_t instance, std::uint8_t item,
                     const Value& value) {
    std::string text = "QQ_RD";
    for (std::uint8_t b : {obj, instance, item, value[0], value[1], value[2], value[3]}) {
        text += ' ';
        text += HexText(b);
    }
    text += '|';
    return text;
}

// A line of the program's traffic window.
std::string TrafficLine(const char* direction, std::string_view text) {
    std::string line = direction;
    line += text;
    return line;
}

}  // namespace

bool ReadMisbehaviour(std::string_view setting, Misbehaviour& into) {
    std::istringstream in{std::string(setting)};
    std::string word;
    int n = 0;
    in >> word;
    const bool has_number = static_cast<bool>(in >> n) && n > 0;
    if (word == "GARBAGE")
        into.garbage = true;
    else if (word == "SHORT")
        into.too_short = true;
    else if (word == "SILENT")
        into.silent = true;
    else if (!has_number)
        return false;
    else if (word == "LATE")
        into.late_ticks = n;
    else if (word == "DROP")
        into.drop_every = n;
    else if (word == "COM_ERROR")
        into.com_error_after = n;
    else if (word == "USER_CLOSE")
        into.user_close_after = n;
    else if (word == "DIE")
        into.die_after = n;
    else
        return false;
    return true;
}

CommandLine ReadCommandLine(std::string_view parameters) {
    CommandLine line;
    std::istringstream in{std::string(parameters)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (word.size() < 2 || word[0] != '/') {
            line.unknown.push_back(word);
            continue;
        }
        word.erase(0, 1);
        for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const bool number_follows = i + 1 < words.size() && !words[i + 1].empty() &&
                                    std::isdigit(static_cast<unsigned char>(words[i + 1][0]));
        if (word == "DDE") {
            line.mode = CommandLine::Mode::Run;
            if (i + 1 < words.size() && words[i + 1][0] != '/') ++i;  // its four hex digits
            continue;
        }
        if (word == "K") {
            line.mode = CommandLine::Mode::Keyboard;
            continue;
        }
        if (word == "READALL") {
            line.mode = CommandLine::Mode::ReadAll;
            continue;
        }
        // The switch with the number after it, or alone.
        Misbehaviour probe;
        std::string with_number = word;
        if (number_follows) {
            with_number += ' ';
            with_number += words[i + 1];
        }
        if (number_follows && ReadMisbehaviour(with_number, probe)) {
            line.misbehaviour.push_back(with_number);
            ++i;
        } else if (ReadMisbehaviour(word, probe)) {
            line.misbehaviour.push_back(word);
        } else {
            line.unknown.push_back(words[i]);
        }
    }
    return line;
}

Value Controller::Read(std::uint8_t obj, std::uint8_t instance, std::uint8_t item) const {
    auto it = memory_.find(Key(obj, instance, item));
    return it == memory_.end() ? Value{} : it->second;
}

void Controller::Write(std::uint8_t obj, std::uint8_t instance, std::uint8_t item,
                       const Value& value) {
    memory_[Key(obj, instance, item)] = value;
}

Komun ReadKomun(std::string_view text) {
    Komun komun;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "HWND") {
            words >> komun.driver_window;
        } else if (word == "SIMULATE") {
            std::string rest;
            std::getline(words, rest);
            ReadMisbehaviour(rest, komun.misbehaviour);
        } else if (word == "QQwrite") {
            unsigned n[7];
            bool ok = true;
            for (unsigned& v : n) ok = ok && static_cast<bool>(words >> v) && v <= 255;
            if (!ok) continue;
            komun.program.push_back(
                {static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1]),
                 static_cast<std::uint8_t>(n[2]),
                 Value{static_cast<std::uint8_t>(n[3]), static_cast<std::uint8_t>(n[4]),
                       static_cast<std::uint8_t>(n[5]), static_cast<std::uint8_t>(n[6])}});
        }
    }
    return komun;
}

void ReadOwnSettings(std::string_view text, Misbehaviour& into) {
    const Komun own = ReadKomun(text);
    const Misbehaviour none;
    const Misbehaviour& m = own.misbehaviour;
    if (m.late_ticks != none.late_ticks) into.late_ticks = m.late_ticks;
    if (m.drop_every != none.drop_every) into.drop_every = m.drop_every;
    into.garbage = into.garbage || m.garbage;
    into.too_short = into.too_short || m.too_short;
    if (m.com_error_after != none.com_error_after) into.com_error_after = m.com_error_after;
    if (m.user_close_after != none.user_close_after) into.user_close_after = m.user_close_after;
    if (m.die_after != none.die_after) into.die_after = m.die_after;
    into.silent = into.silent || m.silent;
}

Core::Core(const Komun& komun, std::function<void(const std::string&)> send)
    : misbehaviour_(komun.misbehaviour), send_(std::move(send)) {
    for (const auto& write : komun.program)
        controller_.Write(write.obj, write.instance, write.item, write.value);
}

void Core::Receive(std::string_view text) {
    if (dead_ || closed_) return;
    Note(TrafficLine("> ", text));
    std::uint8_t n[7];
    if (text == "CLOSE|") {
        Say("CLIENT CLOSED|");
        closed_ = true;
    } else if (text == "DIALOG SHOW|" || text == "DIALOG HIDE|") {
        window_shown_ = text == "DIALOG SHOW|";
    } else if (text.starts_with("QQ_RD ") && Numbers(text, n, 3)) {
        Answer(DataText(n[0], n[1], n[2], controller_.Read(n[0], n[1], n[2])));
    } else if (text.starts_with("QQ_RS ") && Numbers(text, n, 3)) {
        // A string lies in eight items of four characters from its own ident on.
        for (unsigned k = 0; k < 8 && n[2] + k <= 255; ++k) {
            const auto item = static_cast<std::uint8_t>(n[2] + k);
            Answer(DataText(n[0], n[1], item, controller_.Read(n[0], n[1], item)));
        }
    } else if (text.starts_with("QQ_WR ") && Numbers(text, n, 7)) {
        controller_.Write(n[0], n[1], n[2], Value{n[3], n[4], n[5], n[6]});
    }
    AfterCommand();
}

void Core::AfterCommand() {
    ++commands_;
    const Misbehaviour& m = misbehaviour_;
    if (m.com_error_after > 0 && commands_ >= m.com_error_after) {
        pending_.clear();
        Say("CLIENT CLOSED COM_ERROR|");
        closed_ = true;
    } else if (m.user_close_after > 0 && commands_ >= m.user_close_after) {
        pending_.clear();
        Say("CLIENT CLOSED USER_CLOSE|");
        closed_ = true;
    } else if (m.die_after > 0 && commands_ >= m.die_after) {
        pending_.clear();
        dead_ = true;
    }
}

void Core::Answer(std::string text) {
    ++answers_;
    if (misbehaviour_.drop_every > 0 && answers_ % misbehaviour_.drop_every == 0) return;
    if (misbehaviour_.garbage) text = "QQ_RD ZZ ZZ ZZ ZZ ZZ ZZ ZZ|";
    if (misbehaviour_.too_short) {
        text.resize(20);
        text += '|';
    }
    // A real line takes its time: the answer leaves at a later tick.
    pending_.push_back(
        {now_ + static_cast<std::uint64_t>(misbehaviour_.late_ticks), std::move(text)});
}

void Core::Tick() {
    ++now_;
    while (!dead_ && !pending_.empty() && pending_.front().due < now_) {
        std::string text = std::move(pending_.front().text);
        pending_.pop_front();
        Say(text);
    }
}

void Core::UserClose() {
    if (dead_ || closed_) return;
    pending_.clear();
    Say("CLIENT CLOSED USER_CLOSE|");
    closed_ = true;
}

void Core::Say(const std::string& text) {
    Note(TrafficLine("< ", text));
    send_(text);
}

void Core::Note(std::string line) {
    if (traffic_view_) traffic_view_(line);
    if (traffic_.size() >= kTrafficKept) traffic_.pop_front();
    traffic_.push_back(std::move(line));
}

}  // namespace lm::rozid7
