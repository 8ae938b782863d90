// Carrying out one action. Most rules run the rules of their parts, the
// rightmost part first, since its actions were recorded last. Binary
// operators and function calls re-raise any failure inside them under their
// own code. Three forms run their parts in a different order than recorded,
// and are taken apart here by position: a filter followed by a path
// ("(/a)/b"), a filter with predicates ("(/a)[1]") and a prefixed name ("p:a").
// The depth of the calls grows only with the nesting of Expr, which the walker
// bounds: an action with a single part is followed in a loop, and chains of
// operators, bars and signs are run in loops too.
#include "action_executor.hpp"

#include <limits>
#include <utility>

#include <tinyxml.h>

#include "bound_variables.hpp"
#include "core_functions.hpp"
#include "evaluation_errors.hpp"
#include "number_text.hpp"
#include "operators.hpp"
#include "front_end/xpath_errors.hpp"

namespace xpath {
namespace {

bool is(const recorded_action& action, sub_kind wanted) {
    return action.sub_kind == code_of(wanted);
}

}  // namespace

void action_executor::require_rule(const recorded_action& action, grammar_rule expected) {
    if (action.rule != code_of(expected)) raise_execution_error(execution_code::action_out_of_place);
}

void action_executor::run_rule(grammar_rule expected, bool skip) {
    for (;;) {
        const recorded_action& action = actions_.take_action();
        require_rule(action, expected);
        grammar_rule part;
        if (!has_single_part(action, expected, part)) {
            run_action(action, expected, skip);
            return;
        }
        expected = part;
    }
}

// The rules and forms that consist of one part, and that part.
bool action_executor::has_single_part(const recorded_action& action, grammar_rule rule, grammar_rule& part) {
    auto when = [&](sub_kind wanted, grammar_rule single) {
        if (!is(action, wanted)) return false;
        part = single;
        return true;
    };
    switch (rule) {
        case grammar_rule::Expr: part = grammar_rule::OrExpr; return true;
        case grammar_rule::Argument:
        case grammar_rule::PredicateExpr: part = grammar_rule::Expr; return true;
        case grammar_rule::Predicate: part = grammar_rule::PredicateExpr; return true;
        case grammar_rule::OrExpr: return when(sub_kind::no_or, grammar_rule::AndExpr);
        case grammar_rule::AndExpr: return when(sub_kind::no_and, grammar_rule::EqualityExpr);
        case grammar_rule::EqualityExpr: return when(sub_kind::no_equality, grammar_rule::RelationalExpr);
        case grammar_rule::RelationalExpr: return when(sub_kind::no_relational, grammar_rule::AdditiveExpr);
        case grammar_rule::AdditiveExpr: return when(sub_kind::no_additive, grammar_rule::MultiplicativeExpr);
        case grammar_rule::MultiplicativeExpr: return when(sub_kind::no_multiplicative, grammar_rule::UnaryExpr);
        case grammar_rule::UnaryExpr: return when(sub_kind::no_negation, grammar_rule::UnionExpr);
        case grammar_rule::UnionExpr: return when(sub_kind::union_single, grammar_rule::PathExpr);
        case grammar_rule::PathExpr:
            return when(sub_kind::path_location, grammar_rule::LocationPath) ||
                   when(sub_kind::path_filter, grammar_rule::FilterExpr);
        case grammar_rule::FilterExpr: return when(sub_kind::filter_primary, grammar_rule::PrimaryExpr);
        case grammar_rule::PrimaryExpr:
            return when(sub_kind::variable_primary, grammar_rule::VariableReference) ||
                   when(sub_kind::parenthesised_primary, grammar_rule::Expr) ||
                   when(sub_kind::call_primary, grammar_rule::FunctionCall);
        case grammar_rule::LocationPath:
            return when(sub_kind::relative_location, grammar_rule::RelativeLocationPath) ||
                   when(sub_kind::absolute_location, grammar_rule::AbsoluteLocationPath);
        case grammar_rule::QName: return when(sub_kind::plain_qname, grammar_rule::LocalPart);
        default: return false;
    }
}

// The forms with more than one part, or none; has_single_part takes the rest.
void action_executor::run_action(const recorded_action& action, grammar_rule rule, bool skip) {
    switch (rule) {
        case grammar_rule::OrExpr:
        case grammar_rule::AndExpr:
        case grammar_rule::EqualityExpr:
        case grammar_rule::RelationalExpr:
        case grammar_rule::AdditiveExpr:
        case grammar_rule::MultiplicativeExpr: run_operator_rule(action, rule, skip); return;
        case grammar_rule::UnaryExpr:
            if (is(action, sub_kind::negation)) run_negations(skip);
            return;
        case grammar_rule::UnionExpr:
            if (is(action, sub_kind::union_bar)) run_union(skip);
            return;
        case grammar_rule::PathExpr:
            if (is(action, sub_kind::path_filter_slash) || is(action, sub_kind::path_filter_double_slash))
                run_path_with_filter(action, skip);
            return;
        case grammar_rule::FilterExpr:
            if (is(action, sub_kind::filter_predicate)) run_filter_predicates(skip);
            return;
        case grammar_rule::PrimaryExpr: run_primary(action, skip); return;
        case grammar_rule::FunctionCall: run_function_call(action, skip); return;
        case grammar_rule::LocationPath: return;
        case grammar_rule::AbsoluteLocationPath: run_absolute_path(action, skip); return;
        case grammar_rule::RelativeLocationPath:
            run_path_chain(actions_.cursor() + 1, step_input::from_context, false, first_action_position(action), skip);
            return;
        case grammar_rule::QName: run_qname(action, skip); return;
        case grammar_rule::Prefix:
        case grammar_rule::LocalPart:
            if (!skip) values_.push_string(action.literal);
            return;
        case grammar_rule::VariableReference: run_variable(skip); return;
        default: raise_execution_error(execution_code::no_execution);
    }
}

// OrExpr to MultiplicativeExpr: without an operator, the operand's rule;
// with operators, the chain of them under the rule's failure code.
void action_executor::run_operator_rule(const recorded_action& action, grammar_rule rule, bool skip) {
    struct level {
        grammar_rule rule, operand;
        execution_code failure_code;
    };
    using code = execution_code;
    static const level levels[] = {
        {grammar_rule::OrExpr, grammar_rule::AndExpr, code::or_failed},
        {grammar_rule::AndExpr, grammar_rule::EqualityExpr, code::and_failed},
        {grammar_rule::EqualityExpr, grammar_rule::RelationalExpr, code::equality_failed},
        {grammar_rule::RelationalExpr, grammar_rule::AdditiveExpr, code::relational_failed},
        {grammar_rule::AdditiveExpr, grammar_rule::MultiplicativeExpr, code::additive_failed},
        {grammar_rule::MultiplicativeExpr, grammar_rule::UnaryExpr, code::multiplicative_failed},
    };
    for (const level& l : levels) {
        if (l.rule != rule) continue;
        if (rule == grammar_rule::OrExpr || rule == grammar_rule::AndExpr)
            run_logic_chain(l.rule, l.operand, skip, l.failure_code);
        else
            run_operator_chain(action, l.rule, l.operand, skip, l.failure_code);
    }
}

// "a or b or c" stops at its first true operand, "and" at its first false
// one, so that what follows is never evaluated. The operands were recorded
// left to right: a pass in skip mode going down finds where each one's
// actions end, and they then run from the first.
void action_executor::run_logic_chain(grammar_rule rule, grammar_rule operand, bool skip,
                                      execution_code failure_code) {
    try {
        std::vector<std::int32_t> operand_tops;  // the last operand first
        operand_tops.push_back(actions_.cursor());
        run_rule(operand, true);
        while (actions_.read_action(actions_.cursor()).rule == code_of(rule)) {
            actions_.take_action();
            operand_tops.push_back(actions_.cursor());
            run_rule(operand, true);
        }
        operand_tops.push_back(actions_.cursor());
        run_rule(operand, true);
        std::int32_t below_chain = actions_.cursor();
        if (!skip) {
            const bool deciding = rule == grammar_rule::OrExpr;  // the truth that ends the chain
            bool result = !deciding;
            for (auto top = operand_tops.rbegin(); top != operand_tops.rend() && result != deciding; ++top) {
                actions_.move_cursor_to(*top);
                run_rule(operand, false);
                if (values_.pop_bool() == deciding) result = deciding;
            }
            values_.push_bool(result);
        }
        actions_.move_cursor_to(below_chain);
    } catch (const execution_error&) {
        raise_execution_error(failure_code);
    }
}

// "8 div 4 div 2" is recorded left-nested: each operator lies right above its
// right operand, and a further operator has the chain before it as its left
// operand, so the action below its right operand is of the chain's own rule.
// Going down, each operator's right operand is evaluated and kept; below the
// last one lies the chain's first operand. The operators then apply from the
// first outwards, left to right, without a call per operator. Any failure
// inside is the rule's failure, as it is for each nested operator.
void action_executor::run_operator_chain(const recorded_action& outermost, grammar_rule rule, grammar_rule operand,
                                         bool skip, execution_code failure_code) {
    struct kept_operand {
        std::int32_t sub_kind;
        path_value right;
    };
    try {
        std::int32_t op = outermost.sub_kind;
        run_rule(operand, skip);
        path_value right = take_operand(skip);
        std::vector<kept_operand> outer;  // the operators after the first, the last one first
        while (actions_.read_action(actions_.cursor()).rule == code_of(rule)) {
            outer.push_back({op, std::move(right)});
            op = actions_.take_action().sub_kind;
            run_rule(operand, skip);
            right = take_operand(skip);
        }
        run_rule(operand, skip);
        if (skip) return;
        path_value left = take_operand(skip);
        apply_operator(op, left, right);
        for (auto link = outer.rbegin(); link != outer.rend(); ++link) {
            path_value chain = take_operand(skip);
            apply_operator(link->sub_kind, chain, link->right);
        }
    } catch (const execution_error&) {
        raise_execution_error(failure_code);
    }
}

// The top value, removed from the stack; nothing in skip mode.
path_value action_executor::take_operand(bool skip) {
    path_value operand;
    if (skip) return operand;
    operand = values_.pop_value();
    return operand;
}

void action_executor::apply_operator(std::int32_t sub_kind_code, path_value& left, path_value& right) {
    sub_kind op = static_cast<sub_kind>(sub_kind_code);
    switch (op) {
        case sub_kind::first_plus:
        case sub_kind::next_plus: op_add(values_, left, right); break;
        case sub_kind::first_minus:
        case sub_kind::next_minus: op_subtract(values_, left, right); break;
        case sub_kind::multiply_op:
        case sub_kind::div_op:
        case sub_kind::mod_op: op_multiplicative(values_, op, left, right); break;
        default: op_compare(values_, op, left, right); break;
    }
}

// "- - - x" and "a | b | c" record a run of actions of one rule, one per
// sign or bar, one below the other above the innermost form's. Takes the
// run and the innermost one, runs that one's part, and returns how many
// signs or bars there are in all (the outermost, already taken, included).
std::int32_t action_executor::run_nested_run(grammar_rule rule, sub_kind nested, sub_kind innermost,
                                             grammar_rule part, bool skip) {
    std::int32_t count = 1;
    for (;;) {
        const recorded_action& inner = actions_.take_action();
        require_rule(inner, rule);
        if (is(inner, nested)) {
            ++count;
            continue;
        }
        if (is(inner, innermost)) run_rule(part, skip);
        return count;
    }
}

// Each sign negates in turn once the operand has run.
void action_executor::run_negations(bool skip) {
    std::int32_t signs =
        run_nested_run(grammar_rule::UnaryExpr, sub_kind::negation, sub_kind::no_negation, grammar_rule::UnionExpr, skip);
    if (skip) return;
    for (; signs > 0; --signs) op_negate(values_);
}

// A | B: B (recorded after the bar, so met first) must be a collection, and
// so must A. The last path runs first, and each bar, innermost first, joins
// its own left-hand path to the union so far.
void action_executor::run_union(bool skip) {
    std::int32_t bars =
        run_nested_run(grammar_rule::UnionExpr, sub_kind::union_bar, sub_kind::union_single, grammar_rule::PathExpr, skip);
    for (; bars > 0; --bars) join_union_operand(skip);
}

void action_executor::join_union_operand(bool skip) {
    node_collection right;
    if (!skip) right = pop_node_collection();
    run_rule(grammar_rule::PathExpr, skip);
    if (skip) return;
    node_collection left = pop_node_collection();
    op_union(values_, right, left);
}

// The collection on top of the stack; any other value there is an error.
node_collection action_executor::pop_node_collection() {
    if (values_.top().kind != value_kind::kind_nodes) raise_execution_error(execution_code::not_a_node_collection);
    return values_.pop_nodes();
}

// "$name": the name lies below; a skipped operand ("1 or $v") is never read.
void action_executor::run_variable(bool skip) {
    run_rule(grammar_rule::QName, skip);
    if (skip) return;
    std::string name = values_.pop_string();
    if (!context_.variables) raise_execution_error(execution_code::no_execution);
    values_.push_value(context_.variables->value_of(name));
}

// Arguments are met last first and stored in written order.
void action_executor::run_function_call(const recorded_action& action, bool skip) {
    bool has_arguments = action.sub_kind == call_with_arguments && argument_count(action) > 0;
    std::int32_t count = has_arguments ? argument_count(action) : 0;
    try {
        std::vector<path_value> arguments(skip ? 0 : static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            run_rule(grammar_rule::Argument, skip);
            if (skip) continue;
            if (values_.count() == 0) raise_execution_error(execution_code::no_argument_value);
            arguments[static_cast<std::size_t>(count - 1 - i)] = values_.pop_value();
        }
        run_rule(grammar_rule::QName, skip);
        if (skip) return;
        std::string name = values_.pop_string();
        call_function(values_, context_, name, arguments);
    } catch (const execution_error&) {
        raise_execution_error(execution_code::function_failed);
    }
}

// A number with a "." is a double, and so is one too large for 32 bits, so
// that it keeps its value; any other is an integer. A predicate's number is
// read once per candidate, so the integer path stays free of strtod.
void action_executor::run_primary(const recorded_action& action, bool skip) {
    switch (static_cast<sub_kind>(action.sub_kind)) {
        case sub_kind::literal_primary:
            if (!skip) values_.push_string(action.literal);
            break;
        case sub_kind::number_primary:
            if (!skip) push_number_literal(action.literal);
            break;
        default: break;
    }
}

// The literal's digits, with at most one ".", as the scanner formed them.
void action_executor::push_number_literal(const std::string& digits) {
    // Nine digits always fit in 32 bits; longer ones may not.
    constexpr std::size_t digits_that_fit = 9;
    bool is_integer = digits.find('.') == std::string::npos;
    if (is_integer && digits.size() <= digits_that_fit) {
        values_.push_int(parse_int(digits), "primary number");
        return;
    }
    double value = parse_number(digits);
    if (is_integer && value <= std::numeric_limits<std::int32_t>::max())
        values_.push_int(static_cast<std::int32_t>(value), "primary number");
    else
        values_.push_double(value);
}

// "p:a" is recorded prefix first, so going backwards the local part comes
// first. TinyXML keeps the prefix in the name, so the test is the whole "p:a".
void action_executor::run_qname(const recorded_action& action, bool skip) {
    if (!is(action, sub_kind::prefixed_qname)) return;
    const recorded_action& local = actions_.take_action();
    const recorded_action& prefix = actions_.take_action();
    if (local.rule != code_of(grammar_rule::LocalPart) || prefix.rule != code_of(grammar_rule::Prefix))
        raise_execution_error(execution_code::action_out_of_place);
    if (!skip) values_.push_string(prefix.literal + ":" + local.literal);
}

// "/", "/path" and "//path": the root node, or the path from it.
void action_executor::run_absolute_path(const recorded_action& action, bool skip) {
    if (is(action, sub_kind::root_only)) {
        if (!skip) {
            node_collection root;
            root.append(context_.root);
            values_.push_nodes(std::move(root));
        }
        return;
    }
    // The path's outermost RelativeLocationPath lies right below, or below the "//" marker action.
    bool abbreviated = is(action, sub_kind::root_abbreviated);
    std::int32_t first_relative = abbreviated ? actions_.cursor() - 1 : actions_.cursor();
    run_path_chain(first_relative, step_input::from_root, abbreviated, first_action_position(action), skip);
}

// "(/a)/b" and "(/a)//b": the relative path takes the filter's collection as
// its input. The path's actions lie above the filter's.
void action_executor::run_path_with_filter(const recorded_action& action, bool skip) {
    std::int32_t relative_index = actions_.cursor();
    const recorded_action& relative = actions_.read_action(relative_index);
    require_rule(relative, grammar_rule::RelativeLocationPath);
    actions_.move_cursor_to(first_action_position(relative) - 1);
    run_rule(grammar_rule::FilterExpr, skip);
    std::int32_t below_filter = actions_.cursor();
    if (!skip)
        run_path_chain(relative_index, step_input::from_stack, is(action, sub_kind::path_filter_double_slash),
                       first_action_position(relative), false);
    actions_.move_cursor_to(below_filter);
}

// "(/a)[p][q]": each predicate lies above the filter it applies to, and the
// primary expression lies lowest. The predicates are passed over going down,
// the primary runs, and the predicates apply in written order, each to what
// the one before kept, in document order. A number keeps the entry at that
// position; any other value keeps the entries for which it is true.
void action_executor::run_filter_predicates(bool skip) {
    std::vector<std::int32_t> predicate_tops;  // the last written first
    for (;;) {
        predicate_tops.push_back(actions_.cursor());
        run_rule(grammar_rule::Predicate, true);
        const recorded_action& below = actions_.read_action(actions_.cursor());
        if (below.rule != code_of(grammar_rule::FilterExpr) || !is(below, sub_kind::filter_predicate)) break;
        actions_.take_action();
    }
    run_rule(grammar_rule::PrimaryExpr, skip);
    std::int32_t below_primary = actions_.cursor();
    if (!skip) {
        node_collection entries = pop_node_collection();
        for (auto top = predicate_tops.rbegin(); top != predicate_tops.rend(); ++top)
            entries = filtered_entries(entries, *top);
        values_.push_nodes(std::move(entries));
    }
    actions_.move_cursor_to(below_primary);
}

node_collection action_executor::filtered_entries(const node_collection& entries, std::int32_t predicate_top) {
    std::vector<node_ref> kept;
    const auto size = static_cast<std::int32_t>(entries.count());
    for (std::int32_t i = 0; i < size; ++i) {
        const node_ref& entry = entries.at(static_cast<std::uint32_t>(i));
        if (predicate_holds(predicate_top, entry, i + 1, size)) kept.push_back(entry);
    }
    return node_collection(std::move(kept));
}

}  // namespace xpath
