// Runs a function on a thread with a small stack, such as the device's 64 KiB
// threads, and waits for it: a function that needs more stack crashes the
// test program instead of passing on the host's large main stack. One
// implementation file per platform, chosen by CMake.
#pragma once

#include <cstddef>
#include <functional>

namespace test_support {

constexpr std::size_t device_stack_bytes = 64 * 1024;

// False when the thread could not be started.
bool run_on_small_stack(const std::function<void()>& body, std::size_t stack_bytes = device_stack_bytes);

}  // namespace test_support
