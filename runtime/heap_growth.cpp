// Growing the heap when the top chunk is too small, and trimming it when it
// holds much more than it needs. Requests of 256 KiB or more first try a
// region of their own; otherwise the top grows by new core memory, at its
// end when the core continues, or anew elsewhere, in which case the old top
// is closed off with two fence posts and freed.
#include "internal/private_heap.hpp"

namespace runtime {
namespace {

constexpr std::uint32_t separate_chunk_extra = 11;      // the size word and up to 7 bytes of alignment
constexpr std::uint32_t closing_words = 12;              // the old top's foot and two fence posts
constexpr std::uint32_t fence_post = 4 | previous_in_use;
constexpr std::uint64_t smallest_fallback_region = 0x100000;
constexpr std::uint64_t largest_chunk = 0xFFFFFFF8u;     // chunk sizes live in 32-bit words

std::uint64_t round_up(std::uint64_t value, std::uint64_t unit) {
    return (value + unit - 1) / unit * unit;
}

}  // namespace

void* private_heap::grow_heap(std::uint32_t size) {
    if (state_.fast_limit_word & fast_chunks_flag) {
        consolidate_fast_chunks();
        return allocate_unlocked(size);  // the same chunk size, now with the fast chunks merged
    }
    void* block = nullptr;
    if (size >= state_.separate_threshold && state_.regions_in_use < state_.region_limit &&
        map_separate_chunk(size, block))
        return block;

    chunk old_top = state_.top;
    std::uint32_t old_size = chunk_size(old_top);
    unsigned char* old_end = old_top + old_size;
    std::uint64_t page = state_.page_size;
    std::int64_t wanted = std::int64_t{size} + state_.top_pad + smallest_chunk - (state_.contiguous ? old_size : 0);
    // A top that a 32-bit size word cannot describe is out of reach, as on the device.
    if (std::uint64_t{size} + state_.top_pad + smallest_chunk + page > largest_chunk) return nullptr;
    std::uint64_t amount = wanted > 0 ? round_up(static_cast<std::uint64_t>(wanted), page) : 0;

    unsigned char* start = amount > 0 ? extend_core(static_cast<std::int64_t>(amount)) : failure();
    bool from_core = start != failure();
    unsigned char* known_end = nullptr;
    if (!from_core) {
        if (state_.contiguous) amount = round_up(amount + old_size, page);
        if (amount < smallest_fallback_region) amount = smallest_fallback_region;
        if (amount > size && amount <= largest_chunk) start = map_region(amount);
        if (start == failure()) return nullptr;
        state_.contiguous = false;
        known_end = start + amount;
    }

    if (from_core && start == old_end) {
        set_size_word(old_top, static_cast<std::uint32_t>(old_size + amount) | previous_in_use);
    } else {
        if (state_.contiguous && old_size != 0 && start < old_end) state_.contiguous = false;
        unsigned char* aligned = start;
        std::uint64_t correction = 0;
        unsigned char* end = known_end;
        if (state_.contiguous) {
            std::uintptr_t misalignment = reinterpret_cast<std::uintptr_t>(start) & 7;
            if (misalignment) {
                correction = 8 - misalignment;
                aligned = start + correction;
            }
            // The old top is lost to the gap, so ask for its size again, up to a page boundary.
            correction += old_size;
            std::uint64_t new_end = reinterpret_cast<std::uintptr_t>(start) + amount + correction;
            correction += round_up(new_end, page) - new_end;
            unsigned char* second = extend_core(static_cast<std::int64_t>(correction));
            if (second == failure()) {
                correction = 0;
                end = extend_core(0);
            } else if (second < start) {
                end = start + amount;
                correction = 0;
                state_.contiguous = false;
            } else {
                end = second;
            }
        } else if (!end) {
            end = extend_core(0);
        }
        if (end && end != failure())
            install_new_top(old_top, old_size, aligned, end, static_cast<std::uint32_t>(correction));
    }
    return chunk_size(state_.top) >= std::uint64_t{size} + smallest_chunk ? from_top(size) : nullptr;
}

// A region of its own for a large request; its chunk is marked as such and
// remembers in its first word how far it starts into the region.
bool private_heap::map_separate_chunk(std::uint32_t size, void*& block) {
    std::uint32_t page = state_.page_size;
    std::uint32_t region = (size + separate_chunk_extra + page - 1) & ~(page - 1);  // wraps as on the device
    if (region <= size) return false;
    unsigned char* memory = map_region(region);
    if (memory == failure()) return false;
    std::uint32_t lead = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(memory) & 7);
    lead = lead ? 8 - lead : 0;
    chunk c = memory + lead;
    set_previous_size(c, lead);
    set_size_word(c, (region - lead) | separate_region);
    ++state_.regions_in_use;
    block = block_of(c);
    return true;
}

void private_heap::install_new_top(chunk old_top, std::uint32_t old_size, unsigned char* start, unsigned char* end,
                                   std::uint32_t correction) {
    state_.top = start;
    set_size_word(start, static_cast<std::uint32_t>(end - start + correction) | previous_in_use);
    if (segment_count_ < recorded_segment_limit) segment_starts_[segment_count_++] = start;
    if (old_size == 0) return;
    std::uint32_t closed = (old_size - closing_words) & ~(size_unit - 1);
    set_size_word(old_top, closed | previous_in_use);
    store_word(old_top + closed + 4, fence_post);
    store_word(old_top + closed + 8, fence_post);
    if (closed < smallest_chunk) return;
    // Freeing the old top must not trim the new one.
    std::uint32_t saved_threshold = state_.trim_threshold;
    state_.trim_threshold = ~0u;
    release_unlocked(block_of(old_top));
    state_.trim_threshold = saved_threshold;
}

// Gives whole pages above the top's first (smallest chunk + pad) bytes back,
// keeping at most one page more than that.
bool private_heap::trim_top(std::uint32_t pad) {
    std::uint64_t top_size = chunk_size(state_.top);
    std::uint64_t page = state_.page_size;
    if (top_size <= std::uint64_t{pad} + smallest_chunk) return false;
    std::uint64_t pages = (top_size - pad - smallest_chunk + page - 1) / page;
    std::uint64_t extra = (pages - 1) * page;
    if (extra == 0) return false;
    unsigned char* current_end = extend_core(0);
    if (current_end != state_.top + top_size) return false;
    extend_core(-static_cast<std::int64_t>(extra));
    unsigned char* new_end = extend_core(0);
    if (new_end == failure() || new_end == current_end) return false;
    std::uint64_t released = static_cast<std::uint64_t>(current_end - new_end);
    set_size_word(state_.top, static_cast<std::uint32_t>(top_size - released) | previous_in_use);
    return true;
}

}  // namespace runtime
