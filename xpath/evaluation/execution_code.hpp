// Every code that evaluation raises in an execution_error or error_not_yet,
// listed once with its meaning. The numbers are the contract that callers,
// tests and xpath-eval's "error:" line rely on; they never change. Raise by
// name (raise_execution_error in evaluation_errors.hpp); tools print the name.
#pragma once

#include <cstdint>

namespace xpath {

enum class execution_code : std::int32_t {
    not_yet_evaluated = -2,          // a form the engine does not evaluate: a prefix before "*" ("p:*")
    no_base_node = 1,                // the evaluator was given no usable base node
    action_out_of_place = 2,         // the log holds another rule where one was expected
    or_failed = 3,                   // a failure inside an "or" operator
    and_failed = 4,                  // a failure inside an "and" operator
    equality_failed = 5,             // a failure inside "=" or "!="
    relational_failed = 6,           // a failure inside "<", "<=", ">" or ">="
    additive_failed = 7,             // a failure inside "+" or "-"
    multiplicative_failed = 8,       // a failure inside "*", "div" or "mod"
    not_a_node_collection = 9,       // a union side, or a filtered value, is not a node collection
    no_argument_value = 10,          // a function argument left no value on the stack
    function_failed = 11,            // a failure inside a function call
    no_execution = 12,               // an action of a rule that has no execution; a variable without a binding
    unknown_function = 13,           // no function of that name
    ceiling_arguments = 14,          // ceiling: argument count is not 1
    concat_arguments = 15,           // concat: fewer than 2 arguments
    contains_arguments = 16,         // contains: argument count is not 2
    count_arguments = 17,            // count: argument count is not 1
    false_arguments = 18,            // false: any argument
    floor_arguments = 19,            // floor: argument count is not 1
    last_arguments = 20,             // last: any argument
    last_without_context = 21,       // no longer raised: there is always a context; kept so that 21 is never reused
    name_arguments = 22,             // name: more than 1 argument
    normalize_space_arguments = 23,  // normalize-space: more than 1 argument
    not_arguments = 24,              // not: argument count is not 1
    position_arguments = 25,         // position: any argument
    position_without_context = 26,   // no longer raised: there is always a context; kept so that 26 is never reused
    starts_with_arguments = 27,      // starts-with: argument count is not 2
    string_length_arguments = 28,    // string-length: more than 1 argument
    substring_arguments = 29,        // substring: argument count is neither 2 nor 3
    sum_arguments = 30,              // sum: argument count is not 1
    sum_not_nodes = 31,              // sum: the argument is not a node collection
    true_arguments = 32,             // true: any argument
    division_by_zero = 33,           // no longer raised: "div" and "mod" follow IEEE doubles; kept so that 33 is never reused
    top_of_empty_stack = 34,         // the value stack's top was read while empty
    pop_of_empty_stack = 35,         // a value was removed from an empty stack
    pop_of_missing_entry = 36,       // a value was removed whose entry failed to be allocated
    text_arguments = 38,             // no longer raised: text() is a node test, no function; kept so that 38 is never reused
    text_without_context = 39,       // no longer raised, as 38
    id_arguments = 40,               // id: argument count is not 1
    local_name_arguments = 41,       // local-name: more than 1 argument
    namespace_uri_arguments = 42,    // namespace-uri: more than 1 argument
    string_arguments = 43,           // string: more than 1 argument
    substring_before_arguments = 44, // substring-before: argument count is not 2
    substring_after_arguments = 45,  // substring-after: argument count is not 2
    translate_arguments = 46,        // translate: argument count is not 3
    boolean_arguments = 47,          // boolean: argument count is not 1
    lang_arguments = 48,             // lang: argument count is not 1
    number_arguments = 49,           // number: more than 1 argument
    round_arguments = 50,            // round: argument count is not 1
    count_not_nodes = 51,            // count: the argument is not a node collection
    name_not_nodes = 52,             // name: the argument is not a node collection
    local_name_not_nodes = 53,       // local-name: the argument is not a node collection
    namespace_uri_not_nodes = 54,    // namespace-uri: the argument is not a node collection
    variable_outside_tree = 55,      // a variable's nodes are not in the tree the expression runs on
};

constexpr std::int32_t code_of(execution_code code) { return static_cast<std::int32_t>(code); }

// The code's name as written above ("division_by_zero"), or null for a
// number that is not a code.
const char* execution_code_name(std::int32_t code);

}  // namespace xpath
