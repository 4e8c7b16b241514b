// Texts of numbers as the driver shows them: IEEE singles, firmware versions,
// reals in fixed and default notation, and rounding to integers. The decimal
// point is always '.', whatever the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lm {

inline constexpr const char* kPlusInfinityText = "+infinity";
inline constexpr const char* kMinusInfinityText = "-infinity";
inline constexpr const char* kNanText = "NaN/x87 err";

// The default form: a sign position (space or '-'), one digit, a point, 14
// digits, 'E', the exponent sign and four exponent digits; 23 characters:
// " 1.50000000000000E+0000". Rounded to 15 significant digits. Zero (either
// sign) is " 0.00000000000000E+0000". Infinities and NaN, which no reader
// produces, give "+infinity", "-infinity" and "NaN/x87 err".
std::string REAL_DEFAULT_TEXT(double x);

// Fixed notation: '-' for negative values, the integer digits, and for
// decimals > 0 a point and exactly that many digits; padded on the left with
// spaces to `width`, never cut. The value is first reduced to 18 significant
// digits, then rounded at the last shown decimal, halves away from zero.
// A value that rounds to zero is shown without '-'. Width and decimals are
// taken within 0..255 (a definition cannot ask for a text of gigabytes).
// Infinities and NaN give the texts of REAL_DEFAULT_TEXT.
std::string REAL_TEXT(double x, int width, int decimals);

// The number form of log lines and dumps: width and decimals both 0 mean
// REAL_DEFAULT_TEXT, anything else REAL_TEXT.
std::string REAL_FORMAT_TEXT(double x, int width, int decimals);

// x rounded to the nearest integer, halves away from zero (as REAL_TEXT with
// no decimals); 0 when the result is outside the signed 32-bit range or x is
// not finite.
std::int32_t ROUND_INT(double x);

// The text of a 4-byte IEEE single given as its bit pattern. Zero (either sign)
// and finite values up to 1E38 in magnitude are written by REAL_DEFAULT_TEXT;
// larger finite values and infinities give "+infinity" or "-infinity" by the
// sign bit; every NaN gives "NaN/x87 err". Subnormal singles have the IEEE-754
// value F * 2^-126.
std::string SINGLE_TO_TEXT(std::uint32_t pattern);

// The value SINGLE_TO_TEXT writes as a number, or nothing where it writes
// "+infinity", "-infinity" or "NaN/x87 err".
std::optional<double> SingleToReal(std::uint32_t pattern);

// A firmware version from its low 16 bits: "?" for 0, otherwise the thousands,
// a point and the remainder in three digits: 2105 -> "2.105", 5 -> "0.005".
std::string FIRMWARE_TEXT(std::uint32_t version);

}  // namespace lm
