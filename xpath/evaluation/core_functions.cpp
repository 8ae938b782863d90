// The core function library. Results differ from XPath 1.0 on purpose where
// the device's program relies on it: ceiling, floor and the counts are
// integers, positions are truncated and strings count bytes.
#include "core_functions.hpp"

#include <cmath>
#include <cstring>
#include <cstdint>

#include <tinyxml.h>

#include "evaluation_errors.hpp"
#include "number_text.hpp"
#include "tree_text.hpp"

namespace xpath {
namespace {

struct function_call {
    value_stack& stack;
    const evaluation_context& context;
    std::vector<path_value>& arguments;

    std::size_t count() const { return arguments.size(); }
    path_value& argument(std::size_t index) { return arguments[index]; }
};

// ceiling and floor: a double is rounded by `round` and truncated to 32 bits;
// a bool or an integer converts; anything else gives 0.
void push_rounded(function_call& call, double (*round)(double), const char* label) {
    path_value& value = call.argument(0);
    std::int32_t result = 0;
    if (value.kind == value_kind::kind_double)
        result = double_to_int(round(value.real));
    else if (value.kind == value_kind::kind_bool || value.kind == value_kind::kind_int)
        result = value.to_int();
    call.stack.push_int(result, label);
}

void fn_ceiling(function_call& call) {
    push_rounded(call, std::ceil, "ceiling");
}

void fn_concat(function_call& call) {
    std::string joined;
    for (path_value& argument : call.arguments) joined += argument.to_string();
    call.stack.push_string(joined);
}

void fn_contains(function_call& call) {
    std::string text = call.argument(0).to_string();
    std::string part = call.argument(1).to_string();
    call.stack.push_bool(text.find(part) != std::string::npos);
}

void fn_count(function_call& call) {
    path_value& first = call.argument(0);
    std::uint32_t count = first.kind == value_kind::kind_nodes ? first.nodes.count() : 0;
    call.stack.push_int(count > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(count), "count result");
}

void fn_false(function_call& call) {
    call.stack.push_bool(false);
}

void fn_floor(function_call& call) {
    push_rounded(call, std::floor, "floor");
}

// The context size: in a predicate, how many nodes it filters; 1 for the whole expression.
void fn_last(function_call& call) {
    call.stack.push_int(call.context.size, "last()");
}

// The name of the first node in document order: a tag, an attribute's name,
// an instruction's target; "" for the root node, texts and comments.
void fn_name(function_call& call) {
    path_value& value = call.argument(0);
    std::string name;
    if (value.kind == value_kind::kind_nodes && value.nodes.count() > 0) name = name_of(value.nodes.at(0));
    call.stack.push_string(name);
}

// Only space and tab count as white space.
std::string normalized(const std::string& text) {
    auto is_white = [](char c) { return c == ' ' || c == '\t'; };
    std::string result;
    bool pending_space = false;
    for (char c : text) {
        if (is_white(c)) {
            pending_space = !result.empty();
            continue;
        }
        if (pending_space) result += ' ';
        pending_space = false;
        result += c;
    }
    return result;
}

void fn_normalize_space(function_call& call) {
    call.stack.push_string(normalized(call.argument(0).to_string()));
}

void fn_not(function_call& call) {
    call.stack.push_bool(!call.argument(0).to_bool());
}

// The context position: in a predicate, the node's place among those it
// filters, counted in the axis's direction; 1 for the whole expression.
void fn_position(function_call& call) {
    call.stack.push_int(call.context.position, "position()");
}

void fn_starts_with(function_call& call) {
    std::string text = call.argument(0).to_string();
    std::string prefix = call.argument(1).to_string();
    call.stack.push_bool(text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0);
}

void fn_string_length(function_call& call) {
    std::size_t length = call.argument(0).to_string().size();
    call.stack.push_int(length > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(length), "string-length");
}

// Positions count bytes from 1 and are truncated, not rounded; a negative
// length gives the empty string.
std::string substring_of(const std::string& text, std::int32_t start, bool has_length, std::int32_t length) {
    if (start < 1 || static_cast<std::size_t>(start) - 1 >= text.size()) return std::string();
    std::string tail = text.substr(static_cast<std::size_t>(start) - 1);
    if (!has_length) return tail;
    if (length <= 0) return std::string();
    return tail.substr(0, static_cast<std::size_t>(length));
}

void fn_substring(function_call& call) {
    std::string text = call.argument(0).to_string();
    std::int32_t start = call.argument(1).to_int();
    bool has_length = call.count() == 3;
    std::int32_t length = has_length ? call.argument(2).to_int() : 0;
    call.stack.push_string(substring_of(text, start, has_length, length));
}

// The total of the nodes' numbers (NaN as soon as one is not a number): an
// integer unless some entry's text holds a "." or the total is no 32-bit
// integer (the total starts at +0, so it is never -0).
void fn_sum(function_call& call) {
    path_value& value = call.argument(0);
    if (value.kind != value_kind::kind_nodes) raise_execution_error(execution_code::sum_not_nodes);
    const node_collection& nodes = value.nodes;
    double total = 0.0;
    bool any_dot = false;
    for (std::uint32_t i = 0; i < nodes.count(); ++i) {
        std::string text = nodes.entry_string(i);
        total += parse_number(text);
        any_dot = any_dot || text.find('.') != std::string::npos;
    }
    bool integral = total >= INT32_MIN && total <= INT32_MAX && total == std::trunc(total);
    if (any_dot || !integral) {
        call.stack.push_double(total);
        return;
    }
    call.stack.push_int(static_cast<std::int32_t>(total), "sum()");
}

void fn_true(function_call& call) {
    call.stack.push_bool(true);
}

// A function and the argument counts it takes; any other count raises
// count_code before the function runs.
struct library_function {
    const char* name;
    void (*function)(function_call&);
    std::size_t fewest_arguments, most_arguments;
    execution_code count_code;
};

constexpr std::size_t any_number = SIZE_MAX;

// Compared in this order, byte for byte.
const library_function library[] = {
    {"ceiling", fn_ceiling, 1, 1, execution_code::ceiling_arguments},
    {"concat", fn_concat, 1, any_number, execution_code::concat_arguments},
    {"contains", fn_contains, 2, 2, execution_code::contains_arguments},
    {"count", fn_count, 1, any_number, execution_code::count_arguments},
    {"false", fn_false, 0, 0, execution_code::false_arguments},
    {"floor", fn_floor, 1, 1, execution_code::floor_arguments},
    {"last", fn_last, 0, 0, execution_code::last_arguments},
    {"name", fn_name, 1, 1, execution_code::name_arguments},
    {"normalize-space", fn_normalize_space, 1, 1, execution_code::normalize_space_arguments},
    {"not", fn_not, 1, 1, execution_code::not_arguments},
    {"position", fn_position, 0, 0, execution_code::position_arguments},
    {"starts-with", fn_starts_with, 2, 2, execution_code::starts_with_arguments},
    {"string-length", fn_string_length, 1, 1, execution_code::string_length_arguments},
    {"substring", fn_substring, 2, 3, execution_code::substring_arguments},
    {"sum", fn_sum, 1, 1, execution_code::sum_arguments},
    {"true", fn_true, 0, 0, execution_code::true_arguments},
};

void call_checked(const library_function& function, function_call& call) {
    if (call.count() < function.fewest_arguments || call.count() > function.most_arguments)
        raise_execution_error(function.count_code);
    function.function(call);
}

}  // namespace

void call_function(value_stack& stack, const evaluation_context& context, const std::string& name,
                   std::vector<path_value>& arguments) {
    function_call call{stack, context, arguments};
    for (const library_function& listed : library) {
        if (name.size() == std::strlen(listed.name) && name.compare(listed.name) == 0) {
            call_checked(listed, call);
            return;
        }
    }
    raise_execution_error(execution_code::unknown_function);
}

}  // namespace xpath
