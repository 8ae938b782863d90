// What the heap tests read inside a heap: its top chunk, the newest core
// region's figures and the count of regions of their own. A friend of
// private_heap and core_memory kept beside the tests, since the product never
// reads these figures.
#pragma once

#include <cstdint>

#include "heap/private_heap.hpp"

namespace runtime {

struct heap_probe {
    struct core_figures {
        std::uintptr_t base, allocated_end, committed_end, reserved_end;
    };

    static const CRITICAL_SECTION& lock(const private_heap& heap) { return heap.lock_; }
    static chunk top(const private_heap& heap) { return heap.state_.top; }
    static std::int32_t separate_regions_in_use(const private_heap& heap) { return heap.state_.regions_in_use; }
    // All zero before the heap's first growth.
    static core_figures core(const private_heap& heap) {
        const core_memory::region_record* head = heap.core_.head_;
        if (!head) return core_figures{0, 0, 0, 0};
        return core_figures{head->base(), head->allocated_top, head->committed_top, head->reserved_top};
    }
};

}  // namespace runtime
