// Allocation and freeing in the private heap. Small chunks that are freed go
// to fast lists without merging; other free chunks merge with their free
// neighbours and get one chance in the unsorted list before they are filed
// into size bins. A request is served from, in order: its fast list, its
// small bin, the unsorted list, its large bin, the next non-empty bin by the
// bin map, the top chunk, and new core memory (heap_growth.cpp).
#include "private_heap.hpp"

#include "runtime/private_heap.hpp"

namespace runtime {
namespace {

constexpr std::uint32_t small_limit = 256;

// bits is never 0.
int lowest_bit(std::uint32_t bits) {
    return __builtin_ctz(bits);
}

}  // namespace

// Never torn down: blocks may be freed by exit handlers.
private_heap& process_heap() {
    static private_heap* heap = new private_heap();
    return *heap;
}

void* heap_alloc(std::size_t bytes) {
    return process_heap().allocate(bytes);
}

void heap_free(void* block) {
    process_heap().release(block);
}

private_heap::private_heap() {
    InitializeCriticalSection(&lock_);
}

private_heap::~private_heap() {
    DeleteCriticalSection(&lock_);
}

void* private_heap::allocate(std::size_t bytes) {
    lock();
    void* block = bytes >= refused_request ? nullptr : allocate_unlocked(request_size(bytes));
    unlock();
    return block;
}

void private_heap::release(void* block) {
    lock();
    release_unlocked(block);
    unlock();
}

std::uint32_t private_heap::request_size(std::size_t bytes) {
    std::uint32_t size = static_cast<std::uint32_t>((bytes + overhead_bytes + 7) & ~std::size_t{7});
    return size < smallest_chunk ? smallest_chunk : size;
}

void private_heap::initialise() {
    for (int i = 1; i < bin_count; ++i) {
        set_forward(bin_at(i), bin_at(i));
        set_backward(bin_at(i), bin_at(i));
    }
    state_.trim_threshold = trim_threshold_bytes;
    state_.top_pad = 0;
    state_.separate_threshold = separate_region_threshold;
    state_.region_limit = separate_region_limit;
    state_.contiguous = true;
    state_.fast_limit_word = fast_limit | (state_.fast_limit_word & (freed_flag | fast_chunks_flag));
    state_.top = state_.placeholder_top;
    set_previous_size(state_.top, 0);
    set_size_word(state_.top, 0);
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    state_.page_size = info.dwPageSize;
}

// Each doubling of size from 256 bytes has four bins, chosen by the two bits
// after the leading one; 2^24 bytes and more share the last bin.
int private_heap::large_bin_index(std::uint32_t size) {
    if (size >= (1u << 24)) return bin_count - 1;
    int k = 31 - __builtin_clz(size) - 8;  // floor(log2(size / 256)); size is at least 256
    return 32 + 4 * k + static_cast<int>((size >> (k + 6)) & 3);
}

int private_heap::bin_index(std::uint32_t size) {
    return size < small_limit ? small_bin_index(size) : large_bin_index(size);
}

void private_heap::unlink(chunk c) {
    chunk after = forward(c);
    chunk before = backward(c);
    set_backward(after, before);
    set_forward(before, after);
}

void private_heap::insert_after(chunk header, chunk c) {
    chunk after = forward(header);
    set_forward(c, after);
    set_backward(c, header);
    set_backward(after, c);
    set_forward(header, c);
}

void private_heap::make_only_unsorted(chunk c) {
    chunk list = unsorted();
    set_forward(list, c);
    set_backward(list, c);
    set_forward(c, list);
    set_backward(c, list);
}

// Small chunks go to the front of their bin; large bins stay sorted by
// decreasing size from the front.
void private_heap::file_chunk(chunk c) {
    std::uint32_t size = chunk_size(c);
    int index = bin_index(size);
    chunk bin = bin_at(index);
    if (size < small_limit || forward(bin) == bin) {
        insert_after(bin, c);
    } else if (size < size_word(backward(bin))) {
        insert_after(backward(bin), c);
    } else {
        chunk next = forward(bin);
        while (size_word(next) > (size | previous_in_use)) next = forward(next);
        insert_after(backward(next), c);
    }
    mark_bin(index);
}

// Hands out `size` bytes of a chunk already taken off its list; a rest that
// can hold a free chunk becomes the only chunk of the unsorted list.
chunk private_heap::split(chunk victim, std::uint32_t size, bool small_request) {
    std::uint32_t whole = chunk_size(victim);
    std::uint32_t rest = whole - size;
    if (rest < smallest_chunk) {
        mark_previous_in_use(victim + whole);
        return victim;
    }
    set_size_word(victim, size | previous_in_use);
    chunk remainder = victim + size;
    set_free_size(remainder, rest);
    make_only_unsorted(remainder);
    if (small_request) state_.last_remainder = remainder;
    return victim;
}

void* private_heap::allocate_unlocked(std::uint32_t size) {
    if ((state_.fast_limit_word & freed_flag) == 0) {
        if (!is_initialised()) initialise();
        return from_top(size);
    }
    if (void* block = from_fast_or_small_bin(size)) return block;
    if (size >= small_limit && (state_.fast_limit_word & fast_chunks_flag)) consolidate_fast_chunks();
    if (void* block = from_unsorted(size)) return block;
    if (size >= small_limit)
        if (void* block = from_large_bin(size)) return block;
    if (void* block = from_bin_map(size)) return block;
    return from_top(size);
}

void* private_heap::from_fast_or_small_bin(std::uint32_t size) {
    if (size <= fast_limit) {
        chunk& list = state_.fast_lists[fast_index(size)];
        if (list) {
            chunk c = list;
            list = forward(c);
            return block_of(c);
        }
    }
    if (size < small_limit) {
        chunk bin = bin_at(small_bin_index(size));
        chunk victim = backward(bin);
        if (victim != bin) {
            unlink(victim);
            mark_previous_in_use(victim + size);
            return block_of(victim);
        }
    }
    return nullptr;
}

// Every chunk of the unsorted list is either an exact fit, handed out, or
// filed into its bin. A small request may split the last remainder when it
// is the only chunk there, which keeps runs of small requests together.
void* private_heap::from_unsorted(std::uint32_t size) {
    chunk list = unsorted();
    bool small_request = size < small_limit;
    for (chunk victim = backward(list); victim != list; victim = backward(list)) {
        std::uint32_t whole = chunk_size(victim);
        if (small_request && backward(victim) == list && victim == state_.last_remainder &&
            whole > size + smallest_chunk) {
            set_size_word(victim, size | previous_in_use);
            chunk remainder = victim + size;
            set_free_size(remainder, whole - size);
            make_only_unsorted(remainder);
            state_.last_remainder = remainder;
            return block_of(victim);
        }
        unlink(victim);
        if (whole == size) {
            mark_previous_in_use(victim + whole);
            return block_of(victim);
        }
        file_chunk(victim);
    }
    return nullptr;
}

// The smallest chunk of the request's own large bin that is big enough.
void* private_heap::from_large_bin(std::uint32_t size) {
    chunk bin = bin_at(large_bin_index(size));
    chunk victim = backward(bin);
    while (victim != bin && chunk_size(victim) < size) victim = backward(victim);
    if (victim == bin) return nullptr;
    unlink(victim);
    return block_of(split(victim, size, false));
}

// The next non-empty bin above the request's, skipping empty ones 32 at a time.
void* private_heap::from_bin_map(std::uint32_t size) {
    for (int index = bin_index(size) + 1; index < bin_count;) {
        int word = index / 32;
        std::uint32_t bits = state_.bin_map[word] & (~0u << (index % 32));
        if (bits == 0) {
            index = (word + 1) * 32;
            continue;
        }
        index = word * 32 + lowest_bit(bits);
        chunk bin = bin_at(index);
        chunk victim = backward(bin);
        if (victim == bin) {
            unmark_bin(index);  // bits are cleared only when a search finds the bin empty
            ++index;
            continue;
        }
        unlink(victim);
        return block_of(split(victim, size, size < small_limit));
    }
    return nullptr;
}

void* private_heap::from_top(std::uint32_t size) {
    chunk top = state_.top;
    std::uint32_t whole = chunk_size(top);
    if (std::uint64_t{whole} < std::uint64_t{size} + smallest_chunk) return grow_heap(size);
    chunk rest = top + size;
    set_size_word(rest, (whole - size) | previous_in_use);
    set_size_word(top, size | previous_in_use);
    state_.top = rest;
    return block_of(top);
}

void private_heap::release_unlocked(void* block) {
    if (!block) return;
    chunk c = chunk_of(block);
    std::uint32_t size = chunk_size(c);
    if (size <= fast_limit && next_chunk(c) != state_.top) {
        state_.fast_limit_word |= freed_flag | fast_chunks_flag;
        chunk& list = state_.fast_lists[fast_index(size)];
        set_forward(c, list);
        list = c;
        return;
    }
    if (is_separate_region(c)) {
        --state_.regions_in_use;
        std::uint32_t lead = previous_size(c);
        core_.unmap_region(c - lead, std::uintptr_t{size} + lead);
        return;
    }
    state_.fast_limit_word |= freed_flag;
    std::uint32_t merged = merge_neighbours(c, size);
    if (merged >= merge_trigger_bytes) {
        if (state_.fast_limit_word & fast_chunks_flag) consolidate_fast_chunks();
        if (chunk_size(state_.top) >= state_.trim_threshold) trim_top(state_.top_pad);
    }
}

// Merges a chunk being freed with a free chunk before and after it, then
// puts it into the top or at the front of the unsorted list. Returns the
// merged size (including the top's when it went into the top).
std::uint32_t private_heap::merge_neighbours(chunk& c, std::uint32_t size) {
    if (!is_previous_in_use(c)) {
        std::uint32_t before = previous_size(c);
        c -= before;
        size += before;
        unlink(c);
    }
    chunk next = c + size;
    if (next == state_.top) {
        size += chunk_size(next);
        set_size_word(c, size | previous_in_use);
        state_.top = c;
        return size;
    }
    std::uint32_t next_size = chunk_size(next);
    bool next_in_use = is_previous_in_use(next + next_size);
    clear_previous_in_use(next);
    if (!next_in_use) {
        unlink(next);
        size += next_size;
    }
    insert_after(unsorted(), c);
    set_free_size(c, size);
    return size;
}

void private_heap::consolidate_fast_chunks() {
    if (!is_initialised()) {
        initialise();
        return;
    }
    state_.fast_limit_word &= ~fast_chunks_flag;
    for (int index = 0; index <= fast_index(fast_limit); ++index) {
        chunk c = state_.fast_lists[index];
        state_.fast_lists[index] = nullptr;
        while (c) {
            chunk next = forward(c);
            merge_neighbours(c, chunk_size(c));
            c = next;
        }
    }
}

}  // namespace runtime
