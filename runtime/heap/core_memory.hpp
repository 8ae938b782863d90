// The private heap's core memory: the memory under the top chunk, reserved
// from the platform in large regions and committed page by page at the end of
// the newest one, and regions of their own for large blocks. It is the heap's
// only caller of the virtual-memory calls, of the process heap (which holds
// the region records) and of the fatal report. It knows nothing of chunks;
// private_heap lays them over what it hands out.
#pragma once

#include <cstdint>

#include "chunk_layout.hpp"
#include "heap_site.hpp"

namespace runtime {

class core_memory {
public:
    core_memory() = default;
    // Gives every core region and its record back.
    ~core_memory();
    core_memory(const core_memory&) = delete;
    core_memory& operator=(const core_memory&) = delete;

    // What extend_core and map_region return when they cannot: an address no
    // block can have (all bits set).
    static unsigned char* failure();

    // Grows (bytes >= 0) or shrinks the core; returns the old end when
    // growing, the new end when shrinking, failure() when it cannot.
    unsigned char* extend_core(std::int64_t bytes);
    // A committed region of its own, outside the core, or failure().
    unsigned char* map_region(std::uintptr_t size);
    // Releases such a region whole: 0, or -1 when the platform refuses.
    int unmap_region(unsigned char* address, std::uintptr_t size);

    // Where each stretch of the heap's memory begins, in the order the heap
    // started them: the checker walks the chunks from each. The allocator
    // never reads them; only the first segment_limit are kept.
    static constexpr int segment_limit = 64;
    void record_segment(chunk start);
    int segment_count() const { return segment_count_; }
    chunk segment_start(int index) const { return segment_starts_[index]; }
    bool holds_every_segment() const { return segment_count_ < segment_limit; }

private:
    struct region_record {
        std::uintptr_t allocated_top;
        std::uintptr_t committed_top;
        std::uintptr_t reserved_top;
        std::uintptr_t reservation_size;
        region_record* next;

        std::uintptr_t base() const { return reserved_top - reservation_size; }
        std::uintptr_t used_bytes() const { return allocated_top - base(); }
    };

    bool figures_loaded_ = false;
    bool started_ = false;
    region_record* head_ = nullptr;     // the newest region; the core ends in it
    region_record* unfreed_ = nullptr;  // records the process heap refused to take back; tried again at the end
    std::uintptr_t page_size_ = 0;
    std::uintptr_t region_unit_ = 0;
    std::uintptr_t separate_granularity_ = 0;
    chunk segment_starts_[segment_limit] = {};
    int segment_count_ = 0;

    void load_system_figures();
    bool start_core();
    unsigned char* grow_core(std::uintptr_t bytes);
    unsigned char* grow_into_new_region(std::uintptr_t bytes);
    void* reserve_region(std::uintptr_t uncovered, std::uintptr_t& size);
    bool commit_at(std::uintptr_t address, std::uintptr_t bytes, heap_site null_site, heap_site moved_site);
    unsigned char* shrink_core(std::uintptr_t bytes);
    bool release_head_region();
    bool decommit_from(std::uintptr_t first_free_page);

    friend struct heap_probe;  // tests/runtime/heap_probe.hpp reads the newest region's figures
};

}  // namespace runtime
