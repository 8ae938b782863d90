// The action executor: replays the recorded actions backwards, meeting each
// construct before its parts, and leaves values on the value stack. In skip
// mode it consumes the same actions without touching the stack, which is how
// a step passes over its predicates and node test before evaluating them.
// Location steps (location_steps.cpp) are part of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "action_log.hpp"
#include "axes.hpp"
#include "evaluation_context.hpp"
#include "execution_code.hpp"
#include "value_stack.hpp"
#include "front_end/action_codes.hpp"

namespace xpath {

class action_executor {
public:
    action_executor(action_log& actions, value_stack& values, evaluation_context& context)
        : actions_(actions), values_(values), context_(context) {}

    // Takes the action at the cursor, which must be of rule `expected`
    // (action_out_of_place otherwise), and carries it out.
    void run_rule(grammar_rule expected, bool skip);

private:
    // Where the first step of a location path takes its input from; every
    // later step takes the collection the step before it made.
    enum class step_input {
        from_context,  // the context node
        from_root,     // the root node
        from_stack,    // the collection on top of the value stack
    };
    // A location step as its actions describe it. A first predicate that is
    // a number literal ("[1]", "[500]") or "last()" is kept as first_position
    // instead of running once per node; for a number the axis stops at that node.
    struct step_form {
        axis_kind axis = axis_kind::child;
        node_test test;
        std::int32_t first_position = any_position;
        std::vector<std::int32_t> predicate_tops;  // where each further predicate's actions end, the last written first
    };
    static constexpr std::int32_t any_position = 0;  // no number literal first
    static constexpr std::int32_t no_position = -1;  // a number literal that no position equals ("[0]", "[1.5]")
    static constexpr std::int32_t last_position = -2;  // "[last()]"

    // Raises action_out_of_place unless `action` is of rule `expected`.
    static void require_rule(const recorded_action& action, grammar_rule expected);
    // True, with the rule of the one part in `part`, for an action that does
    // nothing but run that part.
    static bool has_single_part(const recorded_action& action, grammar_rule rule, grammar_rule& part);
    void run_action(const recorded_action& action, grammar_rule rule, bool skip);
    void run_operator_rule(const recorded_action& action, grammar_rule rule, bool skip);
    void run_operator_chain(const recorded_action& outermost, grammar_rule rule, grammar_rule operand, bool skip,
                            execution_code failure_code);
    void run_logic_chain(grammar_rule rule, grammar_rule operand, bool skip, execution_code failure_code);
    void apply_operator(std::int32_t sub_kind_code, path_value& left, path_value& right);
    path_value take_operand(bool skip);
    std::int32_t run_nested_run(grammar_rule rule, sub_kind nested, sub_kind innermost, grammar_rule part, bool skip);
    void run_negations(bool skip);
    void run_union(bool skip);
    void join_union_operand(bool skip);
    node_collection pop_node_collection();
    void run_variable(bool skip);
    void run_function_call(const recorded_action& action, bool skip);
    void run_primary(const recorded_action& action, bool skip);
    void push_number_literal(const std::string& digits);
    void run_qname(const recorded_action& action, bool skip);
    void run_absolute_path(const recorded_action& action, bool skip);
    void run_path_with_filter(const recorded_action& action, bool skip);
    void run_filter_predicates(bool skip);
    node_collection filtered_entries(const node_collection& entries, std::int32_t predicate_top);

    // location_steps.cpp
    // Runs the steps of the path whose outermost RelativeLocationPath action
    // is at `first_relative_index`, from `first_input` (with "//" before the
    // first step when `double_slash_first`), pushes the last step's
    // collection and leaves the cursor just below the path's first action.
    void run_path_chain(std::int32_t first_relative_index, step_input first_input, bool double_slash_first,
                        std::int32_t first_action_index, bool skip);
    node_collection run_step(node_span input, bool after_double_slash);
    node_collection descendant_or_self_of(node_span input);
    step_form read_step();
    void read_axis(step_form& form);
    void read_node_test(step_form& form);
    std::string read_qualified_name();
    node_collection apply_step(node_span input, const step_form& form);
    node_collection apply_step_below(node_span input, const step_form& form);
    void add_attributes_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out);
    void add_children_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out);
    void add_kept_children_below(TiXmlNode* top, const step_form& form, std::vector<node_ref>& out);
    std::int32_t named_position(std::int32_t predicate_top) const;
    std::int32_t lone_primary_below(std::int32_t predicate_top) const;
    bool calls_last(std::int32_t call_index) const;
    void gather_group(const node_ref& context, const step_form& form, std::vector<node_ref>& group);
    void filter_group(std::vector<node_ref>& group, const std::vector<std::int32_t>& predicate_tops);
    bool predicate_holds(std::int32_t predicate_top, const node_ref& node, std::int32_t position, std::int32_t size);

    action_log& actions_;
    value_stack& values_;
    evaluation_context& context_;
};

}  // namespace xpath
