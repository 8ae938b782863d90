// The heap's consistency checker: the rules a sound heap keeps, checked one
// list and one chunk after the other. It reads the heap only; a broken heap
// is described, never repaired.
#include "heap_checker.hpp"

#include <set>
#include <sstream>

#include "runtime/private_heap.hpp"

namespace runtime {
namespace {

std::string describe(const char* rule, chunk c) {
    std::ostringstream text;
    text << rule << " at chunk " << static_cast<const void*>(c);
    return text.str();
}

bool aligned(chunk c) {
    return (reinterpret_cast<std::uintptr_t>(c) & 7) == 0;
}

}  // namespace

// Here rather than beside heap_alloc, so that a program that never checks the
// heap (launcher.exe) links none of the checker.
std::string heap_check() {
    return check_heap(process_heap());
}

std::string check_heap(private_heap& heap) {
    return heap_checker(heap).first_problem();
}

std::string heap_checker::first_problem() {
    heap_.lock();
    std::string problem = heap_.is_initialised() ? check_all() : std::string();
    heap_.unlock();
    return problem;
}

std::string heap_checker::check_all() {
    for (int index = 1; index < private_heap::bin_count; ++index) {
        std::string problem = check_bin(index);
        if (!problem.empty()) return problem;
    }
    std::string problem = check_fast_lists();
    if (problem.empty()) problem = check_top();
    return problem.empty() ? check_chunks() : problem;
}

// Every chunk in address order: its size is sound, it is free exactly when a
// bin holds it, and no two free chunks touch. A stretch of core memory ends
// at the top or at the fence posts that closed it off.
std::string heap_checker::check_chunks() {
    std::set<chunk> binned;
    for (int index = 1; index < private_heap::bin_count; ++index)
        for (chunk c = forward(heap_.bin_at(index)); c != heap_.bin_at(index); c = forward(c)) binned.insert(c);
    std::size_t reached = 0;
    const core_memory& core = heap_.core_;
    for (int segment = 0; segment < core.segment_count(); ++segment) {
        std::size_t steps = 0;
        for (chunk c = core.segment_start(segment); c != state_.top; c = next_chunk(c)) {
            std::uint32_t size = chunk_size(c);
            if (size == 4) break;  // a fence post
            if (size < smallest_chunk || size % 8 != 0 || ++steps > (1u << 26))
                return describe("a chunk in the walk has a bad size", c);
            bool free = !is_previous_in_use(c + size);
            if (free != (binned.count(c) != 0))
                return describe(free ? "a free chunk is in no bin" : "a chunk in a bin is marked in use", c);
            if (free && !is_previous_in_use(c)) return describe("two free chunks touch", c);
            reached += free ? 1 : 0;
        }
    }
    if (core.holds_every_segment() && reached != binned.size())
        return describe("a chunk in a bin lies outside the heap's memory", state_.top);
    return std::string();
}

// A free chunk: its size fits its bin, its foot repeats it, its successor
// knows it is free, and its predecessor is in use (free chunks never touch).
std::string heap_checker::check_bin(int index) {
    chunk bin = heap_.bin_at(index);
    std::uint32_t previous_size_in_bin = ~0u;
    bool non_empty = forward(bin) != bin;
    if (non_empty && index > 1 && (state_.bin_map[index / 32] & (1u << (index % 32))) == 0)
        return describe("a non-empty bin is not marked in the bin map", bin);
    std::size_t steps = 0;
    for (chunk c = forward(bin); c != bin; c = forward(c)) {
        if (++steps > (1u << 26)) return describe("a bin list does not come back to its header", bin);
        std::uint32_t size = chunk_size(c);
        if (!aligned(c) || size < smallest_chunk || size % 8 != 0) return describe("a free chunk has a bad size", c);
        if (backward(forward(c)) != c) return describe("a free chunk's links disagree", c);
        if (index > 1 && private_heap::bin_index(size) != index) return describe("a free chunk lies in the wrong bin", c);
        if (index >= 32 && size > previous_size_in_bin) return describe("a large bin is out of order", c);
        previous_size_in_bin = size;
        if (previous_size(c + size) != size) return describe("a free chunk's foot differs from its size", c);
        if (is_previous_in_use(c + size)) return describe("the chunk after a free chunk thinks it in use", c);
        if (!is_previous_in_use(c)) return describe("two free chunks touch", c);
        if (c + size == state_.top) return describe("a free chunk touches the top", c);
    }
    return std::string();
}

// A fast chunk stays marked in use and has the size of its list.
std::string heap_checker::check_fast_lists() {
    std::set<chunk> seen;
    for (int index = 0; index < private_heap::fast_list_count; ++index) {
        for (chunk c = state_.fast_lists[index]; c; c = forward(c)) {
            if (!seen.insert(c).second) return describe("a chunk is twice in the fast lists", c);
            if (!aligned(c) || chunk_size(c) != static_cast<std::uint32_t>(index + 2) * 8)
                return describe("a fast chunk has the wrong size", c);
            if (!is_previous_in_use(c + chunk_size(c))) return describe("a fast chunk is marked free", c);
            if ((state_.fast_limit_word & private_heap::fast_chunks_flag) == 0)
                return describe("fast chunks exist while the flag says none", c);
        }
    }
    return std::string();
}

std::string heap_checker::check_top() {
    chunk top = state_.top;
    if (top == state_.placeholder_top) return std::string();
    if (!aligned(top)) return describe("the top is not aligned", top);
    if (!is_previous_in_use(top)) return describe("the chunk before the top is free", top);
    if (chunk_size(top) < smallest_chunk) return describe("the top is smaller than a chunk", top);
    return std::string();
}

}  // namespace runtime
