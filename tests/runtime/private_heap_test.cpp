// The private heap on every platform: its figures at the edges (derived from
// the smallest chunk, so they hold on 32 and 64 bits), reuse orders, regions
// of their own, the allocator for containers, and a randomized stress run
// checked against the heap's consistency rules and the blocks' contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "heap/heap_checker.hpp"
#include "runtime/heap_allocator.hpp"
#include "runtime/heap_probe.hpp"

using runtime::check_heap;
using runtime::heap_probe;
using runtime::private_heap;
using runtime::smallest_chunk;

namespace {

std::uint32_t usable_bytes(void* block) {
    return runtime::chunk_size(runtime::chunk_of(block)) - runtime::overhead_bytes;
}

std::uintptr_t address(void* block) {
    return reinterpret_cast<std::uintptr_t>(block);
}

// The stretches of a block that the stress test fills and checks: all of a
// small block; the head, the middle and the tail of a large one, which is
// where a neighbour's header, a split or a merge would write.
template <class visit>
void for_each_probe(std::size_t size, visit probe) {
    const std::size_t stretch = 256;
    if (size <= 4 * stretch) {
        probe(0, size);
        return;
    }
    probe(0, stretch);
    probe(size / 2 - stretch / 2, stretch);
    probe(size - stretch, stretch);
}

void fill_pattern(void* block, std::size_t size, unsigned char fill) {
    for_each_probe(size, [&](std::size_t at, std::size_t length) {
        std::memset(static_cast<unsigned char*>(block) + at, fill, length);
    });
}

bool holds_pattern(const void* block, std::size_t size, unsigned char fill) {
    bool intact = true;
    for_each_probe(size, [&](std::size_t at, std::size_t length) {
        const unsigned char* bytes = static_cast<const unsigned char*>(block) + at;
        for (std::size_t i = 0; i < length; ++i) intact = intact && bytes[i] == fill;
    });
    return intact;
}

// "" when every block is there and no two lie closer than `chunk_bytes`.
std::string distinct_blocks_problem(const std::vector<void*>& blocks, std::uintptr_t chunk_bytes) {
    std::vector<std::uintptr_t> starts;
    for (void* block : blocks) {
        if (!block) return "a request got null";
        starts.push_back(address(block));
    }
    std::sort(starts.begin(), starts.end());
    for (std::size_t i = 1; i < starts.size(); ++i)
        if (starts[i] - starts[i - 1] < chunk_bytes) return "two blocks overlap";
    return "";
}

class heap_test : public ::testing::Test {};

}  // namespace

TEST_F(heap_test, request_figures) {
    struct row {
        std::size_t request;
        std::uint32_t chunk;
    };
    const row rows[] = {
        {0, smallest_chunk},
        {smallest_chunk - 4, smallest_chunk},
        {smallest_chunk - 3, smallest_chunk + 8},
        {100, 104},
        {101, 112},
        {252, 256},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.request);
        EXPECT_EQ(private_heap::request_size(r.request), r.chunk);
        private_heap heap;
        void* block = heap.allocate(r.request);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(address(block) % 8, 0u);
        EXPECT_EQ(usable_bytes(block), r.chunk - 4);
        EXPECT_EQ(check_heap(heap), "");
    }
}

TEST_F(heap_test, refused_requests_and_null) {
    private_heap heap;
    for (std::size_t request : {std::size_t{0xFFFFFFE0u}, std::size_t{0xFFFFFFFFu}, ~std::size_t{0}}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(heap.allocate(request), nullptr);
    }
    heap.release(nullptr);
    EXPECT_EQ(check_heap(heap), "");
}

TEST_F(heap_test, small_chunks_come_back_last_in_first_out) {
    private_heap heap;
    void* guard = heap.allocate(1000);  // keeps the freed chunks away from the top
    std::vector<void*> blocks;
    for (std::size_t size = smallest_chunk - 4; size <= 68; size += 8) blocks.push_back(heap.allocate(size));
    void* after = heap.allocate(1000);
    std::vector<void*> second;
    for (std::size_t size = smallest_chunk - 4; size <= 68; size += 8) second.push_back(heap.allocate(size));
    for (void* block : second) heap.release(block);
    for (void* block : blocks) heap.release(block);
    // Each size now has two chunks in its list; the one freed last comes first.
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        std::size_t size = smallest_chunk - 4 + 8 * i;
        EXPECT_EQ(heap.allocate(size), blocks[i]);
        EXPECT_EQ(heap.allocate(size), second[i]);
    }
    EXPECT_EQ(check_heap(heap), "");
    heap.release(guard);
    heap.release(after);
}

TEST_F(heap_test, a_small_chunk_next_to_the_top_goes_into_the_top) {
    private_heap heap;
    void* block = heap.allocate(40);
    runtime::chunk top_before = heap_probe::top(heap);
    heap.release(block);
    EXPECT_EQ(heap_probe::top(heap), runtime::chunk_of(block));  // merged into the top, not kept in a fast list
    EXPECT_LT(heap_probe::top(heap), top_before);
    EXPECT_EQ(heap.allocate(40), block);
    EXPECT_EQ(check_heap(heap), "");
}

TEST_F(heap_test, large_requests_get_regions_of_their_own) {
    private_heap heap;
    void* big = heap.allocate(0x40000 - 4);  // a chunk of exactly 256 KiB
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(runtime::is_separate_region(runtime::chunk_of(big)));
    EXPECT_EQ(heap_probe::separate_regions_in_use(heap), 1);
    std::memset(big, 0x5A, 0x40000 - 4);
    void* below = heap.allocate(0x40000 - 12);  // one chunk smaller: from the core
    EXPECT_FALSE(runtime::is_separate_region(runtime::chunk_of(below)));
    heap.release(big);
    EXPECT_EQ(heap_probe::separate_regions_in_use(heap), 0);
    heap.release(below);
    EXPECT_EQ(check_heap(heap), "");
}
TEST_F(heap_test, randomized_stress_keeps_every_block_intact) {
    const unsigned seeds[] = {1, 7, 42, 2024};
    const int operations_per_seed = 260000;
    for (unsigned seed : seeds) {
        SCOPED_TRACE(seed);
        private_heap heap;
        std::mt19937 random(seed);
        std::map<std::uintptr_t, std::pair<std::size_t, unsigned char>> live;  // address -> size, fill byte
        std::vector<void*> blocks;
        auto pick_size = [&random]() -> std::size_t {
            unsigned roll = random() % 1000;
            if (roll < 700) return random() % 64;         // mostly small strings
            if (roll < 950) return 64 + random() % 1000;  // some medium
            if (roll < 995) return 1024 + random() % 60000;
            return 0x40000 + random() % 0x300000;         // a few of several MiB
        };
        for (int op = 0; op < operations_per_seed; ++op) {
            if (blocks.empty() || random() % 100 < 50) {
                std::size_t size = pick_size();
                void* block = heap.allocate(size);
                ASSERT_NE(block, nullptr);
                std::uintptr_t at = address(block);
                ASSERT_EQ(at % 8, 0u);
                auto next = live.lower_bound(at);
                if (next != live.end()) {
                    ASSERT_LE(at + size, next->first) << "overlaps the next block";
                }
                if (next != live.begin()) {
                    auto previous = std::prev(next);
                    ASSERT_LE(previous->first + previous->second.first, at) << "overlaps the previous block";
                }
                unsigned char fill = static_cast<unsigned char>(random());
                fill_pattern(block, size, fill);
                live[at] = {size, fill};
                blocks.push_back(block);
            } else {
                std::size_t index = random() % blocks.size();
                void* block = blocks[index];
                auto entry = live.find(address(block));
                ASSERT_TRUE(holds_pattern(block, entry->second.first, entry->second.second))
                    << "block contents changed";
                live.erase(entry);
                blocks[index] = blocks.back();
                blocks.pop_back();
                heap.release(block);
            }
            if (op % 1000 == 0) {
                ASSERT_EQ(check_heap(heap), "") << "after operation " << op;
            }
        }
        for (void* block : blocks) heap.release(block);
        EXPECT_EQ(check_heap(heap), "");
        EXPECT_EQ(heap_probe::separate_regions_in_use(heap), 0);
    }
}

TEST(heap_allocator, containers_live_in_the_private_heap_and_fail_loudly) {
    std::vector<int, runtime::heap_allocator<int>> numbers;
    for (int i = 0; i < 10000; ++i) numbers.push_back(i);
    EXPECT_EQ(numbers[9999], 9999);
    std::vector<std::vector<int, runtime::heap_allocator<int>>,
                runtime::heap_allocator<std::vector<int, runtime::heap_allocator<int>>>>
        nested(3, numbers);
    EXPECT_EQ(nested[2][500], 500);
    runtime::heap_allocator<int> allocator;
    EXPECT_THROW(allocator.allocate(0xFFFFFFE0u / sizeof(int) + 1), std::bad_alloc);  // a request the heap refuses
    EXPECT_THROW(allocator.allocate(~std::size_t{0} / 2), std::bad_alloc);             // a size that overflows
}

TEST(heap_figures, smallest_chunk_follows_the_pointer_size) {
    // Two size words and two links: 16 bytes on the 32-bit device, 24 on a 64-bit host.
    EXPECT_EQ(smallest_chunk, sizeof(void*) == 4 ? 16u : 24u);
    EXPECT_EQ(private_heap::request_size(0) - runtime::overhead_bytes, sizeof(void*) == 4 ? 12u : 20u);
}

TEST(heap_bins, each_size_goes_to_the_bin_its_leading_bits_name) {
    // Worked out by hand: small bins hold 8 * i bytes; from 256 on, four bins
    // per doubling, picked by the two bits after the leading one.
    const std::pair<std::uint32_t, int> rows[] = {
        {16, 2},      {24, 3},         {248, 31},        {256, 32},        {320, 33},        {384, 34},
        {448, 35},    {504, 35},       {512, 36},        {640, 37},        {1016, 39},       {1024, 40},
        {1536, 42},   {0x40000, 72},   {0x70000, 75},    {0x800000, 92},   {0xFFFFF8, 95},   {0x1000000, 95},
        {0xFFFFFFF8u, 95},
    };
    for (const auto& row : rows) EXPECT_EQ(private_heap::bin_index(row.first), row.second) << row.first;
}

// Who gets which chunk: each row builds a situation and names the block the
// last request must receive.
TEST_F(heap_test, placement_follows_the_bin_rules) {
    {
        SCOPED_TRACE("a small bin hands out the chunk filed first");
        private_heap heap;
        void* first = heap.allocate(196);
        heap.allocate(100);
        void* second = heap.allocate(196);
        heap.allocate(100);
        heap.release(first);
        heap.release(second);
        heap.allocate(300);  // files both into their small bin, comes from the top
        EXPECT_EQ(heap.allocate(196), first);
        EXPECT_EQ(check_heap(heap), "");
    }
    {
        SCOPED_TRACE("a small request splits the last remainder before a smaller free chunk");
        private_heap heap;
        unsigned char* big = static_cast<unsigned char*>(heap.allocate(1000));
        heap.allocate(100);
        void* middle = heap.allocate(196);
        heap.allocate(100);
        heap.release(big);
        heap.release(middle);
        EXPECT_EQ(heap.allocate(236), big);       // the 200-byte chunk is too small; its bin is passed
        EXPECT_EQ(heap.allocate(40), big + 240);  // not the 200-byte chunk, though its bin comes first
        EXPECT_EQ(check_heap(heap), "");
    }
    {
        SCOPED_TRACE("a free of 32 KiB merges the fast chunks");
        private_heap heap;
        void* block = heap.allocate(0x8000 - 4);  // a chunk of exactly 32 KiB
        void* fast = heap.allocate(20);
        heap.allocate(100);
        heap.release(fast);
        heap.release(block);  // merges with the fast chunk after it
        EXPECT_EQ(heap.allocate(20), block);
        EXPECT_EQ(check_heap(heap), "");
    }
}

TEST_F(heap_test, threads_sharing_a_heap_keep_it_consistent) {
    const int thread_count = 4;
    private_heap heap;
    std::atomic<int> ready{0};
    std::vector<int> damaged(thread_count, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < thread_count; ++t) {
        threads.emplace_back([&, t] {
            const unsigned char fill = static_cast<unsigned char>(t + 1);
            std::mt19937 random(t + 1);
            std::vector<std::pair<unsigned char*, std::size_t>> mine;
            for (++ready; ready < thread_count;) std::this_thread::yield();  // start together
            for (int op = 0; op < 150000; ++op) {
                if (mine.size() < 8 || (mine.size() < 200 && random() % 2)) {
                    std::size_t size = random() % 16 == 0 ? random() % 3000 : random() % 120;
                    auto* block = static_cast<unsigned char*>(heap.allocate(size));
                    if (!block) {
                        ++damaged[t];
                        continue;
                    }
                    std::memset(block, fill, size);
                    mine.emplace_back(block, size);
                    continue;
                }
                std::size_t index = random() % mine.size();
                auto [block, size] = mine[index];
                for (std::size_t i = 0; i < size; ++i) damaged[t] += block[i] != fill;
                heap.release(block);
                mine[index] = mine.back();
                mine.pop_back();
            }
            for (auto& entry : mine) heap.release(entry.first);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(damaged, std::vector<int>(thread_count, 0));
    EXPECT_EQ(check_heap(heap), "");
}

// Two threads make the very first calls of a fresh heap at the same moment,
// round after round. Were the lock created on first use, both could create
// it, one over a section the other already holds, and both would grow the
// empty heap at once: blocks handed out twice, or a broken structure. The
// race is narrow, so it gets many chances: the same two threads serve every
// round, both spinning until this thread starts the round, which lets them
// leave within a few instructions of each other.
TEST_F(heap_test, two_threads_start_on_a_fresh_heap_at_once) {
    const int rounds = 20000, blocks_per_thread = 4;
    std::optional<private_heap> heap;
    std::vector<void*> blocks(2 * blocks_per_thread);
    std::atomic<int> started_round{-1}, ready{0}, finished{0};
    auto run = [&](int t) {
        for (int round = 0; round < rounds; ++round) {
            ++ready;
            for (int spins = 0; started_round.load() != round;)
                if (++spins % 4096 == 0) std::this_thread::yield();  // lets this thread's starter run
            for (int i = 0; i < blocks_per_thread; ++i) blocks[t * blocks_per_thread + i] = heap->allocate(100);
            ++finished;
        }
    };
    auto wait_for_both = [](std::atomic<int>& count) {
        while (count.load() != 2) std::this_thread::yield();
        count = 0;
    };
    std::thread first(run, 0), second(run, 1);
    std::string problem;
    for (int round = 0; round < rounds; ++round) {
        heap.emplace();
        wait_for_both(ready);
        started_round = round;
        wait_for_both(finished);
        std::string found = distinct_blocks_problem(blocks, 104);
        if (found.empty()) found = check_heap(*heap);
        if (problem.empty() && !found.empty()) problem = "round " + std::to_string(round) + ": " + found;
        heap.reset();
    }
    first.join();
    second.join();
    EXPECT_EQ(problem, "");
}
