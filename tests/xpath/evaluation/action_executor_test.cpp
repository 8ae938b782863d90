// The executor: the codes it raises and re-raises, skip mode, and the
// cursor it leaves behind.
#include <gtest/gtest.h>

#include <memory>

#include <tinyxml.h>

#include "evaluation_helpers.hpp"
#include "evaluation/action_executor.hpp"
#include "evaluation/path_evaluator.hpp"
#include "front_end/lexer.hpp"

namespace {

// Decodes an expression into an action log without executing it.
class decoded_expression : public xpath::expression_front_end {
public:
    explicit decoded_expression(const char* expression) : expression_front_end(expression) {
        xpath::scan_lexemes(reader, *walker);
        walker->decode_expression();
    }
    std::int32_t record_action(std::int32_t rule, std::int32_t sub, std::int32_t variant,
                               const char* literal) override {
        return log.record_action(rule, sub, variant, literal);
    }
    std::int32_t action_count() override { return log.action_count(); }
    xpath::action_log log;
};

}  // namespace

TEST(action_executor, error_codes_reach_the_execution_status) {
    struct row {
        const char* expression;
        std::int32_t code;
    };
    const row rows[] = {
        {"$v", 12},             // no execution for variables
        {"ns:*", -2},           // no prefix is resolved
        {"$v or 1", 3},         // a failure in an operand is re-raised under the operator's code
        {"0 or $v", 3},
        {"$v and 1", 4},
        {"1 and $v", 4},
        {"$v = 1", 5},
        {"$v < 1", 6},
        {"1 + $v", 7},
        {"1 + 2 - $v", 7},
        {"2 * $v", 8},
        {"/a | 1", 9},          // both sides of a union must be collections
        {"1 | /a", 9},
        {"/a | 'x' | /a", 9},
        {"nosuch(1)", 11},      // unknown function, re-raised as a call failure
        {"count($v)", 11},
        {"(1)/a", 9},           // a filter followed by a path must be a collection
        {"(1)[1]", 9},
    };
    TiXmlDocument document;
    document.Parse("<a><b>1</b></a>");
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::path_evaluator evaluator(document.RootElement(), r.expression);
        evaluator.evaluate();
        EXPECT_EQ(evaluator.status(), xpath::eval_status::status_execution);
        EXPECT_EQ(evaluator.caught_code(), r.code);
    }
}

TEST(action_executor, skip_mode_consumes_every_action_and_leaves_the_stack_alone) {
    const char* expressions[] = {
        "1 + 2 * 3",  "-(3)",    "/a/b[1] | //c", "count(/a, 'x')", "f(1, 2)",  "a[b = 2][3]/c",
        "(/a)[1]/b",  "(/a)//b", "p:q/@r",        "1 < 2 and 3",    "--'2.5'",  "//x/text()", "$v or 1 and $w",
    };
    for (const char* expression : expressions) {
        SCOPED_TRACE(expression);
        decoded_expression decoded(expression);
        xpath::value_stack values;
        values.push_int(99, "marker");
        xpath::evaluation_context context;
        decoded.log.move_cursor_to_last();
        xpath::action_executor(decoded.log, values, context).run_rule(xpath::grammar_rule::Expr, true);
        EXPECT_EQ(decoded.log.cursor(), -1);
        EXPECT_EQ(values.count(), 1);
        EXPECT_EQ(values.top().integer, 99);
    }
}

TEST(action_executor, values_in_written_order) {
    struct row {
        const char* expression;
        const char* text;
    };
    const row rows[] = {
        {"10 - 2 - 3", "5"},
        {"1 + 2 * 3", "7"},
        {"concat('a', 'b', 'c')", "abc"},
        {"1.5", "1.5"},
        {"15", "15"},
        {"1 = b", "true"},      // an element stands for the text below it
        {"0 = b", "false"},
        {"b/text() = 1", "true"},
        {"1 = b/text()", "true"},
        {"-'2.5'", "-2.5"},
        {"1 or $v", "true"},    // "or" and "and" stop at the operand that decides
        {"0 and $v", "false"},
        {"0 or 0 or b = 1 or $v", "true"},
        {"1 and b and 0 and $v", "false"},
    };
    TiXmlDocument document;
    document.Parse("<a><b>1</b></a>");
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::path_evaluator evaluator(document.RootElement(), r.expression);
        xpath::path_value result = evaluator.evaluate();
        EXPECT_EQ(evaluator.status(), xpath::eval_status::status_ok);
        EXPECT_EQ(result.to_string(), r.text);
    }
}

// Every operator level chains left to right. Most rows give another answer
// when the chain is evaluated right to left ("3 > 2 > 1" would be true).
TEST(action_executor, operator_chains_apply_left_to_right) {
    struct row {
        const char* expression;
        const char* outcome;
    };
    const row rows[] = {
        {"8 div 4 div 2", "ok double: 1"},
        {"100 div 10 * 2", "ok double: 20"},
        {"7 mod 4 mod 2", "ok int: 1"},
        {"2 * 3 * 4", "ok int: 24"},
        {"3 > 2 > 1", "ok bool: false"},  // true > 1 compares 1 > 1
        {"1 < 2 < 3", "ok bool: true"},
        {"3 >= 3 <= 0", "ok bool: false"},
        {"1 = 1 = 1", "ok bool: true"},
        {"1 = 2 = 0", "ok bool: true"},   // false = 0 compares false with false
        {"1 != 1 != 1", "ok bool: true"},
        {"x or y or b", "ok bool: true"},
        {"x or b or y", "ok bool: true"},
        {"b or x or y", "ok bool: true"},
        {"x or y or z", "ok bool: false"},
        {"b and b and x", "ok bool: false"},
        {"x and b and b", "ok bool: false"},
        {"b and b and b", "ok bool: true"},
        {"1 = 2 or 2 = 2 and 3 = 4 or 4 < 5", "ok bool: true"},  // "and" binds tighter than "or"
        {"1 + 2 = 3 = (4 > 3)", "ok bool: true"},
        {"1 + 2 * 3 - 4 div 2", "ok double: 5"},
        {"$v or 1 or 1", "execution 3"},  // a failure anywhere in a chain is the chain's own
        {"1 = 1 = $v", "execution 5"},
        {"2 * 3 * $v", "execution 8"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(test_support::describe("<a><b>1</b></a>", r.expression), r.outcome);
    }
}

// Number literals keep their value: a "." makes a double read in full
// precision, and an integer beyond 32 bits becomes a double, never a clamp.
TEST(action_executor, number_literals_keep_their_value) {
    struct row {
        const char* expression;
        xpath::value_kind kind;
        double value;
    };
    using xpath::value_kind;
    const row rows[] = {
        {"2147483647", value_kind::kind_int, 2147483647.0},
        {"2147483648", value_kind::kind_double, 2147483648.0},
        {"-2147483648", value_kind::kind_double, -2147483648.0},
        {"12345678901234567890", value_kind::kind_double, 12345678901234567890.0},
        {"0000000000000000000001", value_kind::kind_int, 1.0},
        {"0.1", value_kind::kind_double, 0.1},
        {"3.14159265358979323846", value_kind::kind_double, 3.14159265358979323846},
        {".5", value_kind::kind_double, 0.5},
        {"2.", value_kind::kind_double, 2.0},
    };
    TiXmlDocument document;
    document.Parse("<a/>");
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::path_evaluator evaluator(document.RootElement(), r.expression);
        xpath::path_value result = evaluator.evaluate();
        ASSERT_EQ(result.kind, r.kind);
        EXPECT_EQ(result.to_number(), r.value);
    }
}
