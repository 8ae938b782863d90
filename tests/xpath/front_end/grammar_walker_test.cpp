// The grammar walker's recorded actions, expression by expression. The
// executor replays the log by position, so each list must match exactly.
#include <gtest/gtest.h>

#include "recording_front_end.hpp"
#include "front_end/xpath_errors.hpp"

using test_support::decode_actions;
using actions = std::vector<std::string>;

namespace {

std::string act(int rule, int sub, int variant = 0, const std::string& literal = "") {
    std::string text = "(" + std::to_string(rule) + ", " + std::to_string(sub) + ", " + std::to_string(variant);
    return text + (literal.empty() ? ")" : ", \"" + literal + "\")");
}

actions operator+(actions a, const actions& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// From a path expression of the given form up to OrExpr, each level without an operator.
actions up_from_path(int path_form) {
    return {act(19, path_form), act(18, 36), act(27, 52), act(26, 54), act(25, 38),
            act(24, 47), act(23, 35), act(22, 45), act(21, 43)};
}

// Up from a path expression to a whole expression.
actions whole(int path_form) {
    return up_from_path(path_form) + actions{act(14, 0)};
}

// A step "name" on the default axis, without predicates.
actions name_step(const std::string& name) {
    return {act(13, 1), act(5, 20), act(208, 0, 0, name), act(206, 17), act(37, 15), act(7, 32), act(4, 7, 0)};
}

// A relative location path of one name step whose first action is at log position m.
actions name_path(const std::string& name, int m) {
    return name_step(name) + actions{act(3, 5, m), act(1, 27)};
}

// A number as a filter expression.
actions number(const std::string& text) {
    return {act(15, 11, 0, text), act(20, 25)};
}

// The actions from a filter expression up to the operand of an additive operator.
actions number_term(const std::string& text) {
    return number(text) + actions{act(19, 22), act(18, 36), act(27, 52), act(26, 54)};
}


}  // namespace

TEST(grammar_walker, worked_example_records_33_actions_in_28_entries) {
    std::uint32_t entries = 0;
    actions expected = {
        act(13, 1), act(5, 20), act(208, 0, 0, "Settings"), act(206, 17), act(37, 15), act(7, 32), act(4, 7),
        act(13, 1), act(5, 20), act(208, 0, 0, "Language"), act(206, 17), act(37, 15), act(7, 32), act(4, 7),
        act(13, 1), act(5, 20), act(7, 29, 57), act(4, 7), act(3, 5, 14), act(3, 3, 7), act(3, 3, 0),
        act(2, 0, 0), act(1, 28), act(19, 21), act(18, 36), act(27, 52), act(26, 54), act(25, 38),
        act(24, 47), act(23, 35), act(22, 45), act(21, 43), act(14, 0),
    };
    EXPECT_EQ(decode_actions("/Settings/Language/text()", &entries), expected);
    EXPECT_EQ(expected.size(), 33u);
    EXPECT_EQ(entries, 28u);
}

TEST(grammar_walker, location_paths) {
    struct row {
        const char* expression;
        actions expected;
    };
    const row rows[] = {
        {"/", actions{act(2, 1, 0), act(1, 28)} + whole(21)},
        {"//a", name_step("a") + actions{act(3, 5, 0), act(10, 0), act(2, 2, 0), act(1, 28)} + whole(21)},
        {"a/b", name_step("a") + name_step("b") + actions{act(3, 5, 7), act(3, 3, 0), act(1, 27)} + whole(21)},
        {"a//b", name_step("a") + name_step("b") + actions{act(3, 5, 7), act(3, 4, 0), act(1, 27)} + whole(21)},
        {"/a/child", name_step("a") + name_step("child") + actions{act(3, 5, 7), act(3, 3, 0), act(2, 0, 0), act(1, 28)} +
                         whole(21)},  // an axis name without "::" is a name
        {"child::a", actions{act(6, 0, 44), act(5, 19), act(208, 0, 0, "a"), act(206, 17), act(37, 15),
                             act(7, 32), act(4, 7), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"@*", actions{act(5, 18), act(37, 13), act(7, 32), act(4, 7), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"ns:*", actions{act(13, 1), act(5, 20), act(37, 14), act(7, 32), act(4, 7), act(3, 5, 0), act(1, 27)} +
                     whole(21)},
        {"ns:a", actions{act(13, 1), act(5, 20), act(207, 0, 0, "ns"), act(208, 0, 0, "a"), act(206, 16),
                         act(37, 15), act(7, 32), act(4, 7), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"..", actions{act(12, 1), act(4, 6), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"./a", actions{act(12, 0), act(4, 6)} + name_step("a") + actions{act(3, 5, 2), act(3, 3, 0), act(1, 27)} +
                    whole(21)},
        {"a/text()", name_step("a") + actions{act(13, 1), act(5, 20), act(7, 29, 57), act(4, 7), act(3, 5, 7),
                                              act(3, 3, 0), act(1, 27)} + whole(21)},
        {"a/node/b", name_step("a") + name_step("node") + name_step("b") +
                         actions{act(3, 5, 14), act(3, 3, 7), act(3, 3, 0), act(1, 27)} + whole(21)},
        {"a/text ()", name_step("a") + actions{act(13, 1), act(5, 20), act(7, 29, 57), act(4, 7), act(3, 5, 7),
                                               act(3, 3, 0), act(1, 27)} + whole(21)},
        {"a/processing-instruction('x')",
         name_step("a") + actions{act(13, 1), act(5, 20), act(7, 31, 54, "x"), act(4, 7), act(3, 5, 7), act(3, 3, 0),
                                  act(1, 27)} + whole(21)},
        {"a/processing-instruction()",
         name_step("a") + actions{act(13, 1), act(5, 20), act(7, 30, 54), act(4, 7), act(3, 5, 7), act(3, 3, 0),
                                  act(1, 27)} + whole(21)},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(decode_actions(r.expression), r.expected);
    }
}

TEST(grammar_walker, predicates_calls_and_filters) {
    actions predicate_1 = number("1") + whole(22) + actions{act(9, 0), act(8, 0)};
    actions predicate_2 = number("2") + whole(22) + actions{act(9, 0), act(8, 0)};
    actions call_f = {act(208, 0, 0, "f"), act(206, 17)};
    struct row {
        const char* expression;
        actions expected;
    };
    const row rows[] = {
        {"a[1][2]", actions{act(13, 1), act(5, 20), act(208, 0, 0, "a"), act(206, 17), act(37, 15), act(7, 32)} +
                        predicate_1 + predicate_2 + actions{act(4, 7, 2), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"f()", call_f + actions{act(16, 0), act(15, 12), act(20, 25)} + whole(22)},
        // A node type before "(" is a node test wherever it stands, never a call.
        {"text()", actions{act(13, 1), act(5, 20), act(7, 29, 57), act(4, 7), act(3, 5, 0), act(1, 27)} + whole(21)},
        {"comment() | node()", actions{act(13, 1), act(5, 20), act(7, 29, 55), act(4, 7), act(3, 5, 0), act(1, 27),
                                       act(19, 21), act(13, 1), act(5, 20), act(7, 29, 56), act(4, 7), act(3, 5, 7),
                                       act(1, 27), act(19, 21), act(18, 36), act(18, 37)} +
                                   actions{act(27, 52), act(26, 54), act(25, 38), act(24, 47), act(23, 35),
                                           act(22, 45), act(21, 43), act(14, 0)}},
        {"f(1, 'x')", call_f + number("1") + whole(22) + actions{act(17, 0), act(15, 10, 0, "x"), act(20, 25)} +
                          whole(22) + actions{act(17, 0), act(16, 1, 2), act(15, 12), act(20, 25)} + whole(22)},
        {"count(/)", actions{act(208, 0, 0, "count"), act(206, 17), act(2, 1, 2), act(1, 28)} + whole(21) +
                         actions{act(17, 0), act(16, 1, 1), act(15, 12), act(20, 25)} + whole(22)},
        {"f()/a", call_f + actions{act(16, 0), act(15, 12), act(20, 25)} + name_step("a") +
                      actions{act(3, 5, 5)} + whole(23)},
        {"(1)[2]", number("1") + whole(22) + actions{act(15, 9)} + predicate_2 + actions{act(20, 26)} + whole(22)},
        {"(1)[2][1]", number("1") + whole(22) + actions{act(15, 9)} + predicate_2 + actions{act(20, 26)} +
                          predicate_1 + actions{act(20, 26)} + whole(22)},  // each predicate over the filter before it
        {"$x", actions{act(208, 0, 0, "x"), act(206, 17), act(36, 0), act(15, 8), act(20, 25)} + whole(22)},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(decode_actions(r.expression), r.expected);
    }
}

TEST(grammar_walker, operators) {
    actions after_relational = {act(23, 35), act(22, 45), act(21, 43), act(14, 0)};
    // From a path expression of one name up to the operand of "and", and of "or".
    actions up_to_equality = {act(19, 21), act(18, 36), act(27, 52), act(26, 54), act(25, 38), act(24, 47), act(23, 35)};
    actions up_to_and = up_to_equality + actions{act(22, 45)};
    actions relational_1 = number_term("1") + actions{act(25, 38), act(24, 47)};
    struct row {
        const char* expression;
        actions expected;
    };
    const row rows[] = {
        {"1+2-3+4", number_term("1") + number_term("2") + actions{act(25, 39)} + number_term("3") +
                        actions{act(25, 42)} + number_term("4") + actions{act(25, 41), act(24, 47)} +
                        after_relational},
        {"1 - 2", number_term("1") + number_term("2") + actions{act(25, 40), act(24, 47)} + after_relational},
        {"1 = 1 != 1", relational_1 + relational_1 + actions{act(23, 33)} + relational_1 +
                           actions{act(23, 34), act(22, 45), act(21, 43), act(14, 0)}},
        {"1 != 1", relational_1 + relational_1 + actions{act(23, 34), act(22, 45), act(21, 43), act(14, 0)}},
        {"1 < 2 > 3", number_term("1") + actions{act(25, 38)} + number_term("2") + actions{act(25, 38), act(24, 48)} +
                          number_term("3") + actions{act(25, 38), act(24, 49)} + after_relational},
        {"1 >= 2", number_term("1") + actions{act(25, 38)} + number_term("2") + actions{act(25, 38), act(24, 51)} +
                       after_relational},
        {"2*3*4", number("2") + actions{act(19, 22), act(18, 36), act(27, 52)} + number("3") +
                      actions{act(19, 22), act(18, 36), act(27, 52), act(26, 55)} + number("4") +
                      actions{act(19, 22), act(18, 36), act(27, 52), act(26, 55), act(25, 38), act(24, 47)} +
                      after_relational},
        {"--1", number("1") + actions{act(19, 22), act(18, 36), act(27, 52), act(27, 53), act(27, 53), act(26, 54),
                                      act(25, 38), act(24, 47)} + after_relational},
        {"a or b or c", name_path("a", 0) + up_to_and + name_path("b", 17) + up_to_and + actions{act(21, 44)} +
                            name_path("c", 35) + up_to_and + actions{act(21, 44), act(14, 0)}},
        {"a and b and c", name_path("a", 0) + up_to_equality + name_path("b", 16) + up_to_equality +
                              actions{act(22, 46)} + name_path("c", 33) + up_to_equality +
                              actions{act(22, 46), act(21, 43), act(14, 0)}},
        {"a | b | c", name_path("a", 0) + actions{act(19, 21)} + name_path("b", 10) + actions{act(19, 21)} +
                          name_path("c", 20) + actions{act(19, 21), act(18, 36), act(18, 37), act(18, 37),
                                                       act(27, 52), act(26, 54), act(25, 38), act(24, 47)} +
                          after_relational},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(decode_actions(r.expression), r.expected);
    }
}

// Every malformed expression is refused, with the reason's name and a text
// that says what was expected where.
TEST(grammar_walker, syntax_errors_say_what_was_expected_and_where) {
    struct row {
        const char* expression;
        const char* name;
        const char* text;  // empty: not checked
    };
    const row rows[] = {
        {"", "expression_not_decoded", "main level"},
        {"   ", "expression_not_decoded", "main level"},
        {"/a b", "trailing_lexemes", "trailing lexemes: expected the end of the expression, found 'b' at column 4"},
        {"1 2", "trailing_lexemes", ""},
        {"/a/b[c > d]efg", "trailing_lexemes", ""},
        {"1e3", "trailing_lexemes", "trailing lexemes: expected the end of the expression, found 'e3' at column 2"},
        {"a]", "trailing_lexemes", ""},
        {"1 + * 2", "trailing_lexemes", ""},  // "*" after an operator is a name test
        {"and 1", "trailing_lexemes", ""},    // "and" before any operand is a name
        {".[1]", "trailing_lexemes", ""},     // "." takes no predicate
        {"f()/", "missing_step", ""},
        {"ns : a", "trailing_lexemes", ""},   // a QName holds no space
        {"a[1", "unclosed_predicate",
         "unclosed predicate: expected ']' to close the '[' at column 2, found the end of the expression"},
        {"a[b[1]", "unclosed_predicate", ""},
        {"a[", "unclosed_predicate", ""},
        {"a[1 2]", "unclosed_predicate", "unclosed predicate: expected ']' to close the '[' at column 2, found '2' at column 5"},
        {"(1", "unclosed_parenthesis", "unclosed parenthesis: expected ')' to close the '(' at column 1, found the end of the expression"},
        {"(", "unclosed_parenthesis", ""},
        {"count(a", "unclosed_call",
         "unclosed call: expected ',' or ')' in the call of 'count' at column 1, found the end of the expression"},
        {"f(1 2)", "unclosed_call", ""},
        {"f(", "unclosed_call", ""},
        {"'a", "unterminated_literal", "unterminated literal: expected the closing quote of the literal at column 1"},
        {"concat(\"a", "unterminated_literal", ""},
        {"1 +", "missing_operand", "missing operand: expected an operand, found the end of the expression"},
        {"=", "missing_operand", "missing operand: expected an operand, found '=' at column 1"},
        {"#", "missing_operand", ""},
        {"1 or", "missing_operand", ""},
        {"-", "missing_operand", ""},
        {"a | ", "missing_operand", ""},
        {"()", "missing_operand", ""},
        {"f(1,)", "missing_operand", ""},
        {"a[]", "empty_predicate", "empty predicate: expected an expression inside the '[' at column 2, found ']' at column 3"},
        {"foo::a", "unknown_axis",
         "unknown axis: expected one of the thirteen axis names before '::', found 'foo' at column 1"},
        {"a::b", "unknown_axis", ""},
        {"a/", "missing_step", "missing step: expected a location step, found the end of the expression"},
        {"//", "missing_step", ""},
        {"a/@", "missing_step", "missing step: expected a node test, found the end of the expression"},
        {"child::", "missing_step", ""},
        {"a//=", "missing_step", ""},
        {"$", "incomplete_name", "incomplete name: expected a variable name right after the '$' at column 1, found the end of the expression"},
        {"$ x", "incomplete_name", ""},
        {"ns:", "incomplete_name", ""},
        {"a/node(", "malformed_node_test", "malformed node test: expected ')' after 'node' at column 3, found the end of the expression"},
        {"a/text(1)", "malformed_node_test", ""},
        {"a/processing-instruction(1)", "malformed_node_test", ""},
        {"a/processing-instruction('x'", "malformed_node_test", ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        actions result = decode_actions(r.expression);
        ASSERT_EQ(result.size(), 1u);
        ASSERT_EQ(result[0].rfind("syntax_error ", 0), 0u) << result[0];
        std::string text = result[0].substr(13);
        EXPECT_STREQ(xpath::syntax_error_name(text.c_str()), r.name) << text;
        if (*r.text) {
            EXPECT_EQ(text, r.text);
        }
    }
}

// An axis name, a node type or an operator name stands for a name wherever
// the grammar expects one: each decodes as the same expression with a plain
// name ("x") in its place.
TEST(grammar_walker, keywords_are_names_where_a_name_is_expected) {
    struct row {
        const char* expression;
        const char* with_plain_name;
        const char* keyword;
    };
    const row rows[] = {
        {"div div div", "x div x", "div"},   {"child::child", "child::x", "child"}, {"a/text", "a/x", "text"},
        {"node/node()", "x/node()", "node"}, {"$or", "$x", "or"},               {"or(1)", "x(1)", "or"},
        {"@and", "@x", "and"},               {"p:mod", "p:x", "mod"},           {"or | or", "x | x", "or"},
        {"text ()", "text()", ""},  // a node type before "(" alone is a node test, as without the space
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        actions expected = decode_actions(r.with_plain_name);
        for (std::string& action : expected) {
            std::size_t at = action.find("\"x\"");
            if (at != std::string::npos) action.replace(at, 3, std::string("\"") + r.keyword + "\"");
        }
        EXPECT_EQ(decode_actions(r.expression), expected);
    }
}

// Decoding is linear: each further level of nesting costs the same number of
// rule entries, far below the bound, up to the nesting limit of 16 levels
// inside the whole expression; one more level overflows.
TEST(grammar_walker, nesting_costs_the_same_entries_per_level) {
    auto nest = [](const char* open, const char* close, int depth) {
        std::string text = "1";
        for (int i = 0; i < depth; ++i) text = open + text + close;
        return text;
    };
    struct form {
        const char* open;
        const char* close;
    };
    const form forms[] = {{"(", ")"}, {"a[", "]"}, {"f(", ")"}, {"f(1, ", ")"}, {"(1)[", "]"}, {"a/b[", "]"}};
    for (const form& f : forms) {
        SCOPED_TRACE(f.open);
        std::uint32_t previous = 0;
        std::uint32_t per_level = 0;
        for (int depth = 0; depth <= 16; ++depth) {
            std::uint32_t entries = 0;
            std::string expression = nest(f.open, f.close, depth);
            actions result = decode_actions(expression.c_str(), &entries);
            ASSERT_FALSE(result.empty());
            ASSERT_EQ(result.back(), act(14, 0)) << expression;
            if (depth == 2) per_level = entries - previous;
            if (depth > 2) {
                EXPECT_EQ(entries - previous, per_level) << expression;
            }
            EXPECT_LT(entries, (expression.size() + 1) * 16) << expression;
            previous = entries;
        }
        EXPECT_EQ(decode_actions(nest(f.open, f.close, 17).c_str()), actions{"syntax_overflow"});
    }
}

TEST(grammar_walker, syntax_error_text_buffer) {
    struct row {
        std::size_t length;
        std::size_t kept;
    };
    const row rows[] = {{0, 0}, {10, 10}, {198, 198}, {199, 0}, {500, 0}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.length);
        std::string text(r.length, 'x');
        EXPECT_EQ(std::string(xpath::syntax_error(xpath::syntax_code::trailing_lexemes, text.c_str()).text()), std::string(r.kept, 'x'));
    }
}
