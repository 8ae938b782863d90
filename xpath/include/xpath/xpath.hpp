// The XPath engine as its users see it: evaluate an expression against a node
// of a TinyXML tree and get a self-contained result. Nothing here names the
// engine's internals; they live in front_end/ and evaluation/, which only the
// engine's own files and its tests include. The tree is left as it was found.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TiXmlAttribute;
class TiXmlElement;
class TiXmlNode;

namespace xpath {

// ORDER eval_status
enum class eval_status : std::int32_t {
    status_ok = 0,          // exactly one value was left: the result
    status_syntax = 1,      // syntax_error: a malformed expression
    status_overflow = 2,    // syntax_overflow: more than 16 levels of nested Expr (or the decoder's safety bound)
    status_execution = 3,   // execution_error or error_not_yet while executing
    status_unbalanced = 4,  // execution left zero or several values
};

// ORDER value_kind
enum class value_kind : std::int32_t {
    kind_bool = 0,    // truth
    kind_string = 1,  // text
    kind_int = 2,     // integer: see "Numbers" below
    kind_double = 3,  // real: see "Numbers" below
    kind_nodes = 4,   // nodes
    kind_none = 5,    // no value yet
};

// Numbers. Every number is an IEEE double in value; the engine keeps it as
// an integer (kind_int) where that is exact: a literal without a "." that fits
// 32 bits, and the result of "+", "-", "*", "mod", unary "-", count() and the
// like when no operand was a double and the result is an integer within 32
// bits other than -0. Everything else is kind_double: "div" always, a literal
// with a ".", and every result beyond 32 bits, NaN ("0 div 0"), the
// infinities ("1 div 0") and -0 ("0 * -1") included.

// One entry of a node result: an attribute, or any other node of the tree.
// The root node is a TiXmlDocument: the base node itself when it is one,
// else the engine's temporary root (see keep_alive).
struct result_node {
    const TiXmlNode* node = nullptr;            // every entry but an attribute
    const TiXmlAttribute* attribute = nullptr;  // an attribute
    const TiXmlElement* element = nullptr;      // an attribute's element
};

// What one evaluation gave. Only the payload that `kind` names is filled.
struct evaluation_result {
    eval_status status = eval_status::status_ok;
    std::int32_t error_code = 0;  // status_execution: the execution error's code (0: none was raised)
    std::string error_text;       // status_syntax: the syntax error's text: what was expected, and where
    value_kind kind = value_kind::kind_none;
    bool truth = false;              // kind_bool
    std::int32_t integer = 0;        // kind_int
    double real = 0;                 // kind_double: may be NaN, an infinity or -0
    std::string text;                // kind_string
    std::vector<result_node> nodes;  // kind_nodes, in the order the result holds them
    // The value's integer conversion (0 after a failure): a number truncated
    // toward zero and saturated at the 32-bit limits, NaN giving 0; a string,
    // or a node result's string, by atoi's rule: "26x" gives 26, "x" 0.
    std::int32_t as_int = 0;
    // The value's string by XPath's rules: "NaN", "Infinity", "-Infinity",
    // numbers without an exponent in their shortest digits, "true"/"false",
    // and of a node result the string value of its first node in document
    // order (an element's: all the text below it), or "".
    std::string as_string;
    // Keeps the engine's temporary root alive while `nodes` may name it
    // ("/", "/a/.."); nothing to read, and empty when there is none.
    std::shared_ptr<const void> keep_alive;
};

// How the expression was read, for diagnosis: the lexemes after refinement
// and the recorded actions in recording order, as numbers.
struct lexeme_record {
    std::int32_t kind_code = 0;  // lex_class code
    std::string text;
};
struct action_record {
    std::int32_t rule = 0;      // grammar_rule code
    std::int32_t sub_kind = 0;  // which form of the rule
    std::int32_t variant = 0;   // a log position, a count or a lex_class code, by rule
    std::string literal;        // a name, literal or number text; mostly empty
};
struct evaluation_trace {
    std::vector<lexeme_record> lexemes;
    std::vector<action_record> actions;
};

// Values for the variables of an expression: "$name" reads the value bound to
// "name" ("$p:v" to "p:v"), and a name without a binding is an error
// (status_execution, code 12). Binding what a user typed, instead of writing
// it into the expression, keeps the quotes in it from breaking or bending
// the expression: "//user[@name = $name]".
class variable_bindings {
public:
    // One value: its kind names the payload (kind_string, kind_double,
    // kind_bool or kind_nodes).
    struct value {
        value_kind kind = value_kind::kind_none;
        std::string text;
        double number = 0;
        bool truth = false;
        std::vector<result_node> nodes;
    };

    // A later binding of a name replaces the earlier one.
    void bind_string(const std::string& name, const std::string& text);
    void bind_number(const std::string& name, double number);
    void bind_boolean(const std::string& name, bool truth);
    // Nodes of the tree the expression runs on: the base node and what lies
    // below it, or the whole document when the base node is the document.
    // They may come in any order and more than once; the expression sees
    // them in document order, each once. A node outside that tree fails the
    // evaluation when the expression reads the variable (code 55).
    void bind_nodes(const std::string& name, const std::vector<result_node>& nodes);

    // The value bound to `name`, or null.
    const value* find(const std::string& name) const;

private:
    std::map<std::string, value> values_;
};

// Evaluates `expression` with `base_node` as the context node, at position 1
// of 1. A null base node counts as none: status_execution. With `trace`,
// also records how the expression was read. No exception leaves it.
//
// The tree as the expression sees it: a TiXmlDocument as base node is the
// root node itself, and "/" selects it; everything it holds is reached,
// comments and processing instructions beside the root element included
// ("/comment()"). Any other base node is hung, for the evaluation, under a
// temporary root node that has no name and is no element, so that "/" and
// ".." from the base node select that root, "/*" the base node, and nothing
// outside the base node's subtree is reached. Either way the tree is left as
// it was found, but for the document-order numbers that the evaluation
// stores in every node's user data (the root node 1, then pre-order).
// TinyXML's declarations and DOCTYPE are no nodes of the tree; a
// processing instruction is TinyXML's unknown node "?target data?".
//
// The functions are the 27 of XPath 1.0, strings counted in characters of
// UTF-8 (a byte that is no part of valid UTF-8 counts as one). No namespace
// is resolved: a prefix is part of a name, and namespace-uri() is "". id()
// always gives an empty node-set, since TinyXML knows no ID-typed attributes.
evaluation_result evaluate(TiXmlNode* base_node, const char* expression, evaluation_trace* trace = nullptr,
                           const variable_bindings* variables = nullptr);

// Names for tools and messages: an execution code's name as the engine lists
// it ("function_failed"), or null for a number that is no code; a syntax
// error's name, read from its text ("unclosed_predicate" for "unclosed
// predicate: expected ']' ...", "expression_not_decoded" for the empty
// expression's "main level", "unnamed_syntax_error" for any other text).
const char* execution_code_name(std::int32_t code);
const char* syntax_error_name(const char* text);
// A status as xpath-eval prints it: "ok", "syntax", "overflow", "execution",
// "unbalanced"; "?" for a number that is none.
const char* status_name(eval_status status);
// A kind as xpath-eval prints it: "bool", "string", "int", "double",
// "nodes", "none"; "?" for a number that is none.
const char* kind_name(value_kind kind);
// The names of an action line's numbers (evaluation_trace): the grammar rule
// ("RelativeLocationPath"), or null for a number that is no rule; the form
// the rule recorded ("step_slash_path"), "" for the one form of a
// single-form rule, or null for a number that the rule does not record.
const char* rule_name(std::int32_t rule);
const char* form_name(std::int32_t rule, std::int32_t sub_kind);

// The integer conversion that as_int and evaluate_int apply to text: the C
// library's atoi rule (leading white space, an optional sign, then digits up
// to the first other byte; no digits give 0), saturated at the 32-bit limits.
std::int32_t text_to_int(const std::string& text);

// The launcher's entry: evaluates and stores the integer conversion of the
// result in *out (0 after any failure); true when the status is status_ok.
bool evaluate_int(TiXmlNode* base_node, const char* expression, std::int32_t* out,
                  const variable_bindings* variables = nullptr);

}  // namespace xpath
