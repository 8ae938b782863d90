// Decimal text to integer with saturation.
#include "decimal_text.hpp"

#include <climits>

namespace launcher {
namespace {

bool is_space(WCHAR c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool is_digit(WCHAR c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

int parse_decimal(const WCHAR* text) {
    if (!text) return 0;
    while (is_space(*text)) ++text;
    bool negative = *text == u'-';
    if (*text == u'-' || *text == u'+') ++text;
    // Accumulate as a negative number: its range includes INT_MIN.
    int value = 0;
    for (; is_digit(*text); ++text) {
        int digit = *text - u'0';
        if (value < (INT_MIN + digit) / 10) return negative ? INT_MIN : INT_MAX;
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == INT_MIN ? INT_MAX : -value;
}

}  // namespace launcher

namespace launcher {

void format_decimal(int value, WCHAR* text) {
    // Digits of the magnitude, taken in unsigned arithmetic so that the lowest value has one too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    WCHAR reversed[decimal_text_chars];
    int count = 0;
    do {
        reversed[count++] = static_cast<WCHAR>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *text++ = u'-';
    while (count > 0) *text++ = reversed[--count];
    *text = 0;
}

}  // namespace launcher
