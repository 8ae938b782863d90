// Numbers to text and back, by the C library's rules, made total: text that
// overflows 32 bits saturates, doubles outside the 32-bit range become the
// nearest limit and NaN becomes 0, and formatting never overruns a buffer.
#pragma once

#include <cstdint>
#include <string>

namespace xpath {

// The atoi rule: white space, one optional sign, decimal digits up to the
// first other byte; no digits give 0; saturated at the 32-bit limits.
std::int32_t parse_int(const std::string& text);

// The atof rule: white space, an optional sign, digits with an optional
// decimal point "." and an optional exponent; no number gives 0.0. No
// hexadecimal, infinity or NaN spellings.
double parse_double(const std::string& text);

// Truncation toward zero, saturated at the 32-bit limits; NaN gives 0.
std::int32_t double_to_int(double value);

// "%d".
std::string format_int(std::int32_t value);

// "%f", then trailing zeros and a trailing "." removed: 2.5 -> "2.5",
// 3.0 -> "3", 0.0000001 -> "0", -0.0000001 -> "-0". Infinities and NaN read
// as the C library prints them.
std::string format_double(double value);

}  // namespace xpath
