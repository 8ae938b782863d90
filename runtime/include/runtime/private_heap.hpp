// The private heap, as its users see it: blocks of any size up to just under
// 4 GiB, 8-aligned, from the process's one heap, safe to call from several
// threads. Failed virtual-memory calls are reported in the fatal report box
// and end in a null result. The allocator itself (runtime/heap/) is the
// runtime's own; only its files, tests, fuzzers and benchmarks include it.
#pragma once

#include <cstddef>
#include <string>

namespace runtime {

// An 8-aligned block of at least `bytes` bytes, or null.
void* heap_alloc(std::size_t bytes);
// Gives back a block of heap_alloc; null is ignored.
void heap_free(void* block);
// The first broken rule of the heap's structure, or "" when all hold; reads only.
std::string heap_check();

}  // namespace runtime
