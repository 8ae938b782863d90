// Carrying out one action. Most rules run the rules of their parts, the
// rightmost part first, since its actions were recorded last. Binary
// operators and function calls re-raise any failure inside them under their
// own code. Three forms run their parts in a different order than recorded,
// and are taken apart here by position: a filter followed by a path
// ("(/a)/b"), a filter with a predicate ("(/a)[1]") and a prefixed name ("p:a").
#include "action_executor.hpp"

#include <utility>

#include <tinyxml.h>

#include "core_functions.hpp"
#include "evaluation_errors.hpp"
#include "number_text.hpp"
#include "operators.hpp"
#include "xpath/front_end/xpath_errors.hpp"

namespace xpath {
namespace {

constexpr std::int32_t not_a_node_collection = 9;
constexpr std::int32_t empty_stack_after_argument = 10;
constexpr std::int32_t function_failed = 11;
constexpr std::int32_t no_execution = 12;

bool is(const recorded_action& action, sub_kind form) {
    return action.sub_kind == code_of(form);
}

}  // namespace

void action_executor::run_rule(grammar_rule expected, bool skip) {
    const recorded_action& action = actions_.take_action();
    if (action.rule != code_of(expected)) raise_execution_error(2);
    run_action(action, expected, skip);
}

void action_executor::run_action(const recorded_action& action, grammar_rule rule, bool skip) {
    switch (rule) {
        case grammar_rule::Expr: run_rule(grammar_rule::OrExpr, skip); return;
        case grammar_rule::Argument:
        case grammar_rule::PredicateExpr: run_rule(grammar_rule::Expr, skip); return;
        case grammar_rule::Predicate: run_rule(grammar_rule::PredicateExpr, skip); return;
        case grammar_rule::OrExpr:
        case grammar_rule::AndExpr:
        case grammar_rule::EqualityExpr:
        case grammar_rule::RelationalExpr:
        case grammar_rule::AdditiveExpr:
        case grammar_rule::MultiplicativeExpr: run_operator_rule(action, rule, skip); return;
        case grammar_rule::UnaryExpr:
            if (is(action, sub_kind::no_negation)) {
                run_rule(grammar_rule::UnionExpr, skip);
            } else if (is(action, sub_kind::negation)) {
                run_rule(grammar_rule::UnaryExpr, skip);
                if (!skip) op_negate(values_);
            }
            return;
        case grammar_rule::UnionExpr:
            if (is(action, sub_kind::union_single)) run_rule(grammar_rule::PathExpr, skip);
            if (is(action, sub_kind::union_bar)) run_union(skip);
            return;
        case grammar_rule::PathExpr:
            if (is(action, sub_kind::path_location)) run_rule(grammar_rule::LocationPath, skip);
            if (is(action, sub_kind::path_filter)) run_rule(grammar_rule::FilterExpr, skip);
            if (is(action, sub_kind::path_filter_slash) || is(action, sub_kind::path_filter_double_slash))
                run_path_with_filter(action, skip);
            return;
        case grammar_rule::FilterExpr:
            if (is(action, sub_kind::filter_primary)) run_rule(grammar_rule::PrimaryExpr, skip);
            if (is(action, sub_kind::filter_predicate)) run_filter_predicate(skip);
            return;
        case grammar_rule::PrimaryExpr: run_primary(action, skip); return;
        case grammar_rule::FunctionCall: run_function_call(action, skip); return;
        case grammar_rule::LocationPath:
            if (is(action, sub_kind::relative_location)) run_rule(grammar_rule::RelativeLocationPath, skip);
            if (is(action, sub_kind::absolute_location)) run_rule(grammar_rule::AbsoluteLocationPath, skip);
            return;
        case grammar_rule::AbsoluteLocationPath:
            // The path's R(1) lies right below, or below the "//" marker action.
            if (is(action, sub_kind::root_and_relative))
                run_path_chain(actions_.action_cursor, from_root, action.variant, skip);
            if (is(action, sub_kind::root_abbreviated))
                run_path_chain(actions_.action_cursor - 1, from_everything, action.variant, skip);
            return;
        case grammar_rule::RelativeLocationPath:
            run_path_chain(actions_.action_cursor + 1, from_context, action.variant, skip);
            return;
        case grammar_rule::AxisSpecifier:
            if (is(action, sub_kind::attribute_axis) && !skip) values_.push_int(1, "axis specifier is at");
            if (is(action, sub_kind::named_axis)) run_rule(grammar_rule::AxisName, skip);
            if (is(action, sub_kind::default_axis) && !skip) values_.push_int(0, "axis specifier is empty");
            return;
        case grammar_rule::AxisName:
            if (!skip) values_.push_int(action.variant, "axis is a name");
            return;
        case grammar_rule::NodeTest: run_node_test(action, skip); return;
        case grammar_rule::NameTest:
            if (is(action, sub_kind::any_name) && !skip) values_.push_string("*");
            if (is(action, sub_kind::qualified_name_test)) run_rule(grammar_rule::QName, skip);
            // The decoder keeps no prefix for "p:*", so there is nothing to match it by.
            if (is(action, sub_kind::prefix_any_name) && !skip) raise_not_yet();
            return;
        case grammar_rule::QName: run_qname(action, skip); return;
        case grammar_rule::Prefix:
        case grammar_rule::LocalPart:
            if (!skip) values_.push_string(action.literal);
            return;
        default: raise_execution_error(no_execution);
    }
}

// OrExpr to MultiplicativeExpr: without an operator, the operand's rule;
// with one, both operands and the operator, under the rule's failure code.
void action_executor::run_operator_rule(const recorded_action& action, grammar_rule rule, bool skip) {
    struct level {
        grammar_rule rule, operand;
        sub_kind no_operator, first_operator, last_operator;
        std::int32_t failure_code;
    };
    static const level levels[] = {
        {grammar_rule::OrExpr, grammar_rule::AndExpr, sub_kind::no_or, sub_kind::or_op, sub_kind::or_op, 3},
        {grammar_rule::AndExpr, grammar_rule::EqualityExpr, sub_kind::no_and, sub_kind::and_op, sub_kind::and_op, 4},
        {grammar_rule::EqualityExpr, grammar_rule::RelationalExpr, sub_kind::no_equality, sub_kind::equal_op,
         sub_kind::not_equal_op, 5},
        {grammar_rule::RelationalExpr, grammar_rule::AdditiveExpr, sub_kind::no_relational, sub_kind::less_op,
         sub_kind::greater_equal_op, 6},
        {grammar_rule::AdditiveExpr, grammar_rule::MultiplicativeExpr, sub_kind::no_additive, sub_kind::first_plus,
         sub_kind::first_minus, 7},
        {grammar_rule::MultiplicativeExpr, grammar_rule::UnaryExpr, sub_kind::no_multiplicative, sub_kind::multiply_op,
         sub_kind::mod_op, 8},
    };
    for (const level& l : levels) {
        if (l.rule != rule) continue;
        if (is(action, l.no_operator)) {
            run_rule(l.operand, skip);
        } else if (action.sub_kind >= code_of(l.first_operator) && action.sub_kind <= code_of(l.last_operator)) {
            run_binary(action, l.operand, l.operand, skip, l.failure_code);
        } else if (rule == grammar_rule::AdditiveExpr &&
                   (is(action, sub_kind::next_plus) || is(action, sub_kind::next_minus))) {
            // A further "+" or "-": its left operand is the chain before it.
            run_binary(action, l.operand, grammar_rule::AdditiveExpr, skip, l.failure_code);
        }
        return;
    }
}

void action_executor::run_binary(const recorded_action& action, grammar_rule right_rule, grammar_rule left_rule,
                                 bool skip, std::int32_t failure_code) {
    try {
        run_rule(right_rule, skip);
        path_value right;
        if (!skip) right = values_.pop_value();
        run_rule(left_rule, skip);
        if (skip) return;
        path_value left = values_.pop_value();
        apply_operator(action, left, right);
    } catch (const execution_error&) {
        raise_execution_error(failure_code);
    }
}

void action_executor::apply_operator(const recorded_action& action, path_value& left, path_value& right) {
    sub_kind form = static_cast<sub_kind>(action.sub_kind);
    switch (form) {
        case sub_kind::or_op: op_or(values_, left, right); break;
        case sub_kind::and_op: op_and(values_, left, right); break;
        case sub_kind::equal_op: op_equal(values_, left, right); break;
        case sub_kind::not_equal_op: op_not_equal(values_, left, right); break;
        case sub_kind::first_plus:
        case sub_kind::next_plus: op_add(values_, left, right); break;
        case sub_kind::first_minus:
        case sub_kind::next_minus: op_subtract(values_, left, right); break;
        case sub_kind::multiply_op:
        case sub_kind::div_op:
        case sub_kind::mod_op: op_multiplicative(values_, form, left, right); break;
        default: op_compare(values_, form, left, right); break;
    }
}

// A | B: B (recorded after the bar, so met first) must be a collection; its
// entries come first, then those of A that B lacks.
void action_executor::run_union(bool skip) {
    run_rule(grammar_rule::UnionExpr, skip);
    node_collection right;
    if (!skip) {
        if (values_.top().kind != value_kind::kind_nodes) raise_execution_error(not_a_node_collection);
        right = values_.pop_nodes();
    }
    run_rule(grammar_rule::PathExpr, skip);
    if (skip) return;
    node_collection left = values_.pop_nodes();
    op_union(values_, right, left);
}

// Arguments are met last first and stored in written order.
void action_executor::run_function_call(const recorded_action& action, bool skip) {
    std::int32_t count = action.sub_kind == 1 && action.variant > 0 ? action.variant : 0;
    try {
        std::vector<path_value> arguments(skip ? 0 : static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            run_rule(grammar_rule::Argument, skip);
            if (skip) continue;
            if (values_.count() == 0) raise_execution_error(empty_stack_after_argument);
            arguments[static_cast<std::size_t>(count - 1 - i)] = values_.pop_value();
        }
        run_rule(grammar_rule::QName, skip);
        if (skip) return;
        std::string name = values_.pop_string();
        call_function(values_, context_, name, arguments);
    } catch (const execution_error&) {
        raise_execution_error(function_failed);
    }
}

// A number with a "." is a double; any other is an integer.
void action_executor::run_primary(const recorded_action& action, bool skip) {
    switch (static_cast<sub_kind>(action.sub_kind)) {
        case sub_kind::variable_primary: run_rule(grammar_rule::VariableReference, skip); break;
        case sub_kind::parenthesised_primary: run_rule(grammar_rule::Expr, skip); break;
        case sub_kind::literal_primary:
            if (!skip) values_.push_string(action.literal);
            break;
        case sub_kind::number_primary:
            if (skip) break;
            if (action.literal.find('.') != std::string::npos)
                values_.push_double(parse_double(action.literal));
            else
                values_.push_int(parse_int(action.literal), "primary number");
            break;
        case sub_kind::call_primary: run_rule(grammar_rule::FunctionCall, skip); break;
        default: break;
    }
}

// A node-type test replaces the step's axis with its own code and matches any
// name. processing-instruction() does the same with its code, which selects nothing.
void action_executor::run_node_test(const recorded_action& action, bool skip) {
    bool type_test = is(action, sub_kind::node_type_test) || is(action, sub_kind::pi_test) ||
                     is(action, sub_kind::pi_literal_test);
    if (is(action, sub_kind::name_node_test)) run_rule(grammar_rule::NameTest, skip);
    if (!type_test || skip) return;
    values_.pop_int();
    values_.push_int(action.variant, "axis is a keyword");
    values_.push_string("*");
}

// "p:a" is recorded prefix first, so going backwards the local part comes
// first. TinyXML keeps the prefix in the name, so the test is the whole "p:a".
void action_executor::run_qname(const recorded_action& action, bool skip) {
    if (is(action, sub_kind::plain_qname)) {
        run_rule(grammar_rule::LocalPart, skip);
        return;
    }
    if (!is(action, sub_kind::prefixed_qname)) return;
    const recorded_action& local = actions_.take_action();
    const recorded_action& prefix = actions_.take_action();
    if (local.rule != code_of(grammar_rule::LocalPart) || prefix.rule != code_of(grammar_rule::Prefix))
        raise_execution_error(2);
    if (!skip) values_.push_string(prefix.literal + ":" + local.literal);
}

// "(/a)/b" and "(/a)//b": the relative path takes the filter's collection as
// its input. The path's actions lie above the filter's.
void action_executor::run_path_with_filter(const recorded_action& action, bool skip) {
    std::int32_t relative_index = actions_.action_cursor;
    const recorded_action& relative = actions_.read_action(relative_index);
    if (relative.rule != code_of(grammar_rule::RelativeLocationPath)) raise_execution_error(2);
    actions_.action_cursor = relative.variant - 1;
    run_rule(grammar_rule::FilterExpr, skip);
    std::int32_t below_filter = actions_.action_cursor;
    if (!skip) {
        if (values_.top().kind != value_kind::kind_nodes) raise_execution_error(not_a_node_collection);
        if (is(action, sub_kind::path_filter_double_slash)) expand_to_descendants();
        run_path_chain(relative_index, from_stack, relative.variant, false);
    }
    actions_.action_cursor = below_filter;
}

// "(/a)[p]": the predicate lies above the primary expression. A number keeps
// the entry at that position in document order; any other value keeps the
// entries for which it is true.
void action_executor::run_filter_predicate(bool skip) {
    std::int32_t predicate_top = actions_.action_cursor;
    run_rule(grammar_rule::Predicate, true);
    run_rule(grammar_rule::PrimaryExpr, skip);
    std::int32_t below_primary = actions_.action_cursor;
    if (!skip) {
        if (values_.top().kind != value_kind::kind_nodes) raise_execution_error(not_a_node_collection);
        node_collection entries = values_.pop_nodes();
        entries.sort_document_order();
        keep_filtered_entries(entries, predicate_top);
    }
    actions_.action_cursor = below_primary;
}

void action_executor::keep_filtered_entries(node_collection& entries, std::int32_t predicate_top) {
    node_collection kept;
    for (std::uint32_t i = 0; i < entries.count(); ++i) {
        TiXmlElement* element = entries.is_attribute(i) ? nullptr : entries.node_at(i)->ToElement();
        {
            context_scope scope(context_, element, false);
            actions_.action_cursor = predicate_top;
            run_rule(grammar_rule::Predicate, false);
        }
        path_value& value = values_.top();
        bool number = value.kind == value_kind::kind_int || value.kind == value_kind::kind_double;
        bool keep = number ? value.to_int() == static_cast<std::int32_t>(i + 1) : value.to_bool();
        values_.pop(1);
        if (keep) kept.add_unique_from(entries, i);
    }
    values_.push_nodes(std::move(kept));
}

}  // namespace xpath
