// The heap's consistency checker, for tests, fuzzing and heap_check: walks
// the bins, the fast lists, the top and every chunk of the heap's memory,
// and reports the first rule that does not hold. A friend of the allocator
// that reads its state from outside and never changes it; a program that
// never checks its heap (launcher.exe) links none of it.
#pragma once

#include <string>

#include "private_heap.hpp"

namespace runtime {

// The first broken rule of the heap's structure, or "" when all hold. Takes
// the heap's lock.
std::string check_heap(private_heap& heap);

class heap_checker {
public:
    explicit heap_checker(private_heap& heap) : heap_(heap), state_(heap.state_) {}
    // Takes the heap's lock; a heap that has never been used holds every rule.
    std::string first_problem();

private:
    private_heap& heap_;
    const private_heap::heap_state& state_;

    std::string check_all();
    std::string check_bin(int index);
    std::string check_fast_lists();
    std::string check_top();
    std::string check_chunks();
};

}  // namespace runtime
