// Location paths and steps. A path's steps are found by position in the log:
// the chain of RelativeLocationPath actions below the outermost one names the
// first action of each later step's path, so step j-1's Step action lies just
// below it. A step reads its own actions backwards (predicates, node test,
// axis), walks the axis from every input node and filters each context
// node's nodes through the predicates in written order, counting positions
// in the axis's direction. The step's collection is in document order
// without duplicates; it is sorted only when its input held several nodes
// and their results came out of order.
//
// "//" is "/descendant-or-self::node()/". Before a child or attribute step
// it is not spelled out: one walk over each input's subtree meets every
// parent, works out its kept children with their positions among their
// siblings, and gives them in document order ("//item[500]" is the 500th
// item of each parent).
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include <tinyxml.h>

#include "action_executor.hpp"
#include "evaluation_errors.hpp"
#include "number_text.hpp"
#include "front_end/lex_class.hpp"

namespace xpath {
namespace {

bool is(const recorded_action& action, sub_kind wanted) {
    return action.sub_kind == code_of(wanted);
}

bool is_inside(const TiXmlNode* node, const TiXmlNode* top) {
    for (; node; node = node->Parent())
        if (node == top) return true;
    return false;
}

// The node-type keyword's test.
node_test::form type_test_form(std::int32_t keyword) {
    switch (static_cast<lex_class>(keyword)) {
        case lex_class::type_comment: return node_test::form::comment;
        case lex_class::type_text: return node_test::form::text;
        case lex_class::type_node: return node_test::form::any_node;
        case lex_class::type_processing_instruction: return node_test::form::instruction;
        default: raise_execution_error(execution_code::action_out_of_place);
    }
}

}  // namespace

void action_executor::run_path_chain(std::int32_t first_relative_index, step_input first_input,
                                     bool double_slash_first, std::int32_t first_action_index, bool skip) {
    if (skip) {
        actions_.move_cursor_to(first_action_index - 1);
        return;
    }
    // A first step from one node reads it in place: no collection is made for it.
    node_collection current;
    node_ref single = first_input == step_input::from_context ? context_.context_node : node_of(context_.root);
    node_span input{&single, &single + 1};
    if (first_input == step_input::from_stack) {
        current = pop_node_collection();
        input = current.span();
    }
    const std::int32_t relative = code_of(grammar_rule::RelativeLocationPath);
    std::int32_t i = first_relative_index - 1;
    for (std::int32_t j = 0;; ++j, --i) {
        const recorded_action& at = actions_.read_action(i);
        bool more_steps = at.rule == relative;
        // The separator before step j is the sub_kind of the relative path that step j-1 begins.
        bool double_slash = j == 0 ? double_slash_first
                                   : is(actions_.read_action(first_relative_index - (j - 1)),
                                        sub_kind::step_double_slash_path);
        actions_.move_cursor_to(more_steps ? first_action_position(at) - 1 : i);
        current = run_step(input, double_slash);
        input = current.span();
        if (!more_steps) break;
    }
    values_.push_nodes(std::move(current));
    actions_.move_cursor_to(first_action_index - 1);
}

node_collection action_executor::run_step(node_span input, bool after_double_slash) {
    step_form form = read_step();
    if (!after_double_slash) return apply_step(input, form);
    if (form.axis == axis_kind::child || form.axis == axis_kind::attribute) return apply_step_below(input, form);
    node_collection everything = descendant_or_self_of(input);
    return apply_step(everything.span(), form);
}

// descendant-or-self::node() of every input, each subtree walked once.
node_collection action_executor::descendant_or_self_of(node_span input) {
    const node_test any_node;
    std::vector<node_ref> out;
    const TiXmlNode* walked = nullptr;
    for (const node_ref& top : input) {
        if (top.attribute) {
            out.push_back(top);
            continue;
        }
        if (walked && is_inside(top.node, walked)) continue;
        walked = top.node;
        walk_axis(top, axis_kind::descendant_or_self, any_node, out);
    }
    node_collection everything(std::move(out));
    everything.sort_document_order();  // an attribute input comes before its element's children
    return everything;
}

// Takes the step's actions, last recorded first; the cursor is left below its
// axis specifier.
action_executor::step_form action_executor::read_step() {
    const recorded_action& step = actions_.take_action();
    require_rule(step, grammar_rule::Step);
    step_form form;
    if (is(step, sub_kind::abbreviated_step)) {
        // "." is self::node(), ".." parent::node().
        const recorded_action& abbreviated = actions_.take_action();
        require_rule(abbreviated, grammar_rule::AbbreviatedStep);
        form.axis = abbreviated.sub_kind == dot_step ? axis_kind::self : axis_kind::parent;
        return form;
    }
    for (std::int32_t k = 0; k < predicate_count(step); ++k) {
        form.predicate_tops.push_back(actions_.cursor());
        run_rule(grammar_rule::Predicate, true);
    }
    if (!form.predicate_tops.empty()) {
        form.first_position = named_position(form.predicate_tops.back());
        if (form.first_position != any_position) form.predicate_tops.pop_back();
    }
    read_node_test(form);
    read_axis(form);
    form.test.attribute_principal = form.axis == axis_kind::attribute;
    return form;
}

// AxisSpecifier: "@", an axis name, or nothing (child).
void action_executor::read_axis(step_form& form) {
    const recorded_action& specifier = actions_.take_action();
    require_rule(specifier, grammar_rule::AxisSpecifier);
    form.axis = is(specifier, sub_kind::attribute_axis) ? axis_kind::attribute : axis_kind::child;
    if (is(specifier, sub_kind::named_axis)) form.axis = axis_of_keyword(lexeme_class(actions_.take_action()));
}

// NodeTest: a node type, processing-instruction with or without its target,
// or a name test ("*" or a name; "p:*" is not evaluated, since no prefix is
// resolved).
void action_executor::read_node_test(step_form& form) {
    const recorded_action& test = actions_.take_action();
    require_rule(test, grammar_rule::NodeTest);
    using form_of = node_test::form;
    if (is(test, sub_kind::node_type_test) || is(test, sub_kind::pi_test)) {
        form.test.test_form = type_test_form(lexeme_class(test));
        return;
    }
    if (is(test, sub_kind::pi_literal_test)) {
        form.test.test_form = form_of::named_instruction;
        form.test.name = test.literal;
        return;
    }
    const recorded_action& name_test = actions_.take_action();
    require_rule(name_test, grammar_rule::NameTest);
    if (is(name_test, sub_kind::any_name)) {
        form.test.test_form = form_of::any_name;
        return;
    }
    if (is(name_test, sub_kind::prefix_any_name)) raise_not_yet();
    form.test.test_form = form_of::name;
    form.test.name = read_qualified_name();
}

// QName: a local part, or "p:a" whole, since TinyXML keeps the prefix in the name.
std::string action_executor::read_qualified_name() {
    const recorded_action& qname = actions_.take_action();
    require_rule(qname, grammar_rule::QName);
    const recorded_action& local = actions_.take_action();
    require_rule(local, grammar_rule::LocalPart);
    if (!is(qname, sub_kind::prefixed_qname)) return local.literal;
    const recorded_action& prefix = actions_.take_action();
    require_rule(prefix, grammar_rule::Prefix);
    return prefix.literal + ":" + local.literal;
}

// The predicate whose actions end at `predicate_top`, when it names one
// position by itself: a number literal (the position it keeps, or
// no_position for a number that is no position) or "last()"
// (last_position); any_position for any other predicate.
std::int32_t action_executor::named_position(std::int32_t predicate_top) const {
    std::int32_t primary_index = lone_primary_below(predicate_top);
    if (primary_index < 0) return any_position;
    const recorded_action& primary = actions_.read_action(primary_index);
    if (is(primary, sub_kind::number_primary)) {
        double number = parse_number(primary.literal);
        bool is_position = number >= 1 && number <= INT32_MAX && number == std::floor(number);
        return is_position ? static_cast<std::int32_t>(number) : no_position;
    }
    return is(primary, sub_kind::call_primary) && calls_last(primary_index - 1) ? last_position : any_position;
}

// Where the PrimaryExpr of a predicate that is nothing but that primary
// expression lies, or -1: from the Predicate down, every level records its
// form without an operator.
std::int32_t action_executor::lone_primary_below(std::int32_t predicate_top) const {
    struct expected_action {
        grammar_rule rule;
        std::int32_t sub_kind;
    };
    static const expected_action levels[] = {
        {grammar_rule::Predicate, 0},
        {grammar_rule::PredicateExpr, 0},
        {grammar_rule::Expr, 0},
        {grammar_rule::OrExpr, code_of(sub_kind::no_or)},
        {grammar_rule::AndExpr, code_of(sub_kind::no_and)},
        {grammar_rule::EqualityExpr, code_of(sub_kind::no_equality)},
        {grammar_rule::RelationalExpr, code_of(sub_kind::no_relational)},
        {grammar_rule::AdditiveExpr, code_of(sub_kind::no_additive)},
        {grammar_rule::MultiplicativeExpr, code_of(sub_kind::no_multiplicative)},
        {grammar_rule::UnaryExpr, code_of(sub_kind::no_negation)},
        {grammar_rule::UnionExpr, code_of(sub_kind::union_single)},
        {grammar_rule::PathExpr, code_of(sub_kind::path_filter)},
        {grammar_rule::FilterExpr, code_of(sub_kind::filter_primary)},
    };
    std::int32_t index = predicate_top;
    for (const expected_action& expected : levels) {
        const recorded_action& at = actions_.read_action(index--);
        if (at.rule != code_of(expected.rule) || at.sub_kind != expected.sub_kind) return -1;
    }
    return actions_.read_action(index).rule == code_of(grammar_rule::PrimaryExpr) ? index : -1;
}

// "last()": a FunctionCall without arguments at `call_index`, with its plain QName and LocalPart below.
bool action_executor::calls_last(std::int32_t call_index) const {
    const recorded_action& call = actions_.read_action(call_index);
    const recorded_action& qname = actions_.read_action(call_index - 1);
    const recorded_action& local = actions_.read_action(call_index - 2);
    return call.rule == code_of(grammar_rule::FunctionCall) && call.sub_kind == call_without_arguments &&
           qname.rule == code_of(grammar_rule::QName) && is(qname, sub_kind::plain_qname) &&
           local.rule == code_of(grammar_rule::LocalPart) && local.literal == "last";
}

// One context node's nodes: the axis's nodes that pass the node test, in
// the axis's order, filtered by the predicates.
void action_executor::gather_group(const node_ref& context, const step_form& form, std::vector<node_ref>& group) {
    group.clear();
    if (form.first_position == no_position) return;
    if (form.first_position == any_position || form.first_position == last_position) {
        walk_axis(context, form.axis, form.test, group);
        if (form.first_position == last_position && group.size() > 1) {
            group.front() = group.back();
            group.resize(1);
        }
    } else {
        const auto wanted = static_cast<std::size_t>(form.first_position);
        walk_axis(context, form.axis, form.test, group, wanted);
        if (group.size() < wanted) {
            group.clear();
            return;
        }
        group.front() = group.back();
        group.resize(1);
    }
    filter_group(group, form.predicate_tops);
}

// Each context node's nodes, filtered, joined in document order: a reverse
// axis's group is turned around once its positions have been counted.
node_collection action_executor::apply_step(node_span input, const step_form& form) {
    const bool reverse = is_reverse(form.axis);
    const bool direct = !reverse && form.predicate_tops.empty() && form.first_position == any_position;
    std::vector<node_ref> out, group;
    for (const node_ref& context_node : input) {
        if (direct) {
            walk_axis(context_node, form.axis, form.test, out);
            continue;
        }
        gather_group(context_node, form, group);
        if (reverse)
            out.insert(out.end(), group.rbegin(), group.rend());
        else
            out.insert(out.end(), group.begin(), group.end());
    }
    node_collection output(std::move(out));
    if (input.size() > 1) output.sort_document_order();
    return output;
}

// "//" before a child or attribute step. An input inside the subtree of the
// one before adds nothing new; the others' subtrees follow one another in
// document order, and so do their results.
node_collection action_executor::apply_step_below(node_span input, const step_form& form) {
    std::vector<node_ref> out;
    const TiXmlNode* walked = nullptr;
    for (const node_ref& top : input) {
        if (top.attribute || (walked && is_inside(top.node, walked))) continue;  // an attribute has neither
        walked = top.node;
        if (form.axis == axis_kind::attribute)
            add_attributes_below(top.node, form, out);
        else if (form.predicate_tops.empty() && form.first_position == any_position)
            add_children_below(top.node, form, out);
        else
            add_kept_children_below(top.node, form, out);
    }
    return node_collection(std::move(out));
}

// Every element's attributes come right after it in document order.
void action_executor::add_attributes_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out) {
    std::vector<node_ref> group;
    for (TiXmlNode* node = top; node; node = next_in_subtree(top, node)) {
        if (!node->ToElement()) continue;
        gather_group(node_of(node), form, group);
        out.insert(out.end(), group.begin(), group.end());
    }
}

// The children of every node of the subtree are its descendants.
void action_executor::add_children_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out) {
    for (TiXmlNode* node = top->FirstChild(); node; node = next_in_subtree(top, node))
        if (is_visible(node) && form.test.matches(node_of(node))) out.push_back(node_of(node));
}

// A pre-order walk that keeps, for every parent on the way down, the list of
// its children that the predicates kept, and gives each of them as the walk
// meets it. The lists are reused level by level.
void action_executor::add_kept_children_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out) {
    struct kept_children {
        std::vector<node_ref> kept;
        std::size_t next = 0;
    };
    std::vector<kept_children> levels;
    std::size_t depth = 0;
    auto open = [&](TiXmlNode* parent) {
        if (levels.size() <= depth) levels.emplace_back();
        kept_children& level = levels[depth++];
        level.next = 0;
        gather_group(node_of(parent), form, level.kept);
    };
    open(top);
    for (TiXmlNode* node = top->FirstChild(); node;) {
        kept_children& level = levels[depth - 1];
        if (level.next < level.kept.size() && level.kept[level.next].node == node) out.push_back(level.kept[level.next++]);
        if (node->FirstChild()) {
            open(node);
            node = node->FirstChild();
            continue;
        }
        for (; node != top && !node->NextSibling(); --depth) node = node->Parent();
        node = node == top ? nullptr : node->NextSibling();
    }
}

// Each predicate, in written order, keeps the nodes for which it holds,
// counting positions among the nodes the one before kept.
void action_executor::filter_group(std::vector<node_ref>& group, const std::vector<std::int32_t>& predicate_tops) {
    for (auto top = predicate_tops.rbegin(); top != predicate_tops.rend() && !group.empty(); ++top) {
        const auto size = static_cast<std::int32_t>(group.size());
        std::size_t kept = 0;
        for (std::int32_t i = 0; i < size; ++i) {
            node_ref candidate = group[static_cast<std::size_t>(i)];
            if (predicate_holds(*top, candidate, i + 1, size)) group[kept++] = candidate;
        }
        group.resize(kept);
    }
}

// A number keeps the node at that position, exactly ("[1.25]" keeps none);
// any other value keeps it when true.
bool action_executor::predicate_holds(std::int32_t predicate_top, const node_ref& node, std::int32_t position,
                                      std::int32_t size) {
    {
        context_scope scope(context_, node, position, size);
        actions_.move_cursor_to(predicate_top);
        run_rule(grammar_rule::Predicate, false);
    }
    path_value& value = values_.top();
    bool keep = value.kind == value_kind::kind_int      ? value.integer == position
                : value.kind == value_kind::kind_double ? value.real == position
                                                        : value.to_bool();
    values_.pop(1);
    return keep;
}

}  // namespace xpath
