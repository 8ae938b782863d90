// Tests of the counted 16-bit formatter: what the count decides (terminator,
// exact fit, cut text), the conversions with their flags, width and precision,
// and the calls refused with -1. Untouched buffer characters show as '#'.
#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <iterator>
#include <string>
#include <string_view>

#include "simulator/wide_text.hpp"
#include "simulator/windows_ce_api.hpp"

using namespace std::literals;

namespace {

constexpr std::size_t buffer_chars = 64;

// The variadic form over the counted formatter, as the program's one caller
// (the fatal report) uses it.
int format_counted(WCHAR* buffer, std::size_t count, const WCHAR* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = _vsnwprintf(buffer, count, format, arguments);
    va_end(arguments);
    return result;
}

struct outcome {
    int result;
    std::u16string buffer;  // all of it, so writes past the text show
};

template <typename... Args>
outcome format_with_count(std::size_t count, const WCHAR* format, Args... args) {
    std::u16string buffer(buffer_chars, u'#');
    int result = format_counted(&buffer[0], count, format, args...);
    return {result, buffer};
}

// `written` followed by untouched characters.
std::u16string buffer_of(std::u16string_view written) {
    return std::u16string(written) + std::u16string(buffer_chars - written.size(), u'#');
}

struct conversion_row {
    std::string format;
    outcome got;
    std::u16string expected;
};

template <typename... Args>
conversion_row formats(const WCHAR* format, std::u16string expected, Args... args) {
    return {device_simulator::printable_utf8(format), format_with_count(buffer_chars, format, args...), expected};
}

void check_conversions(const conversion_row* rows, std::size_t row_count) {
    for (std::size_t i = 0; i < row_count; ++i) {
        SCOPED_TRACE(rows[i].format);
        EXPECT_EQ(rows[i].got.result, static_cast<int>(rows[i].expected.size()));
        EXPECT_EQ(rows[i].got.buffer, buffer_of(rows[i].expected + u'\0'));
    }
}

}  // namespace

TEST(wide_format, count_decides_terminator_and_result) {
    struct row { const WCHAR* format; int argument; std::size_t count; int result; std::u16string_view written; };
    const row rows[] = {
        {u"", 0, 0, 0, u""sv},           // empty text fits in no room at all
        {u"", 0, 1, 0, u"\0"sv},
        {u"abc", 0, 4, 3, u"abc\0"sv},
        {u"abc", 0, 3, 3, u"abc"sv},     // exact fit: no terminator
        {u"abc", 0, 2, -1, u"ab"sv},
        {u"abc", 0, 0, -1, u""sv},
        {u"%d", 12345, 3, -1, u"123"sv},  // cut inside a conversion
        {u"%-6d|", 1, 4, -1, u"1   "sv},
        {u"%2147483647d", 7, 4, -1, u"    "sv},  // the largest width: only what fits is written
        {u"%.2147483647d", 7, 4, -1, u"0000"sv},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(device_simulator::printable_utf8(r.format) + " count " + std::to_string(r.count));
        outcome got = format_with_count(r.count, r.format, r.argument);
        EXPECT_EQ(got.result, r.result);
        EXPECT_EQ(got.buffer, buffer_of(r.written));
    }
}

TEST(wide_format, fatal_report_fits_its_buffer) {
    WCHAR text[1024];
    int length = format_counted(text, 1024, u"Memory allocation failed!\nLine: %d\nError: %d", 5059, 8);
    const std::u16string expected = u"Memory allocation failed!\nLine: 5059\nError: 8";
    ASSERT_EQ(length, static_cast<int>(expected.size()));
    EXPECT_EQ(std::u16string(text, length + 1), expected + u'\0');
}

TEST(wide_format, integers) {
    const conversion_row rows[] = {
        formats(u"%d|%.0d|%.0x", u"0||", 0, 0, 0u),  // precision 0 prints no digits for zero
        formats(u"%d|%i", u"-2147483648|2147483647", INT_MIN, INT_MAX),
        formats(u"%5d|%-5d|%05d|%-05d", u"   42|42   |00042|42   ", 42, 42, 42, 42),
        formats(u"%05d|%+d|% d|%+ d|%+d", u"-0042|+5| 5|+5|-5", -42, 5, 5, 5, -5),
        formats(u"%8.3d|%08.3d|%.3d", u"     007|     007|-007", 7, 7, -7),  // a precision cancels '0'
        formats(u"%*d|%-*d|%*d|", u"   42|42   |42   |", 5, 42, 5, 42, -5, 42),  // negative '*' width left-justifies
        formats(u"%.*d|%.*d", u"007|7", 3, 7, -3, 7),                        // negative '*' precision is none
        formats(u"%u|%x|%X|%o", u"4294967295|ff|FF|17", UINT_MAX, 255u, 255u, 15u),
        formats(u"%#x|%#X|%#x|%#o|%#o|%#.3o", u"0xff|0XFF|0|010|0|010", 255u, 255u, 0u, 8u, 0u, 8u),
        formats(u"%#06x|%+u|% x", u"0x00ff|5|5", 255u, 5u, 5u),  // sign flags apply to %d and %i only
        formats(u"%hd|%hu", u"-1|5", 65535, 65541u),
        formats(u"%ld|%lu", u"-7|7", -7L, 7UL),
        formats(u"%lld|%I64u", u"-9223372036854775808|18446744073709551615", LLONG_MIN, ULLONG_MAX),
        formats(u"%llx|%I64X|%I64d", u"ffffffffff|ABCDEF0123|-1", 0xFFFFFFFFFFULL, 0xABCDEF0123ULL, -1LL),
    };
    check_conversions(rows, std::size(rows));
}

TEST(wide_format, characters_strings_and_pointers) {
    const WCHAR unterminated[3] = {u'x', u'y', u'z'};  // a precision must stop the reading
    const WCHAR* no_text = nullptr;
    const char* no_bytes = nullptr;
    const std::u16string pointer = std::u16string(2 * sizeof(void*) - 6, u'0') + u"12AB9F";
    const conversion_row rows[] = {
        formats(u"%c%c|%3c|%-3c|%hc", u"a\u00E4|  x|x  |\u00E4", u'a', u'\u00E4', u'x', u'x', '\xE4'),
        formats(u"%s|%ls|%.2s|%5s|%-5s|", u"abc|def|ab|  abc|abc  |", u"abc", u"def", u"abc", u"abc", u"abc"),
        formats(u"%hs|%.1hs|%3hs", u"a\u00E4b|a| ab", "a\xE4" "b", "ab", "ab"),  // each byte one character
        formats(u"%s|%hs|%.3s", u"(null)|(null)|(nu", no_text, no_bytes, no_text),
        formats(u"%.3s|%.2s", u"xyz|xy", unterminated, unterminated),
        formats(u"%p|%%|100%%", pointer + u"|%|100%", reinterpret_cast<void*>(0x12AB9F)),
    };
    check_conversions(rows, std::size(rows));
}

TEST(wide_format, refused_calls_keep_what_was_written_unterminated) {
    struct row { const WCHAR* format; int argument; std::u16string_view written; };
    const row rows[] = {
        {u"ab%", 0, u"ab"sv},  // a '%' ending the format
        {u"ab%f", 0, u"ab"sv},
        {u"ab%n", 0, u"ab"sv},
        {u"ab%5%", 0, u"ab"sv},  // only "%%" prints a '%'
        {u"ab%lls", 0, u"ab"sv},
        {u"ab%I32d", 0, u"ab"sv},
        {u"ab%lp", 0, u"ab"sv},
        {u"ab%2147483648d", 0, u"ab"sv},  // width one beyond int
        {u"ab%.2147483648d", 0, u"ab"sv},
        {u"ab%*d", INT_MIN, u"ab"sv},     // a '*' width with no positive counterpart
        {u"%d%q", 7, u"7"sv},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(device_simulator::printable_utf8(r.format));
        outcome got = format_with_count(buffer_chars, r.format, r.argument);
        EXPECT_EQ(got.result, -1);
        EXPECT_EQ(got.buffer, buffer_of(r.written));
    }
}

TEST(wide_format, null_buffer_and_format) {
    EXPECT_EQ(format_counted(nullptr, 0, u""), 0);
    EXPECT_EQ(format_counted(nullptr, 0, u"%d", 1), -1);
    EXPECT_EQ(format_counted(nullptr, 8, u"x"), -1);  // must not write through null
    WCHAR buffer[2] = {u'#', u'#'};
    EXPECT_EQ(format_counted(buffer, 2, nullptr), -1);
    EXPECT_EQ(buffer[0], u'#');
}
