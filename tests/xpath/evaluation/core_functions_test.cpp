// The core functions, called directly with argument values and a context, so
// that each function's own error code shows (through an evaluation every
// function error becomes function_failed): names, argument counts, position and last,
// and the results of each function as kind and value. The last test runs a
// few calls through whole evaluations.
#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "evaluation_helpers.hpp"
#include "sample_document.hpp"
#include "xpath/evaluation/core_functions.hpp"
#include "xpath/evaluation/execution_code.hpp"
#include "xpath/front_end/xpath_errors.hpp"

using xpath::evaluation_context;
using xpath::node_collection;
using xpath::path_value;

namespace {

// The second Language holds, in this order, the text 8, an element, the
// text x, a comment and the text y. Settings has eight element children.
const char* const functions_xml =
    "<Settings><Language code='en'>7</Language><Language code='de'>8<Note>n</Note>x<!--k-->y</Language>"
    "<Region><City>Oslo</City><Town/><City>Rome</City></Region>"
    "<a>1</a><b>2</b><c>2.5</c><d>2.0</d><e>2147483647</e></Settings>";

// Calls `name` and describes what it pushed ("int: 3"), or "error <code name>".
std::string call(const std::string& name, std::vector<path_value> arguments,
                 const evaluation_context& context = evaluation_context()) {
    xpath::value_stack stack;
    try {
        xpath::call_function(stack, context, name, arguments);
    } catch (const xpath::execution_error& error) {
        if (stack.count() != 0) return "pushed a value and failed";
        const char* name = xpath::execution_code_name(error.code());
        return "error " + std::string(name ? name : std::to_string(error.code()));
    }
    if (stack.count() != 1) return "pushed " + std::to_string(stack.count()) + " values";
    return test_support::describe_value(stack.top());
}

evaluation_context context_at(TiXmlNode* node, std::int32_t position, std::int32_t size) {
    evaluation_context context;
    context.context_node = xpath::node_of(node);
    context.position = position;
    context.size = size;
    return context;
}

path_value nodes(std::initializer_list<TiXmlNode*> entries) {
    node_collection collection;
    for (TiXmlNode* entry : entries) collection.append(entry);
    return path_value(collection);
}

path_value attribute(TiXmlElement* element, TiXmlAttribute* entry) {
    node_collection collection;
    collection.append(xpath::node_ref{element, entry});
    return path_value(collection);
}

const path_value no_nodes{node_collection()};

struct call_row {
    const char* call;
    const char* name;
    std::vector<path_value> arguments;
    const char* outcome;
};

template <std::size_t n>
void check_calls(const call_row (&rows)[n], const evaluation_context& context = evaluation_context()) {
    for (const call_row& r : rows) {
        SCOPED_TRACE(r.call);
        EXPECT_EQ(call(r.name, r.arguments, context), r.outcome);
    }
}

}  // namespace

TEST(core_functions, unknown_names_raise_13) {
    const char* const names[] = {"",          "round",           "string", "number",    "boolean",
                                 "local-name", "substring-before", "Ceiling", "count ", "p:count",
                                 "node",       "comment",         "processing-instruction", "text"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(name, {}), "error unknown_function");
        EXPECT_EQ(call(name, {path_value(1)}), "error unknown_function");
    }
}

// Every argument is an empty collection, which every function accepts, so a
// right count shows the function's result and a wrong one its own code.
TEST(core_functions, argument_counts) {
    test_support::sample_document sample(functions_xml);
    TiXmlElement* german = sample.element("Language")->NextSiblingElement("Language");
    struct row {
        const char* name;
        std::size_t count;
        const char* outcome;
    };
    const row rows[] = {
        {"ceiling", 0, "error ceiling_arguments"}, {"ceiling", 1, "int: 0"},
        {"ceiling", 2, "error ceiling_arguments"},
        {"concat", 0, "error concat_arguments"}, {"concat", 1, "string: "}, {"concat", 3, "string: "},
        {"contains", 1, "error contains_arguments"}, {"contains", 2, "bool: true"},
        {"contains", 3, "error contains_arguments"},
        {"count", 0, "error count_arguments"}, {"count", 1, "int: 0"}, {"count", 2, "int: 0"},
        {"false", 0, "bool: false"}, {"false", 1, "error false_arguments"},
        {"floor", 0, "error floor_arguments"}, {"floor", 1, "int: 0"}, {"floor", 2, "error floor_arguments"},
        {"last", 0, "int: 8"}, {"last", 1, "error last_arguments"},
        {"name", 0, "error name_arguments"}, {"name", 1, "string: "}, {"name", 2, "error name_arguments"},
        {"normalize-space", 0, "error normalize_space_arguments"}, {"normalize-space", 1, "string: "},
        {"normalize-space", 2, "error normalize_space_arguments"},
        {"not", 0, "error not_arguments"}, {"not", 1, "bool: true"}, {"not", 2, "error not_arguments"},
        {"position", 0, "int: 2"}, {"position", 1, "error position_arguments"},
        {"starts-with", 1, "error starts_with_arguments"}, {"starts-with", 2, "bool: true"},
        {"starts-with", 3, "error starts_with_arguments"},
        {"string-length", 0, "error string_length_arguments"}, {"string-length", 1, "int: 0"},
        {"string-length", 2, "error string_length_arguments"},
        {"substring", 1, "error substring_arguments"}, {"substring", 2, "string: "},
        {"substring", 3, "string: "}, {"substring", 4, "error substring_arguments"},
        {"sum", 0, "error sum_arguments"}, {"sum", 1, "int: 0"}, {"sum", 2, "error sum_arguments"},
        {"true", 0, "bool: true"}, {"true", 1, "error true_arguments"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " with " + std::to_string(r.count) + " arguments");
        EXPECT_EQ(call(r.name, std::vector<path_value>(r.count, no_nodes), context_at(german, 2, 8)), r.outcome);
    }
}

// position() and last() read the context, whatever node it is; the whole
// expression's context is at position 1 of 1.
TEST(core_functions, position_and_last_read_the_context) {
    test_support::sample_document sample(functions_xml);
    TiXmlNode* seven = sample.first_child("Language");
    const call_row whole[] = {
        {"position()", "position", {}, "int: 1"},
        {"last()", "last", {}, "int: 1"},
        {"position(1)", "position", {path_value(1)}, "error position_arguments"},
        {"last(1)", "last", {path_value(1)}, "error last_arguments"},
    };
    check_calls(whole);
    const call_row filtered[] = {
        {"position() of text 7 at 3 of 7", "position", {}, "int: 3"},
        {"last() of text 7 at 3 of 7", "last", {}, "int: 7"},
    };
    check_calls(filtered, context_at(seven, 3, 7));
}

TEST(core_functions, ceiling_and_floor_give_integers) {
    test_support::sample_document sample(functions_xml);
    const call_row rows[] = {
        {"ceiling(2.1)", "ceiling", {path_value(2.1)}, "int: 3"},
        {"ceiling(-2.5)", "ceiling", {path_value(-2.5)}, "int: -2"},
        {"ceiling(2.0)", "ceiling", {path_value(2.0)}, "int: 2"},
        {"ceiling(-0.5)", "ceiling", {path_value(-0.5)}, "int: 0"},
        {"ceiling(3)", "ceiling", {path_value(3)}, "int: 3"},
        {"ceiling(true())", "ceiling", {path_value(true)}, "int: 1"},
        // Strings, collections and no value give 0, whatever number they hold.
        {"ceiling('2.5')", "ceiling", {path_value("2.5")}, "int: 0"},
        {"ceiling(text 7)", "ceiling", {nodes({sample.first_child("Language")})}, "int: 0"},
        {"ceiling(none)", "ceiling", {path_value()}, "int: 0"},
        {"floor(-2.5)", "floor", {path_value(-2.5)}, "int: -3"},
        {"floor(2.9)", "floor", {path_value(2.9)}, "int: 2"},
        {"floor(-7)", "floor", {path_value(-7)}, "int: -7"},
        {"floor(true())", "floor", {path_value(true)}, "int: 1"},
        {"floor(false())", "floor", {path_value(false)}, "int: 0"},
        {"floor('3')", "floor", {path_value("3")}, "int: 0"},
    };
    check_calls(rows);
}

TEST(core_functions, string_functions) {
    test_support::sample_document sample(functions_xml);
    TiXmlElement* rome = sample.element("Town")->NextSiblingElement("City");
    const call_row rows[] = {
        {"concat('a')", "concat", {path_value("a")}, "string: a"},
        {"concat('a', 1, 2.5, true())", "concat", {path_value("a"), path_value(1), path_value(2.5), path_value(true)},
         "string: a12.5true"},
        {"concat(3.0, -0.5)", "concat", {path_value(3.0), path_value(-0.5)}, "string: 3-0.5"},
        // A collection stands for its first entry in document order.
        {"concat(Rome and text 7)", "concat", {nodes({rome, sample.first_child("Language")})}, "string: 7"},
        {"contains('', '')", "contains", {path_value(""), path_value("")}, "bool: true"},
        {"contains('abc', '')", "contains", {path_value("abc"), path_value("")}, "bool: true"},
        {"contains('', 'a')", "contains", {path_value(""), path_value("a")}, "bool: false"},
        {"contains('abc', 'bc')", "contains", {path_value("abc"), path_value("bc")}, "bool: true"},
        {"contains('abc', 'ac')", "contains", {path_value("abc"), path_value("ac")}, "bool: false"},
        {"contains('abc', 'abcd')", "contains", {path_value("abc"), path_value("abcd")}, "bool: false"},
        {"contains(12345, 34)", "contains", {path_value(12345), path_value(34)}, "bool: true"},
        {"starts-with('', '')", "starts-with", {path_value(""), path_value("")}, "bool: true"},
        {"starts-with('abc', '')", "starts-with", {path_value("abc"), path_value("")}, "bool: true"},
        {"starts-with('ab', 'abc')", "starts-with", {path_value("ab"), path_value("abc")}, "bool: false"},
        {"starts-with('abc', 'ab')", "starts-with", {path_value("abc"), path_value("ab")}, "bool: true"},
        {"starts-with('abc', 'b')", "starts-with", {path_value("abc"), path_value("b")}, "bool: false"},
        {"starts-with(2.5, '2.')", "starts-with", {path_value(2.5), path_value("2.")}, "bool: true"},
        {"string-length('')", "string-length", {path_value("")}, "int: 0"},
        {"string-length('\\xC3\\xA9')", "string-length", {path_value("\xC3\xA9")}, "int: 2"},  // bytes, not characters
        {"string-length('abc')", "string-length", {path_value("abc")}, "int: 3"},
        {"string-length(-12)", "string-length", {path_value(-12)}, "int: 3"},
        {"string-length(2.5)", "string-length", {path_value(2.5)}, "int: 3"},
        {"string-length(true())", "string-length", {path_value(true)}, "int: 4"},
        {"string-length(City Rome)", "string-length", {nodes({rome})}, "int: 4"},  // the text below it
        {"normalize-space('')", "normalize-space", {path_value("")}, "string: "},
        {"normalize-space('   ')", "normalize-space", {path_value("   ")}, "string: "},
        {"normalize-space(tab tab)", "normalize-space", {path_value("\t\t")}, "string: "},
        {"normalize-space('  a tab b  ')", "normalize-space", {path_value("  a\tb  ")}, "string: a b"},
        {"normalize-space('a space tab space b')", "normalize-space", {path_value("a \t b")}, "string: a b"},
        // Only space and tab are white space: line feed and carriage return stay.
        {"normalize-space('a line-feed b')", "normalize-space", {path_value("a\nb")}, "string: a\nb"},
        {"normalize-space('x line-feed two spaces y')", "normalize-space", {path_value("x\n  y")}, "string: x\n y"},
        {"normalize-space(' a  b carriage-return')", "normalize-space", {path_value(" a  b\r")}, "string: a b\r"},
    };
    check_calls(rows);
}

TEST(core_functions, substring_counts_bytes_from_one) {
    const path_value digits("12345");
    const call_row rows[] = {
        {"substring('', 1)", "substring", {path_value(""), path_value(1)}, "string: "},
        {"substring('12345', 0, 3)", "substring", {digits, path_value(0), path_value(3)}, "string: "},
        {"substring('12345', -1, 3)", "substring", {digits, path_value(-1), path_value(3)}, "string: "},
        {"substring('12345', 1)", "substring", {digits, path_value(1)}, "string: 12345"},
        {"substring('12345', 5)", "substring", {digits, path_value(5)}, "string: 5"},
        {"substring('12345', 6)", "substring", {digits, path_value(6)}, "string: "},
        {"substring('12345', 2)", "substring", {digits, path_value(2)}, "string: 2345"},
        {"substring('12345', 2, 3)", "substring", {digits, path_value(2), path_value(3)}, "string: 234"},
        {"substring('12345', 2, 0)", "substring", {digits, path_value(2), path_value(0)}, "string: "},
        {"substring('12345', 2, -1)", "substring", {digits, path_value(2), path_value(-1)}, "string: "},
        {"substring('12345', 4, 10)", "substring", {digits, path_value(4), path_value(10)}, "string: 45"},
        {"substring('12345', 1, 2147483647)", "substring", {digits, path_value(1), path_value(2147483647)},
         "string: 12345"},
        {"substring('12345', 1.9, 2.9)", "substring", {digits, path_value(1.9), path_value(2.9)}, "string: 12"},
        {"substring('12345', '2', '3')", "substring", {digits, path_value("2"), path_value("3")}, "string: 234"},
        {"substring(12345, 4)", "substring", {path_value(12345), path_value(4)}, "string: 45"},
    };
    check_calls(rows);
}

TEST(core_functions, count_sum_and_name_of_collections) {
    test_support::sample_document sample(functions_xml);
    TiXmlNode* one = sample.first_child("a");
    TiXmlNode* two = sample.first_child("b");
    TiXmlNode* two_and_a_half = sample.first_child("c");
    TiXmlNode* two_point_zero = sample.first_child("d");
    TiXmlNode* largest = sample.first_child("e");
    TiXmlNode* seven = sample.first_child("Language");
    TiXmlElement* rome = sample.element("Town")->NextSiblingElement("City");
    TiXmlAttribute* code = sample.attribute("Language", "code");
    const call_row rows[] = {
        {"count(1)", "count", {path_value(1)}, "int: 0"},
        {"count('a')", "count", {path_value("a")}, "int: 0"},
        {"count(empty)", "count", {no_nodes}, "int: 0"},
        {"count(two texts)", "count", {nodes({one, two})}, "int: 2"},
        {"count(two texts, 5)", "count", {nodes({one, two}), path_value(5)}, "int: 2"},
        {"count(5, two texts)", "count", {path_value(5), nodes({one, two})}, "int: 0"},
        {"sum(empty)", "sum", {no_nodes}, "int: 0"},
        {"sum('1', '2')", "sum", {nodes({one, two})}, "int: 3"},
        {"sum('1', '2.5')", "sum", {nodes({one, two_and_a_half})}, "double: 3.5"},
        {"sum('1', '2.0')", "sum", {nodes({one, two_point_zero})}, "double: 3"},
        {"sum('2147483647', '1')", "sum", {nodes({largest, one})}, "double: 2147483648"},
        {"sum('7', element City)", "sum", {nodes({seven, rome})}, "double: NaN"},
        {"sum(attribute 'en')", "sum", {attribute(sample.element("Language"), code)}, "double: NaN"},
        {"sum(1)", "sum", {path_value(1)}, "error sum_not_nodes"},
        {"sum('1')", "sum", {path_value("1")}, "error sum_not_nodes"},
        {"sum(1.5)", "sum", {path_value(1.5)}, "error sum_not_nodes"},
        {"sum(true())", "sum", {path_value(true)}, "error sum_not_nodes"},
        {"sum(none)", "sum", {path_value()}, "error sum_not_nodes"},
        {"name('x')", "name", {path_value("x")}, "string: "},
        {"name(7)", "name", {path_value(7)}, "string: "},
        {"name(empty)", "name", {no_nodes}, "string: "},
        {"name(attribute code)", "name", {attribute(sample.element("Language"), code)}, "string: code"},
        {"name(element City)", "name", {nodes({rome})}, "string: City"},
        {"name(text 7)", "name", {nodes({seven})}, "string: "},
        // The first node counts, also when it has no name.
        {"name(text 7, City)", "name", {nodes({seven, rome})}, "string: "},
    };
    check_calls(rows);
    // Negative totals stay integers.
    test_support::sample_document negatives("<s><n>-2</n><n>-3</n></s>");
    TiXmlElement* minus_two = negatives.element("n");
    const call_row signed_rows[] = {
        {"sum(-2, -3)", "sum", {nodes({minus_two, minus_two->NextSiblingElement("n")})}, "int: -5"},
    };
    check_calls(signed_rows);
}

TEST(core_functions, truth_values) {
    test_support::sample_document sample(functions_xml);
    const call_row rows[] = {
        {"not(empty)", "not", {no_nodes}, "bool: true"},
        {"not(text 7)", "not", {nodes({sample.first_child("Language")})}, "bool: false"},
        {"not('false')", "not", {path_value("false")}, "bool: false"},
        {"not('')", "not", {path_value("")}, "bool: true"},
        {"not(0)", "not", {path_value(0)}, "bool: true"},
        {"not(-1)", "not", {path_value(-1)}, "bool: false"},
        {"not(0.0)", "not", {path_value(0.0)}, "bool: true"},
        {"not(0.5)", "not", {path_value(0.5)}, "bool: false"},
        {"not(none)", "not", {path_value()}, "bool: true"},
        {"not(true())", "not", {path_value(true)}, "bool: false"},
        {"true()", "true", {}, "bool: true"},
        {"false()", "false", {}, "bool: false"},
    };
    check_calls(rows);
}

// Through an evaluation the base element Settings is the context, its parent
// the temporary root, and every function error arrives as 11.
TEST(core_functions, calls_in_expressions) {
    struct row {
        const char* expression;
        const char* outcome;
    };
    const row rows[] = {
        {"concat()", "execution 11"},
        {"round(2.5)", "execution 11"},
        {"true(1)", "execution 11"},
        {"sum(1)", "execution 11"},
        {"count()", "execution 11"},
        {"p:true()", "execution 11"},
        {"ceiling(2.1)", "ok int: 3"},
        {"ceiling(-2.5)", "ok int: -2"},
        {"floor(-2.5)", "ok int: -3"},
        {"ceiling('2.5')", "ok int: 0"},
        {"floor(/Settings/Language/text())", "ok int: 0"},
        {"count(/Settings/Language)", "ok int: 2"},
        {"count(/Settings/Language, 5)", "ok int: 2"},
        {"count(1)", "ok int: 0"},
        {"sum(/Settings/Language/text())", "ok double: NaN"},  // x and y are no numbers
        {"sum(/Settings/a | /Settings/b)", "ok int: 3"},  // the elements' texts
        {"sum(/Settings/a/text() | /Settings/c/text())", "ok double: 3.5"},
        {"sum(/Settings/a/text() | /Settings/d/text())", "ok double: 3"},
        {"sum(/Settings/Language/@code)", "ok double: NaN"},
        {"concat(/Settings/Region/City/text(), '|', 1.5, true())", "ok string: Oslo|1.5true"},
        {"name(/Settings/Language/@*)", "ok string: code"},
        {"name(/Settings/Region)", "ok string: Region"},
        {"name(/Settings/Region/City/ancestor::*)", "ok string: Settings"},  // the first in document order
        {"name('x')", "ok string: "},
        {"string-length(/Settings/Region/City/text())", "ok int: 4"},
        {"string-length('\xC3\xA9')", "ok int: 2"},
        {"normalize-space('  a\tb  ')", "ok string: a b"},
        {"starts-with(/Settings/Language/@code, 'e')", "ok bool: true"},
        {"contains('abc', '')", "ok bool: true"},
        {"substring('12345', 2, 3)", "ok string: 234"},
        {"substring('12345', 2, -1)", "ok string: "},
        {"not(/Settings/Missing)", "ok bool: true"},
        {"not('false')", "ok bool: false"},
        {"text()", "ok nodes: empty"},  // a node test: Settings has no text child
        {"/Settings/Language[2]/Note[text() = 'n']", "ok nodes: element Note"},
        {"position()", "ok int: 1"},
        {"last()", "ok int: 1"},
        {"/Settings/parent::*", "ok nodes: empty"},  // the root node is no element
        {"count(/Settings/parent::node()[position() = 1][last() = 1])", "ok int: 1"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(test_support::describe(functions_xml, r.expression), r.outcome);
    }
    // A text node as base is the context like any other node.
    std::unique_ptr<TiXmlDocument> document = test_support::parse_xml(functions_xml);
    TiXmlNode* seven = document->RootElement()->FirstChildElement("Language")->FirstChild();
    EXPECT_EQ(test_support::describe_at(seven, "position()"), "ok int: 1");
    EXPECT_EQ(test_support::describe_at(seven, "last()"), "ok int: 1");
    EXPECT_EQ(test_support::describe_at(seven, "text()"), "ok nodes: empty");
    EXPECT_EQ(test_support::describe_at(seven, "self::text()"), "ok nodes: text 7");
}

// TinyXML stores a character reference to NUL inside the text; texts are
// counted strings, so the byte stays part of every string taken from the tree.
TEST(core_functions, tree_texts_keep_a_nul_character) {
    const char* const xml = "<Settings>x&#0;y</Settings>";
    struct row {
        const char* expression;
        const char* outcome;
    };
    const row rows[] = {
        {"string-length(/Settings/text())", "ok int: 3"},
        {"string-length(concat(/Settings/text(), ''))", "ok int: 3"},
        {"string-length(text())", "ok int: 3"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(test_support::describe(xml, r.expression), r.outcome);
    }
}
