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
    no_execution = 12,               // an action of a rule that has no execution ("$v")
    unknown_function = 13,           // no function of that name
    ceiling_arguments = 14,          // ceiling: argument count is not 1
    concat_arguments = 15,           // concat: no argument
    contains_arguments = 16,         // contains: argument count is not 2
    count_arguments = 17,            // count: no argument
    false_arguments = 18,            // false: any argument
    floor_arguments = 19,            // floor: argument count is not 1
    last_arguments = 20,             // last: any argument
    last_without_context = 21,       // no longer raised: there is always a context; kept so that 21 is never reused
    name_arguments = 22,             // name: argument count is not 1
    normalize_space_arguments = 23,  // normalize-space: argument count is not 1
    not_arguments = 24,              // not: argument count is not 1
    position_arguments = 25,         // position: any argument
    position_without_context = 26,   // no longer raised: there is always a context; kept so that 26 is never reused
    starts_with_arguments = 27,      // starts-with: argument count is not 2
    string_length_arguments = 28,    // string-length: argument count is not 1
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
};

constexpr std::int32_t code_of(execution_code code) { return static_cast<std::int32_t>(code); }

// The code's name as written above ("division_by_zero"), or null for a
// number that is not a code.
const char* execution_code_name(std::int32_t code);

}  // namespace xpath
