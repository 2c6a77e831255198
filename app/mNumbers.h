// Number reading and writing of the calculator, the same on every locale
// where the program says so: reading takes the number a text begins with,
// writing follows a digit pattern, and conversions to 16-bit integers round
// halves to the even neighbour and refuse what does not fit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::app {

// The number `text` begins with. Spaces and tabs anywhere are ignored, a
// period is the decimal point, a sign and an exponent after "E" or "e" are
// accepted, reading stops at the first character that cannot continue the
// number, and a text that does not begin with one gives 0. Throws
// std::overflow_error for a number beyond the range of a double; one too
// small to tell from 0 gives 0.
double Val(std::string_view text);

// `value` rounded to the nearest integer, halves to even. Throws
// std::overflow_error outside -32768 to 32767 (and for NaN).
std::int16_t CInt(double value);

// `value` written with a digit pattern such as "###.0#" or "###.00": "0"
// places a digit always, "#" only when needed (no "0" before the point for a
// value below 1); the value's 15 significant digits are rounded half away
// from zero at the last placeholder. The point is written as `decimalSeparator`. Throws
// std::invalid_argument for a value that is not finite.
std::string Format(double value, std::string_view pattern, std::string_view decimalSeparator);

}  // namespace korvane::app
