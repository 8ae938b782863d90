// Number conversions of the evaluation layer. The digits of a double come
// from the C library's printf, the value of a decimal from its strtod: both
// round correctly, and this file only picks the precision and places the
// decimal point.
#include "number_text.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace xpath {
namespace {

bool is_xml_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool is_c_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Up to this many digits an integer accumulates exactly in a double.
constexpr std::size_t exact_integer_digits = 15;

double integer_value(const char* digits, std::size_t count) {
    double value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value * 10 + (digits[i] - '0');
    return value;
}

double decimal_value(const char* text, std::size_t length) {
    std::string copy(text, length);  // strtod needs the terminating zero
    return std::strtod(copy.c_str(), nullptr);
}

// The significant digits and decimal exponent of "%.*e" output: "-1.25e-03"
// gives "125" (trailing zeros dropped) and -3.
struct scientific {
    std::string digits;
    int exponent = 0;
};

scientific read_scientific(const char* text) {
    scientific out;
    for (; *text && *text != 'e'; ++text)
        if (is_digit(*text)) out.digits += *text;
    if (*text == 'e') out.exponent = std::atoi(text + 1);
    while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
    return out;
}

// A normal double whose shortest form has at most 15 significant digits has
// exactly one 15-digit decimal within its rounding interval, since decimals
// of that length lie further apart than doubles do; so its correctly rounded
// 15 digits, trailing zeros dropped, are the shortest. Failing that, 16
// digits may read back, and 17 always do. Subnormal doubles lie further
// apart, and are tried from one digit up.
scientific shortest_digits(double value) {
    char text[40];
    int first = value < std::numeric_limits<double>::min() ? 1 : 15;
    for (int precision = first; precision < 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
        if (std::strtod(text, nullptr) == value) return read_scientific(text);
    }
    std::snprintf(text, sizeof text, "%.16e", value);
    return read_scientific(text);
}

std::string format_integral(double value);

// A number that is not an integer: its shortest digits around a decimal point.
std::string format_fraction(double value) {
    scientific form = shortest_digits(std::fabs(value));
    std::string text = value < 0 ? "-" : "";
    if (form.exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-form.exponent - 1), '0');
        text += form.digits;
        return text;
    }
    // Not an integer, so some digit stands after the point.
    std::size_t whole = static_cast<std::size_t>(form.exponent) + 1;
    if (form.digits.size() <= whole) return format_integral(value);  // not reached
    text.append(form.digits, 0, whole);
    text += '.';
    text.append(form.digits, whole, std::string::npos);
    return text;
}

// "%.0f" writes an integral double exactly: up to 309 digits and a sign.
std::string format_integral(double value) {
    char text[320];
    int length = std::snprintf(text, sizeof text, "%.0f", value);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) return "NaN";  // not reached
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace

double parse_number(const char* text, std::size_t length) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::size_t at = 0;
    while (at < length && is_xml_space(text[at])) ++at;
    bool negative = at < length && text[at] == '-';
    if (negative) ++at;
    std::size_t start = at;
    while (at < length && is_digit(text[at])) ++at;
    std::size_t whole_digits = at - start;
    bool has_point = at < length && text[at] == '.';
    std::size_t fraction_digits = 0;
    if (has_point) {
        ++at;
        while (at < length && is_digit(text[at])) ++at, ++fraction_digits;
    }
    std::size_t end = at;
    while (at < length && is_xml_space(text[at])) ++at;
    if (at != length || whole_digits + fraction_digits == 0) return nan;
    double magnitude = !has_point && whole_digits <= exact_integer_digits ? integer_value(text + start, whole_digits)
                                                                          : decimal_value(text + start, end - start);
    return negative ? -magnitude : magnitude;
}

std::string format_number(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0) return "0";
    if (value == std::trunc(value)) return format_integral(value);
    return format_fraction(value);
}

std::int32_t parse_int(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && is_c_space(text[at])) ++at;
    bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    // Accumulate as a negative number, whose range includes the lowest integer.
    std::int32_t value = 0;
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    for (; at < text.size() && is_digit(text[at]); ++at) {
        std::int32_t digit = text[at] - '0';
        if (value < (lowest + digit) / 10) return negative ? lowest : std::numeric_limits<std::int32_t>::max();
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == lowest ? std::numeric_limits<std::int32_t>::max() : -value;
}

std::int32_t double_to_int(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::string format_int(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

}  // namespace xpath
