// Tests of the simulated process heap: one fixed handle, usable and distinct
// blocks (zero-filled on request), the errors of a wrong handle and of an
// impossible size, injected failures and traces.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "simulator/call_log.hpp"
#include "simulator/device_simulator.hpp"
#include "simulator/windows_ce_api.hpp"

TEST(process_heap, only_the_process_heap_handle_is_accepted) {
    device_simulator::reset();
    HANDLE heap = GetProcessHeap();
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(GetProcessHeap(), heap);
    LPVOID block = HeapAlloc(heap, 0, 16);
    ASSERT_NE(block, nullptr);
    int local = 0;
    const HANDLE wrong_handles[] = {nullptr, INVALID_HANDLE_VALUE, static_cast<char*>(heap) + 4, &local};
    for (HANDLE wrong : wrong_handles) {
        SCOPED_TRACE(wrong);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(HeapAlloc(wrong, 0, 16), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(HeapFree(wrong, 0, block));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    EXPECT_TRUE(HeapFree(heap, 0, block));  // still ours after the refused frees
}

TEST(process_heap, blocks_are_distinct_whole_and_zeroed_on_request) {
    device_simulator::reset();
    HANDLE heap = GetProcessHeap();
    const std::size_t sizes[] = {0, 1, 7, 4096, 1 << 20};
    std::set<LPVOID> blocks;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        // Leave garbage behind where the zeroed block is likely to land.
        LPVOID dirty = HeapAlloc(heap, 0, size);
        ASSERT_NE(dirty, nullptr);
        std::memset(dirty, 0xA5, size);
        EXPECT_TRUE(HeapFree(heap, 0, dirty));
        for (DWORD flags : {DWORD{0}, DWORD{HEAP_ZERO_MEMORY}}) {
            unsigned char* block = static_cast<unsigned char*>(HeapAlloc(heap, flags, size));
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(blocks.insert(block).second);
            if (flags == HEAP_ZERO_MEMORY) {
                for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(block[i], 0) << i;
            }
            std::memset(block, 0x3C, size);  // the sanitizer checks that the whole size is ours
        }
    }
    for (LPVOID block : blocks) EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(process_heap, impossible_sizes_fail_and_null_frees_succeed) {
    device_simulator::reset();
    HANDLE heap = GetProcessHeap();
    const std::size_t sizes[] = {std::size_t{0x80000000}, SIZE_MAX};
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(HeapAlloc(heap, HEAP_ZERO_MEMORY, size), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    }
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
}

TEST(process_heap, injected_failures_and_traces) {
    device_simulator::reset();
    HANDLE heap = GetProcessHeap();
    device_simulator::record_calls(true);
    device_simulator::fail_call("HeapAlloc", 2, ERROR_NOT_ENOUGH_MEMORY);
    device_simulator::fail_call("HeapFree", 1, ERROR_INVALID_PARAMETER);
    LPVOID block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 24);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, 24), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_FALSE(HeapFree(heap, 0, block));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_EQ(GetProcessHeap(), heap);
    std::string h = device_simulator::pointer_text(heap), b = device_simulator::pointer_text(block);
    std::vector<std::string> expected = {
        "HeapAlloc " + h + " 8 24 -> " + b,
        "HeapAlloc " + h + " 0 24 -> 0",
        "HeapFree " + h + " 0 " + b + " -> failed",
        "HeapFree " + h + " 0 " + b + " -> ok",
        "GetProcessHeap -> " + h,
    };
    EXPECT_EQ(device_simulator::take_recorded_calls(), expected);
}
