// The XPath operators over path values. Each takes its operands (copies the
// executor owns, which conversions may sort in place) and pushes exactly one
// result. Arithmetic is IEEE double arithmetic: NaN, the infinities and -0
// come out as the doubles give them, and no operator raises an error. A
// result is an integer when no operand was a double, the operator is not
// "div", and the result is an integer within 32 bits other than -0.
#pragma once

#include "front_end/action_codes.hpp"
#include "node_collection.hpp"
#include "path_value.hpp"
#include "value_stack.hpp"

namespace xpath {

// "and" and "or" stop early, so the executor carries them out itself.
// `relation`: equal_op, not_equal_op, less_op, greater_op, less_equal_op or
// greater_equal_op. A node collection compares node by node, and the
// comparison holds when it holds for some node (for two collections, some
// pair of nodes); "!=" is such a test of its own, not the negation of "=".
void op_compare(value_stack& stack, sub_kind relation, path_value& left, path_value& right);
void op_add(value_stack& stack, path_value& left, path_value& right);
void op_subtract(value_stack& stack, path_value& left, path_value& right);
// `operation`: multiply_op, div_op or mod_op; mod is C's fmod, with the sign
// of the dividend.
void op_multiplicative(value_stack& stack, sub_kind operation, path_value& left, path_value& right);
// Negates the value on top of the stack.
void op_negate(value_stack& stack);
// Pushes `value` as an integer where `integer_operands` allow one and the
// value is an integer within 32 bits other than -0, else as a double.
void push_number(value_stack& stack, double value, bool integer_operands, const char* label);
// Both collections joined, in document order, each entry once.
void op_union(value_stack& stack, const node_collection& first, const node_collection& second);

}  // namespace xpath
