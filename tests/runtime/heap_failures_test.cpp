// Every failed platform call of the private heap: the report box shows the
// site and the platform's error, and the heap answers as its design says
// (null, or going on with other memory), with its structure intact.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "heap/heap_checker.hpp"
#include "runtime/heap_probe.hpp"
#include "simulator/device_simulator.hpp"

using runtime::check_heap;
using runtime::heap_probe;
using runtime::heap_site;
using runtime::private_heap;

namespace {

// The number a report box shows for a site.
constexpr int site(heap_site s) {
    return runtime::code_of(s);
}

constexpr DWORD injected_error = ERROR_NOT_ENOUGH_MEMORY;
constexpr std::size_t core_block = 0x3FFF0;  // just below the size that gets a region of its own

std::uintptr_t round_up(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) / unit * unit;
}

// The sites of the report boxes shown so far, checking each box's whole text.
std::vector<int> reported_sites() {
    std::vector<int> sites;
    for (const std::string& box : device_simulator::shown_message_boxes()) {
        int site = 0;
        unsigned error = 0;
        EXPECT_EQ(std::sscanf(box.c_str(), "EXCEPTION: Memory allocation failed!\nLine: %d\nError: %u", &site, &error),
                  2)
            << box;
        EXPECT_EQ(error, injected_error) << box;
        sites.push_back(site);
    }
    return sites;
}

// Whether allocating `bytes` next will need a new core region.
bool next_growth_needs_a_region(const private_heap& heap, std::size_t bytes) {
    std::uint32_t top = runtime::chunk_size(heap_probe::top(heap));
    std::uint32_t size = private_heap::request_size(bytes);
    if (top >= size + runtime::smallest_chunk) return false;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    heap_probe::core_figures core = heap_probe::core(heap);
    std::uintptr_t end = core.allocated_end + round_up(size + runtime::smallest_chunk - top, info.dwPageSize);
    return end > core.committed_end && core.committed_end + round_up(end - core.committed_end, info.dwPageSize) >
                                           core.reserved_end;
}

// Fills the first core region until the next block needs a second one.
std::vector<void*> fill_first_region(private_heap& heap) {
    std::vector<void*> blocks{heap.allocate(core_block)};  // the heap has a top from here on
    while (!next_growth_needs_a_region(heap, core_block)) {
        blocks.push_back(heap.allocate(core_block));
        EXPECT_NE(blocks.back(), nullptr);
    }
    return blocks;
}

// Two regions that continue each other, full of blocks; all but the last freed.
std::vector<void*> two_regions_all_but_last_freed(private_heap& heap) {
    std::vector<void*> blocks = fill_first_region(heap);
    std::uintptr_t first_end = heap_probe::core(heap).reserved_end;
    blocks.push_back(heap.allocate(core_block));
    blocks.push_back(heap.allocate(core_block));
    EXPECT_EQ(heap_probe::core(heap).base, first_end) << "the second region does not continue the first";
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i) heap.release(blocks[i]);
    EXPECT_TRUE(device_simulator::shown_message_boxes().empty());
    return blocks;
}

class heap_failures : public ::testing::Test {
protected:
    void SetUp() override {
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
    }
    void fail(const char* function, unsigned nth, unsigned times = 1) {
        device_simulator::fail_call(function, nth, injected_error, times);
    }
};

}  // namespace

TEST_F(heap_failures, first_allocations) {
    struct row {
        const char* name;
        const char* function;
        unsigned nth, times;
        std::size_t request;
        std::vector<int> sites;
        bool gets_memory;  // the heap goes on with other memory, or answers null
    };
    const row rows[] = {
        // No region record: the core fails, a region of the heap's own serves instead.
        {"first record", "HeapAlloc", 1, 1, 100, {site(heap_site::first_region_record)}, true},
        // The second record, for the new region: the reservation goes back, other memory serves.
        {"new region record", "HeapAlloc", 2, 1, 100, {site(heap_site::new_region_record)}, true},
        // The commit in the new region: reported twice, then other memory serves.
        {"commit in new region", "VirtualAlloc", 2, 1, 100,
         {site(heap_site::pages_commit_null), site(heap_site::pages_commit_moved)}, true},
        // Every reservation refused, down to a one-page unit, then the fallback refused too.
        {"no reservation at all", "VirtualAlloc", 1, 100000, 100,
         {site(heap_site::region_reserve), site(heap_site::separate_reserve), site(heap_site::separate_commit)}, false},
        // A large block: its own reservation fails, the commit reserves by itself.
        {"separate reservation", "VirtualAlloc", 1, 1, 0x50000, {site(heap_site::separate_reserve)}, true},
        // A large block whose commit fails: it comes from the core instead.
        {"separate commit", "VirtualAlloc", 2, 1, 0x50000, {site(heap_site::separate_commit)}, true},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
        private_heap heap;
        fail(r.function, r.nth, r.times);
        void* block = heap.allocate(r.request);
        device_simulator::clear_failures();
        EXPECT_EQ(reported_sites(), r.sites);
        EXPECT_EQ(block != nullptr, r.gets_memory);
        if (block) std::memset(block, 0xA5, r.request);
        EXPECT_EQ(check_heap(heap), "");
        heap.release(block);
        EXPECT_EQ(check_heap(heap), "");
    }
}

TEST_F(heap_failures, committing_more_pages_of_the_region) {
    private_heap heap;
    void* first = heap.allocate(100);
    fail("VirtualAlloc", 1);
    void* second = heap.allocate(200000);  // needs pages beyond the first growth
    EXPECT_EQ(reported_sites(), (std::vector<int>{site(heap_site::pages_commit_null), site(heap_site::pages_commit_moved)}));
    ASSERT_NE(second, nullptr);  // served from a region of the heap's own
    std::memset(second, 1, 200000);
    EXPECT_EQ(check_heap(heap), "");
    heap.release(second);
    heap.release(first);
}

TEST_F(heap_failures, committing_the_rest_of_a_full_region) {
    private_heap heap;
    std::vector<void*> blocks = fill_first_region(heap);
    ASSERT_GT(heap_probe::core(heap).reserved_end, heap_probe::core(heap).committed_end);
    fail("VirtualAlloc", 1);
    void* block = heap.allocate(core_block);
    EXPECT_EQ(reported_sites(), (std::vector<int>{site(heap_site::rest_commit_null), site(heap_site::rest_commit_moved)}));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(check_heap(heap), "");
    for (void* b : blocks) heap.release(b);
    heap.release(block);
    EXPECT_EQ(check_heap(heap), "");
}

TEST_F(heap_failures, shrinking_the_core) {
    struct row {
        const char* name;
        const char* function;
        int site;
    };
    const row rows[] = {
        {"releasing the second region", "VirtualFree", site(heap_site::region_release)},
        {"dropping its record", "HeapFree", site(heap_site::region_record_drop)},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
        private_heap heap;
        std::vector<void*> blocks = two_regions_all_but_last_freed(heap);
        fail(r.function, 1);
        heap.release(blocks.back());  // the top now spans both regions and is trimmed
        device_simulator::clear_failures();
        EXPECT_EQ(reported_sites(), std::vector<int>{r.site});
        EXPECT_EQ(check_heap(heap), "");
        void* again = heap.allocate(core_block);  // the heap goes on
        ASSERT_NE(again, nullptr);
        std::memset(again, 2, core_block);
        heap.release(again);
        EXPECT_EQ(check_heap(heap), "");
    }
}

TEST_F(heap_failures, shrinking_without_a_failure_gives_the_second_region_back) {
    private_heap heap;
    std::vector<void*> blocks = two_regions_all_but_last_freed(heap);
    std::uintptr_t second_base = heap_probe::core(heap).base;
    std::size_t reserved = device_simulator::reserved_bytes();
    heap.release(blocks.back());
    EXPECT_LT(heap_probe::core(heap).reserved_end, second_base + 1);  // the head is the first region again
    EXPECT_LT(device_simulator::reserved_bytes(), reserved);
    EXPECT_TRUE(reported_sites().empty());
    EXPECT_EQ(check_heap(heap), "");
}

TEST_F(heap_failures, decommitting_pages_when_trimming) {
    private_heap heap;
    void* kept = heap.allocate(100);
    void* freed = heap.allocate(200000);
    std::size_t committed = device_simulator::committed_bytes();
    std::uint32_t top_before = runtime::chunk_size(heap_probe::top(heap));
    fail("VirtualFree", 1);
    heap.release(freed);
    EXPECT_EQ(reported_sites(), std::vector<int>{site(heap_site::pages_decommit)});
    EXPECT_EQ(device_simulator::committed_bytes(), committed);  // nothing went back
    EXPECT_GT(runtime::chunk_size(heap_probe::top(heap)), top_before);  // the freed block is in the top, untrimmed
    EXPECT_EQ(check_heap(heap), "");
    heap.release(kept);
}

TEST_F(heap_failures, releasing_a_separate_region) {
    private_heap heap;
    void* big = heap.allocate(0x50000);
    ASSERT_NE(big, nullptr);
    fail("VirtualFree", 1);
    heap.release(big);
    EXPECT_EQ(reported_sites(), std::vector<int>{site(heap_site::separate_release)});
    EXPECT_EQ(heap_probe::separate_regions_in_use(heap), 0);  // counted off even though the region stays
    EXPECT_EQ(check_heap(heap), "");
}

TEST_F(heap_failures, both_reports_of_a_failed_commit_name_its_error) {
    private_heap heap;
    void* first = heap.allocate(100);
    fail("VirtualAlloc", 1);
    // The first box fails with an error of its own, which must not reach the second.
    device_simulator::fail_call("MessageBoxW", 1, ERROR_INVALID_HANDLE);
    void* second = heap.allocate(200000);
    EXPECT_EQ(reported_sites(), std::vector<int>{site(heap_site::pages_commit_moved)});  // the null-commit box is the one that failed
    heap.release(second);
    heap.release(first);
}
