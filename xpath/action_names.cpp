// The names of the rules and forms that actions record, for tools and
// messages. A form number means something only together with its rule:
// single-form rules record 0, which is also the first form of
// AbsoluteLocationPath, and three rules number their forms on their own.
#include <iterator>

#include "front_end/action_codes.hpp"
#include "xpath/xpath.hpp"

namespace xpath {
namespace {

const char* name_of_rule(grammar_rule rule) {
    switch (rule) {
        case grammar_rule::LocationPath: return "LocationPath";
        case grammar_rule::AbsoluteLocationPath: return "AbsoluteLocationPath";
        case grammar_rule::RelativeLocationPath: return "RelativeLocationPath";
        case grammar_rule::Step: return "Step";
        case grammar_rule::AxisSpecifier: return "AxisSpecifier";
        case grammar_rule::AxisName: return "AxisName";
        case grammar_rule::NodeTest: return "NodeTest";
        case grammar_rule::Predicate: return "Predicate";
        case grammar_rule::PredicateExpr: return "PredicateExpr";
        case grammar_rule::AbbreviatedAbsoluteLocationPath: return "AbbreviatedAbsoluteLocationPath";
        case grammar_rule::AbbreviatedStep: return "AbbreviatedStep";
        case grammar_rule::AbbreviatedAxisSpecifier: return "AbbreviatedAxisSpecifier";
        case grammar_rule::Expr: return "Expr";
        case grammar_rule::PrimaryExpr: return "PrimaryExpr";
        case grammar_rule::FunctionCall: return "FunctionCall";
        case grammar_rule::Argument: return "Argument";
        case grammar_rule::UnionExpr: return "UnionExpr";
        case grammar_rule::PathExpr: return "PathExpr";
        case grammar_rule::FilterExpr: return "FilterExpr";
        case grammar_rule::OrExpr: return "OrExpr";
        case grammar_rule::AndExpr: return "AndExpr";
        case grammar_rule::EqualityExpr: return "EqualityExpr";
        case grammar_rule::RelationalExpr: return "RelationalExpr";
        case grammar_rule::AdditiveExpr: return "AdditiveExpr";
        case grammar_rule::MultiplicativeExpr: return "MultiplicativeExpr";
        case grammar_rule::UnaryExpr: return "UnaryExpr";
        case grammar_rule::VariableReference: return "VariableReference";
        case grammar_rule::NameTest: return "NameTest";
        case grammar_rule::QName: return "QName";
        case grammar_rule::Prefix: return "Prefix";
        case grammar_rule::LocalPart: return "LocalPart";
    }
    return nullptr;
}

struct named_form {
    sub_kind form;
    grammar_rule rule;  // the rule that records this form
    const char* name;
};

// ORDER sub_kind
constexpr named_form form_names[] = {
    {sub_kind::root_and_relative, grammar_rule::AbsoluteLocationPath, "root_and_relative"},
    {sub_kind::root_only, grammar_rule::AbsoluteLocationPath, "root_only"},
    {sub_kind::root_abbreviated, grammar_rule::AbsoluteLocationPath, "root_abbreviated"},
    {sub_kind::step_slash_path, grammar_rule::RelativeLocationPath, "step_slash_path"},
    {sub_kind::step_double_slash_path, grammar_rule::RelativeLocationPath, "step_double_slash_path"},
    {sub_kind::single_step, grammar_rule::RelativeLocationPath, "single_step"},
    {sub_kind::abbreviated_step, grammar_rule::Step, "abbreviated_step"},
    {sub_kind::full_step, grammar_rule::Step, "full_step"},
    {sub_kind::variable_primary, grammar_rule::PrimaryExpr, "variable_primary"},
    {sub_kind::parenthesised_primary, grammar_rule::PrimaryExpr, "parenthesised_primary"},
    {sub_kind::literal_primary, grammar_rule::PrimaryExpr, "literal_primary"},
    {sub_kind::number_primary, grammar_rule::PrimaryExpr, "number_primary"},
    {sub_kind::call_primary, grammar_rule::PrimaryExpr, "call_primary"},
    {sub_kind::any_name, grammar_rule::NameTest, "any_name"},
    {sub_kind::prefix_any_name, grammar_rule::NameTest, "prefix_any_name"},
    {sub_kind::qualified_name_test, grammar_rule::NameTest, "qualified_name_test"},
    {sub_kind::prefixed_qname, grammar_rule::QName, "prefixed_qname"},
    {sub_kind::plain_qname, grammar_rule::QName, "plain_qname"},
    {sub_kind::attribute_axis, grammar_rule::AxisSpecifier, "attribute_axis"},
    {sub_kind::named_axis, grammar_rule::AxisSpecifier, "named_axis"},
    {sub_kind::default_axis, grammar_rule::AxisSpecifier, "default_axis"},
    {sub_kind::path_location, grammar_rule::PathExpr, "path_location"},
    {sub_kind::path_filter, grammar_rule::PathExpr, "path_filter"},
    {sub_kind::path_filter_slash, grammar_rule::PathExpr, "path_filter_slash"},
    {sub_kind::path_filter_double_slash, grammar_rule::PathExpr, "path_filter_double_slash"},
    {sub_kind::filter_primary, grammar_rule::FilterExpr, "filter_primary"},
    {sub_kind::filter_predicate, grammar_rule::FilterExpr, "filter_predicate"},
    {sub_kind::relative_location, grammar_rule::LocationPath, "relative_location"},
    {sub_kind::absolute_location, grammar_rule::LocationPath, "absolute_location"},
    {sub_kind::node_type_test, grammar_rule::NodeTest, "node_type_test"},
    {sub_kind::pi_test, grammar_rule::NodeTest, "pi_test"},
    {sub_kind::pi_literal_test, grammar_rule::NodeTest, "pi_literal_test"},
    {sub_kind::name_node_test, grammar_rule::NodeTest, "name_node_test"},
    {sub_kind::equal_op, grammar_rule::EqualityExpr, "equal_op"},
    {sub_kind::not_equal_op, grammar_rule::EqualityExpr, "not_equal_op"},
    {sub_kind::no_equality, grammar_rule::EqualityExpr, "no_equality"},
    {sub_kind::union_single, grammar_rule::UnionExpr, "union_single"},
    {sub_kind::union_bar, grammar_rule::UnionExpr, "union_bar"},
    {sub_kind::no_additive, grammar_rule::AdditiveExpr, "no_additive"},
    {sub_kind::first_plus, grammar_rule::AdditiveExpr, "first_plus"},
    {sub_kind::first_minus, grammar_rule::AdditiveExpr, "first_minus"},
    {sub_kind::next_plus, grammar_rule::AdditiveExpr, "next_plus"},
    {sub_kind::next_minus, grammar_rule::AdditiveExpr, "next_minus"},
    {sub_kind::no_or, grammar_rule::OrExpr, "no_or"},
    {sub_kind::or_op, grammar_rule::OrExpr, "or_op"},
    {sub_kind::no_and, grammar_rule::AndExpr, "no_and"},
    {sub_kind::and_op, grammar_rule::AndExpr, "and_op"},
    {sub_kind::no_relational, grammar_rule::RelationalExpr, "no_relational"},
    {sub_kind::less_op, grammar_rule::RelationalExpr, "less_op"},
    {sub_kind::greater_op, grammar_rule::RelationalExpr, "greater_op"},
    {sub_kind::less_equal_op, grammar_rule::RelationalExpr, "less_equal_op"},
    {sub_kind::greater_equal_op, grammar_rule::RelationalExpr, "greater_equal_op"},
    {sub_kind::no_negation, grammar_rule::UnaryExpr, "no_negation"},
    {sub_kind::negation, grammar_rule::UnaryExpr, "negation"},
    {sub_kind::no_multiplicative, grammar_rule::MultiplicativeExpr, "no_multiplicative"},
    {sub_kind::multiply_op, grammar_rule::MultiplicativeExpr, "multiply_op"},
    {sub_kind::div_op, grammar_rule::MultiplicativeExpr, "div_op"},
    {sub_kind::mod_op, grammar_rule::MultiplicativeExpr, "mod_op"},
};

constexpr bool form_names_follow_their_codes() {
    for (std::size_t i = 0; i < std::size(form_names); ++i)
        if (static_cast<std::int32_t>(form_names[i].form) != static_cast<std::int32_t>(i)) return false;
    return true;
}
static_assert(form_names_follow_their_codes(), "form_names must list every sub_kind in code order");

// The forms that AbbreviatedStep, FunctionCall and AbbreviatedAxisSpecifier
// number on their own, outside the shared numbering.
const char* own_form_name(grammar_rule rule, std::int32_t form) {
    switch (rule) {
        case grammar_rule::AbbreviatedStep:
            return form == dot_step ? "dot" : form == double_dot_step ? "dot_dot" : nullptr;
        case grammar_rule::FunctionCall:
            return form == call_without_arguments ? "no_arguments" : form == call_with_arguments ? "with_arguments" : nullptr;
        case grammar_rule::AbbreviatedAxisSpecifier: return form == no_axis_written ? "default_axis" : nullptr;
        default: return nullptr;
    }
}


}  // namespace

const char* rule_name(std::int32_t rule) {
    return name_of_rule(static_cast<grammar_rule>(rule));
}

const char* form_name(std::int32_t rule, std::int32_t form) {
    auto named_rule = static_cast<grammar_rule>(rule);
    if (!name_of_rule(named_rule)) return nullptr;
    if (const char* own = own_form_name(named_rule, form)) return own;
    if (form >= 0 && form < static_cast<std::int32_t>(std::size(form_names)) && form_names[form].rule == named_rule)
        return form_names[form].name;
    return form == single_form ? "" : nullptr;
}

const char* kind_name(value_kind kind) {
    switch (kind) {
        case value_kind::kind_bool: return "bool";
        case value_kind::kind_string: return "string";
        case value_kind::kind_int: return "int";
        case value_kind::kind_double: return "double";
        case value_kind::kind_nodes: return "nodes";
        case value_kind::kind_none: return "none";
    }
    return "?";
}

}  // namespace xpath
