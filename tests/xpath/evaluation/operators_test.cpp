// The operators: integer and double modes, wrap-around at the 32-bit limits,
// the division errors, equality and comparison with node collections, unary
// minus on the stack's top and union. Each row checks the result's kind and
// text, since an int 3 and a double 3.0 are different results.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sample_document.hpp"
#include "xpath/evaluation/execution_code.hpp"
#include "xpath/evaluation/operators.hpp"
#include "xpath/front_end/xpath_errors.hpp"

using xpath::node_collection;
using xpath::path_value;
using xpath::sub_kind;
using xpath::value_kind;
using xpath::value_stack;

namespace {

using binary_operator = void (*)(value_stack&, path_value&, path_value&);

void less(value_stack& s, path_value& l, path_value& r) { xpath::op_compare(s, sub_kind::less_op, l, r); }
void greater(value_stack& s, path_value& l, path_value& r) { xpath::op_compare(s, sub_kind::greater_op, l, r); }
void less_equal(value_stack& s, path_value& l, path_value& r) { xpath::op_compare(s, sub_kind::less_equal_op, l, r); }
void greater_equal(value_stack& s, path_value& l, path_value& r) {
    xpath::op_compare(s, sub_kind::greater_equal_op, l, r);
}
void multiply(value_stack& s, path_value& l, path_value& r) { xpath::op_multiplicative(s, sub_kind::multiply_op, l, r); }
void divide(value_stack& s, path_value& l, path_value& r) { xpath::op_multiplicative(s, sub_kind::div_op, l, r); }
void modulo(value_stack& s, path_value& l, path_value& r) { xpath::op_multiplicative(s, sub_kind::mod_op, l, r); }
const binary_operator add = xpath::op_add;
const binary_operator subtract = xpath::op_subtract;
const binary_operator equal = xpath::op_equal;
const binary_operator not_equal = xpath::op_not_equal;
const binary_operator op_or = xpath::op_or;
const binary_operator op_and = xpath::op_and;

const std::int32_t int_min = -2147483647 - 1;

struct result_row {
    const char* expression;
    binary_operator op;
    path_value left;
    path_value right;
    value_kind kind;
    const char* text;
};

void check_rows(const result_row* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const result_row& r = rows[i];
        SCOPED_TRACE(r.expression);
        value_stack stack;
        path_value left = r.left;
        path_value right = r.right;
        r.op(stack, left, right);
        ASSERT_EQ(stack.count(), 1);
        EXPECT_EQ(stack.top().kind, r.kind);
        EXPECT_EQ(stack.top().to_string(), r.text);
    }
}

// The texts "5" and "2" gathered against document order, so that reading the
// unsorted first entry would see "5" where the first in document order is "2".
const char* const numbers_xml = "<n><v>2</v><w>5</w><Language>2</Language></n>";

node_collection texts_five_two(test_support::sample_document& sample) {
    node_collection nodes;
    nodes.add_unique(sample.first_child("w"));
    nodes.add_unique(sample.first_child("v"));
    return nodes;
}

}  // namespace

TEST(operators, arithmetic_modes_and_wrap_around) {
    const value_kind i = value_kind::kind_int, d = value_kind::kind_double;
    const result_row rows[] = {
        {"2147483647 + 1", add, path_value(2147483647), path_value(1), i, "-2147483648"},
        {"-2147483648 - 1", subtract, path_value(int_min), path_value(1), i, "2147483647"},
        {"-2147483648 * -1", multiply, path_value(int_min), path_value(-1), i, "-2147483648"},
        {"65536 * 65536", multiply, path_value(65536), path_value(65536), i, "0"},
        {"-2147483648 mod -1", modulo, path_value(int_min), path_value(-1), i, "0"},
        {"1 + 2", add, path_value(1), path_value(2), i, "3"},
        {"1 + 2.0", add, path_value(1), path_value(2.0), d, "3"},
        {"'1' + '2'", add, path_value("1"), path_value("2"), i, "3"},
        {"'1.5' + 1", add, path_value("1.5"), path_value(1), i, "2"},
        {"'1.5' + 1.0", add, path_value("1.5"), path_value(1.0), d, "2.5"},
        {"true + 1", add, path_value(true), path_value(1), i, "2"},
        {"5 - 7.5", subtract, path_value(5), path_value(7.5), d, "-2.5"},
        {"'1.5' * 2", multiply, path_value("1.5"), path_value(2), i, "2"},
        {"2.5 * 2", multiply, path_value(2.5), path_value(2), d, "5"},
        {"7 mod 3", modulo, path_value(7), path_value(3), i, "1"},
        {"-7 mod 3", modulo, path_value(-7), path_value(3), i, "-1"},
        {"7 mod -3", modulo, path_value(7), path_value(-3), i, "1"},
        {"7.5 mod 2", modulo, path_value(7.5), path_value(2), d, "1"},
        {"6 div 3", divide, path_value(6), path_value(3), d, "2"},
        {"7 div 2", divide, path_value(7), path_value(2), d, "3.5"},
        {"1 div 0.000001", divide, path_value(1), path_value(0.000001), d, "1000000"},
    };
    check_rows(rows, sizeof rows / sizeof rows[0]);
}

TEST(operators, comparison_equality_and_logic) {
    test_support::sample_document sample(numbers_xml);
    const path_value texts(texts_five_two(sample));
    node_collection language;
    language.add_unique(sample.element("Language"));
    const path_value element(language);
    const path_value empty{node_collection()};
    const value_kind b = value_kind::kind_bool;
    const result_row rows[] = {
        {"'2.5' < '2.7'", less, path_value("2.5"), path_value("2.7"), b, "false"},
        {"'2.5' < 2.7", less, path_value("2.5"), path_value(2.7), b, "true"},
        {"2 >= '2.9'", greater_equal, path_value(2), path_value("2.9"), b, "true"},
        {"2 >= 2.9", greater_equal, path_value(2), path_value(2.9), b, "false"},
        {"2 <= 2", less_equal, path_value(2), path_value(2), b, "true"},
        {"3 > 2.5", greater, path_value(3), path_value(2.5), b, "true"},
        {"texts('5','2') < 3", less, texts, path_value(3), b, "true"},
        {"2 = '2.0'", equal, path_value(2), path_value("2.0"), b, "true"},
        {"2 = '2.5'", equal, path_value(2), path_value("2.5"), b, "false"},
        {"'2' = '2.0'", equal, path_value("2"), path_value("2.0"), b, "false"},
        {"true = 'x'", equal, path_value(true), path_value("x"), b, "true"},
        {"false = 0", equal, path_value(false), path_value(0), b, "true"},
        {"texts = 5", equal, texts, path_value(5), b, "true"},
        {"texts = 2.9", equal, texts, path_value(2.9), b, "true"},
        {"texts = 7", equal, texts, path_value(7), b, "false"},
        {"texts = '5'", equal, texts, path_value("5"), b, "true"},
        {"'5' = texts", equal, path_value("5"), texts, b, "true"},
        {"texts = '5.0'", equal, texts, path_value("5.0"), b, "false"},
        {"texts != '5'", not_equal, texts, path_value("5"), b, "false"},
        {"texts != '7'", not_equal, texts, path_value("7"), b, "true"},
        {"texts = none", equal, texts, path_value(), b, "false"},
        {"empty = false", equal, empty, path_value(false), b, "true"},
        {"empty = ''", equal, empty, path_value(""), b, "false"},
        {"empty != 'x'", not_equal, empty, path_value("x"), b, "true"},
        {"element = 'Language'", equal, element, path_value("Language"), b, "true"},
        {"'' or 0", op_or, path_value(""), path_value(0), b, "false"},
        {"empty or 0.5", op_or, empty, path_value(0.5), b, "true"},
        {"true and empty", op_and, path_value(true), empty, b, "false"},
    };
    check_rows(rows, sizeof rows / sizeof rows[0]);
}

TEST(operators, errors) {
    test_support::sample_document sample(numbers_xml);
    const path_value texts(texts_five_two(sample));
    const path_value empty{node_collection()};
    struct row { const char* expression; binary_operator op; path_value left; path_value right; xpath::execution_code code; };
    using xpath::execution_code;
    const row rows[] = {
        {"1 div 0", divide, path_value(1), path_value(0), execution_code::division_by_zero},
        {"1 div 0.0000001", divide, path_value(1), path_value(0.0000001), execution_code::division_by_zero},
        {"1 mod 0", modulo, path_value(1), path_value(0), execution_code::division_by_zero},
        {"1 mod '0.9'", modulo, path_value(1), path_value("0.9"), execution_code::division_by_zero},
        {"1.0 mod 0.5", modulo, path_value(1.0), path_value(0.5), execution_code::division_by_zero},
        {"1 mod empty", modulo, path_value(1), empty, execution_code::division_by_zero},
        {"texts = texts", equal, texts, texts, execution_code::not_yet_evaluated},
        {"empty != empty", not_equal, empty, empty, execution_code::not_yet_evaluated},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        value_stack stack;
        path_value left = r.left;
        path_value right = r.right;
        std::int32_t code = 0;
        bool not_yet = false;
        try {
            r.op(stack, left, right);
        } catch (const xpath::error_not_yet& error) {
            code = error.code();
            not_yet = true;
        } catch (const xpath::execution_error& error) {
            code = error.code();
        }
        EXPECT_EQ(code, code_of(r.code));
        EXPECT_EQ(not_yet, r.code == execution_code::not_yet_evaluated);
        EXPECT_EQ(stack.count(), 0);
    }
}

TEST(operators, negate_replaces_the_top) {
    test_support::sample_document sample(numbers_xml);
    struct row { const char* operand; path_value value; value_kind kind; const char* text; };
    const row rows[] = {
        {"-2147483648", path_value(int_min), value_kind::kind_int, "-2147483648"},
        {"'2.5'", path_value("2.5"), value_kind::kind_int, "-2"},
        {"2.5", path_value(2.5), value_kind::kind_double, "-2.5"},
        {"0.0", path_value(0.0), value_kind::kind_double, "-0"},
        {"texts('5','2')", path_value(texts_five_two(sample)), value_kind::kind_int, "-2"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.operand);
        value_stack stack;
        stack.push_string("below");
        stack.push_value(r.value);
        xpath::op_negate(stack);
        ASSERT_EQ(stack.count(), 2);
        EXPECT_EQ(stack.top().kind, r.kind);
        EXPECT_EQ(stack.pop_string(), r.text);
        EXPECT_EQ(stack.pop_string(), "below");
    }
    value_stack stack;
    stack.push_int(3, "3");
    xpath::op_negate(stack);
    xpath::op_negate(stack);
    EXPECT_EQ(stack.top().kind, value_kind::kind_int);
    EXPECT_EQ(stack.pop_int(), 3);
}

TEST(operators, union_appends_missing_entries_unsorted) {
    test_support::sample_document sample("<r a='1'><x/><y/><z/></r>");
    TiXmlAttribute* a = sample.attribute("r", "a");
    node_collection first;
    first.add_unique(sample.element("y"));
    first.add_unique(a);
    node_collection second;
    second.add_unique(sample.element("z"));
    second.add_unique(a);
    second.add_unique(sample.element("y"));
    second.add_unique(sample.element("x"));
    value_stack stack;
    xpath::op_union(stack, first, second);
    xpath::op_union(stack, node_collection(), first);
    node_collection only_first = stack.pop_nodes();
    node_collection combined = stack.pop_nodes();
    EXPECT_EQ(only_first.entries(), first.entries());
    std::vector<void*> expected = {sample.element("y"), a, sample.element("z"), sample.element("x")};
    EXPECT_EQ(combined.entries(), expected);
    EXPECT_EQ(combined.attribute_flags(), (std::vector<unsigned char>{0, 1, 0, 0}));
}
