// The heap's lock exists as soon as the heap does: a lock created on first
// use lets two threads that start on a fresh heap both create it, and the
// second creation wipes the first while its owner holds it. That race is too
// short for a test to meet reliably, so this checks its cause directly.
#include <gtest/gtest.h>

#include "runtime/heap_probe.hpp"
#include "simulator/device_simulator.hpp"

using runtime::heap_probe;
using runtime::private_heap;

TEST(heap_lock, is_created_with_the_heap) {
    private_heap heap;
    EXPECT_TRUE(device_simulator::critical_section_is_initialized(heap_probe::lock(heap)));
    heap.release(heap.allocate(100));
    EXPECT_TRUE(device_simulator::critical_section_is_initialized(heap_probe::lock(heap)));
}
