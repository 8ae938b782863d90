// The operators. Wrap-around is computed in unsigned arithmetic and mapped
// back, so no signed overflow occurs: 2147483647 + 1 is -2147483648, and the
// lowest integer negated, divided or taken modulo -1 has a defined result.
#include "operators.hpp"

#include <cmath>
#include <limits>
#include <utility>

#include "evaluation_errors.hpp"
#include "number_text.hpp"

namespace xpath {
namespace {

constexpr double smallest_divisor = 0.000001;

// The two's-complement reading of the low 32 bits.
std::int32_t wrap(std::uint32_t bits) {
    if (bits <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return static_cast<std::int32_t>(bits);
    return -static_cast<std::int32_t>(~bits) - 1;
}

std::uint32_t bits_of(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

bool is_double_mode(const path_value& left, const path_value& right) {
    return left.kind == value_kind::kind_double || right.kind == value_kind::kind_double;
}

bool is_number(const path_value& value) {
    return value.kind == value_kind::kind_int || value.kind == value_kind::kind_double;
}

// Remainder of truncating division; the sign follows the dividend.
std::int32_t remainder_of(std::int32_t dividend, std::int32_t divisor) {
    if (divisor == 0) raise_execution_error(execution_code::division_by_zero);
    if (divisor == -1) return 0;  // also for the lowest integer, whose quotient would overflow
    return dividend % divisor;
}

// One collection against a value of another kind: does some entry equal it?
bool collection_equals(node_collection& nodes, path_value& value) {
    switch (value.kind) {
        case value_kind::kind_bool:
            return value.to_bool() == (nodes.count() != 0);
        case value_kind::kind_string:
            for (std::uint32_t i = 0; i < nodes.count(); ++i)
                if (nodes.entry_string(i) == value.text) return true;
            return false;
        case value_kind::kind_int:
        case value_kind::kind_double: {
            std::int32_t number = value.to_int();
            for (std::uint32_t i = 0; i < nodes.count(); ++i)
                if (nodes.entry_int(i) == number) return true;
            return false;
        }
        default:
            return false;
    }
}

bool values_equal(path_value& left, path_value& right) {
    bool left_nodes = left.kind == value_kind::kind_nodes;
    bool right_nodes = right.kind == value_kind::kind_nodes;
    if (left_nodes && right_nodes) raise_not_yet();
    if (left_nodes) return collection_equals(left.nodes, right);
    if (right_nodes) return collection_equals(right.nodes, left);
    if (left.kind == value_kind::kind_bool || right.kind == value_kind::kind_bool)
        return left.to_bool() == right.to_bool();
    if (is_number(left) || is_number(right)) return left.to_double() == right.to_double();
    return left.to_string() == right.to_string();
}

template <class compare>
bool compare_in_mode(path_value& left, path_value& right, compare relation) {
    if (is_double_mode(left, right)) return relation(left.to_double(), right.to_double());
    return relation(static_cast<double>(left.to_int()), static_cast<double>(right.to_int()));
}

void push_product(value_stack& stack, path_value& left, path_value& right) {
    if (is_double_mode(left, right)) {
        stack.push_double(left.to_double() * right.to_double());
        return;
    }
    std::int64_t product = static_cast<std::int64_t>(left.to_int()) * right.to_int();
    stack.push_int(wrap(static_cast<std::uint32_t>(static_cast<std::uint64_t>(product))), "*");
}

void push_quotient(value_stack& stack, path_value& left, path_value& right) {
    double dividend = left.to_double();
    double divisor = right.to_double();
    if (std::fabs(divisor) < smallest_divisor) raise_execution_error(execution_code::division_by_zero);
    stack.push_double(dividend / divisor);
}

void push_remainder(value_stack& stack, path_value& left, path_value& right) {
    if (is_double_mode(left, right)) {
        std::int32_t dividend = double_to_int(left.to_double());
        std::int32_t divisor = double_to_int(right.to_double());
        stack.push_double(static_cast<double>(remainder_of(dividend, divisor)));
        return;
    }
    std::int32_t dividend = left.to_int();
    std::int32_t divisor = right.to_int();
    stack.push_int(remainder_of(dividend, divisor), "mod");
}

}  // namespace

void op_or(value_stack& stack, path_value& left, path_value& right) {
    bool left_truth = left.to_bool();
    bool right_truth = right.to_bool();
    stack.push_bool(left_truth || right_truth);
}

void op_and(value_stack& stack, path_value& left, path_value& right) {
    bool left_truth = left.to_bool();
    bool right_truth = right.to_bool();
    stack.push_bool(left_truth && right_truth);
}

void op_equal(value_stack& stack, path_value& left, path_value& right) {
    stack.push_bool(values_equal(left, right));
}

void op_not_equal(value_stack& stack, path_value& left, path_value& right) {
    op_equal(stack, left, right);
    stack.push_bool(!stack.pop_bool());
}

// Integers compare exactly as doubles, so one comparison serves both modes.
void op_compare(value_stack& stack, sub_kind relation, path_value& left, path_value& right) {
    bool result = false;
    switch (relation) {
        case sub_kind::less_op: result = compare_in_mode(left, right, [](double a, double b) { return a < b; }); break;
        case sub_kind::greater_op: result = compare_in_mode(left, right, [](double a, double b) { return a > b; }); break;
        case sub_kind::less_equal_op:
            result = compare_in_mode(left, right, [](double a, double b) { return a <= b; });
            break;
        case sub_kind::greater_equal_op:
            result = compare_in_mode(left, right, [](double a, double b) { return a >= b; });
            break;
        default: raise_not_yet();
    }
    stack.push_bool(result);
}

void op_add(value_stack& stack, path_value& left, path_value& right) {
    if (is_double_mode(left, right)) {
        stack.push_double(left.to_double() + right.to_double());
        return;
    }
    std::int32_t a = left.to_int();
    std::int32_t b = right.to_int();
    stack.push_int(wrap(bits_of(a) + bits_of(b)), "+");
}

void op_subtract(value_stack& stack, path_value& left, path_value& right) {
    if (is_double_mode(left, right)) {
        stack.push_double(left.to_double() - right.to_double());
        return;
    }
    std::int32_t a = left.to_int();
    std::int32_t b = right.to_int();
    stack.push_int(wrap(bits_of(a) - bits_of(b)), "-");
}

void op_multiplicative(value_stack& stack, sub_kind operation, path_value& left, path_value& right) {
    switch (operation) {
        case sub_kind::multiply_op: push_product(stack, left, right); break;
        case sub_kind::div_op: push_quotient(stack, left, right); break;
        case sub_kind::mod_op: push_remainder(stack, left, right); break;
        default: raise_not_yet();
    }
}

void op_negate(value_stack& stack) {
    path_value operand = stack.top();
    stack.pop(1);
    if (operand.kind == value_kind::kind_double) {
        stack.push_double(operand.real * -1.0);
        return;
    }
    stack.push_int(wrap(0u - bits_of(operand.to_int())), "unary -");
}

void op_union(value_stack& stack, const node_collection& first, const node_collection& second) {
    node_collection combined(first);
    for (std::uint32_t i = 0; i < second.count(); ++i) combined.add_unique_from(second, i);
    stack.push_nodes(std::move(combined));
}

}  // namespace xpath
