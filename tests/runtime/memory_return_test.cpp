// Memory going back to the platform: trimming the top after a large free,
// and regions of their own released at once. Counted by the simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "heap/heap_checker.hpp"
#include "runtime/heap_probe.hpp"
#include "simulator/device_simulator.hpp"

using runtime::check_heap;
using runtime::heap_probe;
using runtime::private_heap;
using runtime::smallest_chunk;

namespace {

class memory_return : public ::testing::Test {
protected:
    void SetUp() override {
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
    }
};

}  // namespace

TEST_F(memory_return, a_region_of_its_own_goes_back_at_once) {
    private_heap heap;
    heap.release(heap.allocate(16));  // the core exists before the large block
    std::size_t committed = device_simulator::committed_bytes();
    void* big = heap.allocate(0x40000 - 4);
    ASSERT_NE(big, nullptr);
    EXPECT_GE(device_simulator::committed_bytes(), committed + 0x40000);
    heap.release(big);
    EXPECT_EQ(device_simulator::committed_bytes(), committed);
    EXPECT_TRUE(device_simulator::shown_message_boxes().empty());
}

TEST_F(memory_return, trimming_keeps_at_most_a_page_above_the_smallest_top) {
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
        std::uint32_t top = runtime::chunk_size(heap_probe::top(heap));
        EXPECT_GT(top, smallest_chunk);
        EXPECT_LE(top, smallest_chunk + info.dwPageSize);
        EXPECT_LE(device_simulator::committed_bytes() + r.freed - info.dwPageSize, committed_full);
        EXPECT_EQ(check_heap(heap), "");
        heap.release(kept);
    }
    // Below the threshold nothing is trimmed: a top under 64 KiB stays whole.
    private_heap heap;
    void* kept = heap.allocate(16);
    void* freed = heap.allocate(40000);
    heap.release(freed);
    EXPECT_GE(runtime::chunk_size(heap_probe::top(heap)), 40000u);
    heap.release(kept);
}


// The sizes the heap asks the platform for, as the trace shows them: core
// regions in units of 2 MiB + 50 MiB + the 64 KiB granularity, one page less
// after each refusal; a region of its own reserved in units of 2 MiB + 64 KiB
// and committed in whole pages of the chunk plus its header and alignment.
TEST_F(memory_return, reservation_sizes_in_the_trace) {
    struct row {
        const char* name;
        unsigned refused_reservations;
        std::size_t request;
        std::vector<std::string> reserves;  // "size type protect" of each VirtualAlloc with no address
    };
    const row rows[] = {
        {"first core region", 0, 100, {"54591488 0x2000 0x1"}},
        {"after two refusals", 2, 100,
         {"54591488 0x2000 0x1", "54587392 0x2000 0x1", "54583296 0x2000 0x1"}},
        {"region of its own", 0, 0x50000, {"2162688 0x2000 0x1"}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        device_simulator::reset();
        private_heap heap;
        if (r.refused_reservations) device_simulator::fail_call("VirtualAlloc", 1, ERROR_NOT_ENOUGH_MEMORY, r.refused_reservations);
        device_simulator::record_calls(true);
        void* block = heap.allocate(r.request);
        std::vector<std::string> reserves, commits;
        for (const std::string& call : device_simulator::take_recorded_calls()) {
            if (call.rfind("VirtualAlloc ", 0) != 0) continue;
            std::size_t arguments = call.find(' ', 13) + 1;  // after the address
            std::string sizes = call.substr(arguments, call.find(" ->") - arguments);
            (call.rfind("VirtualAlloc 0 ", 0) == 0 ? reserves : commits).push_back(sizes);
        }
        EXPECT_EQ(reserves, r.reserves);
        ASSERT_FALSE(commits.empty());
        if (r.request == 0x50000) {
            EXPECT_EQ(commits, std::vector<std::string>{"331776 0x1000 0x4"});
        }
        heap.release(block);
    }
}
