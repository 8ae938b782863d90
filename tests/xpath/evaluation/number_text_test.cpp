// The number conversions: XPath's string and number rules at their edges,
// the shortest digits checked against std::to_chars over many doubles, and
// the atoi rule and truncation saturated at the 32-bit limits.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "evaluation/number_text.hpp"

using xpath::double_to_int;
using xpath::format_number;
using xpath::parse_number;
using xpath::parse_int;

namespace {

const std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
const std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
const double infinity = std::numeric_limits<double>::infinity();
const double not_a_number = std::numeric_limits<double>::quiet_NaN();

// Equal as doubles, NaN equal to NaN, and -0 apart from +0.
bool same_double(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

// What std::to_chars writes in fixed form, with XPath's spellings of the
// values it writes otherwise.
std::string to_chars_fixed(double value) {
    if (value == 0) return "0";
    char text[400];
    auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

}  // namespace

TEST(number_text, parse_int_follows_atoi_and_saturates) {
    struct row { const char* text; std::int32_t value; };
    const row rows[] = {
        {"", 0},
        {"2147483647", int_max},
        {"2147483648", int_max},
        {"-2147483648", int_min},
        {"-2147483649", int_min},
        {"99999999999999999999", int_max},
        {"  42abc", 42},
        {"\t\n\v\f\r5", 5},
        {"+3", 3},
        {"- 5", 0},
        {"0x1A", 0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(parse_int(r.text), r.value);
    }
}

TEST(number_text, double_to_int_truncates_and_saturates) {
    struct row { double value; std::int32_t result; };
    const row rows[] = {
        {std::nan(""), 0},
        {2147483646.9, 2147483646},
        {2147483648.0, int_max},
        {-2147483648.0, int_min},
        {-2147483649.5, int_min},
        {infinity, int_max},
        {-infinity, int_min},
        {-7.9, -7},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(double_to_int(r.value), r.result);
    }
}

TEST(number_text, parse_number_takes_only_the_xpath_number_form) {
    struct row { const char* text; double value; };
    const row rows[] = {
        {"", not_a_number},
        {" \t\r\n", not_a_number},
        {"-", not_a_number},
        {".", not_a_number},
        {"-.", not_a_number},
        {".5", 0.5},
        {"5.", 5},
        {"-.5", -0.5},
        {"+5", not_a_number},
        {"1e3", not_a_number},
        {"0x1A", not_a_number},
        {"Infinity", not_a_number},
        {"NaN", not_a_number},
        {"- 5", not_a_number},
        {"5 5", not_a_number},
        {"\v5", not_a_number},  // vertical tab is no XML white space
        {" \t\r\n-12.50\n ", -12.5},
        {"-0", -0.0},
        {"007", 7},
        {"2147483648", 2147483648.0},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"0.1", 0.1},
        {"9007199254740993", 9007199254740992.0},  // nearest double, ties to even
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_TRUE(same_double(parse_number(r.text), r.value)) << parse_number(r.text);
    }
    // A counted text: a NUL ends nothing, and it is no number.
    EXPECT_TRUE(std::isnan(parse_number(std::string("1\0", 2))));
}

TEST(number_text, format_number_writes_xpath_numbers) {
    struct row { double value; const char* text; };
    const row rows[] = {
        {not_a_number, "NaN"},
        {infinity, "Infinity"},
        {-infinity, "-Infinity"},
        {0.0, "0"},
        {-0.0, "0"},
        {3.0, "3"},
        {-2147483648.0, "-2147483648"},
        {10000000000.0, "10000000000"},
        {1e21, "1000000000000000000000"},
        {1e23, "99999999999999991611392"},  // an integer in all its digits
        {2.5, "2.5"},
        {-0.5, "-0.5"},
        {1.0 / 3, "0.3333333333333333"},
        {0.1 + 0.2, "0.30000000000000004"},
        {0.0000001, "0.0000001"},
        {-1e-7, "-0.0000001"},
        {123.456, "123.456"},
        {4503599627370495.5, "4503599627370495.5"},
        {5e-324, nullptr},  // checked below: 323 zeros after the point, then 5
    };
    for (const row& r : rows) {
        if (!r.text) continue;
        SCOPED_TRACE(r.text);
        EXPECT_EQ(format_number(r.value), r.text);
    }
    EXPECT_EQ(format_number(5e-324), "0." + std::string(323, '0') + "5");
    EXPECT_EQ(format_number(std::numeric_limits<double>::max()).size(), 309u);
}

// The digits come from printf at a chosen precision; std::to_chars finds the
// shortest form by its own means. Both must agree on integers, fractions of
// every magnitude and random bit patterns, and the text must read back.
TEST(number_text, format_number_agrees_with_to_chars_and_reads_back) {
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<int> digits(1, 17), exponent(-30, 20);
    for (int i = 0; i < 90000; ++i) {
        double value;
        if (i % 3 != 2) {
            std::uint64_t bits = random();
            if (i % 3 == 1) bits &= (1ull << 52) - 1;  // subnormal
            std::memcpy(&value, &bits, sizeof value);
            if (std::isnan(value) || std::isinf(value)) continue;
        } else {
            std::uint64_t mantissa = random() % 100000000000000000ull;
            value = static_cast<double>(mantissa) * std::pow(10.0, exponent(random) - digits(random));
        }
        std::string text = format_number(value);
        ASSERT_EQ(text, to_chars_fixed(value)) << value;
        ASSERT_TRUE(same_double(parse_number(text), value == 0 ? 0.0 : value)) << text;
    }
}
