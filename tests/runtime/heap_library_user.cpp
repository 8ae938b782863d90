// A program that uses the private heap and nothing else of the project: it
// includes only the public headers and links only the runtime library (and
// the platform layer under it), which proves that the heap stands alone.
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/heap_allocator.hpp"
#include "runtime/private_heap.hpp"

int main() {
    std::vector<unsigned char*> blocks;
    for (std::size_t size = 0; size < 300000; size = size * 2 + 3) {
        auto* block = static_cast<unsigned char*>(runtime::heap_alloc(size));
        if (!block || reinterpret_cast<std::uintptr_t>(block) % 8 != 0) {
            std::printf("heap_alloc(%zu) gave no aligned block\n", size);
            return 1;
        }
        std::memset(block, 0x5A, size);
        blocks.push_back(block);
    }
    std::vector<int, runtime::heap_allocator<int>> numbers(1000, 7);
    for (unsigned char* block : blocks) runtime::heap_free(block);
    std::string problem = runtime::heap_check();
    if (!problem.empty() || numbers[999] != 7) {
        std::printf("heap broken: %s\n", problem.c_str());
        return 1;
    }
    std::puts("the private heap works on its own");
    return 0;
}
