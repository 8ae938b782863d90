// The XPath operators over path values. Each takes its operands (copies the
// executor owns, which conversions may sort in place) and pushes exactly one
// result. Numbers: integer mode unless an operand is a double; div always in
// double mode. Integer arithmetic wraps in two's complement.
#pragma once

#include "xpath/front_end/action_codes.hpp"
#include "node_collection.hpp"
#include "path_value.hpp"
#include "value_stack.hpp"

namespace xpath {

void op_or(value_stack& stack, path_value& left, path_value& right);
void op_and(value_stack& stack, path_value& left, path_value& right);
// Raises error_not_yet (-2) for two node collections.
void op_equal(value_stack& stack, path_value& left, path_value& right);
void op_not_equal(value_stack& stack, path_value& left, path_value& right);
// `relation`: less_op, greater_op, less_equal_op or greater_equal_op.
void op_compare(value_stack& stack, sub_kind relation, path_value& left, path_value& right);
void op_add(value_stack& stack, path_value& left, path_value& right);
void op_subtract(value_stack& stack, path_value& left, path_value& right);
// `operation`: multiply_op, div_op or mod_op. Raises 33 for div by a
// magnitude below 0.000001 and for mod by 0.
void op_multiplicative(value_stack& stack, sub_kind operation, path_value& left, path_value& right);
// Negates the value on top of the stack.
void op_negate(value_stack& stack);
// The first collection, then the entries of the second that it lacks.
void op_union(value_stack& stack, const node_collection& first, const node_collection& second);

}  // namespace xpath
