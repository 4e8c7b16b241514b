// Numbers in the settings files and the settings dialog: the value at the
// start of a SETCOM.INI line, the time-out texts, and reals typed with the
// system's decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lm::settings {

// The integer at the start of a line (blanks and tabs skipped first, the rest
// of the line ignored), or nothing when the line does not start with one that
// fits 32 bits.
std::optional<std::int32_t> LeadingInt(std::string_view line);
// The real at the start of a line, read the same way. The decimal mark is
// '.' or ',' (the decimal comma a Czech user types: "1,5" is 1.5, not 1).
std::optional<double> LeadingReal(std::string_view line);

// A whole number typed by the user (blanks around it allowed; decimal, or
// hexadecimal after '$' or '0x'), or nothing.
std::optional<std::int32_t> TypedInt(std::string_view text);
// A real typed by the user or stored in profiles.ini: blanks around it
// allowed, the decimal separator `separator`, '.' or ','. Nothing for a text
// that is not a finite number.
std::optional<double> TypedReal(std::string_view text, char separator);

// "%3.1f" with `separator` as the decimal point: 1.5 -> "1.5", 10 -> "10.0".
std::string TimeOutText(double seconds, char separator);
// The shortest text that reads back as the same value (at most 15 significant
// digits), with `separator`: 10 -> "10", 2.5 -> "2,5".
std::string RealText(double value, char separator);

}  // namespace lm::settings
