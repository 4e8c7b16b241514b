#include "tools/lumarsim/script.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/host_records.h"
#include "tools/lumarsim/form_player.h"

namespace lumarsim {
namespace {

const std::map<std::string, std::uint16_t, std::less<>>& FunctionWords() {
    static const std::map<std::string, std::uint16_t, std::less<>> words = {
        {"identify", 1},      {"load", 2},          {"unload", 3},      {"init", 4},
        {"errtext", 5},       {"menu", 6},          {"startrun", 7},    {"stoprun", 8},
        {"menuitem", 9},      {"helpmenu", 10},     {"helpobject", 11}, {"helpdata", 12},
        {"create", 13},       {"delete", 14},       {"orderdata", 15},  {"unorderdata", 16},
        {"setdata", 17},      {"dialog", 18},       {"akceitem", 19},   {"netlist", 20},
        {"setinstance", 21},  {"loadline", 22},     {"saveline", 23},   {"flagchangedat", 24},
        {"orderservice", 25}, {"startloadprj", 27}, {"endloadprj", 28}, {"bintostr", 36},
        {"strtobin", 37},     {"longcheck", 38},    {"userlong", 39},   {"infomsg", 56},
    };
    return words;
}

std::optional<std::uint32_t> Number(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    if (text.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint8_t b = 0;
        auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, b, 16);
        if (ec != std::errc() || end != text.data() + i + 2) return std::nullopt;
        bytes.push_back(b);
    }
    return bytes;
}

// The words of a line; a quoted text is one word with its quotes.
std::vector<std::string> Words(std::string_view line, bool& ok) {
    std::vector<std::string> words;
    ok = true;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::size_t start = i;
        bool quoted = false;
        while (i < line.size() &&
               (quoted || (line[i] != ' ' && line[i] != '\t' && line[i] != '\r'))) {
            if (quoted && line[i] == '\\' && i + 1 < line.size()) {
                i += 2;  // an escaped character inside a text
                continue;
            }
            if (line[i] == '"') quoted = !quoted;
            ++i;
        }
        if (quoted) ok = false;
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

// The host's memory for one call: texts and byte blocks the record points to.
struct CallMemory {
    std::vector<std::unique_ptr<char[]>> texts;
    std::deque<std::vector<std::uint8_t>> blocks;  // a deque keeps earlier blocks in place
};

bool SetField(PARAM_ENTRY& r, std::string_view name, std::string_view value, CallMemory& memory,
              const RunHost* host) {
    auto number = [&](auto& field) {
        if (value == "host" && host != nullptr) {
            field = static_cast<std::remove_reference_t<decltype(field)>>(host->window());
            return true;
        }
        auto n = Number(value);
        if (!n) return false;
        field = static_cast<std::remove_reference_t<decltype(field)>>(*n);
        return true;
    };
    auto text = [&](char*& field) {
        if (value == "null") {
            field = nullptr;
            return true;
        }
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') return false;
        // Inside the quotes \" stands for a quote and \\ for a backslash.
        std::string unescaped;
        std::string_view inner = value.substr(1, value.size() - 2);
        for (std::size_t k = 0; k < inner.size(); ++k) {
            if (inner[k] == '\\' && k + 1 < inner.size()) ++k;
            unescaped += inner[k];
        }
        std::string cp = lm::Utf8ToCp1250(unescaped);
        auto buffer = std::make_unique<char[]>(cp.size() + 1);
        std::memcpy(buffer.get(), cp.c_str(), cp.size() + 1);
        field = buffer.get();
        memory.texts.push_back(std::move(buffer));
        return true;
    };
    auto bytes = [&](void*& field) {
        if (value == "null") {
            field = nullptr;
            return true;
        }
        if (value.substr(0, 4) != "hex:") return false;
        auto parsed = HexBytes(value.substr(4));
        if (!parsed) return false;
        memory.blocks.push_back(std::move(*parsed));
        field = memory.blocks.back().data();
        return true;
    };
    std::uint16_t w = 0;
    std::uint32_t l = 0;
    char* s = nullptr;
    void* p = nullptr;
    bool ok = false;
    if (name == "level") {
        ok = number(w);
        r.level = w;
    } else if (name == "lmd_func") {
        ok = number(w);
        r.lmd_func = w;
    } else if (name == "dlm_func") {
        ok = number(w);
        r.dlm_func = w;
    } else if (name == "error") {
        ok = number(w);
        r.error = w;
    } else if (name == "wparam1") {
        ok = number(w);
        r.wparam1 = w;
    } else if (name == "wparam2") {
        ok = number(w);
        r.wparam2 = w;
    } else if (name == "lparam1") {
        ok = number(l);
        r.lparam1 = l;
    } else if (name == "lparam2") {
        ok = number(l);
        r.lparam2 = l;
    } else if (name == "string1") {
        ok = text(s);
        r.string1 = s;
    } else if (name == "string2") {
        ok = text(s);
        r.string2 = s;
    } else if (name == "data1") {
        ok = bytes(p);
        r.data1 = p;
    } else if (name == "data2") {
        ok = bytes(p);
        r.data2 = p;
    } else if (name == "pointer1") {
        ok = bytes(p);
        r.pointer1 = p;
    } else if (name == "pointer2") {
        ok = bytes(p);
        r.pointer2 = p;
    }
    return ok;
}

std::string Quoted(const char* cp1250) {
    if (cp1250 == nullptr) return "nil";
    // Line breaks are shown as \n so that one call stays one transcript line.
    std::string quoted = "\"";
    for (char c : lm::Cp1250ToUtf8(lm::ReadZeroText(cp1250))) {
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

// The size of the script's own block at `pointer`; nothing when the pointer
// is not one (the driver's memory, or a text of the script).
std::optional<std::size_t> ScriptBlockSize(const CallMemory& memory, const void* pointer) {
    for (const std::vector<std::uint8_t>& block : memory.blocks) {
        if (!block.empty() && pointer == block.data()) return block.size();
    }
    return std::nullopt;
}

// The length of the block at `pointer` that the call's answer names: STRTOBIN's
// data1 (wparam2), the USER/LONG conversion's data2 (lparam2), the data item
// service's binary buffer (pointer1, pointer2; at least 4096 bytes).
std::optional<std::size_t> DriverGivenLength(const PARAM_ENTRY& r, const void* pointer) {
    constexpr std::uint16_t kAkceItem = 19, kStrToBin = 37, kUserLong = 39;
    if (r.lmd_func == kStrToBin && pointer == r.data1) return r.wparam2;
    if (r.lmd_func == kUserLong && pointer == r.data2) return r.lparam2;
    if (r.lmd_func == kAkceItem && (pointer == r.pointer1 || pointer == r.pointer2)) return 4096;
    return std::nullopt;
}

std::optional<std::string> Shown(const PARAM_ENTRY& r, int result, std::string_view wanted,
                                 const CallMemory& memory) {
    std::string name(wanted.substr(0, wanted.find(':')));
    std::string_view how =
        wanted.find(':') == std::string_view::npos ? "" : wanted.substr(wanted.find(':') + 1);
    if (name == "result") return std::to_string(result);
    if (name == "level") return std::to_string(r.level);
    if (name == "lmd_func") return std::to_string(r.lmd_func);
    if (name == "dlm_func") return std::to_string(r.dlm_func);
    if (name == "error") return std::to_string(r.error);
    if (name == "wparam1") return std::to_string(r.wparam1);
    if (name == "wparam2") return std::to_string(r.wparam2);
    if (name == "lparam1") return std::to_string(r.lparam1);
    if (name == "lparam2") return std::to_string(r.lparam2);
    const void* pointer = nullptr;
    if (name == "string1")
        pointer = r.string1;
    else if (name == "string2")
        pointer = r.string2;
    else if (name == "data1")
        pointer = r.data1;
    else if (name == "data2")
        pointer = r.data2;
    else if (name == "pointer1")
        pointer = r.pointer1;
    else if (name == "pointer2")
        pointer = r.pointer2;
    else
        return std::nullopt;
    // A block the script passed and the driver left in place is read within
    // its bytes only.
    const std::optional<std::size_t> block = ScriptBlockSize(memory, pointer);
    if (how.empty() || how == "text") {
        if (!block) return Quoted(static_cast<const char*>(pointer));
        const std::string bytes(static_cast<const char*>(pointer), *block);
        return Quoted(bytes.c_str());
    }
    if (how == "set") return pointer == nullptr ? "nil" : "set";
    if (how.substr(0, 4) == "hex:") {
        auto count = Number(how.substr(4));
        if (!count || *count > 4096 || (block && *count > *block)) return std::nullopt;
        if (pointer == nullptr) return "nil";
        const auto* bytes = static_cast<const std::uint8_t*>(pointer);
        // A block of the driver is read only as far as the driver gave it:
        // the length the call names, else its text up to the zero byte.
        std::size_t limit = *count;
        if (!block) {
            if (auto given = DriverGivenLength(r, pointer)) {
                limit = std::min<std::size_t>(limit, *given);
            } else {
                const void* zero = std::memchr(bytes, 0, limit);
                if (zero != nullptr)
                    limit =
                        static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes) +
                        1;
            }
        }
        std::string hex;
        for (std::size_t i = 0; i < limit; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X", bytes[i]);
            hex += b;
        }
        if (limit < *count) {
            hex += " (" + std::to_string(limit) + " of " + std::to_string(*count) +
                   " bytes: the driver gave no more)";
        }
        return hex;
    }
    return std::nullopt;
}

// "step VERB CONTROL [TEXT]" as the form player takes it (CP1250); a quoted
// TEXT loses its quotes, so that an empty text can be typed.
std::optional<std::string> FormStep(std::string_view line) {
    bool ok = true;
    auto words = Words(line, ok);
    if (words.size() < 3) return std::nullopt;
    const std::string& verb = words[1];
    std::string step = verb;
    step += ' ';
    step += words[2];
    if (verb == "press" || verb == "dblclick") {
        if (words.size() != 3) return std::nullopt;
    } else if (verb == "select") {
        if (words.size() != 4 || !Number(words[3])) return std::nullopt;
        step += ' ';
        step += words[3];
    } else if (verb == "key") {
        if (words.size() != 4 || (words[3] != "up" && words[3] != "down")) return std::nullopt;
        step += ' ';
        step += words[3];
    } else if (verb == "set" || verb == "cell") {
        // The text is the rest of the line after the control's name (and,
        // for a grid's cell, its column and row).
        const std::size_t skipped = verb == "cell" ? 5 : 3;
        if (words.size() < skipped || (verb == "cell" && (!Number(words[3]) || !Number(words[4]))))
            return std::nullopt;
        std::size_t at = line.find(words[1]) + words[1].size();
        for (std::size_t w = 2; w < skipped; ++w) at = line.find(words[w], at) + words[w].size();
        std::string_view text = line.substr(at);
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
            text.remove_suffix(1);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        for (std::size_t w = 3; w < skipped; ++w) {
            step += ' ';
            step += words[w];
        }
        step += ' ';
        step += lm::Utf8ToCp1250(text);
    } else {
        return std::nullopt;
    }
    return step;
}

// "answers": one line per answer the host window received.
void PrintAnswers(RunHost& host, std::FILE* out) {
    const auto answers = host.TakeAnswers();
    std::fprintf(out, "answers %zu\n", answers.size());
    for (const LiveAnswer& answer : answers) {
        const dLM_ITEMDATA& a = answer.record;
        std::string hex;
        for (std::size_t i = 0; i < 4; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X", answer.data[i]);
            hex += b;
        }
        std::fprintf(out,
                     "  answer kind=%u obj=%u instance=%u item=%u valid=%u length=%u timeout=%u "
                     "failed=%u data=%s\n",
                     a.kind, a.obj, a.instance, a.item, a.valid, a.length, a.timeout, a.failed,
                     hex.c_str());
    }
}

// A run-mode step; nothing when the line is no such step, else its error
// text (empty on success).
std::optional<std::string> RunStep(const std::vector<std::string>& words, RunHost* host,
                                   std::FILE* out) {
    const std::string& step = words[0];
    if (step != "tick" && step != "tolan" && step != "answers") return std::nullopt;
    if (host == nullptr) return step + " needs a run-mode host (natively: --in-process)";
    if (step == "tick") {
        constexpr std::uint32_t kMostTicks = 36000;  // an hour
        auto n = words.size() == 2 ? Number(words[1]) : std::nullopt;
        if (!n || *n > kMostTicks) return std::string("expected: tick N (at most 36000)");
        host->Wait(static_cast<int>(*n));
        std::fprintf(out, "tick %u\n", *n);
    } else if (step == "tolan") {
        auto code = words.size() == 3 ? Number(words[1]) : std::nullopt;
        const std::string& text = words.size() == 3 ? words[2] : step;
        if (!code || text.size() < 2 || text.front() != '"' || text.back() != '"')
            return std::string("expected: tolan CODE \"TEXT\"");
        const std::string inner = lm::Utf8ToCp1250(text.substr(1, text.size() - 2));
        if (inner.size() > 255) return std::string("a text of at most 255 characters");
        const bool sent = host->SendTolan(*code, inner);
        std::fprintf(out, "tolan %u %s%s\n", *code, text.c_str(),
                     sent ? "" : " (no driver window)");
    } else {
        PrintAnswers(*host, out);
    }
    return std::string();
}

}  // namespace

bool RunScript(const DriverLibrary& library, RunHost* host, const std::string& script,
               std::FILE* out, std::string& error) {
    int number = 0;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        std::string_view line(script.data() + start, end - start);
        start = end + 1;
        ++number;
        bool ok = true;
        auto words = Words(line, ok);
        auto fail = [&](const std::string& message) {
            error = "line ";
            error += std::to_string(number);
            error += ": ";
            error += message;
            return false;
        };
        if (!ok) return fail("a text without its closing quote");
        if (words.empty() || words[0][0] == '#') continue;
        if (words[0] == "form") {
            if (words.size() != 1) return fail("form stands alone; its steps follow");
            FormQueue::Instance().StartForm();
            continue;
        }
        if (words[0] == "step") {
            auto step = FormStep(line);
            if (!step) return fail("expected: step press|set|select|dblclick|key|cell CONTROL ...");
            if (!FormQueue::Instance().AddStep(*step)) return fail("a step before any form");
            continue;
        }
        if (auto step = RunStep(words, host, out)) {
            if (!step->empty()) return fail(*step);
            continue;
        }
        if (words[0] != "call" || words.size() < 2) return fail("expected: call FUNCTION ...");
        PARAM_ENTRY record{};
        auto it = FunctionWords().find(words[1]);
        if (it != FunctionWords().end()) {
            record.lmd_func = it->second;
        } else if (auto code = Number(words[1]); code && *code <= 0xFFFF) {
            record.lmd_func = static_cast<std::uint16_t>(*code);
        } else {
            return fail("unknown function " + words[1]);
        }
        CallMemory memory;
        std::size_t i = 2;
        for (; i < words.size() && words[i] != "->"; ++i) {
            auto eq = words[i].find('=');
            if (eq == std::string::npos ||
                !SetField(record, std::string_view(words[i]).substr(0, eq),
                          std::string_view(words[i]).substr(eq + 1), memory, host)) {
                return fail("cannot set " + words[i]);
            }
        }
        const int result = library.Call(record);
        std::string shown = "call ";
        shown += words[1];
        for (++i; i < words.size(); ++i) {
            auto value = Shown(record, result, words[i], memory);
            if (!value) return fail("cannot print " + words[i]);
            shown += ' ';
            shown += words[i];
            shown += '=';
            shown += *value;
        }
        std::fprintf(out, "%s\n", shown.c_str());
        for (const std::string& form : FormQueue::Instance().TakeReports())
            std::fprintf(out, "  %s\n", form.c_str());
    }
    return true;
}

}  // namespace lumarsim
