// Growing the heap when the top chunk is too small, and trimming it when it
// holds much more than it needs. Requests of 256 KiB or more first try a
// region of their own; otherwise the top grows by new core memory: in place
// when the core continues at the top's end, elsewhere when it does not (the
// old top is then closed off with two fence posts and freed), or over a
// region of the heap's own when the core gives nothing.
#include "private_heap.hpp"

namespace runtime {
namespace {

constexpr std::uint32_t separate_chunk_extra = 11;      // the size word and up to 7 bytes of alignment
constexpr std::uint32_t closing_words = 12;              // the old top's foot and two fence posts
constexpr std::uint32_t fence_post = 4 | previous_in_use;
constexpr std::uint64_t smallest_fallback_region = 0x100000;
constexpr std::uint64_t largest_chunk = 0xFFFFFFF8u;     // chunk sizes live in 32-bit words

// How far `at` lies below the next 8-aligned address.
std::uint32_t gap_to_alignment(const unsigned char* at) {
    std::uint32_t misalignment = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(at) & 7);
    return misalignment ? 8 - misalignment : 0;
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
    // A top that a 32-bit size word cannot describe is out of reach, as on the device.
    if (std::uint64_t{size} + state_.top_pad + smallest_chunk + state_.page_size > largest_chunk) return nullptr;
    if (!extend_top(size)) return nullptr;
    return chunk_size(state_.top) >= std::uint64_t{size} + smallest_chunk ? from_top(size) : nullptr;
}

// A region of its own for a large request; its chunk is marked as such and
// remembers in its first word how far it starts into the region.
bool private_heap::map_separate_chunk(std::uint32_t size, void*& block) {
    std::uint32_t region = round_up<std::uint32_t>(size + separate_chunk_extra, state_.page_size);  // wraps as on the device
    if (region <= size) return false;
    unsigned char* memory = core_.map_region(region);
    if (memory == core_memory::failure()) return false;
    std::uint32_t lead = gap_to_alignment(memory);
    chunk c = memory + lead;
    set_previous_size(c, lead);
    set_size_word(c, (region - lead) | separate_region);
    ++state_.regions_in_use;
    block = block_of(c);
    return true;
}

// New memory for the top: from the core, at the top's end or elsewhere, or
// a region of the heap's own when the core gives nothing.
bool private_heap::extend_top(std::uint32_t size) {
    std::uint32_t old_size = chunk_size(state_.top);
    std::uint64_t amount = core_request_bytes(size, old_size);
    unsigned char* start =
        amount > 0 ? core_.extend_core(static_cast<std::int64_t>(amount)) : core_memory::failure();
    if (start == core_memory::failure()) return grow_into_own_region(size, amount, old_size);
    if (start == state_.top + old_size)
        grow_in_place(amount);
    else
        grow_elsewhere(start, amount);
    return true;
}

// What the top lacks for the request, the pad and a smallest chunk after it,
// in whole pages; a contiguous heap counts the top's own bytes as present.
std::uint64_t private_heap::core_request_bytes(std::uint32_t size, std::uint32_t old_size) const {
    std::int64_t wanted = std::int64_t{size} + state_.top_pad + smallest_chunk - (state_.contiguous ? old_size : 0);
    return wanted > 0 ? round_up<std::uint64_t>(static_cast<std::uint64_t>(wanted), state_.page_size) : 0;
}

// The core continued right at the top's end: the top simply grows.
void private_heap::grow_in_place(std::uint64_t amount) {
    std::uint32_t old_size = chunk_size(state_.top);
    set_size_word(state_.top, static_cast<std::uint32_t>(old_size + amount) | previous_in_use);
}

// The core went on somewhere else (below the top, or past memory that is
// not the heap's): a new top starts there, and the old one is closed off.
void private_heap::grow_elsewhere(unsigned char* start, std::uint64_t amount) {
    chunk old_top = state_.top;
    std::uint32_t old_size = chunk_size(old_top);
    if (state_.contiguous && old_size != 0 && start < old_top + old_size) state_.contiguous = false;
    unsigned char* aligned = start;
    std::uint64_t correction = 0;
    unsigned char* end = nullptr;
    if (state_.contiguous) {
        aligned = start + gap_to_alignment(start);
        end = end_of_new_core(start, amount, correction);
    } else {
        end = core_.extend_core(0);
    }
    if (!end || end == core_memory::failure()) return;
    start_new_top(aligned, end, static_cast<std::uint32_t>(correction));
    close_old_top(old_top, old_size);
}

// A contiguous heap whose core moved on loses the old top to the gap, so it
// asks the core again for the top's size and the new start's alignment, up
// to a page boundary. Returns where the new memory ends, with `correction`
// the bytes that second request added beyond that end.
unsigned char* private_heap::end_of_new_core(unsigned char* start, std::uint64_t amount, std::uint64_t& correction) {
    std::uint64_t page = state_.page_size;
    correction = std::uint64_t{gap_to_alignment(start)} + chunk_size(state_.top);
    std::uint64_t new_end = reinterpret_cast<std::uintptr_t>(start) + amount + correction;
    correction += round_up(new_end, page) - new_end;
    unsigned char* second = core_.extend_core(static_cast<std::int64_t>(correction));
    if (second == core_memory::failure()) {
        correction = 0;
        return core_.extend_core(0);
    }
    if (second < start) {
        correction = 0;
        state_.contiguous = false;
        return start + amount;
    }
    return second;
}

// The core gave nothing: a region of the heap's own, at least 1 MiB, holds
// the new top, and the heap is no longer contiguous.
bool private_heap::grow_into_own_region(std::uint32_t size, std::uint64_t amount, std::uint32_t old_size) {
    if (state_.contiguous) amount = round_up<std::uint64_t>(amount + old_size, state_.page_size);
    if (amount < smallest_fallback_region) amount = smallest_fallback_region;
    if (amount <= size || amount > largest_chunk) return false;
    unsigned char* start = core_.map_region(amount);
    if (start == core_memory::failure()) return false;
    state_.contiguous = false;
    chunk old_top = state_.top;
    start_new_top(start, start + amount, 0);
    close_old_top(old_top, old_size);
    return true;
}

void private_heap::start_new_top(unsigned char* start, unsigned char* end, std::uint32_t correction) {
    state_.top = start;
    set_size_word(start, static_cast<std::uint32_t>(end - start + correction) | previous_in_use);
    core_.record_segment(start);
}

// The old top ends in two fence posts, so that no merge ever crosses into
// memory that is not the heap's, and what is left of it is freed.
void private_heap::close_old_top(chunk old_top, std::uint32_t old_size) {
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
    unsigned char* current_end = core_.extend_core(0);
    if (current_end != state_.top + top_size) return false;
    core_.extend_core(-static_cast<std::int64_t>(extra));
    unsigned char* new_end = core_.extend_core(0);
    if (new_end == core_memory::failure() || new_end == current_end) return false;
    std::uint64_t released = static_cast<std::uint64_t>(current_end - new_end);
    set_size_word(state_.top, static_cast<std::uint32_t>(top_size - released) | previous_in_use);
    return true;
}

}  // namespace runtime
