// The private heap's allocator: a boundary-tag allocator with size-classed
// free lists (fast lists, bins and a bin map) over the top chunk, which
// grows from core_memory. heap_alloc and heap_free (runtime/private_heap.hpp)
// use the process's one heap; tests may build heaps of their own. The
// consistency checker (heap_checker.hpp) reads it from outside.
#pragma once

#include <cstddef>
#include <cstdint>

#include "chunk_layout.hpp"
#include "core_memory.hpp"
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

    // Creates the heap's lock here rather than on the first lock: threads
    // that share a heap would otherwise create it at once, one of them over a
    // section another holds. The process's heap is a function-local static,
    // made once even when several threads ask first.
    private_heap();
    // The process's heap is never destroyed; heaps made for a while (tests)
    // give their core back.
    ~private_heap();
    private_heap(const private_heap&) = delete;
    private_heap& operator=(const private_heap&) = delete;

    void* allocate(std::size_t bytes);
    void release(void* block);

    // The chunk size for a request: n + 4 bytes rounded up to 8, at least the smallest chunk.
    static std::uint32_t request_size(std::size_t bytes);
    // The bin that files a free chunk of this size.
    static int bin_index(std::uint32_t size);

private:
    static constexpr int fast_list_count = 10;
    static constexpr int bin_count = 96;
    static constexpr std::uint32_t freed_flag = 0x1;      // a chunk was freed since initialisation
    static constexpr std::uint32_t fast_chunks_flag = 0x2; // the fast lists may hold chunks

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

    heap_state state_{};
    core_memory core_;
    CRITICAL_SECTION lock_{};

    void lock() { EnterCriticalSection(&lock_); }
    void unlock() { LeaveCriticalSection(&lock_); }

    // The bins and the lists (private_heap.cpp).
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

    // Allocation, in the order of the places a request is served from.
    void* allocate_unlocked(std::uint32_t size);
    void* from_fast_or_small_bin(std::uint32_t size);
    void* from_unsorted(std::uint32_t size);
    void* from_large_bin(std::uint32_t size);
    void* from_bin_map(std::uint32_t size);
    void* from_top(std::uint32_t size);

    // Freeing.
    void release_unlocked(void* block);
    std::uint32_t merge_neighbours(chunk& c, std::uint32_t size);
    void consolidate_fast_chunks();

    // Growing and trimming (heap_growth.cpp).
    void* grow_heap(std::uint32_t size);
    bool map_separate_chunk(std::uint32_t size, void*& block);
    bool extend_top(std::uint32_t size);
    std::uint64_t core_request_bytes(std::uint32_t size, std::uint32_t old_size) const;
    void grow_in_place(std::uint64_t amount);
    void grow_elsewhere(unsigned char* start, std::uint64_t amount);
    unsigned char* end_of_new_core(unsigned char* start, std::uint64_t amount, std::uint64_t& correction);
    bool grow_into_own_region(std::uint32_t size, std::uint64_t amount, std::uint32_t old_size);
    void start_new_top(unsigned char* start, unsigned char* end, std::uint32_t correction);
    void close_old_top(chunk old_top, std::uint32_t old_size);
    bool trim_top(std::uint32_t pad);

    friend class heap_checker;  // reads everything, changes nothing
    friend struct heap_probe;   // tests/runtime/heap_probe.hpp: the figures tests compare
};

// The process's one heap, behind heap_alloc, heap_free and heap_check.
private_heap& process_heap();

}  // namespace runtime
