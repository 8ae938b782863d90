// The core functions: each function's own error codes, called directly (an
// evaluation turns every function error into function_failed); then each
// function through whole evaluations, its common case and its boundaries:
// empty strings, NaN, infinities, negative and fractional positions, UTF-8
// text, and the context node as the argument left out.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "evaluation_helpers.hpp"
#include "sample_document.hpp"
#include "evaluation/core_functions.hpp"
#include "evaluation/execution_code.hpp"
#include "front_end/xpath_errors.hpp"

using xpath::evaluation_context;
using xpath::node_collection;
using xpath::path_value;

namespace {

// Calls `name` and describes what it pushed ("int: 3"), or "error <code name>".
std::string call(const std::string& name, std::vector<path_value> arguments,
                 const evaluation_context& context = evaluation_context()) {
    xpath::value_stack stack;
    try {
        xpath::call_function(stack, context, name, arguments);
    } catch (const xpath::execution_error& error) {
        if (stack.count() != 0) return "pushed a value and failed";
        const char* code_name = xpath::execution_code_name(error.code());
        return "error " + std::string(code_name ? code_name : std::to_string(error.code()));
    }
    if (stack.count() != 1) return "pushed " + std::to_string(stack.count()) + " values";
    return test_support::describe_value(stack.top());
}

const path_value no_nodes{node_collection()};

// r (xml:lang en-US): a (@id 1, @n " x  y ") "12", b "héllo", c (xml:lang de)
// holding d "4.5", a comment, the text t and an instruction.
const char* const functions_xml =
    "<r xml:lang='en-US'><a id='1' n=' x  y '>12</a><b>h\xC3\xA9llo</b><c xml:lang='de'><d>4.5</d></c>"
    "<!--k-->t<?pi data?></r>";

struct row {
    const char* expression;
    const char* outcome;
};

void check_rows(const char* xml, const std::vector<row>& rows) {
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(test_support::describe(xml, r.expression), r.outcome);
    }
}

}  // namespace

TEST(core_functions, unknown_names_raise_13) {
    const char* const names[] = {"", "Ceiling", "count ", "p:count", "node", "comment", "processing-instruction",
                                 "text", "string-length2"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(name, {}), "error unknown_function");
        EXPECT_EQ(call(name, {path_value(1)}), "error unknown_function");
    }
}

// A count one short of the least and one past the most; and the functions
// that take a node-set, given something else. The count is checked first.
TEST(core_functions, each_function_raises_its_own_codes) {
    struct code_row {
        const char* name;
        std::size_t count;
        const char* outcome;
    };
    const code_row rows[] = {
        {"last", 1, "error last_arguments"},
        {"position", 1, "error position_arguments"},
        {"count", 0, "error count_arguments"},
        {"count", 2, "error count_arguments"},
        {"id", 0, "error id_arguments"},
        {"id", 2, "error id_arguments"},
        {"local-name", 2, "error local_name_arguments"},
        {"namespace-uri", 2, "error namespace_uri_arguments"},
        {"name", 2, "error name_arguments"},
        {"string", 2, "error string_arguments"},
        {"concat", 1, "error concat_arguments"},
        {"starts-with", 1, "error starts_with_arguments"},
        {"starts-with", 3, "error starts_with_arguments"},
        {"contains", 1, "error contains_arguments"},
        {"contains", 3, "error contains_arguments"},
        {"substring-before", 1, "error substring_before_arguments"},
        {"substring-before", 3, "error substring_before_arguments"},
        {"substring-after", 1, "error substring_after_arguments"},
        {"substring-after", 3, "error substring_after_arguments"},
        {"substring", 1, "error substring_arguments"},
        {"substring", 4, "error substring_arguments"},
        {"string-length", 2, "error string_length_arguments"},
        {"normalize-space", 2, "error normalize_space_arguments"},
        {"translate", 2, "error translate_arguments"},
        {"translate", 4, "error translate_arguments"},
        {"boolean", 0, "error boolean_arguments"},
        {"boolean", 2, "error boolean_arguments"},
        {"not", 0, "error not_arguments"},
        {"not", 2, "error not_arguments"},
        {"true", 1, "error true_arguments"},
        {"false", 1, "error false_arguments"},
        {"lang", 0, "error lang_arguments"},
        {"lang", 2, "error lang_arguments"},
        {"number", 2, "error number_arguments"},
        {"sum", 0, "error sum_arguments"},
        {"sum", 2, "error sum_arguments"},
        {"floor", 0, "error floor_arguments"},
        {"floor", 2, "error floor_arguments"},
        {"ceiling", 0, "error ceiling_arguments"},
        {"ceiling", 2, "error ceiling_arguments"},
        {"round", 0, "error round_arguments"},
        {"round", 2, "error round_arguments"},
    };
    for (const code_row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " with " + std::to_string(r.count) + " arguments");
        EXPECT_EQ(call(r.name, std::vector<path_value>(r.count, no_nodes)), r.outcome);
    }
    struct nodes_row {
        const char* name;
        path_value argument;
        const char* outcome;
    };
    const nodes_row node_set_rows[] = {
        {"count", path_value(1), "error count_not_nodes"},
        {"name", path_value("x"), "error name_not_nodes"},
        {"local-name", path_value(true), "error local_name_not_nodes"},
        {"namespace-uri", path_value(2.5), "error namespace_uri_not_nodes"},
        {"sum", path_value("1"), "error sum_not_nodes"},
        {"id", path_value("1"), "nodes: empty"},  // id takes any value
    };
    for (const nodes_row& r : node_set_rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(call(r.name, {r.argument}), r.outcome);
    }
}

// position() and last() read the context, whatever node it is; the whole
// expression's context is at position 1 of 1.
TEST(core_functions, position_and_last_read_the_context) {
    test_support::sample_document sample(functions_xml);
    evaluation_context context;
    context.context_node = xpath::node_of(sample.first_child("a"));
    context.position = 3;
    context.size = 7;
    EXPECT_EQ(call("position", {}), "int: 1");
    EXPECT_EQ(call("last", {}), "int: 1");
    EXPECT_EQ(call("position", {}, context), "int: 3");
    EXPECT_EQ(call("last", {}, context), "int: 7");
    check_rows(functions_xml, {{"position()", "ok int: 1"}, {"last()", "ok int: 1"},
                               {"count(/r/*[position() = last()])", "ok int: 1"}});
}

TEST(core_functions, node_set_functions) {
    check_rows(functions_xml, {
        {"count(/r/*)", "ok int: 3"},
        {"count(/r/node())", "ok int: 6"},
        {"count(/r/zz)", "ok int: 0"},
        {"id('1')", "ok nodes: empty"},  // no ID-typed attributes in TinyXML
        {"id(/r/a/@id)", "ok nodes: empty"},
        {"name()", "ok string: r"},  // the context node
        {"name(/r/a/@id)", "ok string: id"},
        {"name(/r/processing-instruction())", "ok string: pi"},
        {"name(/)", "ok string: "},
        {"name(/r/comment())", "ok string: "},
        {"name(/r/zz)", "ok string: "},
        {"/r/*[name() = 'c']", "ok nodes: element c"},
        {"namespace-uri()", "ok string: "},
    });
    check_rows("<p:r xmlns:p='urn:x'><p:a p:b='1'/></p:r>", {
        {"name()", "ok string: p:r"},
        {"local-name()", "ok string: r"},
        {"local-name(p:a/@p:b)", "ok string: b"},
        {"local-name(p:a/@*[local-name() = 'b'])", "ok string: b"},
        {"namespace-uri(p:a)", "ok string: "},  // no namespace is resolved
    });
}

TEST(core_functions, string_functions) {
    check_rows(functions_xml, {
        {"string()", "ok string: 12h\xC3\xA9llo4.5t"},  // all the text below the context node
        {"string(/r/a)", "ok string: 12"},
        {"string(/r/zz)", "ok string: "},
        {"string(1 div 0)", "ok string: Infinity"},
        {"string(0 div 0)", "ok string: NaN"},
        {"string(true())", "ok string: true"},
        {"/r/*[string() = '4.5']", "ok nodes: element c"},
        {"concat('a', 1, true())", "ok string: a1true"},
        {"concat(/r/b, '!', '')", "ok string: h\xC3\xA9llo!"},
        {"starts-with('abc', '')", "ok bool: true"},
        {"starts-with('', 'a')", "ok bool: false"},
        {"starts-with(/r/b, 'h\xC3\xA9')", "ok bool: true"},
        {"contains('abc', 'bc')", "ok bool: true"},
        {"contains('', '')", "ok bool: true"},
        {"contains('abc', 'ac')", "ok bool: false"},
        {"substring-before('1999/04/01', '/')", "ok string: 1999"},
        {"substring-before('abc', '')", "ok string: "},
        {"substring-before('abc', 'x')", "ok string: "},
        {"substring-before(/r/b, 'l')", "ok string: h\xC3\xA9"},
        {"substring-after('1999/04/01', '/')", "ok string: 04/01"},
        {"substring-after('abc', '')", "ok string: abc"},
        {"substring-after('abc', 'x')", "ok string: "},
        {"substring-after(/r/b, '\xC3\xA9')", "ok string: llo"},
        {"string-length('')", "ok int: 0"},
        {"string-length('\xC3\xA9')", "ok int: 1"},
        {"string-length(/r/b)", "ok int: 5"},
        {"string-length()", "ok int: 11"},
        {"/r/*[string-length() = 5]", "ok nodes: element b"},
        {"normalize-space('  a \t\r\n b  ')", "ok string: a b"},
        {"normalize-space('')", "ok string: "},
        {"normalize-space(' \t ')", "ok string: "},
        {"/r/a/@n[normalize-space() = 'x y']", "ok nodes: attribute n= x  y "},
        {"translate('abc', 'b', 'x')", "ok string: axc"},
        {"translate('abcabc', 'abc', 'AB')", "ok string: ABAB"},  // c has no partner: it goes
        {"translate('aaa', 'aa', 'xy')", "ok string: xxx"},       // the first place counts
        {"translate(/r/b, '\xC3\xA9o', 'E')", "ok string: hEll"},
        {"translate('', 'a', 'b')", "ok string: "},
    });
}

// Positions from 1: the characters p with round(start) <= p < round(start) + round(length).
TEST(core_functions, substring_rounds_its_positions) {
    check_rows(functions_xml, {
        {"substring('12345', 2, 3)", "ok string: 234"},
        {"substring('12345', 2)", "ok string: 2345"},
        {"substring('12345', 1.5, 2.6)", "ok string: 234"},
        {"substring('12345', 0, 3)", "ok string: 12"},
        {"substring('12345', -1)", "ok string: 12345"},
        {"substring('12345', 0 div 0, 3)", "ok string: "},
        {"substring('12345', 1, 0 div 0)", "ok string: "},
        {"substring('12345', -42, 1 div 0)", "ok string: 12345"},
        {"substring('12345', -1 div 0, 1 div 0)", "ok string: "},  // -Infinity + Infinity is NaN
        {"substring('12345', 6)", "ok string: "},
        {"substring('', 1)", "ok string: "},
        {"substring(/r/b, 2, 1)", "ok string: \xC3\xA9"},  // a character, never half of one
        {"substring('\xC3\xA9t\xC3\xA9', 2)", "ok string: t\xC3\xA9"},
    });
}

// A byte that is no part of valid UTF-8 is a character of its own.
TEST(core_functions, bytes_outside_utf8_count_as_characters) {
    struct utf8_row {
        const char* function;
        std::vector<path_value> arguments;
        const char* outcome;
    };
    const utf8_row rows[] = {
        {"string-length", {path_value("\xC3")}, "int: 1"},                    // a lead byte alone
        {"string-length", {path_value("a\xFF" "b")}, "int: 3"},
        {"string-length", {path_value("\xE2\x82\xAC\xF0\x9F\x98\x80")}, "int: 2"},  // three and four bytes
        {"string-length", {path_value("\xC0\xAF")}, "int: 2"},                // an overlong form: two bytes
        {"string-length", {path_value("\xED\xA0\x80")}, "int: 3"},            // a surrogate: three bytes
        {"substring", {path_value("\xC3\xA9\xFF"), path_value(2), path_value(1)}, "string: \xFF"},
        {"substring-before", {path_value("\xC3\xA9"), path_value("\xA9")}, "string: "},  // not on a character
        {"substring-after", {path_value("x\xA9" "y"), path_value("\xA9")}, "string: y"},
        {"translate", {path_value("a\xFF"), path_value("\xFF"), path_value("b")}, "string: ab"},
    };
    for (const utf8_row& r : rows) {
        SCOPED_TRACE(r.function);
        EXPECT_EQ(call(r.function, r.arguments), r.outcome);
    }
}

TEST(core_functions, boolean_functions_and_lang) {
    check_rows(functions_xml, {
        {"boolean(1)", "ok bool: true"},
        {"boolean(0)", "ok bool: false"},
        {"boolean(0 div 0)", "ok bool: false"},
        {"boolean('')", "ok bool: false"},
        {"boolean('0')", "ok bool: true"},
        {"boolean(/r/zz)", "ok bool: false"},
        {"not(/r/a)", "ok bool: false"},
        {"true()", "ok bool: true"},
        {"false()", "ok bool: false"},
        {"lang('en')", "ok bool: true"},  // en-US is a sublanguage of en
        {"lang('EN')", "ok bool: true"},
        {"lang('en-us')", "ok bool: true"},
        {"lang('en-')", "ok bool: false"},
        {"lang('e')", "ok bool: false"},
        {"lang('')", "ok bool: false"},
        {"/r/c/d[lang('de')]", "ok nodes: element d"},  // the nearest xml:lang
        {"count(/r/c/d[lang('en')])", "ok int: 0"},
        {"/r/a/@id[lang('en')]", "ok nodes: attribute id=1"},  // an attribute's nearest is its element's
        {"count(/r/node()[lang('en')])", "ok int: 5"},  // the texts too; c says de
        {"/self::node()[lang('en')]", "ok nodes: empty"},  // the root node has no xml:lang
    });
}

TEST(core_functions, number_functions) {
    check_rows(functions_xml, {
        {"number('12')", "ok int: 12"},
        {"number(' 4.5 ')", "ok double: 4.5"},
        {"number('x')", "ok double: NaN"},
        {"number(true())", "ok int: 1"},
        {"number()", "ok double: NaN"},  // the context node's string
        {"/r/*[number() = 12]", "ok nodes: element a"},
        {"sum(/r/a | /r/c/d)", "ok double: 16.5"},
        {"sum(/r/a | /r/a/@id)", "ok int: 13"},
        {"sum(/r/zz)", "ok int: 0"},
        {"sum(/r/b | /r/a)", "ok double: NaN"},  // one node that is no number
        {"floor(2.5)", "ok int: 2"},
        {"floor(-2.5)", "ok int: -3"},
        {"floor('2.5')", "ok int: 2"},
        {"floor(0 div 0)", "ok double: NaN"},
        {"floor(10000000000.5)", "ok double: 10000000000"},
        {"ceiling(2.1)", "ok int: 3"},
        {"ceiling(/r/c/d)", "ok int: 5"},
        {"1 div ceiling(-0.5)", "ok double: -Infinity"},  // -0
        {"ceiling(1 div 0)", "ok double: Infinity"},
        {"round(2.5)", "ok int: 3"},
        {"round(-2.5)", "ok int: -2"},  // halves go up
        {"round(0.5)", "ok int: 1"},
        {"round(-1.5)", "ok int: -1"},
        {"1 div round(-0.4)", "ok double: -Infinity"},  // -0
        {"1 div round(-0.5)", "ok double: -Infinity"},
        {"round(0 div 0)", "ok double: NaN"},
        {"round(-1 div 0)", "ok double: -Infinity"},
        {"round(4503599627370497)", "ok double: 4503599627370497"},  // no half to add above 2^52
    });
}

// Through an evaluation every function error arrives as 11.
TEST(core_functions, errors_in_expressions_arrive_as_11) {
    check_rows(functions_xml, {
        {"count(1)", "execution 11"},
        {"count(/r/a, /r/b)", "execution 11"},
        {"concat('a')", "execution 11"},
        {"name(1)", "execution 11"},
        {"sum('1')", "execution 11"},
        {"nosuch()", "execution 11"},
        {"p:true()", "execution 11"},
    });
}

// TinyXML stores a character reference to NUL inside the text; texts are
// counted strings, so the byte stays part of every string taken from the tree.
TEST(core_functions, tree_texts_keep_a_nul_character) {
    check_rows("<Settings>x&#0;y</Settings>", {
        {"string-length(/Settings/text())", "ok int: 3"},
        {"string-length(concat(/Settings/text(), ''))", "ok int: 3"},
        {"string-length(text())", "ok int: 3"},
        {"string-length()", "ok int: 3"},
    });
}
