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
#include "xpath/front_end/lex_class.hpp"

namespace xpath {

void action_executor::run_path_chain(std::int32_t first_relative_index, step_input first_input,
                                     std::int32_t first_action_index, bool skip) {
    step_input input_from = first_input;
    const std::int32_t relative = code_of(grammar_rule::RelativeLocationPath);
    std::int32_t i = first_relative_index - 1;
    for (std::int32_t j = 0; !skip; ++j, --i) {
        const recorded_action& at = actions_.read_action(i);
        bool more_steps = at.rule == relative;
        // The separator before step j is the sub_kind of the relative path that step j-1 begins.
        std::int32_t separator = j == 0 ? 0 : actions_.read_action(first_relative_index - (j - 1)).sub_kind;
        if (separator == code_of(sub_kind::step_double_slash_path)) expand_to_descendants();
        actions_.move_cursor_to(more_steps ? first_action_position(at) - 1 : i);
        run_step(input_from, false);
        input_from = step_input::from_stack;
        if (!more_steps) break;
    }
    actions_.move_cursor_to(first_action_index - 1);
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

// The context element, the temporary root and every element under it are
// walked from where they are; only a collection from the stack is popped,
// before the step's own actions push anything.
void action_executor::run_step(step_input input_from, bool skip) {
    node_collection input;
    if (!skip && input_from == step_input::from_stack) input = values_.pop_nodes();
    const recorded_action& step = actions_.take_action();
    require_rule(step, grammar_rule::Step);
    std::vector<std::int32_t> predicate_tops;  // the last written predicate first
    for (std::int32_t k = 0; k < predicate_count(step); ++k) {
        predicate_tops.push_back(actions_.cursor());
        run_rule(grammar_rule::Predicate, true);
    }
    std::int32_t node_test = actions_.cursor();
    run_rule(grammar_rule::NodeTest, true);
    run_rule(grammar_rule::AxisSpecifier, skip);
    std::int32_t below_step = actions_.cursor();
    actions_.move_cursor_to(node_test);
    run_rule(grammar_rule::NodeTest, skip);
    if (!skip) {
        std::string name_test = values_.pop_string();
        std::int32_t axis = values_.pop_int();
        node_collection output = walk_inputs(input_from, input, axis, name_test);
        if (!predicate_tops.empty()) output = apply_predicates(std::move(output), predicate_tops, name_test != "*");
        values_.push_nodes(std::move(output));
    }
    actions_.move_cursor_to(below_step);
}

// Attribute and non-element inputs produce nothing. The elements under the
// temporary root are the elements of that input in its order: pre-order.
node_collection action_executor::walk_inputs(step_input input_from, const node_collection& input,
                                             std::int32_t axis, const std::string& name_test) {
    node_collection output;
    TiXmlElement* root = context_.synthetic_root;
    switch (input_from) {
        case step_input::from_context:
            if (context_.context_element) walk_axis(context_.context_element, axis, name_test, root, output);
            break;
        case step_input::from_root: walk_axis(root, axis, name_test, root, output); break;
        case step_input::from_everything:
            if (axis == default_child_axis || axis == code_of(lex_class::axis_child)) {
                add_children_of_all(root, name_test, output);
                break;
            }
            for (TiXmlElement* element = root; element; element = next_element_below(root, element))
                walk_axis(element, axis, name_test, root, output);
            break;
        case step_input::from_stack:
            for (std::uint32_t i = 0; i < input.count(); ++i) {
                if (input.is_attribute(i)) continue;
                if (TiXmlElement* element = input.node_at(i)->ToElement())
                    walk_axis(element, axis, name_test, root, output);
            }
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
            actions_.move_cursor_to(*top);
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
