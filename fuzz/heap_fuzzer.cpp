// Fuzz target: sequences of heap operations read from the input: allocate
// (small, medium, or large enough for a region of its own), free, and write
// then verify a block's contents. Every live block holds its own pattern
// (in its head, middle and tail), checked before it is freed and at the end; the heap's consistency checker
// runs after the sequence and again after everything is freed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "heap/heap_checker.hpp"

namespace {

constexpr std::size_t most_live_blocks = 64;

struct live_block {
    unsigned char* bytes;
    std::size_t size;
    unsigned char fill;
};

class input {
public:
    input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    std::uint32_t next_byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Sizes from the input: mostly small ones (fast lists and bins), some up to
// 64 KiB, a few from 256 KiB up, which get regions of their own.
std::size_t requested_size(input& in) {
    std::uint32_t kind = in.next_byte();
    std::uint32_t low = in.next_byte();
    if (kind < 160) return low;
    if (kind < 240) return (static_cast<std::size_t>(in.next_byte()) << 8) | low;
    return 0x40000 + (static_cast<std::size_t>(in.next_byte()) << 12) + low;
}

// The stretches of a block that are checked: all of a small block; the
// head, the middle and the tail of a large one, which is where a
// neighbour's header, a split or a merge would write.
template <class visit>
void for_each_probe(const live_block& block, visit probe) {
    const std::size_t stretch = 256;
    if (block.size <= 4 * stretch) {
        probe(block.bytes, block.size);
        return;
    }
    probe(block.bytes, stretch);
    probe(block.bytes + block.size / 2 - stretch / 2, stretch);
    probe(block.bytes + block.size - stretch, stretch);
}

bool intact(const live_block& block) {
    static const std::vector<unsigned char> patterns = [] {
        std::vector<unsigned char> all(256 * 1024);
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<unsigned char>(i / 1024);
        return all;
    }();
    bool holds = true;
    for_each_probe(block, [&](const unsigned char* at, std::size_t length) {
        holds = holds && std::memcmp(at, &patterns[block.fill * std::size_t{1024}], length) == 0;
    });
    return holds;
}

void fill(live_block& block, unsigned char value) {
    block.fill = value;
    for_each_probe(block, [&](unsigned char* at, std::size_t length) { std::memset(at, value, length); });
}

void free_block(runtime::private_heap& heap, std::vector<live_block>& blocks, std::size_t index) {
    if (!intact(blocks[index])) std::abort();
    heap.release(blocks[index].bytes);
    blocks[index] = blocks.back();
    blocks.pop_back();
}

void run_operation(runtime::private_heap& heap, std::vector<live_block>& blocks, input& in) {
    std::uint32_t operation = in.next_byte() % 4;
    if ((operation <= 1 && blocks.size() < most_live_blocks) || blocks.empty()) {
        std::size_t size = requested_size(in);
        live_block block{static_cast<unsigned char*>(heap.allocate(size)), size, 0};
        if (!block.bytes) std::abort();  // the host has the memory for every size asked here
        if (reinterpret_cast<std::uintptr_t>(block.bytes) % 8 != 0) std::abort();
        fill(block, static_cast<unsigned char>(in.next_byte()));
        blocks.push_back(block);
    } else if (operation == 2) {
        free_block(heap, blocks, in.next_byte() % blocks.size());
    } else {
        live_block& block = blocks[in.next_byte() % blocks.size()];
        if (!intact(block)) std::abort();
        fill(block, static_cast<unsigned char>(in.next_byte()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    runtime::private_heap heap;
    std::vector<live_block> blocks;
    input in(data, size);
    while (in.more()) run_operation(heap, blocks, in);
    if (!runtime::check_heap(heap).empty()) std::abort();
    while (!blocks.empty()) free_block(heap, blocks, blocks.size() - 1);
    if (!runtime::check_heap(heap).empty()) std::abort();
    return 0;
}
