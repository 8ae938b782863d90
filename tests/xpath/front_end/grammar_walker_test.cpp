// The grammar walker's recorded actions, expression by expression. The
// executor replays the log by position, so each list must match exactly.
#include <gtest/gtest.h>

#include "recording_front_end.hpp"
#include "xpath/front_end/xpath_errors.hpp"

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

const actions main_level = {"syntax_error main level"};

}  // namespace

TEST(grammar_walker, worked_example_records_33_actions_in_48_entries) {
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
    EXPECT_EQ(entries, 48u);
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
        {"/a/child", actions{act(2, 1, 0), act(1, 28)} + whole(21)},  // "a/child" fails its trial
        {"a[", name_path("a", 0) + whole(21)},                         // the predicate trial fails
        {"f(1", name_path("f", 0) + whole(21)},                        // not a call: the filter trial fails
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
        {"a/node/b", name_step("a") + actions{act(13, 1), act(5, 20), act(7, 29, 56), act(4, 7), act(3, 5, 7),
                                              act(3, 3, 0), act(1, 27)} + whole(21)},
        {"a/text ()", name_step("a") + name_step("text") + actions{act(3, 5, 7), act(3, 3, 0), act(1, 27)} +
                          whole(21)},
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
        {"text()", actions{act(208, 0, 0, "text"), act(206, 17), act(16, 0), act(15, 12), act(20, 25)} + whole(22)},
        {"f(1, 'x')", call_f + number("1") + whole(22) + actions{act(17, 0), act(15, 10, 0, "x"), act(20, 25)} +
                          whole(22) + actions{act(17, 0), act(16, 1, 2), act(15, 12), act(20, 25)} + whole(22)},
        {"count(/)", actions{act(208, 0, 0, "count"), act(206, 17), act(2, 1, 2), act(1, 28)} + whole(21) +
                         actions{act(17, 0), act(16, 1, 1), act(15, 12), act(20, 25)} + whole(22)},
        {"f()/", call_f + actions{act(16, 0), act(15, 12), act(20, 25)} + name_step("f") +
                     actions{act(3, 5, 5), act(1, 27)} + whole(21)},
        {"f()/a", call_f + actions{act(16, 0), act(15, 12), act(20, 25)} + name_step("a") +
                      actions{act(3, 5, 5)} + whole(23)},
        {"(1)[2]", number("1") + whole(22) + actions{act(15, 9)} + predicate_2 + actions{act(20, 26)} + whole(22)},
        {"$x", actions{act(208, 0, 0, "x"), act(206, 17), act(36, 0), act(15, 8), act(20, 25)} + whole(22)},
        {"'it''s'", actions{act(15, 10, 0, "it"), act(20, 25)} + whole(22)},  // the rest is left over
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(decode_actions(r.expression), r.expected);
    }
}

TEST(grammar_walker, operators) {
    actions after_relational = {act(23, 35), act(22, 45), act(21, 43), act(14, 0)};
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
        {"1 = 1 = 1", relational_1 + relational_1 + actions{act(23, 33), act(22, 45), act(21, 43), act(14, 0)}},
        {"1 != 1", relational_1 + relational_1 + actions{act(23, 34), act(22, 45), act(21, 43), act(14, 0)}},
        {"1 < 2 < 3", number_term("1") + actions{act(25, 38)} + number_term("2") +
                          actions{act(25, 38), act(24, 48)} + after_relational},
        {"1 >= 2", number_term("1") + actions{act(25, 38)} + number_term("2") + actions{act(25, 38), act(24, 51)} +
                       after_relational},
        {"2*3*4", number("2") + actions{act(19, 22), act(18, 36), act(27, 52)} + number("3") +
                      actions{act(19, 22), act(18, 36), act(27, 52), act(26, 55), act(25, 38), act(24, 47)} +
                      after_relational},
        {"--1", number("1") + actions{act(19, 22), act(18, 36), act(27, 52), act(27, 53), act(27, 53), act(26, 54),
                                      act(25, 38), act(24, 47)} + after_relational},
        {"a or b or c", name_path("a", 0) + actions{act(19, 21), act(18, 36), act(27, 52), act(26, 54), act(25, 38),
                                                    act(24, 47), act(23, 35), act(22, 45)} +
                            name_path("b", 17) + actions{act(19, 21), act(18, 36), act(27, 52), act(26, 54),
                                                         act(25, 38), act(24, 47), act(23, 35), act(22, 45),
                                                         act(21, 44), act(14, 0)}},
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

TEST(grammar_walker, expressions_that_cannot_be_decoded) {
    const char* expressions[] = {"", "   ", "a/", "a/child", "=", "#", "(1", "$", "a/@", "ns:"};
    for (const char* expression : expressions) {
        SCOPED_TRACE(expression);
        EXPECT_EQ(decode_actions(expression), main_level);
    }
}

TEST(grammar_walker, entry_bound) {
    struct row {
        std::string expression;
        const char* outcome;  // "ok" or the exception
        std::uint32_t entries;
    };
    auto nested_parentheses = [](int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); };
    auto nested_predicates = [](int depth) {
        std::string text = "a";
        for (int i = 0; i < depth; ++i) text = "a[" + text + "]";
        return text;
    };
    const row rows[] = {
        {nested_parentheses(8), "ok", 7154},
        {nested_parentheses(9), "syntax_overflow", 0},
        {nested_predicates(7), "ok", 0},
        {nested_predicates(8), "syntax_overflow", 0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        std::uint32_t entries = 0;
        actions result = decode_actions(r.expression.c_str(), &entries);
        if (std::string(r.outcome) == "ok") {
            ASSERT_FALSE(result.empty());
            EXPECT_EQ(result.back(), act(14, 0));
            EXPECT_LE(entries, 10000u);
            if (r.entries) {
                EXPECT_EQ(entries, r.entries);
            }
        } else {
            EXPECT_EQ(result, actions{r.outcome});
        }
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
        EXPECT_EQ(std::string(xpath::syntax_error(text.c_str()).text()), std::string(r.kept, 'x'));
    }
}
