// The value stack, a linked list of owned entries. A push whose entry cannot
// be allocated still counts, and leaves no top, so that the next removal
// raises 36 instead of silently losing a value; the entries below it are
// kept aside and freed with the stack.
#include "value_stack.hpp"

#include <new>
#include <utility>

#include "evaluation_errors.hpp"

namespace xpath {
namespace {

void* allocate_with_new(std::size_t bytes) {
    return ::operator new(bytes, std::nothrow);
}

}  // namespace

value_stack::entry_allocator value_stack::allocate_entry = allocate_with_new;

value_stack::~value_stack() {
    free_chain(top_);
    for (stack_entry* chain : orphaned_) free_chain(chain);
    while (spare_) {
        spare_entry* next = spare_->next;
        spare_->~spare_entry();
        ::operator delete(spare_);
        spare_ = next;
    }
}

void* value_stack::entry_memory() {
    if (!spare_) return allocate_entry(sizeof(stack_entry));
    spare_entry* reused = spare_;
    spare_ = reused->next;
    reused->~spare_entry();
    return reused;
}

void value_stack::free_chain(stack_entry* entry) {
    while (entry) {
        stack_entry* below = entry->below;
        entry->~stack_entry();
        ::operator delete(entry);
        entry = below;
    }
}

void value_stack::push_value(const path_value& value) {
    push_value(path_value(value));
}

void value_stack::push_value(path_value&& value) {
    void* memory = entry_memory();
    ++count_;
    if (!memory) {
        if (top_) orphaned_.push_back(top_);
        top_ = nullptr;
        return;
    }
    top_ = new (memory) stack_entry{std::move(value), top_};
}

void value_stack::push_bool(bool value) {
    push_value(path_value(value));
}

void value_stack::push_int(std::int32_t value, const char*) {
    push_value(path_value(value));
}

void value_stack::push_double(double value) {
    push_value(path_value(value));
}

void value_stack::push_string(const std::string& value) {
    push_value(path_value(value));
}

void value_stack::push_string(std::string&& value) {
    push_value(path_value(std::move(value)));
}

void value_stack::push_nodes(const node_collection& value) {
    push_value(path_value(value));
}

void value_stack::push_nodes(node_collection&& value) {
    push_value(path_value(std::move(value)));
}

path_value& value_stack::top() {
    if (!top_) raise_execution_error(execution_code::top_of_empty_stack);
    return top_->value;
}

void value_stack::remove_one() {
    if (count_ == 0) raise_execution_error(execution_code::pop_of_empty_stack);
    if (!top_) raise_execution_error(execution_code::pop_of_missing_entry);
    stack_entry* gone = top_;
    top_ = gone->below;
    gone->~stack_entry();
    --count_;
    spare_ = new (static_cast<void*>(gone)) spare_entry{spare_};
}

void value_stack::pop(std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) remove_one();
}

std::int32_t value_stack::pop_int() {
    std::int32_t value = top().to_int();
    remove_one();
    return value;
}

std::string value_stack::pop_string() {
    std::string value = top().to_string();
    remove_one();
    return value;
}

bool value_stack::pop_bool() {
    bool value = top().to_bool();
    remove_one();
    return value;
}

node_collection value_stack::pop_nodes() {
    path_value& value_on_top = top();
    // A value of another kind may still carry an old collection in its unused payload.
    node_collection value;
    if (value_on_top.kind == value_kind::kind_nodes) value = std::move(value_on_top.nodes);
    remove_one();
    return value;
}

path_value value_stack::pop_value() {
    path_value value = std::move(top());
    remove_one();
    return value;
}

void value_stack::clear() {
    while (top_) remove_one();
}

}  // namespace xpath
