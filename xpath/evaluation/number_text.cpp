// Number conversions of the evaluation layer.
#include "number_text.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace xpath {
namespace {

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skip_digits(const std::string& text, std::size_t at) {
    while (at < text.size() && is_digit(text[at])) ++at;
    return at;
}

// The length of the longest prefix that has the form of a decimal floating number.
std::size_t float_prefix_length(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && is_space(text[at])) ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t digits_start = at;
    at = skip_digits(text, at);
    bool has_digits = at > digits_start;
    if (at < text.size() && text[at] == '.') {
        std::size_t fraction_start = at + 1;
        std::size_t fraction_end = skip_digits(text, fraction_start);
        if (has_digits || fraction_end > fraction_start) {
            has_digits = true;
            at = fraction_end;
        }
    }
    if (!has_digits) return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        std::size_t exponent_end = skip_digits(text, exponent);
        if (exponent_end > exponent) at = exponent_end;
    }
    return at;
}

}  // namespace

std::int32_t parse_int(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && is_space(text[at])) ++at;
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

double parse_double(const std::string& text) {
    std::size_t length = float_prefix_length(text);
    if (length == 0) return 0.0;
    return std::strtod(text.substr(0, length).c_str(), nullptr);
}

std::int32_t double_to_int(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::string format_int(std::int32_t value) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

std::string format_double(double value) {
    char buffer[80];
    int length = std::snprintf(buffer, sizeof buffer, "%f", value);
    std::string text;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        text.assign(buffer, static_cast<std::size_t>(length));
    } else if (length > 0) {
        // Magnitudes from about 1e71 up do not fit the buffer; they still get their whole text.
        text.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(&text[0], text.size(), "%f", value);
        text.resize(static_cast<std::size_t>(length));
    }
    if (text.find('.') == std::string::npos) return text;  // inf, nan
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace xpath
