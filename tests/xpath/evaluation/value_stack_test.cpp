// The value stack: pops that convert, deep copies on push, and the three
// errors: reading the top of an empty stack, removing from an empty stack,
// and removing where a push failed to allocate its entry.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>

#include "sample_document.hpp"
#include "evaluation/execution_code.hpp"
#include "evaluation/value_stack.hpp"
#include "front_end/xpath_errors.hpp"

using xpath::execution_code;
using xpath::node_collection;
using xpath::path_value;
using xpath::value_kind;
using xpath::value_stack;

namespace {

void* no_memory(std::size_t) {
    return nullptr;
}

// Makes the pushes inside its lifetime fail to allocate.
class failing_pushes {
public:
    failing_pushes() : saved_(value_stack::allocate_entry) { value_stack::allocate_entry = no_memory; }
    ~failing_pushes() { value_stack::allocate_entry = saved_; }

private:
    value_stack::entry_allocator saved_;
};

// The code that `action` raised, or `none_raised`.
constexpr std::int32_t none_raised = 0;
std::int32_t error_code_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const xpath::execution_error& error) {
        return error.code();
    }
    return none_raised;
}

}  // namespace

TEST(value_stack, pops_convert_and_remove_the_top) {
    test_support::sample_document sample("<a/>");
    node_collection nodes;
    nodes.append(sample.element("a"));
    value_stack stack;
    stack.push_int(1, "bottom");
    stack.push_string("12");
    EXPECT_EQ(stack.pop_int(), 12);
    EXPECT_EQ(stack.count(), 1);
    // An int whose unused collection payload still holds a node.
    stack.push_nodes(nodes);
    stack.top() = path_value(7);
    EXPECT_EQ(stack.pop_nodes().count(), 0u);
    EXPECT_EQ(stack.pop_int(), 1);
    EXPECT_EQ(stack.count(), 0);
}

TEST(value_stack, pushes_store_deep_copies) {
    test_support::sample_document sample("<a>x<b/></a>");
    node_collection nodes;
    nodes.append(sample.element("a"));
    path_value text("kept");
    value_stack stack;
    stack.push_nodes(nodes);
    stack.push_value(text);
    stack.push_value(stack.top());
    nodes.append(sample.element("b"));
    text.text = "changed";
    stack.top().text = "top only";
    EXPECT_EQ(stack.pop_string(), "top only");
    EXPECT_EQ(stack.pop_string(), "kept");
    path_value outlived = stack.top();
    stack.pop(1);
    EXPECT_EQ(outlived.nodes.count(), 1u);
    EXPECT_EQ(outlived.to_string(), "x");
}

TEST(value_stack, clear_empties_the_stack) {
    value_stack stack;
    stack.clear();
    stack.push_int(1, "one");
    stack.push_string("two");
    stack.clear();
    EXPECT_EQ(stack.count(), 0);
    EXPECT_EQ(error_code_of([&] { stack.pop(1); }), code_of(execution_code::pop_of_empty_stack));
}

TEST(value_stack, errors) {
    struct row { const char* action; std::function<void(value_stack&)> run; std::int32_t code; };
    constexpr std::int32_t top_of_empty = code_of(execution_code::top_of_empty_stack);
    constexpr std::int32_t pop_of_empty = code_of(execution_code::pop_of_empty_stack);
    constexpr std::int32_t pop_of_missing = code_of(execution_code::pop_of_missing_entry);
    const row rows[] = {
        {"top of empty", [](value_stack& s) { s.top(); }, top_of_empty},
        {"pop_int of empty", [](value_stack& s) { s.pop_int(); }, top_of_empty},
        {"pop_nodes of empty", [](value_stack& s) { s.pop_nodes(); }, top_of_empty},
        {"pop 1 of empty", [](value_stack& s) { s.pop(1); }, pop_of_empty},
        {"pop 2 of one", [](value_stack& s) { s.push_bool(true); s.pop(2); }, pop_of_empty},
        {"pop 0 of empty", [](value_stack& s) { s.pop(0); }, none_raised},
        {"pop after a failed push",
         [](value_stack& s) {
             s.push_int(1, "stored");
             { failing_pushes failing; s.push_int(2, "lost"); }
             s.pop(1);
         },
         pop_of_missing},
        {"top after a failed push",
         [](value_stack& s) {
             { failing_pushes failing; s.push_string("lost"); }
             s.top();
         },
         top_of_empty},
        {"pop below a value pushed after a failed push",
         [](value_stack& s) {
             s.push_int(1, "stored");
             { failing_pushes failing; s.push_int(2, "lost"); }
             s.push_int(3, "stored");
             EXPECT_EQ(s.pop_int(), 3);
             s.pop(1);
         },
         pop_of_missing},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.action);
        value_stack stack;
        EXPECT_EQ(error_code_of([&] { r.run(stack); }), r.code);
    }
}
