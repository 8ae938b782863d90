// The action executor: replays the recorded actions backwards, meeting each
// construct before its parts, and leaves values on the value stack. In skip
// mode it consumes the same actions without touching the stack, which is how
// a step passes over its predicates and node test before evaluating them.
// Location steps (location_steps.cpp) are part of it.
#pragma once

#include <cstdint>
#include <vector>

#include "action_log.hpp"
#include "evaluation_context.hpp"
#include "execution_code.hpp"
#include "value_stack.hpp"
#include "xpath/front_end/action_codes.hpp"

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
    // later step takes the collection the step before it left on the stack.
    enum class step_input : std::int32_t {
        from_context = -2,     // the context element
        from_everything = -1,  // every node under the temporary root
        from_root = 0,         // the temporary root
        from_stack = 1,        // the collection on top of the value stack
    };
    // The axis code of a step without an axis: child.
    static constexpr std::int32_t default_child_axis = 0;

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
    void run_negations(bool skip);
    void run_union(bool skip);
    void join_union_operand(bool skip);
    node_collection pop_union_operand();
    void run_function_call(const recorded_action& action, bool skip);
    void run_primary(const recorded_action& action, bool skip);
    void push_number_literal(const std::string& digits);
    void run_node_test(const recorded_action& action, bool skip);
    void run_qname(const recorded_action& action, bool skip);
    void run_path_with_filter(const recorded_action& action, bool skip);
    void run_filter_predicates(bool skip);
    node_collection filtered_entries(node_collection& entries, std::int32_t predicate_top);

    // location_steps.cpp
    // Runs the steps of the path whose outermost RelativeLocationPath action
    // is at `first_relative_index`, then leaves the cursor just below the
    // path's first action.
    void run_path_chain(std::int32_t first_relative_index, step_input first_input, std::int32_t first_action_index,
                        bool skip);
    void run_step(step_input input_from, bool skip);
    node_collection walk_inputs(step_input input_from, const node_collection& input, std::int32_t axis,
                                const std::string& name_test);
    node_collection apply_predicates(node_collection candidates, const std::vector<std::int32_t>& tops, bool by_name);
    bool test_predicate(TiXmlElement* candidate, bool by_name);
    bool keeps(path_value& value, TiXmlElement* candidate, bool by_name);
    void expand_to_descendants();

    action_log& actions_;
    value_stack& values_;
    evaluation_context& context_;
};

}  // namespace xpath
