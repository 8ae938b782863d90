// Runs a piece of work on a thread of its own whose stack is as small as the
// device's threads' (64 KiB), waits for it, and reports how much of that stack
// the work used at its deepest. A stack overflow ends the test program.
// One implementation file per platform, chosen by CMake.
#pragma once

#include <cstddef>
#include <functional>

namespace test_support {

struct stack_run {
    bool finished = false;       // the thread was created and the work returned
    std::size_t peak_bytes = 0;  // deepest use of the stack; 0 where it cannot be measured
};

stack_run run_on_small_stack(std::size_t stack_bytes, const std::function<void()>& work);

}  // namespace test_support
