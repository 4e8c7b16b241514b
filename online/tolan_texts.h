// The texts exchanged with the communication program through MSG_TOLAN: the
// commands the driver sends and the reading of what comes back. Every text
// ends with the terminator "|"; numbers are two upper-case hexadecimal digits
// per byte, separated by single blanks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/host_records.h"

namespace lm {

inline constexpr char kTerminator = '|';
inline constexpr std::string_view kCloseText = "CLOSE|";
inline constexpr std::string_view kDialogShowText = "DIALOG SHOW|";
inline constexpr std::string_view kDialogHideText = "DIALOG HIDE|";

// "QQ_RD oo ii tt|", or "QQ_RS oo ii tt|" for a string item.
std::string ReadCommand(bool string_item, std::uint8_t obj, std::uint8_t instance,
                        std::uint8_t item);
// "QQ_WR oo ii tt b0 b1 b2 b3|".
std::string WriteCommand(std::uint8_t obj, std::uint8_t instance, std::uint8_t item,
                         std::span<const std::uint8_t, 4> bytes);

// A data answer "QQ_RD oo ii tt d1 d2 ... dn|".
struct DataAnswer {
    std::uint8_t obj = 0, instance = 0, item = 0;
    std::array<std::uint8_t, kItemDataBytes> bytes{};
    std::size_t count = 0;  // data bytes in `bytes`

    std::span<const std::uint8_t> data() const { return {bytes.data(), count}; }
};

// What a text from the communication program (MSG_TOLAN wParam 2) asks for.
enum class Received {
    Nothing,             // empty, without the terminator, or unknown: shown only
    ClientClosed,        // "CLIENT CLOSED|": the program has ended
    ClientClosedFailed,  // ... with " COM_ERROR" or " USER_CLOSE": its orders fail
    Data,                // a data answer, read into `answer`
    BadData,             // a data answer whose numbers are not hexadecimal bytes
};

// The shortest data answer that is read: four data bytes and the terminator
// make 27 characters.
inline constexpr std::size_t kShortestDataAnswer = 26;

Received ReadReceived(std::string_view text, DataAnswer& answer);

}  // namespace lm
