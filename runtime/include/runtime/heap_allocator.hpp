// A standard-library allocator over the private heap, for the launcher's
// strings and card list. A null result throws std::bad_alloc, so no caller
// ever writes through a null pointer.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

#include "private_heap.hpp"

namespace runtime {

template <class T>
class heap_allocator {
public:
    static_assert(alignof(T) <= 8, "the private heap aligns blocks to 8 bytes");
    using value_type = T;

    heap_allocator() noexcept = default;
    template <class U>
    heap_allocator(const heap_allocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
        void* block = heap_alloc(count * sizeof(T));
        if (!block) throw std::bad_alloc();
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t) noexcept { heap_free(block); }
};

template <class T, class U>
bool operator==(const heap_allocator<T>&, const heap_allocator<U>&) noexcept {
    return true;
}

template <class T, class U>
bool operator!=(const heap_allocator<T>&, const heap_allocator<U>&) noexcept {
    return false;
}

}  // namespace runtime
