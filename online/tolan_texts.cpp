#include "online/tolan_texts.h"

#include <optional>

#include "values/hex_texts.h"

namespace lm {
namespace {

std::string Numbers(std::string_view command, std::uint8_t obj, std::uint8_t instance,
                    std::uint8_t item) {
    std::string text(command);
    text += ' ';
    text += HEX_BYTE(obj);
    text += ' ';
    text += HEX_BYTE(instance);
    text += ' ';
    text += HEX_BYTE(item);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two hexadecimal digits at `at`, or nothing.
std::optional<std::uint8_t> HexByteAt(std::string_view text, std::size_t at) {
    if (at + 2 > text.size()) return std::nullopt;
    const int high = HexValue(text[at]), low = HexValue(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<std::uint8_t>(high * 16 + low);
}

bool ReadDataAnswer(std::string_view text, DataAnswer& answer) {
    // "QQ_RD " is followed by the three numbers at 0, 3 and 6; from 8 on each
    // data byte takes three characters, a separator and two digits, for as
    // long as more than two characters remain.
    std::string_view rest = text.substr(6);
    auto obj = HexByteAt(rest, 0), instance = HexByteAt(rest, 3), item = HexByteAt(rest, 6);
    if (!obj || !instance || !item) return false;
    answer = DataAnswer{};
    answer.obj = *obj;
    answer.instance = *instance;
    answer.item = *item;
    rest = rest.substr(8);
    while (rest.size() > 2) {
        auto byte = HexByteAt(rest, 1);
        if (!byte || answer.count == answer.bytes.size()) return false;
        answer.bytes[answer.count++] = *byte;
        rest = rest.substr(3);
    }
    return true;
}

}  // namespace

std::string ReadCommand(bool string_item, std::uint8_t obj, std::uint8_t instance,
                        std::uint8_t item) {
    return Numbers(string_item ? "QQ_RS" : "QQ_RD", obj, instance, item) + kTerminator;
}

std::string WriteCommand(std::uint8_t obj, std::uint8_t instance, std::uint8_t item,
                         std::span<const std::uint8_t, 4> bytes) {
    std::string text = Numbers("QQ_WR", obj, instance, item);
    for (std::uint8_t b : bytes) {
        text += ' ';
        text += HEX_BYTE(b);
    }
    return text + kTerminator;
}

Received ReadReceived(std::string_view text, DataAnswer& answer) {
    if (text.empty() || text.back() != kTerminator) return Received::Nothing;
    constexpr std::string_view kClosed = "CLIENT CLOSED";
    if (text.starts_with(kClosed)) {
        std::string_view reason = text.substr(kClosed.size());
        if (reason.starts_with(" COM_ERROR") || reason.starts_with(" USER_CLOSE"))
            return Received::ClientClosedFailed;
        return Received::ClientClosed;
    }
    if (text.starts_with("QQ_RD") && text.size() >= kShortestDataAnswer)
        return ReadDataAnswer(text, answer) ? Received::Data : Received::BadData;
    return Received::Nothing;
}

}  // namespace lm
