// The private heap: its figures at the edges, reuse orders, memory going
// back to the platform, and a randomized stress run checked against the
// heap's own consistency rules and against the blocks' contents.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "runtime/private_heap.hpp"
#include "simulator/device_simulator.hpp"

using runtime::private_heap;
using runtime::smallest_chunk;

namespace {

std::uint32_t usable_bytes(void* block) {
    return runtime::chunk_size(runtime::chunk_of(block)) - runtime::overhead_bytes;
}

std::uintptr_t address(void* block) {
    return reinterpret_cast<std::uintptr_t>(block);
}

class heap_test : public ::testing::Test {
protected:
    void SetUp() override {
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
    }
};

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
        EXPECT_EQ(heap.check(), "");
    }
}

TEST_F(heap_test, refused_requests_and_null) {
    private_heap heap;
    for (std::size_t request : {std::size_t{0xFFFFFFE0u}, std::size_t{0xFFFFFFFFu}, ~std::size_t{0}}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(heap.allocate(request), nullptr);
    }
    EXPECT_EQ(device_simulator::committed_bytes(), device_simulator::committed_bytes());
    heap.release(nullptr);
    EXPECT_EQ(heap.check(), "");
    EXPECT_TRUE(device_simulator::shown_message_boxes().empty());
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
    EXPECT_EQ(heap.check(), "");
    heap.release(guard);
    heap.release(after);
}

TEST_F(heap_test, a_small_chunk_next_to_the_top_goes_into_the_top) {
    private_heap heap;
    void* block = heap.allocate(40);
    runtime::chunk top_before = heap.top_chunk();
    heap.release(block);
    EXPECT_EQ(heap.top_chunk(), runtime::chunk_of(block));  // merged into the top, not kept in a fast list
    EXPECT_LT(heap.top_chunk(), top_before);
    EXPECT_EQ(heap.allocate(40), block);
    EXPECT_EQ(heap.check(), "");
}

TEST_F(heap_test, large_requests_get_regions_of_their_own) {
    private_heap heap;
    heap.release(heap.allocate(16));  // the core exists before the large blocks
    std::size_t committed = device_simulator::committed_bytes();
    void* big = heap.allocate(0x40000 - 4);  // a chunk of exactly 256 KiB
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(runtime::is_separate_region(runtime::chunk_of(big)));
    EXPECT_EQ(heap.separate_regions_in_use(), 1);
    EXPECT_GE(device_simulator::committed_bytes(), committed + 0x40000);
    std::memset(big, 0x5A, 0x40000 - 4);
    heap.release(big);
    EXPECT_EQ(heap.separate_regions_in_use(), 0);
    EXPECT_EQ(device_simulator::committed_bytes(), committed);  // given back at once
    EXPECT_EQ(heap.check(), "");
}

TEST_F(heap_test, trimming_keeps_at_most_a_page_above_the_smallest_top) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    struct row {
        std::size_t kept, freed;  // a block that stays, then one that is freed into the top
    };
    const row rows[] = {{100, 200000}, {5000, 70000}, {40, 0x3FFF0}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.freed);
        private_heap heap;
        void* kept = heap.allocate(r.kept);
        void* freed = heap.allocate(r.freed);
        std::size_t committed_full = device_simulator::committed_bytes();
        heap.release(freed);
        std::uint32_t top = runtime::chunk_size(heap.top_chunk());
        EXPECT_GT(top, smallest_chunk);
        EXPECT_LE(top, smallest_chunk + info.dwPageSize);
        EXPECT_LE(device_simulator::committed_bytes() + r.freed - info.dwPageSize, committed_full);
        EXPECT_EQ(heap.check(), "");
        heap.release(kept);
    }
    // Below the threshold nothing is trimmed: a top under 64 KiB stays whole.
    private_heap heap;
    void* kept = heap.allocate(16);
    void* freed = heap.allocate(40000);
    heap.release(freed);
    EXPECT_GE(runtime::chunk_size(heap.top_chunk()), 40000u);
    heap.release(kept);
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
            if (blocks.empty() || random() % 100 < 55) {
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
                std::memset(block, fill, size);
                live[at] = {size, fill};
                blocks.push_back(block);
            } else {
                std::size_t index = random() % blocks.size();
                void* block = blocks[index];
                auto entry = live.find(address(block));
                const unsigned char* bytes = static_cast<const unsigned char*>(block);
                for (std::size_t i = 0; i < entry->second.first; ++i)
                    ASSERT_EQ(bytes[i], entry->second.second) << "block contents changed";
                live.erase(entry);
                blocks[index] = blocks.back();
                blocks.pop_back();
                heap.release(block);
            }
            if (op % 1000 == 0) {
                ASSERT_EQ(heap.check(), "") << "after operation " << op;
            }
        }
        for (void* block : blocks) heap.release(block);
        EXPECT_EQ(heap.check(), "");
        EXPECT_EQ(heap.separate_regions_in_use(), 0);
    }
}
