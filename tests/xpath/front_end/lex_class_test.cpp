// The byte table, the display names and the class predicates.
#include <gtest/gtest.h>

#include <string>

#include "front_end/lex_class.hpp"

using xpath::lex_class;

TEST(lex_class, byte_table_by_ranges) {
    // The rule for every byte, written as ranges; each byte is checked once.
    auto expected = [](int b) -> int {
        if (b == 0) return 0;
        if (b == 0x09 || b == 0x0A || b == 0x0D || b == 0x20) return 2;
        if (b >= '0' && b <= '9') return 3;
        if (b == 0xB7) return 5;
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80) return 4;  // UTF-8 bytes name characters
        const std::string punctuation = "/@.-_:;\"'$()*+,<>=[]|!";
        std::size_t at = punctuation.find(static_cast<char>(b));
        return at == std::string::npos ? 1 : static_cast<int>(6 + at);
    };
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(xpath::code_of(xpath::char_class_table[b]), expected(b));
    }
    EXPECT_EQ(xpath::char_class('\xB7'), lex_class::extender);  // signed char reads as its byte
    EXPECT_EQ(xpath::char_class('\xF7'), lex_class::base_char);
}

TEST(lex_class, display_names) {
    struct row {
        std::int32_t code;
        const char* name;
    };
    const row rows[] = {
        {-1, "???"}, {0, "null"}, {1, "<small>none</small>"}, {26, "or character (|)"}, {27, "exclamation (!)"},
        {28, "NCName"}, {29, "Number"}, {30, "literal"}, {31, "::"}, {36, ">="}, {37, "or"}, {42, "ancestor-or-self"},
        {53, "self"}, {54, "processing-instruction"}, {57, "text"}, {58, "???"}, {1000, "???"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_STREQ(xpath::lex_class_name(r.code), r.name);
    }
}

TEST(lex_class, axis_and_node_type_ranges) {
    for (std::int32_t code = -1; code <= 59; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(xpath::is_axis_class(code), code >= 41 && code <= 53);
        EXPECT_EQ(xpath::is_node_type_class(code), code >= 54 && code <= 57);
    }
}
