// Tests of wcstombs: UTF-8 bytes counted and cut only between characters, the
// terminator only after the whole text, and -1 for text that is not UTF-16.
// Untouched destination bytes show as '#'.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "simulator/wide_text.hpp"
#include "simulator/windows_ce_api.hpp"

using namespace std::literals;

namespace {

constexpr std::size_t buffer_bytes = 16;
constexpr std::size_t failed = static_cast<std::size_t>(-1);

std::string buffer_of(std::string_view written) {
    return std::string(written) + std::string(buffer_bytes - written.size(), '#');
}

}  // namespace

TEST(multibyte_text, writes_whole_characters_within_max_bytes) {
    struct row { const WCHAR* source; std::size_t max_bytes; std::size_t result; std::string_view written; };
    const row rows[] = {
        {u"", 0, 0, ""sv},  // no room, not even for the terminator
        {u"", 1, 0, "\0"sv},
        {u"abc", 4, 3, "abc\0"sv},
        {u"abc", 3, 3, "abc"sv},  // exact fit: no terminator
        {u"abc", 2, 2, "ab"sv},
        {u"\u00E4", 3, 2, "\xC3\xA4\0"sv},
        {u"\u00E4", 2, 2, "\xC3\xA4"sv},
        {u"a\u00E4", 2, 1, "a"sv},  // half of the a-umlaut is not written, nor a terminator
        {u"\U0001F600", 4, 4, "\xF0\x9F\x98\x80"sv},  // a surrogate pair is one 4-byte character
        {u"\U0001F600", 3, 0, ""sv},
        {u"\u20AC\U0001F600", 6, 3, "\xE2\x82\xAC"sv},
        {u"a\u00E4\u20AC\U0001F600", 11, 10, "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\0"sv},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(device_simulator::printable_utf8(r.source) + " in " + std::to_string(r.max_bytes));
        std::string buffer(buffer_bytes, '#');
        EXPECT_EQ(wcstombs(&buffer[0], r.source, r.max_bytes), r.result);
        EXPECT_EQ(buffer, buffer_of(r.written));
    }
}

TEST(multibyte_text, null_destination_counts_the_whole_text) {
    EXPECT_EQ(wcstombs(nullptr, u"", 0), 0u);
    EXPECT_EQ(wcstombs(nullptr, u"a\u00E4\u20AC\U0001F600", 1), 10u);
}

TEST(multibyte_text, unpaired_surrogate_fails_without_writing) {
    const WCHAR* rows[] = {
        u"\xD800",
        (u"a\xD800" u"b"),
        u"\xDC00",
        u"\xD800\xD800",
        u"\xDE00\xD83D",           // a pair in the wrong order
        u"abcdefgh\xDC00",         // beyond max_bytes, still refused
    };
    for (const WCHAR* source : rows) {
        SCOPED_TRACE(device_simulator::printable_utf8(source));
        std::string buffer(buffer_bytes, '#');
        EXPECT_EQ(wcstombs(&buffer[0], source, 4), failed);
        EXPECT_EQ(buffer, buffer_of(""sv));
        EXPECT_EQ(wcstombs(nullptr, source, 0), failed);
    }
}
