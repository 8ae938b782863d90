// Tests of the simulated virtual memory against the device's contract: the
// results and errors of VirtualAlloc and VirtualFree, real access to the pages
// (probed through a pipe, which reports EFAULT instead of crashing), and exact
// reserved and committed totals after every step.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "simulator/call_log.hpp"
#include "simulator/device_simulator.hpp"
#include "simulator/windows_ce_api.hpp"

namespace {

const std::uintptr_t granule = 0x10000;

std::size_t page_bytes() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

// The kernel copies through the address, so a page we may not touch gives EFAULT.
class access_probe {
public:
    access_probe() { EXPECT_EQ(pipe(ends_), 0); }
    ~access_probe() { close(ends_[0]), close(ends_[1]); }
    bool readable(const void* address) {
        char byte;
        return write(ends_[1], address, 1) == 1 && read(ends_[0], &byte, 1) == 1;
    }
    bool writable(void* address) {
        if (!readable(address)) return false;
        char byte;
        if (write(ends_[1], address, 1) != 1) return false;  // writes back what is there
        if (read(ends_[0], address, 1) == 1) return true;
        return read(ends_[0], &byte, 1) < 0;  // drains the pipe; false either way
    }

private:
    int ends_[2] = {-1, -1};
};

// Totals relative to the start of the test, so that a leak elsewhere cannot hide here.
struct memory_totals {
    std::size_t reserved_start = device_simulator::reserved_bytes();
    std::size_t committed_start = device_simulator::committed_bytes();
    void expect(std::size_t reserved, std::size_t committed) const {
        EXPECT_EQ(device_simulator::reserved_bytes() - reserved_start, reserved);
        EXPECT_EQ(device_simulator::committed_bytes() - committed_start, committed);
    }
};

char* reserve(std::size_t size) {
    return static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS));
}

}  // namespace

TEST(virtual_memory, system_info_describes_the_host) {
    device_simulator::reset();
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_EQ(info.dwPageSize, static_cast<DWORD>(sysconf(_SC_PAGESIZE)));
    EXPECT_EQ(info.dwAllocationGranularity, 65536u);
    EXPECT_EQ(info.dwNumberOfProcessors, static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN)));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(info.lpMinimumApplicationAddress), granule);
    char* reservation = reserve(1);
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(info.lpMaximumApplicationAddress),
              reinterpret_cast<std::uintptr_t>(reservation));
    EXPECT_TRUE(VirtualFree(reservation, 0, MEM_RELEASE));
}

TEST(virtual_memory, reservations_start_on_a_granule_and_are_page_rounded) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    const std::size_t sizes[] = {1, page - 1, page, page + 1, granule + 1, 52 * 1024 * 1024 + 5};
    access_probe probe;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        memory_totals totals;
        char* base = reserve(size);
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(base) % granule, 0u);
        const std::size_t rounded = (size + page - 1) / page * page;
        totals.expect(rounded, 0);
        EXPECT_FALSE(probe.readable(base));
        EXPECT_EQ(VirtualAlloc(base, size, MEM_COMMIT, PAGE_READWRITE), base);
        totals.expect(rounded, rounded);
        EXPECT_TRUE(probe.writable(base + rounded - 1));
        EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
        totals.expect(0, 0);
    }
}

TEST(virtual_memory, commit_opens_the_pages_the_range_touches) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    struct row { std::size_t offset, size, first_page, pages; };
    const row rows[] = {
        {0, 1, 0, 1},
        {page - 1, 2, 0, 2},                // two bytes across a page boundary
        {page, page, 1, 1},
        {page + 1, page, 1, 2},
        {3 * page + 5, 3 * page, 3, 4},
        {7 * page, page, 7, 1},             // the last page of the reservation
    };
    access_probe probe;
    for (const row& r : rows) {
        SCOPED_TRACE(r.offset);
        memory_totals totals;
        char* base = reserve(8 * page);
        char* first = base + r.first_page * page;
        EXPECT_EQ(VirtualAlloc(base + r.offset, r.size, MEM_COMMIT, PAGE_READWRITE), first);
        totals.expect(8 * page, r.pages * page);
        EXPECT_TRUE(probe.writable(first));
        EXPECT_TRUE(probe.writable(first + r.pages * page - 1));
        if (r.first_page > 0) { EXPECT_FALSE(probe.readable(first - 1)); }
        if (r.first_page + r.pages < 8) { EXPECT_FALSE(probe.readable(first + r.pages * page)); }
        EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
        totals.expect(0, 0);
    }
}

TEST(virtual_memory, allocation_types_and_protections) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    struct row { DWORD type, protect; bool committed, readable, writable; };
    const row rows[] = {
        {MEM_RESERVE, PAGE_READWRITE, false, false, false},  // protection waits for the commit
        {MEM_COMMIT, PAGE_READWRITE, true, true, true},     // a null address reserves as well
        {MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE, true, true, true},
        {MEM_RESERVE | MEM_COMMIT, PAGE_READONLY, true, true, false},
        {MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS, true, false, false},
    };
    access_probe probe;
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.type << " " << r.protect);
        memory_totals totals;
        char* base = static_cast<char*>(VirtualAlloc(nullptr, 3 * page - 1, r.type, r.protect));
        ASSERT_NE(base, nullptr);
        totals.expect(3 * page, r.committed ? 3 * page : 0);
        for (std::size_t offset = 0; offset < 3 * page; offset += page - 1) {
            EXPECT_EQ(probe.readable(base + offset), r.readable);
            if (r.readable) { EXPECT_EQ(base[offset], 0); }
            EXPECT_EQ(probe.writable(base + offset), r.writable);
        }
        EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    }
}

TEST(virtual_memory, recommit_keeps_content_and_counts_each_page_once) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    memory_totals totals;
    char* base = reserve(4 * page);
    ASSERT_NE(VirtualAlloc(base, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    std::memset(base, 0x5A, page);
    ASSERT_NE(VirtualAlloc(base + 2 * page, 1, MEM_COMMIT, PAGE_READWRITE), nullptr);
    ASSERT_NE(VirtualAlloc(base + 10, page, MEM_COMMIT, PAGE_READWRITE), nullptr);  // pages 0 and 1
    totals.expect(4 * page, 3 * page);
    EXPECT_EQ(base[0], 0x5A);
    EXPECT_EQ(base[page - 1], 0x5A);
    EXPECT_EQ(base[page], 0);
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    totals.expect(0, 0);
}

TEST(virtual_memory, decommitted_pages_come_back_as_zeros) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    memory_totals totals;
    access_probe probe;
    char* base = static_cast<char*>(VirtualAlloc(nullptr, 3 * page, MEM_COMMIT, PAGE_READWRITE));
    std::memset(base, 0x77, 3 * page);
    EXPECT_TRUE(VirtualFree(base + page + 1, page - 2, MEM_DECOMMIT));  // inside the middle page
    totals.expect(3 * page, 2 * page);
    EXPECT_FALSE(probe.readable(base + page));
    EXPECT_EQ(base[page - 1], 0x77);
    EXPECT_EQ(base[2 * page], 0x77);
    EXPECT_EQ(VirtualAlloc(base + page, page, MEM_COMMIT, PAGE_READWRITE), base + page);
    EXPECT_EQ(base[page], 0);
    EXPECT_EQ(base[2 * page - 1], 0);
    EXPECT_TRUE(VirtualFree(base, 0, MEM_DECOMMIT));  // size 0 at the base: every page
    totals.expect(3 * page, 0);
    EXPECT_FALSE(probe.readable(base));
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    totals.expect(0, 0);
}

TEST(virtual_memory, reserving_at_an_address) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    memory_totals totals;
    char* area = reserve(4 * granule);
    ASSERT_TRUE(VirtualFree(area, 0, MEM_RELEASE));  // release unmaps, so the range is free again
    char* address = area + granule + page + 123;
    char* second = static_cast<char*>(VirtualAlloc(address, 2 * granule, MEM_RESERVE, PAGE_NOACCESS));
    EXPECT_EQ(second, area + granule);
    totals.expect(2 * granule + 2 * page, 0);  // from the granule to the end of the page after address + size
    struct row { char* address; std::size_t size; DWORD type; bool free; };
    const row rows[] = {
        {area, granule + 1, MEM_RESERVE, false},                  // its end overlaps the reservation
        {area + 2 * granule, 1, MEM_RESERVE | MEM_COMMIT, false},  // inside it
        {area, granule, MEM_RESERVE, true},                       // just before it
        {area + 1, granule - 1, MEM_RESERVE | MEM_COMMIT, true},   // commits from the granule on
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.address - area);
        SetLastError(ERROR_SUCCESS);
        LPVOID result = VirtualAlloc(r.address, r.size, r.type, PAGE_READWRITE);
        EXPECT_EQ(result, r.free ? area : nullptr);
        if (!r.free) { EXPECT_EQ(GetLastError(), ERROR_INVALID_ADDRESS); }
        totals.expect(2 * granule + 2 * page + (r.free ? granule : 0), (r.free && (r.type & MEM_COMMIT) != 0) ? granule : 0);
        if (result) { EXPECT_TRUE(VirtualFree(result, 0, MEM_RELEASE)); }
    }
    EXPECT_TRUE(VirtualFree(second, 0, MEM_RELEASE));
    totals.expect(0, 0);
}

// As on the device, reservations made one after another continue each other
// from the bottom up, on 32-bit and 64-bit hosts alike: the private heap grows
// its core in place only so. A range taken by someone else is passed over.
TEST(virtual_memory, reservations_follow_each_other_bottom_up) {
    device_simulator::reset();
    const std::size_t sizes[] = {1, granule, granule + 1, 3 * granule - 1};  // each ends inside or on a granule
    std::vector<char*> bases;
    char* expected = nullptr;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        bases.push_back(reserve(size));
        ASSERT_NE(bases.back(), nullptr);
        if (expected) { EXPECT_EQ(bases.back(), expected); }
        expected = bases.back() + (size + granule - 1) / granule * granule;
    }
    char* taken = static_cast<char*>(VirtualAlloc(expected, granule, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_EQ(taken, expected);
    bases.push_back(taken);
    bases.push_back(reserve(granule));
    EXPECT_EQ(bases.back(), taken + granule);
    for (char* base : bases) { EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE)); }
}

TEST(virtual_memory, invalid_allocations_fail_and_change_nothing) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    char* base = reserve(2 * page);
    ASSERT_NE(VirtualAlloc(base, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    memory_totals totals;
    struct row { char* address; std::size_t size; DWORD type, protect, error; };
    const row rows[] = {
        {nullptr, 0, MEM_RESERVE, PAGE_NOACCESS, ERROR_INVALID_PARAMETER},
        {nullptr, page, 0, PAGE_NOACCESS, ERROR_INVALID_PARAMETER},
        {nullptr, page, MEM_DECOMMIT, PAGE_NOACCESS, ERROR_INVALID_PARAMETER},
        {nullptr, page, MEM_RESERVE | MEM_RELEASE, PAGE_NOACCESS, ERROR_INVALID_PARAMETER},
        {nullptr, page, MEM_RESERVE, 0, ERROR_INVALID_PARAMETER},
        {nullptr, page, MEM_RESERVE, 0x40, ERROR_INVALID_PARAMETER},  // execute-read-write
        {nullptr, SIZE_MAX, MEM_RESERVE, PAGE_NOACCESS, ERROR_NOT_ENOUGH_MEMORY},
        {base, page, MEM_RESERVE, PAGE_NOACCESS, ERROR_INVALID_ADDRESS},   // already reserved
        {base + 2 * page, 1, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_ADDRESS},  // just past the end
        {base + page, page + 1, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_ADDRESS},
        {base - 1, 2, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_ADDRESS},
        {base + page, SIZE_MAX, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_ADDRESS},  // wraps around
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<void*>(r.address) << " " << r.size << " " << r.type);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(VirtualAlloc(r.address, r.size, r.type, r.protect), nullptr);
        EXPECT_EQ(GetLastError(), r.error);
        totals.expect(0, 0);
    }
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

TEST(virtual_memory, invalid_frees_fail_and_keep_the_pages) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    char* base = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
    base[page] = 9;
    memory_totals totals;
    struct row { char* address; std::size_t size; DWORD type, error; };
    const row rows[] = {
        {base, page, MEM_RELEASE, ERROR_INVALID_PARAMETER},
        {base + page, 0, MEM_RELEASE, ERROR_INVALID_PARAMETER},
        {nullptr, 0, MEM_RELEASE, ERROR_INVALID_PARAMETER},
        {base, 0, 0, ERROR_INVALID_PARAMETER},
        {base, 0, MEM_RELEASE | MEM_DECOMMIT, ERROR_INVALID_PARAMETER},
        {base + page, 0, MEM_DECOMMIT, ERROR_INVALID_PARAMETER},  // "all of it" only at the base
        {base + page, page + 1, MEM_DECOMMIT, ERROR_INVALID_ADDRESS},
        {base + 4 * page, 1, MEM_DECOMMIT, ERROR_INVALID_ADDRESS},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<void*>(r.address) << " " << r.size << " " << r.type);
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(VirtualFree(r.address, r.size, r.type));
        EXPECT_EQ(GetLastError(), r.error);
        totals.expect(0, 0);
    }
    EXPECT_EQ(base[page], 9);
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

TEST(virtual_memory, injected_failures_hit_exactly_the_chosen_call) {
    device_simulator::reset();
    memory_totals totals;
    device_simulator::fail_call("VirtualAlloc", 2, ERROR_NOT_ENOUGH_MEMORY);
    char* first = reserve(1);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(reserve(1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    char* third = reserve(1);
    EXPECT_NE(third, nullptr);
    totals.expect(2 * page_bytes(), 0);
    device_simulator::fail_call("VirtualFree", 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(VirtualFree(first, 0, MEM_RELEASE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    totals.expect(2 * page_bytes(), 0);
    EXPECT_TRUE(VirtualFree(first, 0, MEM_RELEASE));
    EXPECT_TRUE(VirtualFree(third, 0, MEM_RELEASE));
    totals.expect(0, 0);
}

TEST(virtual_memory, every_call_is_traced) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    device_simulator::record_calls(true);
    device_simulator::take_recorded_calls();
    char* base = reserve(100);
    VirtualAlloc(base + 1, 10, MEM_COMMIT, PAGE_READONLY);
    VirtualFree(base, 1, MEM_DECOMMIT);
    VirtualFree(base, 0, MEM_RELEASE);
    VirtualFree(base, 0, MEM_RELEASE);
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    std::string at = device_simulator::pointer_text(base);
    std::vector<std::string> expected = {
        "VirtualAlloc 0 100 0x2000 0x1 -> " + at,
        "VirtualAlloc " + device_simulator::pointer_text(base + 1) + " 10 0x1000 0x2 -> " + at,
        "VirtualFree " + at + " 1 0x4000 -> ok",
        "VirtualFree " + at + " 0 0x8000 -> ok",
        "VirtualFree " + at + " 0 0x8000 -> failed",
        "GetSystemInfo " + device_simulator::pointer_text(&info),
    };
    EXPECT_EQ(device_simulator::take_recorded_calls(), expected);
    EXPECT_EQ(page, info.dwPageSize);
}

TEST(virtual_memory, concurrent_callers_keep_exact_totals) {
    device_simulator::reset();
    const std::size_t page = page_bytes();
    memory_totals totals;
    auto churn = [page] {
        for (int round = 0; round < 2000; ++round) {
            char* base = reserve(4 * page);
            char* pages = static_cast<char*>(VirtualAlloc(base + page, 2 * page, MEM_COMMIT, PAGE_READWRITE));
            if (pages) pages[2 * page - 1] = 1;
            VirtualFree(base + page, page, MEM_DECOMMIT);
            VirtualFree(base, 0, MEM_RELEASE);
        }
    };
    std::thread other(churn);
    churn();
    other.join();
    totals.expect(0, 0);
}
