// Numbers to text and back. Two families of rules live here:
// - XPath's own: parse_number and format_number, which every conversion
//   between strings and numbers inside an evaluation uses;
// - the C library's integer rules, made total: parse_int (atoi, saturated),
//   double_to_int (truncation, saturated, NaN giving 0) and format_int, which
//   the integer conversion of a result keeps, because the launcher stores it.
#pragma once

#include <cstdint>
#include <string>

namespace xpath {

// XPath's string-to-number rule: white space (space, tab, CR, LF) around an
// optional '-' and digits with an optional '.' and fraction, or '.' and
// digits. Anything else, the empty string included, is NaN: no '+', no
// exponent, no "Infinity". The value is the nearest double.
double parse_number(const char* text, std::size_t length);
inline double parse_number(const std::string& text) {
    return parse_number(text.data(), text.size());
}

// XPath's number-to-string rule: "NaN", "Infinity", "-Infinity", "0" for both
// zeros, an integer in all its digits without a decimal point, and any other
// number without an exponent, in the fewest significant digits that read
// back to the same double: 1 div 3 is "0.3333333333333333".
std::string format_number(double value);

// The atoi rule: white space, one optional sign, decimal digits up to the
// first other byte; no digits give 0; saturated at the 32-bit limits.
std::int32_t parse_int(const std::string& text);

// Truncation toward zero, saturated at the 32-bit limits; NaN gives 0.
std::int32_t double_to_int(double value);

// "%d".
std::string format_int(std::int32_t value);

}  // namespace xpath
