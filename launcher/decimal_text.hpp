// Decimal text to integer, the one conversion the launcher uses wherever it
// reads a number: the C library's rules, but saturated at the 32-bit limits
// instead of leaving an overflow undefined. It is the XPath engine's atoi
// rule, applied to 16-bit text; the engine's own parser does the work.
#pragma once

#include "windows_ce.hpp"

namespace launcher {

// Leading white space, an optional sign, then decimal digits up to the first
// other character; no digits give 0. Null counts as empty text.
int parse_decimal(const WCHAR* text);

// The decimal text of a value (a "-" first when negative) into `text`, which
// holds at least decimal_text_chars characters; every 32-bit value fits.
constexpr int decimal_text_chars = 12;
void format_decimal(int value, WCHAR* text);

}  // namespace launcher
