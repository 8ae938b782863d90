// Decimal text to integer with saturation, through the engine's atoi rule,
// and back.
#include "decimal_text.hpp"

#include <string>

#include "xpath/xpath.hpp"

namespace launcher {

// The engine's parser reads bytes. Every character that can take part in a
// number is ASCII, so ASCII passes as it is and any other character becomes
// DEL, which is neither space, sign nor digit and so ends the number as the
// character itself would (cutting U+0131 to its low byte would read as '1').
int parse_decimal(const WCHAR* text) {
    std::string bytes;
    for (; text && *text; ++text) bytes += *text < 0x80 ? static_cast<char>(*text) : '\x7f';
    return xpath::text_to_int(bytes);
}

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
