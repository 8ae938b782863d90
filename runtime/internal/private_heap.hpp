// The private heap's allocator: a boundary-tag allocator with size-classed
// free lists, laid over memory reserved from the platform's virtual memory in
// large regions and committed page by page. Requests of 256 KiB or more get
// regions of their own. heap_alloc and heap_free (runtime/private_heap.hpp)
// use the process's one heap; tests may build heaps of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "chunk_layout.hpp"
#include "runtime/heap_site.hpp"
#include "runtime/private_heap.hpp"
#include "windows_ce.hpp"

namespace runtime {

class private_heap {
public:
    static constexpr std::uint32_t fast_limit = 72;             // largest chunk kept in fast lists
    static constexpr std::uint32_t refused_request = 0xFFFFFFE0u; // requests from here on get null
    static constexpr std::uint32_t trim_threshold_bytes = 0x10000;
    static constexpr std::uint32_t separate_region_threshold = 0x40000;
    static constexpr std::int32_t separate_region_limit = 65536;
    static constexpr std::uint32_t merge_trigger_bytes = 0x8000;  // frees this large consolidate and trim

    // Creates the heap's lock. The process's heap is made on its first use,
    // so its lock still comes with the first allocation or free.
    private_heap();
    // Gives the core regions and their records back. The process's heap is
    // never destroyed; heaps made for a while (tests) are.
    ~private_heap();
    private_heap(const private_heap&) = delete;
    private_heap& operator=(const private_heap&) = delete;

    void* allocate(std::size_t bytes);
    void release(void* block);
    void heap_lock();
    void heap_unlock();

    // The first broken rule of the heap's structure, or "" when all hold.
    std::string check();

    // For tests.
    struct core_figures {
        std::uintptr_t base, allocated_end, committed_end, reserved_end;
    };
    core_figures core() const {
        if (!core_.head) return core_figures{0, 0, 0, 0};
        const region_record& head = *core_.head;
        return core_figures{head.reserved_top - head.reservation_size, head.allocated_top, head.committed_top,
                            head.reserved_top};
    }
    chunk top_chunk() const { return state_.top; }
    std::int32_t separate_regions_in_use() const { return state_.regions_in_use; }
    static std::uint32_t request_size(std::size_t bytes);
    // The bin that files a free chunk of this size.
    static int bin_index(std::uint32_t size);

private:
    static constexpr int fast_list_count = 10;
    static constexpr int bin_count = 96;
    static constexpr std::uint32_t freed_flag = 0x1;      // a chunk was freed since initialisation
    static constexpr std::uint32_t fast_chunks_flag = 0x2; // the fast lists may hold chunks

    struct region_record {
        std::uintptr_t allocated_top;
        std::uintptr_t committed_top;
        std::uintptr_t reserved_top;
        std::uintptr_t reservation_size;
        region_record* next;
    };

    // All zero until first use: the heap initialises itself.
    struct heap_state {
        std::uint32_t fast_limit_word;
        chunk fast_lists[fast_list_count];
        chunk top;
        chunk last_remainder;
        alignas(8) unsigned char bins[bin_count][smallest_chunk];  // list headers, laid out like chunks
        alignas(8) unsigned char placeholder_top[smallest_chunk];  // a top of size 0 before the first growth
        std::uint32_t bin_map[3];
        std::uint32_t trim_threshold;
        std::uint32_t top_pad;
        std::uint32_t separate_threshold;
        std::int32_t regions_in_use;
        std::int32_t region_limit;
        std::uint32_t page_size;
        bool contiguous;
    };

    struct core_state {
        bool figures_loaded;
        bool started;
        region_record* head;
        region_record* unfreed;  // records the process heap refused to take back; tried again at the end
        std::uintptr_t page_size;
        std::uintptr_t region_unit;
        std::uintptr_t separate_granularity;
    };

    heap_state state_{};
    core_state core_{};
    // Where each stretch of core memory begins, for the checker's walk; the
    // allocator itself never reads it.
    static constexpr int recorded_segment_limit = 64;
    chunk segment_starts_[recorded_segment_limit] = {};
    int segment_count_ = 0;
    // Created with the heap, not on the first lock: threads that share a heap
    // would otherwise create it at once, one of them over a section another holds.
    CRITICAL_SECTION lock_{};

    // private_heap.cpp
    bool is_initialised() const { return state_.fast_limit_word != 0; }
    void initialise();
    chunk bin_at(int index) { return state_.bins[index]; }
    chunk unsorted() { return bin_at(1); }
    static int small_bin_index(std::uint32_t size) { return static_cast<int>(size >> 3); }
    static int large_bin_index(std::uint32_t size);
    static int fast_index(std::uint32_t size) { return static_cast<int>(size >> 3) - 2; }
    void mark_bin(int index) { state_.bin_map[index / 32] |= 1u << (index % 32); }
    void unmark_bin(int index) { state_.bin_map[index / 32] &= ~(1u << (index % 32)); }
    static void unlink(chunk c);
    static void insert_after(chunk header, chunk c);
    void make_only_unsorted(chunk c);
    void file_chunk(chunk c);
    chunk split(chunk victim, std::uint32_t size, bool small_request);
    void* allocate_unlocked(std::uint32_t size);
    void* from_fast_or_small_bin(std::uint32_t size);
    void* from_unsorted(std::uint32_t size);
    void* from_large_bin(std::uint32_t size);
    void* from_bin_map(std::uint32_t size);
    void* from_top(std::uint32_t size);
    void release_unlocked(void* block);
    std::uint32_t merge_neighbours(chunk& c, std::uint32_t size);
    void consolidate_fast_chunks();

    // heap_growth.cpp
    void* grow_heap(std::uint32_t size);
    bool map_separate_chunk(std::uint32_t size, void*& block);
    void install_new_top(chunk old_top, std::uint32_t old_size, unsigned char* start, unsigned char* end,
                         std::uint32_t correction);
    bool trim_top(std::uint32_t pad);

    // core_memory.cpp
    static unsigned char* failure();
    unsigned char* extend_core(std::int64_t bytes);
    void load_system_figures();
    bool start_core();
    unsigned char* grow_core(std::uintptr_t bytes);
    unsigned char* grow_into_new_region(std::uintptr_t bytes);
    bool commit_at(std::uintptr_t address, std::uintptr_t bytes, heap_site null_site, heap_site moved_site);
    unsigned char* shrink_core(std::uintptr_t bytes);
    unsigned char* map_region(std::uintptr_t size);
    int unmap_region(unsigned char* address, std::uintptr_t size);

    // heap_checker.cpp
    std::string check_lists();
    std::string check_bin(int index);
    std::string check_fast_lists();
    std::string check_top();
    std::string check_chunks();
};

// The process's one heap, behind heap_alloc, heap_free and heap_check.
private_heap& process_heap();

}  // namespace runtime
