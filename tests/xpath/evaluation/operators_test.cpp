// The operators: IEEE results beyond the 32-bit range, by zero and with NaN,
// the integer kind kept only where the result is one; comparisons of every
// pair of kinds, existential over nodes; unary minus on the stack's top and
// union in document order. Each row checks the result's kind and text, since
// an int 3 and a double 3.0 are different results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sample_document.hpp"
#include "evaluation/execution_code.hpp"
#include "evaluation/operators.hpp"
#include "front_end/xpath_errors.hpp"

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
void equal(value_stack& s, path_value& l, path_value& r) { xpath::op_compare(s, sub_kind::equal_op, l, r); }
void not_equal(value_stack& s, path_value& l, path_value& r) { xpath::op_compare(s, sub_kind::not_equal_op, l, r); }

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
    nodes.append(sample.first_child("w"));
    nodes.append(sample.first_child("v"));
    return nodes;
}

}  // namespace

TEST(operators, arithmetic_is_ieee_and_keeps_integers_only_where_exact) {
    const value_kind i = value_kind::kind_int, d = value_kind::kind_double;
    const result_row rows[] = {
        {"2147483647 + 1", add, path_value(2147483647), path_value(1), d, "2147483648"},
        {"-2147483648 - 1", subtract, path_value(int_min), path_value(1), d, "-2147483649"},
        {"-2147483648 * -1", multiply, path_value(int_min), path_value(-1), d, "2147483648"},
        {"10000000 * 1000", multiply, path_value(10000000), path_value(1000), d, "10000000000"},
        {"-2147483648 mod -1", modulo, path_value(int_min), path_value(-1), d, "0"},  // -0
        {"0 * -1", multiply, path_value(0), path_value(-1), d, "0"},                  // -0
        {"1 + 2", add, path_value(1), path_value(2), i, "3"},
        {"-5 + 5", add, path_value(-5), path_value(5), i, "0"},
        {"1 + 2.0", add, path_value(1), path_value(2.0), d, "3"},
        {"'1' + '2'", add, path_value("1"), path_value("2"), i, "3"},
        {"'1.5' + 1", add, path_value("1.5"), path_value(1), d, "2.5"},
        {"'abc' + 1", add, path_value("abc"), path_value(1), d, "NaN"},
        {"'' - 1", subtract, path_value(""), path_value(1), d, "NaN"},
        {"true + 1", add, path_value(true), path_value(1), i, "2"},
        {"0.1 + 0.2", add, path_value(0.1), path_value(0.2), d, "0.30000000000000004"},
        {"'1.5' * 2", multiply, path_value("1.5"), path_value(2), i, "3"},
        {"7 mod 3", modulo, path_value(7), path_value(3), i, "1"},
        {"-7 mod 3", modulo, path_value(-7), path_value(3), i, "-1"},
        {"7 mod -3", modulo, path_value(7), path_value(-3), i, "1"},
        {"2.5 mod 7", modulo, path_value(2.5), path_value(7), d, "2.5"},
        {"5.5 mod 2", modulo, path_value(5.5), path_value(2), d, "1.5"},
        {"5 mod 0", modulo, path_value(5), path_value(0), d, "NaN"},
        {"6 div 3", divide, path_value(6), path_value(3), d, "2"},
        {"1 div 3", divide, path_value(1), path_value(3), d, "0.3333333333333333"},
        {"1 div 0", divide, path_value(1), path_value(0), d, "Infinity"},
        {"-1 div 0", divide, path_value(-1), path_value(0), d, "-Infinity"},
        {"0 div 0", divide, path_value(0), path_value(0), d, "NaN"},
        {"1 div -0.0", divide, path_value(1), path_value(-0.0), d, "-Infinity"},
        {"1 div 0.0000001", divide, path_value(1), path_value(0.0000001), d, "10000000"},
    };
    check_rows(rows, sizeof rows / sizeof rows[0]);
}

// One row per pair of kinds and relation that a rule distinguishes.
TEST(operators, comparisons_of_every_pair_of_kinds) {
    test_support::sample_document sample(numbers_xml);
    const path_value texts(texts_five_two(sample));
    node_collection language;
    language.append(sample.element("Language"));
    const path_value element(language);
    node_collection whole;
    whole.append(sample.element("n"));
    const path_value joined(whole);  // "252": the text of every node below
    const path_value empty{node_collection()};
    const double nan = std::nan("");
    const value_kind b = value_kind::kind_bool;
    const result_row rows[] = {
        // strings and numbers alone
        {"'2.5' < '2.7'", less, path_value("2.5"), path_value("2.7"), b, "true"},
        {"'a' >= 'a'", greater_equal, path_value("a"), path_value("a"), b, "false"},
        {"'abc' = 0", equal, path_value("abc"), path_value(0), b, "false"},
        {"0 <= '-0.2'", less_equal, path_value(0), path_value("-0.2"), b, "false"},
        {"2 >= '2.9'", greater_equal, path_value(2), path_value("2.9"), b, "false"},
        {"2 = '2.0'", equal, path_value(2), path_value("2.0"), b, "true"},
        {"'2' = '2.0'", equal, path_value("2"), path_value("2.0"), b, "false"},
        {"'2' != '2.0'", not_equal, path_value("2"), path_value("2.0"), b, "true"},
        {"3 > 2.5", greater, path_value(3), path_value(2.5), b, "true"},
        {"NaN = NaN", equal, path_value(nan), path_value(nan), b, "false"},
        {"NaN != NaN", not_equal, path_value(nan), path_value(nan), b, "true"},
        {"NaN <= 1", less_equal, path_value(nan), path_value(1), b, "false"},
        {"0 = -0", equal, path_value(0), path_value(-0.0), b, "true"},
        // booleans
        {"true = 'x'", equal, path_value(true), path_value("x"), b, "true"},
        {"false = 0", equal, path_value(false), path_value(0), b, "true"},
        {"true = 2", equal, path_value(true), path_value(2), b, "true"},
        {"true > 'x'", greater, path_value(true), path_value("x"), b, "false"},
        {"true > false", greater, path_value(true), path_value(false), b, "true"},
        // a collection and a number: some node
        {"texts = 5", equal, texts, path_value(5), b, "true"},
        {"texts = 2", equal, texts, path_value(2), b, "true"},
        {"texts != 5", not_equal, texts, path_value(5), b, "true"},
        {"texts = 2.9", equal, texts, path_value(2.9), b, "false"},
        {"3 < texts", less, path_value(3), texts, b, "true"},
        {"texts > 4", greater, texts, path_value(4), b, "true"},
        {"texts > 5", greater, texts, path_value(5), b, "false"},
        {"empty != 1", not_equal, empty, path_value(1), b, "false"},
        // a collection and a string
        {"texts = '5'", equal, texts, path_value("5"), b, "true"},
        {"'5' = texts", equal, path_value("5"), texts, b, "true"},
        {"texts = '5.0'", equal, texts, path_value("5.0"), b, "false"},
        {"texts != '5'", not_equal, texts, path_value("5"), b, "true"},
        {"texts >= '5.0'", greater_equal, texts, path_value("5.0"), b, "true"},
        {"empty = ''", equal, empty, path_value(""), b, "false"},
        {"empty != 'x'", not_equal, empty, path_value("x"), b, "false"},
        {"element = '2'", equal, element, path_value("2"), b, "true"},
        {"element = 'Language'", equal, element, path_value("Language"), b, "false"},
        {"joined = '252'", equal, joined, path_value("252"), b, "true"},
        // a collection and a boolean: the collection's truth
        {"empty = false", equal, empty, path_value(false), b, "true"},
        {"texts = false", equal, texts, path_value(false), b, "false"},
        {"texts >= true", greater_equal, texts, path_value(true), b, "true"},
        {"false < texts", less, path_value(false), texts, b, "true"},
        // two collections: some pair
        {"texts = texts", equal, texts, texts, b, "true"},
        {"texts != texts", not_equal, texts, texts, b, "true"},
        {"element != element", not_equal, element, element, b, "false"},
        {"element = texts", equal, element, texts, b, "true"},
        {"joined = texts", equal, joined, texts, b, "false"},
        {"texts < texts", less, texts, texts, b, "true"},
        {"element < texts", less, element, texts, b, "true"},
        {"element > texts", greater, element, texts, b, "false"},
        {"element >= texts", greater_equal, element, texts, b, "true"},
        {"empty = empty", equal, empty, empty, b, "false"},
        {"empty != texts", not_equal, empty, texts, b, "false"},
    };
    check_rows(rows, sizeof rows / sizeof rows[0]);
}

// Two collections of many nodes: every string once in a hash, not every pair.
TEST(operators, large_collections_compare_by_their_values) {
    std::string xml = "<r>";
    for (int k = 0; k < 300; ++k) xml += "<a>" + std::to_string(k) + "</a><b>" + std::to_string(k + 299) + "</b>";
    test_support::sample_document sample((xml + "</r>").c_str());
    node_collection a, b;
    for (TiXmlElement* e = sample.element("a"); e; e = e->NextSiblingElement()) {
        if (std::string(e->Value()) == "a") a.append(e);
        else b.append(e);
    }
    const value_kind k = value_kind::kind_bool;
    const result_row rows[] = {
        {"a = b: only 299 is in both", equal, path_value(a), path_value(b), k, "true"},
        {"a < b", less, path_value(a), path_value(b), k, "true"},
        {"a > b: 299 is a's greatest and b's least", greater, path_value(a), path_value(b), k, "false"},
        {"a >= b", greater_equal, path_value(a), path_value(b), k, "true"},
    };
    check_rows(rows, sizeof rows / sizeof rows[0]);
    node_collection a_without_299;
    for (std::uint32_t i = 0; i + 1 < a.count(); ++i) a_without_299.append(a.at(i));
    const result_row disjoint[] = {
        {"a without 299 = b", equal, path_value(a_without_299), path_value(b), k, "false"},
    };
    check_rows(disjoint, 1);
}

TEST(operators, negate_replaces_the_top) {
    test_support::sample_document sample(numbers_xml);
    struct row { const char* operand; path_value value; value_kind kind; const char* text; };
    const row rows[] = {
        {"-2147483648", path_value(int_min), value_kind::kind_double, "2147483648"},
        {"0", path_value(0), value_kind::kind_double, "0"},  // -0
        {"'2.5'", path_value("2.5"), value_kind::kind_double, "-2.5"},
        {"'x'", path_value("x"), value_kind::kind_double, "NaN"},
        {"2.5", path_value(2.5), value_kind::kind_double, "-2.5"},
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

TEST(operators, union_gives_document_order_without_duplicates) {
    test_support::sample_document sample("<r a='1'><x/><y/><z/></r>");
    const xpath::node_ref a{sample.element("r"), sample.attribute("r", "a")};
    node_collection first;
    first.append(a);
    first.append(sample.element("y"));
    node_collection second;
    second.append(a);
    second.append(sample.element("x"));
    second.append(sample.element("y"));
    second.append(sample.element("z"));
    value_stack stack;
    xpath::op_union(stack, second, first);
    node_collection combined = stack.pop_nodes();
    std::vector<xpath::node_ref> expected{a, xpath::node_of(sample.element("x")), xpath::node_of(sample.element("y")),
                                          xpath::node_of(sample.element("z"))};
    EXPECT_EQ(std::vector<xpath::node_ref>(combined.begin(), combined.end()), expected);
}
