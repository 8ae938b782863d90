// Decimal text to integer: the C library's rules, saturated at 32 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <string>

#include "decimal_text.hpp"

TEST(decimal_text, parse_decimal) {
    struct row {
        const WCHAR* text;
        int value;
    };
    const row rows[] = {
        {TEXT(""), 0},
        {TEXT("0"), 0},
        {TEXT("23"), 23},
        {TEXT("  \t\n23"), 23},
        {TEXT("+5"), 5},
        {TEXT("-5"), -5},
        {TEXT("7abc"), 7},
        {TEXT("abc7"), 0},
        {TEXT("-"), 0},
        {TEXT("+-3"), 0},
        {TEXT("12 34"), 12},
        {TEXT("2147483647"), INT_MAX},
        {TEXT("2147483648"), INT_MAX},
        {TEXT("-2147483648"), INT_MIN},
        {TEXT("-2147483649"), INT_MIN},
        {TEXT("00000000000000000000042"), 42},
        {TEXT("99999999999999999999999999999999"), INT_MAX},
        {TEXT("-99999999999999999999999999999999"), INT_MIN},
        {TEXT("7\u0131"), 7},     // a character whose low byte is a digit ends the number
        {TEXT("\u0120-5"), 0},    // one whose low byte is a space is no space
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.text, r.text + std::char_traits<WCHAR>::length(r.text)));
        EXPECT_EQ(launcher::parse_decimal(r.text), r.value);
    }
    EXPECT_EQ(launcher::parse_decimal(nullptr), 0);
}

TEST(decimal_text, format_decimal) {
    struct row {
        int value;
        const WCHAR* text;
    };
    const row rows[] = {
        {0, TEXT("0")}, {7, TEXT("7")}, {-5, TEXT("-5")}, {999, TEXT("999")}, {-99, TEXT("-99")}, {1000000, TEXT("1000000")},
        {2147483647, TEXT("2147483647")}, {-2147483647 - 1, TEXT("-2147483648")},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.value);
        WCHAR text[launcher::decimal_text_chars + 1];
        std::fill(std::begin(text), std::end(text), WCHAR('#'));
        launcher::format_decimal(r.value, text);
        EXPECT_EQ(std::basic_string<WCHAR>(text), std::basic_string<WCHAR>(r.text));
        EXPECT_EQ(text[launcher::decimal_text_chars], WCHAR('#'));  // nothing past the buffer
    }
}
