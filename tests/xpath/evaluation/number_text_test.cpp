// The number conversions: the atoi and atof rules at their edges, saturation
// at the 32-bit limits, and "%f" formatting with its zeros trimmed, including
// values whose text is longer than the formatting buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "xpath/evaluation/number_text.hpp"

using xpath::double_to_int;
using xpath::format_double;
using xpath::parse_double;
using xpath::parse_int;

namespace {

const std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
const std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
const double infinity = std::numeric_limits<double>::infinity();

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

TEST(number_text, parse_double_follows_atof_without_hex_inf_or_nan) {
    struct row { const char* text; double value; };
    const row rows[] = {
        {"", 0.0},
        {".", 0.0},
        {"1e3", 1000.0},
        {" -.5", -0.5},
        {"1.e2", 100.0},
        {"1e+", 1.0},
        {"5E-1x", 0.5},
        {"0x1A", 0.0},   // strtod would read hexadecimal
        {"inf", 0.0},
        {"nan", 0.0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(parse_double(r.text), r.value);
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

TEST(number_text, format_double_trims_only_fraction_zeros) {
    struct row { double value; const char* text; };
    const row rows[] = {
        {-0.0, "-0"},
        {-0.0000001, "-0"},
        {0.000001, "0.000001"},
        {2.5, "2.5"},
        {3.0, "3"},
        {100.0, "100"},
        {1234.56789, "1234.56789"},
        {2.0000004, "2"},
        {999999.9999999, "1000000"},
        {infinity, "inf"},
        {-infinity, "-inf"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(format_double(r.value), r.text);
    }
    EXPECT_NE(format_double(std::nan("")).find("nan"), std::string::npos);
}

// The buffer holds 79 characters of "%f": exactly 1e72 (which is 9.99...e71),
// one fewer than -1e72. Longer texts drop only their ".000000".
TEST(number_text, format_double_gives_long_values_in_full) {
    struct row { double value; std::size_t length; };
    const row rows[] = {
        {1e72, 72},
        {-1e72, 73},
        {1e300, 301},
        {-std::numeric_limits<double>::max(), 310},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.value);
        std::string text = format_double(r.value);
        EXPECT_EQ(text.size(), r.length);
        EXPECT_EQ(text.find('.'), std::string::npos);
        EXPECT_EQ(parse_double(text), r.value);
    }
}
