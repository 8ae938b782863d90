// Decimal text to integer: the C library's rules, saturated at 32 bits.
#include <gtest/gtest.h>

#include <climits>

#include "launcher/decimal_text.hpp"

TEST(decimal_text, parse_decimal) {
    struct row {
        const char16_t* text;
        int value;
    };
    const row rows[] = {
        {u"", 0},
        {u"0", 0},
        {u"23", 23},
        {u"  \t\n23", 23},
        {u"+5", 5},
        {u"-5", -5},
        {u"7abc", 7},
        {u"abc7", 0},
        {u"-", 0},
        {u"+-3", 0},
        {u"12 34", 12},
        {u"2147483647", INT_MAX},
        {u"2147483648", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"-2147483649", INT_MIN},
        {u"00000000000000000000042", 42},
        {u"99999999999999999999999999999999", INT_MAX},
        {u"-99999999999999999999999999999999", INT_MIN},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.text, r.text + std::char_traits<char16_t>::length(r.text)));
        EXPECT_EQ(launcher::parse_decimal(r.text), r.value);
    }
    EXPECT_EQ(launcher::parse_decimal(nullptr), 0);
}
