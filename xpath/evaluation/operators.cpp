// The operators. Every arithmetic result is computed in doubles, which hold
// every 32-bit integer and every sum or difference of two exactly, so an
// integer result is exact wherever it is kept as one.
#include "operators.hpp"

#include <cmath>
#include <utility>

#include "comparison.hpp"
#include "evaluation_errors.hpp"

namespace xpath {
namespace {

bool is_int32(double value) {
    return value >= -2147483648.0 && value <= 2147483647.0 && value == std::trunc(value) &&
           !(value == 0 && std::signbit(value));
}

bool has_double(const path_value& left, const path_value& right) {
    return left.kind == value_kind::kind_double || right.kind == value_kind::kind_double;
}

relation relation_of(sub_kind op) {
    switch (op) {
        case sub_kind::equal_op: return relation::equal;
        case sub_kind::not_equal_op: return relation::not_equal;
        case sub_kind::less_op: return relation::less;
        case sub_kind::less_equal_op: return relation::less_equal;
        case sub_kind::greater_op: return relation::greater;
        case sub_kind::greater_equal_op: return relation::greater_equal;
        default: raise_not_yet();
    }
}

}  // namespace

void op_compare(value_stack& stack, sub_kind op, path_value& left, path_value& right) {
    stack.push_bool(compare_values(relation_of(op), left, right));
}

void op_add(value_stack& stack, path_value& left, path_value& right) {
    push_number(stack, left.to_number() + right.to_number(), !has_double(left, right), "+");
}

void op_subtract(value_stack& stack, path_value& left, path_value& right) {
    push_number(stack, left.to_number() - right.to_number(), !has_double(left, right), "-");
}

// "div" gives a double whatever its operands, as it always has.
void op_multiplicative(value_stack& stack, sub_kind operation, path_value& left, path_value& right) {
    double a = left.to_number();
    double b = right.to_number();
    bool integer_operands = !has_double(left, right);
    switch (operation) {
        case sub_kind::multiply_op: push_number(stack, a * b, integer_operands, "*"); break;
        case sub_kind::div_op: stack.push_double(a / b); break;
        case sub_kind::mod_op: push_number(stack, std::fmod(a, b), integer_operands, "mod"); break;
        default: raise_not_yet();
    }
}

void op_negate(value_stack& stack) {
    path_value operand = stack.pop_value();
    push_number(stack, -operand.to_number(), operand.kind != value_kind::kind_double, "unary -");
}

// Both sides are in document order already, as every collection is.
// An integer where the operands allowed one and the value is one; NaN and
// -0 are always doubles.
void push_number(value_stack& stack, double value, bool integer_operands, const char* label) {
    if (integer_operands && is_int32(value))
        stack.push_int(static_cast<std::int32_t>(value), label);
    else
        stack.push_double(value);
}

void op_union(value_stack& stack, const node_collection& first, const node_collection& second) {
    stack.push_nodes(node_collection::merged(first, second));
}

}  // namespace xpath
