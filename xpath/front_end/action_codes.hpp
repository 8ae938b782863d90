// The numbering shared by the grammar walker, which records actions, and the
// executor, which replays them: the first two fields of every action. This
// header is the whole contract between front_end/ and evaluation/; neither
// side includes the other's internals. Axis and node-type codes in the variant
// field are lex_class values (lex_class.hpp).
#pragma once

#include <cstdint>

namespace xpath {

// Rule numbers are the XPath 1.0 production numbers; 206 to 208 are 200 plus
// the Namespaces in XML productions QName, Prefix and LocalPart.
// ORDER grammar_rule
enum class grammar_rule : std::int32_t {
    LocationPath = 1,                      // absolute or relative path
    AbsoluteLocationPath = 2,              // "/" [path] or "//" path
    RelativeLocationPath = 3,              // step ["/" or "//" path], nesting to the right
    Step = 4,                              // "." / ".." or axis, node test, predicates
    AxisSpecifier = 5,                     // "@", axis "::", or nothing
    AxisName = 6,                          // variant: the axis keyword's lex_class
    NodeTest = 7,                          // node-type test or name test
    Predicate = 8,                         // "[" PredicateExpr "]"
    PredicateExpr = 9,                     // Expr
    AbbreviatedAbsoluteLocationPath = 10,  // "//" relative path
    AbbreviatedStep = 12,                  // sub-kind 0 for ".", 1 for ".."
    AbbreviatedAxisSpecifier = 13,         // only recorded, with sub-kind 1, by AxisSpecifier
    Expr = 14,                             // OrExpr
    PrimaryExpr = 15,                      // variable, "(" Expr ")", literal, number, call
    FunctionCall = 16,                     // sub-kind 0 without, 1 with arguments (variant: count)
    Argument = 17,                         // Expr
    UnionExpr = 18,                        // path ["|" union], nesting to the right
    PathExpr = 19,                         // filter [("/" or "//") path] or location path
    FilterExpr = 20,                       // primary, or a filter and one more predicate
    OrExpr = 21,                           // "or" chained left to right
    AndExpr = 22,                          // "and" chained left to right
    EqualityExpr = 23,                     // "=" and "!=" chained left to right
    RelationalExpr = 24,                   // "<", ">", "<=", ">=" chained left to right
    AdditiveExpr = 25,                     // "+" and "-" chained left to right
    MultiplicativeExpr = 26,               // "*", "div", "mod" chained left to right
    UnaryExpr = 27,                        // "-" unary, or union
    VariableReference = 36,                // "$" QName
    NameTest = 37,                         // "*", prefix ":" "*", or QName
    QName = 206,                           // [prefix ":"] local name
    Prefix = 207,                          // only recorded, by QName; literal: the prefix
    LocalPart = 208,                       // only recorded; literal: the local name
};

// The form of a rule that has more than one; single-form rules record 0.
// ORDER sub_kind
enum class sub_kind : std::int32_t {
    root_and_relative = 0,         // AbsoluteLocationPath: "/" relative path
    root_only = 1,                 // AbsoluteLocationPath: "/" alone
    root_abbreviated = 2,          // AbsoluteLocationPath: "//" relative path
    step_slash_path = 3,           // RelativeLocationPath: step "/" path
    step_double_slash_path = 4,    // RelativeLocationPath: step "//" path
    single_step = 5,               // RelativeLocationPath: one step
    abbreviated_step = 6,          // Step: "." or ".."
    full_step = 7,                 // Step: axis, node test, predicates (variant: their count)
    variable_primary = 8,          // PrimaryExpr: variable reference
    parenthesised_primary = 9,     // PrimaryExpr: "(" Expr ")"
    literal_primary = 10,          // PrimaryExpr: literal (literal: its text)
    number_primary = 11,           // PrimaryExpr: number (literal: its text)
    call_primary = 12,             // PrimaryExpr: function call
    any_name = 13,                 // NameTest: "*"
    prefix_any_name = 14,          // NameTest: prefix ":" "*"
    qualified_name_test = 15,      // NameTest: QName
    prefixed_qname = 16,           // QName: prefix ":" local name
    plain_qname = 17,              // QName: local name only
    attribute_axis = 18,           // AxisSpecifier: "@"
    named_axis = 19,               // AxisSpecifier: axis name "::"
    default_axis = 20,             // AxisSpecifier: none given
    path_location = 21,            // PathExpr: location path
    path_filter = 22,              // PathExpr: filter expression
    path_filter_slash = 23,        // PathExpr: filter "/" relative path
    path_filter_double_slash = 24, // PathExpr: filter "//" relative path
    filter_primary = 25,           // FilterExpr: primary
    filter_predicate = 26,         // FilterExpr: the filter before it and one predicate
    relative_location = 27,        // LocationPath: relative
    absolute_location = 28,        // LocationPath: absolute
    node_type_test = 29,           // NodeTest: comment(), node(), text() (variant: the keyword)
    pi_test = 30,                  // NodeTest: processing-instruction()
    pi_literal_test = 31,          // NodeTest: processing-instruction(literal)
    name_node_test = 32,           // NodeTest: name test
    equal_op = 33,                 // EqualityExpr: "="
    not_equal_op = 34,             // EqualityExpr: "!="
    no_equality = 35,              // EqualityExpr: no operator
    union_single = 36,             // UnionExpr: one path
    union_bar = 37,                // UnionExpr: path "|" union
    no_additive = 38,              // AdditiveExpr: no operator
    first_plus = 39,               // AdditiveExpr: first "+"
    first_minus = 40,              // AdditiveExpr: first "-"
    next_plus = 41,                // AdditiveExpr: a further "+"
    next_minus = 42,               // AdditiveExpr: a further "-"
    no_or = 43,                    // OrExpr: no operator
    or_op = 44,                    // OrExpr: "or"
    no_and = 45,                   // AndExpr: no operator
    and_op = 46,                   // AndExpr: "and"
    no_relational = 47,            // RelationalExpr: no operator
    less_op = 48,                  // RelationalExpr: "<"
    greater_op = 49,               // RelationalExpr: ">"
    less_equal_op = 50,            // RelationalExpr: "<="
    greater_equal_op = 51,         // RelationalExpr: ">="
    no_negation = 52,              // UnaryExpr: union
    negation = 53,                 // UnaryExpr: "-" unary
    no_multiplicative = 54,        // MultiplicativeExpr: no operator
    multiply_op = 55,              // MultiplicativeExpr: "*"
    div_op = 56,                   // MultiplicativeExpr: "div"
    mod_op = 57,                   // MultiplicativeExpr: "mod"
};

// The sub-kind of every rule with a single form (Expr, Predicate, Argument, ...).
constexpr std::int32_t single_form = 0;

// The rules that number their forms apart from the list above.
constexpr std::int32_t call_without_arguments = 0;  // FunctionCall: name "(" ")"
constexpr std::int32_t call_with_arguments = 1;     // FunctionCall: with arguments (variant: their count)
constexpr std::int32_t dot_step = 0;                // AbbreviatedStep: "."
constexpr std::int32_t double_dot_step = 1;         // AbbreviatedStep: ".."
constexpr std::int32_t no_axis_written = 1;         // AbbreviatedAxisSpecifier: a step without an axis (child)

inline std::int32_t code_of(grammar_rule rule) {
    return static_cast<std::int32_t>(rule);
}

inline std::int32_t code_of(sub_kind kind) {
    return static_cast<std::int32_t>(kind);
}

}  // namespace xpath
