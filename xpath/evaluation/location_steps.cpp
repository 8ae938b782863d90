// Location paths and steps. A path's steps are found by position in the log:
// the chain of RelativeLocationPath actions below the outermost one names the
// first action of each later step's path, so step j-1's Step action lies just
// below it. A step reads its own actions backwards: predicates, node test,
// axis; it passes over the predicates and node test in skip mode first, then
// evaluates the axis and the node test, walks the axis from every input
// element and filters the candidates through each predicate in written order.
#include <utility>

#include <tinyxml.h>

#include "action_executor.hpp"
#include "axes.hpp"
#include "evaluation_errors.hpp"

namespace xpath {

void action_executor::run_path_chain(std::int32_t first_relative_index, std::int32_t marker,
                                     std::int32_t first_action_index, bool skip) {
    if (!skip) {
        std::vector<std::int32_t> steps;
        std::int32_t i = first_relative_index - 1;
        const std::int32_t relative = code_of(grammar_rule::RelativeLocationPath);
        for (; actions_.read_action(i).rule == relative; --i) steps.push_back(actions_.read_action(i).variant - 1);
        steps.push_back(i);
        for (std::size_t j = 0; j < steps.size(); ++j) {
            // The separator before step j is the form of the relative path that step j-1 begins.
            std::int32_t separator = j == 0 ? 0 : actions_.read_action(first_relative_index - std::int32_t(j - 1)).sub_kind;
            if (separator == code_of(sub_kind::step_double_slash_path)) expand_to_descendants();
            actions_.action_cursor = steps[j];
            run_step(marker, false);
        }
    }
    actions_.action_cursor = first_action_index - 1;
}

// "a//b": every node at any depth below each element of the collection on
// top, so that the next step's child axis reaches them all.
void action_executor::expand_to_descendants() {
    node_collection input = values_.pop_nodes();
    node_collection below;
    // With one input nothing can be met twice; several inputs may nest.
    bool may_repeat = input.count() > 1;
    for (std::uint32_t i = 0; i < input.count(); ++i)
        if (!input.is_attribute(i) && input.node_at(i)->ToElement())
            add_nodes_below(input.node_at(i), below, may_repeat);
    values_.push_nodes(std::move(below));
}

node_collection action_executor::step_input(std::int32_t& marker) {
    node_collection input;
    switch (marker) {
        case from_context:
            if (context_.context_element) input.append(context_.context_element);
            break;
        case from_everything: add_nodes_below(context_.synthetic_root, input, false); break;
        case from_root: input.append(context_.synthetic_root); break;
        default: return values_.pop_nodes();
    }
    marker = from_stack;
    return input;
}

void action_executor::run_step(std::int32_t& marker, bool skip) {
    node_collection input;
    if (!skip) input = step_input(marker);
    const recorded_action& step = actions_.take_action();
    if (step.rule != code_of(grammar_rule::Step)) raise_execution_error(2);
    std::vector<std::int32_t> predicate_tops;  // the last written predicate first
    for (std::int32_t k = 0; k < step.variant; ++k) {
        predicate_tops.push_back(actions_.action_cursor);
        run_rule(grammar_rule::Predicate, true);
    }
    std::int32_t node_test = actions_.action_cursor;
    run_rule(grammar_rule::NodeTest, true);
    run_rule(grammar_rule::AxisSpecifier, skip);
    std::int32_t below_step = actions_.action_cursor;
    actions_.action_cursor = node_test;
    run_rule(grammar_rule::NodeTest, skip);
    if (!skip) {
        std::string name_test = values_.pop_string();
        std::int32_t axis = values_.pop_int();
        node_collection output = walk_inputs(input, axis, name_test);
        if (!predicate_tops.empty()) output = apply_predicates(std::move(output), predicate_tops, name_test != "*");
        values_.push_nodes(std::move(output));
    }
    actions_.action_cursor = below_step;
}

// Attribute and non-element inputs produce nothing.
node_collection action_executor::walk_inputs(const node_collection& input, std::int32_t axis,
                                             const std::string& name_test) {
    node_collection output;
    for (std::uint32_t i = 0; i < input.count(); ++i) {
        if (input.is_attribute(i)) continue;
        if (TiXmlElement* element = input.node_at(i)->ToElement())
            walk_axis(element, axis, name_test, context_.synthetic_root, output);
    }
    return output;
}

// Each predicate, in written order, filters the elements the previous one kept.
// The candidates are distinct, so the kept ones are appended.
node_collection action_executor::apply_predicates(node_collection candidates, const std::vector<std::int32_t>& tops,
                                                  bool by_name) {
    node_collection current = std::move(candidates);
    for (auto top = tops.rbegin(); top != tops.rend(); ++top) {
        node_collection kept;
        for (std::uint32_t i = 0; i < current.count(); ++i) {
            if (current.is_attribute(i)) continue;
            TiXmlElement* element = current.node_at(i)->ToElement();
            if (!element) continue;
            actions_.action_cursor = *top;
            if (test_predicate(element, by_name)) kept.append(element);
        }
        current = std::move(kept);
    }
    return current;
}

bool action_executor::test_predicate(TiXmlElement* candidate, bool by_name) {
    {
        context_scope scope(context_, candidate, by_name);
        run_rule(grammar_rule::Predicate, false);
    }
    bool keep = keeps(values_.top(), candidate, by_name);
    values_.pop(1);
    return keep;
}

// A number selects by position; anything else by its truth, and then the
// position is never looked up.
bool action_executor::keeps(path_value& value, TiXmlElement* candidate, bool by_name) {
    if (value.kind == value_kind::kind_int || value.kind == value_kind::kind_double)
        return value.to_int() == context_.position_of(candidate, by_name);
    return value.to_bool();
}

}  // namespace xpath
