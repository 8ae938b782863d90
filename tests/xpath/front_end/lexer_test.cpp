// The scanner and refinement on expressions: every kind of lexeme, the
// keywords, the joined operators and the spaces between them, and where each
// lexeme stands.
#include <gtest/gtest.h>

#include <cstring>

#include "recording_front_end.hpp"
#include "front_end/lexer.hpp"

using test_support::lexemes_of;
using test_support::recording_front_end;
using strings = std::vector<std::string>;

namespace {

strings scanned(const char* expression) {
    recording_front_end front_end(expression);
    front_end.scan();
    return lexemes_of(*front_end.walker);
}

strings refined(const char* expression) {
    recording_front_end front_end(expression);
    front_end.scan();
    xpath::refine_lexemes(*front_end.walker);
    return lexemes_of(*front_end.walker);
}

}  // namespace

TEST(lexer, scanning) {
    struct row {
        const char* expression;
        strings lexemes;
    };
    const row rows[] = {
        {"", {}},
        {"'unterminated", {}},
        {"a 'unterminated", {"28 a", "2  "}},
        {"/Settings/Language/text()",
         {"6 /", "28 Settings", "6 /", "28 Language", "6 /", "57 text", "16 (", "17 )"}},
        {"text ()", {"57 text", "2  ", "16 (", "17 )"}},
        {"text", {"57 text"}},
        {"a-b", {"28 a-b"}},
        {"a - b", {"28 a", "2  ", "9 -", "2  ", "28 b"}},
        {"1-2", {"29 1", "9 -", "29 2"}},
        {"-a", {"9 -", "28 a"}},
        {"a.b_c\xB7" "d9", {"28 a.b_c\xB7" "d9"}},
        {"_x", {"28 _x"}},
        {"\xB7x", {"5 \xB7", "28 x"}},
        {".5", {"29 .5"}},
        {". ", {"8 .", "2  "}},
        {"a.", {"28 a."}},
        {"1.", {"29 1."}},
        {"1..2", {"29 1.", "29 .2"}},
        {"1.5.6", {"29 1.5", "29 .6"}},
        {".", {"8 ."}},
        {"..", {"8 .", "8 ."}},
        {"ns:a", {"28 ns", "11 :", "28 a"}},
        {"child::a", {"44 child", "11 :", "11 :", "28 a"}},
        {"'say \"hi\"'", {"30 say \"hi\""}},
        {"\"it's\"", {"30 it's"}},
        {"''", {"30 "}},
        {"'a'b", {"30 a", "28 b"}},
        {"or and mod div", {"37 or", "2  ", "38 and", "2  ", "39 mod", "2  ", "40 div"}},
        {"Or", {"28 Or"}},  // case matters
        {"node child div", {"56 node", "2  ", "44 child", "2  ", "40 div"}},
        {"processing-instruction('x')", {"54 processing-instruction", "16 (", "30 x", "17 )"}},
        {"ancestor-or-self::*", {"42 ancestor-or-self", "11 :", "11 :", "18 *"}},
        {"caf\xC3\xA9 \xE6\x96\x87", {"28 caf\xC3\xA9", "2  ", "28 \xE6\x96\x87"}},  // UTF-8 names are names
        {"#%&", {"1 #", "1 %", "1 &"}},
        {"@$;,|[]", {"7 @", "15 $", "12 ;", "20 ,", "26 |", "24 [", "25 ]"}},
        {"\t\n\r ", {"2 \t", "2 \n", "2 \r", "2  "}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(scanned(r.expression), r.lexemes);
    }
}

TEST(lexer, refinement) {
    struct row {
        const char* expression;
        strings lexemes;
    };
    const row rows[] = {
        {"", {}},
        {"text ()", {"57 text", "16 (", "17 )"}},
        {"a - b", {"28 a", "9 -", "28 b"}},
        {"//a", {"32 //", "28 a"}},
        {"/ /", {"6 /", "6 /"}},
        {"///", {"32 //", "6 /"}},
        {"a/..", {"28 a", "6 /", "33 .."}},
        {"...", {"33 ..", "8 ."}},
        {"child::a", {"44 child", "31 ::", "28 a"}},
        {"a<=b", {"28 a", "35 <=", "28 b"}},
        {"a>=b", {"28 a", "36 >=", "28 b"}},
        {"a!=b", {"28 a", "34 !=", "28 b"}},
        {"a! =b", {"28 a", "27 !", "23 =", "28 b"}},
        {"a< =b", {"28 a", "21 <", "23 =", "28 b"}},
        {"a=<b", {"28 a", "23 =", "21 <", "28 b"}},
        {"a   ", {"28 a"}},
        {"   ", {}},
        {"  a", {"28 a"}},
        {"!", {"27 !"}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(refined(r.expression), r.lexemes);
    }
}

TEST(lexer, offsets_and_the_unterminated_literal) {
    struct row {
        const char* expression;
        std::vector<std::int32_t> offsets;
        std::int32_t unterminated;
    };
    const row rows[] = {
        {"a <= 'x' ", {0, 2, 5}, -1},      // a joined operator stands where its first byte does; a literal at its quote
        {"  f(\"it's", {2, 3}, 4},        // the literal that never closes is left out, its quote kept
        {"'", {}, 0},
        {"''", {0}, -1},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        recording_front_end front_end(r.expression);
        front_end.scan();
        xpath::refine_lexemes(*front_end.walker);
        std::vector<std::int32_t> offsets;
        for (const xpath::lexeme* l = front_end.walker->first(); l; l = l->next == &front_end.walker->sentinel ? nullptr : l->next)
            offsets.push_back(l->offset);
        EXPECT_EQ(offsets, r.offsets);
        EXPECT_EQ(front_end.walker->unterminated_literal_offset, r.unterminated);
    }
}

TEST(lexer, classify_name) {
    struct row {
        const char* name;
        xpath::lex_class kind;
    };
    using xpath::lex_class;
    const row rows[] = {
        {"text", lex_class::type_text},
        {"comment", lex_class::type_comment},
        {"self", lex_class::axis_self},
        {"or", lex_class::kw_or},
        {"texts", lex_class::ncname},
        {"tex", lex_class::ncname},
        {"", lex_class::ncname},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(xpath::classify_name(r.name, std::strlen(r.name)), r.kind);
    }
    EXPECT_EQ(xpath::classify_name("divide", 3), lex_class::kw_div);  // only `count` bytes count
}
