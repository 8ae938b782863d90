// value_stack: the intermediate values of one evaluation, newest on top.
// Every push stores a deep copy, so a value copied out before a pop stays
// valid. Errors: 34 reading the top of an empty stack, 35 removing from an
// empty stack, 36 removing where a push could not store its entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "path_value.hpp"

namespace xpath {

class value_stack {
public:
    value_stack() = default;
    ~value_stack();
    value_stack(const value_stack&) = delete;
    value_stack& operator=(const value_stack&) = delete;

    void push_bool(bool value);
    // The label names the value's origin ("primary number", "count result", ...); it is not kept.
    void push_int(std::int32_t value, const char* label);
    void push_double(double value);
    void push_string(const std::string& value);
    void push_string(std::string&& value);
    void push_nodes(const node_collection& value);
    void push_nodes(node_collection&& value);
    void push_value(const path_value& value);
    void push_value(path_value&& value);

    path_value& top();
    void pop(std::int32_t n);
    std::int32_t pop_int();
    std::string pop_string();
    bool pop_bool();
    // The top value's collection (empty for a value of another kind).
    node_collection pop_nodes();
    // The top value itself, handed over without a copy.
    path_value pop_value();
    void clear();
    std::int32_t count() const { return count_; }

    // Where entries come from; tests replace it to make a push fail.
    using entry_allocator = void* (*)(std::size_t bytes);
    static entry_allocator allocate_entry;

private:
    struct stack_entry {
        path_value value;
        stack_entry* below;
    };
    void remove_one();
    void* entry_memory();
    static void free_chain(stack_entry* entry);

    stack_entry* top_ = nullptr;
    // The memory of removed entries, reused by later pushes: an evaluation
    // allocates entries only up to the deepest the stack has been.
    struct spare_entry {
        spare_entry* next;
    };
    spare_entry* spare_ = nullptr;
    std::int32_t count_ = 0;
    // Entries cut off by a failed push: no longer reachable, freed with the stack.
    std::vector<stack_entry*> orphaned_;
};

}  // namespace xpath
