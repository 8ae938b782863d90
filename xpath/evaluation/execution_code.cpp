// The names of the execution codes, for tools and messages.
#include "execution_code.hpp"

namespace xpath {

// A switch without default: the compiler names any code left out here.
const char* execution_code_name(std::int32_t code) {
    switch (static_cast<execution_code>(code)) {
        case execution_code::not_yet_evaluated: return "not_yet_evaluated";
        case execution_code::no_base_node: return "no_base_node";
        case execution_code::action_out_of_place: return "action_out_of_place";
        case execution_code::or_failed: return "or_failed";
        case execution_code::and_failed: return "and_failed";
        case execution_code::equality_failed: return "equality_failed";
        case execution_code::relational_failed: return "relational_failed";
        case execution_code::additive_failed: return "additive_failed";
        case execution_code::multiplicative_failed: return "multiplicative_failed";
        case execution_code::not_a_node_collection: return "not_a_node_collection";
        case execution_code::no_argument_value: return "no_argument_value";
        case execution_code::function_failed: return "function_failed";
        case execution_code::no_execution: return "no_execution";
        case execution_code::unknown_function: return "unknown_function";
        case execution_code::ceiling_arguments: return "ceiling_arguments";
        case execution_code::concat_arguments: return "concat_arguments";
        case execution_code::contains_arguments: return "contains_arguments";
        case execution_code::count_arguments: return "count_arguments";
        case execution_code::false_arguments: return "false_arguments";
        case execution_code::floor_arguments: return "floor_arguments";
        case execution_code::last_arguments: return "last_arguments";
        case execution_code::last_without_context: return "last_without_context";
        case execution_code::name_arguments: return "name_arguments";
        case execution_code::normalize_space_arguments: return "normalize_space_arguments";
        case execution_code::not_arguments: return "not_arguments";
        case execution_code::position_arguments: return "position_arguments";
        case execution_code::position_without_context: return "position_without_context";
        case execution_code::starts_with_arguments: return "starts_with_arguments";
        case execution_code::string_length_arguments: return "string_length_arguments";
        case execution_code::substring_arguments: return "substring_arguments";
        case execution_code::sum_arguments: return "sum_arguments";
        case execution_code::sum_not_nodes: return "sum_not_nodes";
        case execution_code::true_arguments: return "true_arguments";
        case execution_code::division_by_zero: return "division_by_zero";
        case execution_code::top_of_empty_stack: return "top_of_empty_stack";
        case execution_code::pop_of_empty_stack: return "pop_of_empty_stack";
        case execution_code::pop_of_missing_entry: return "pop_of_missing_entry";
        case execution_code::text_arguments: return "text_arguments";
        case execution_code::text_without_context: return "text_without_context";
        case execution_code::id_arguments: return "id_arguments";
        case execution_code::local_name_arguments: return "local_name_arguments";
        case execution_code::namespace_uri_arguments: return "namespace_uri_arguments";
        case execution_code::string_arguments: return "string_arguments";
        case execution_code::substring_before_arguments: return "substring_before_arguments";
        case execution_code::substring_after_arguments: return "substring_after_arguments";
        case execution_code::translate_arguments: return "translate_arguments";
        case execution_code::boolean_arguments: return "boolean_arguments";
        case execution_code::lang_arguments: return "lang_arguments";
        case execution_code::number_arguments: return "number_arguments";
        case execution_code::round_arguments: return "round_arguments";
        case execution_code::count_not_nodes: return "count_not_nodes";
        case execution_code::name_not_nodes: return "name_not_nodes";
        case execution_code::local_name_not_nodes: return "local_name_not_nodes";
        case execution_code::namespace_uri_not_nodes: return "namespace_uri_not_nodes";
        case execution_code::variable_outside_tree: return "variable_outside_tree";
    }
    return nullptr;
}

}  // namespace xpath
