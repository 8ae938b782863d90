// Where the heap places blocks is part of its design: fast lists up to 72
// bytes, exact small bins, sorted large bins, the split last remainder. This
// test replays fixed random sequences of allocations and frees and compares
// every block's offset from the sequence's first block (or "region" for a
// block with a region of its own) with the checked-in record, line by line.
// The smallest chunk holds two pointers, so each pointer size has a record of
// its own: 64-bit hosts, and 32 bits as on the device (the ARM build under
// qemu, the Windows build under wine). HEAP_PLACEMENT_REGENERATE=1 rewrites
// the record of the running pointer size instead of comparing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "heap/heap_checker.hpp"

namespace {

struct sequence {
    const char* name;
    unsigned seed;
    int operations;
    std::size_t (*pick_size)(std::mt19937&);
};

std::size_t small_strings(std::mt19937& random) { return random() % 513; }
std::size_t medium_blocks(std::mt19937& random) {
    return random() % 4 == 0 ? random() % 256 : 1024 + random() % (64 * 1024);
}
std::size_t mixed_up_to_megabytes(std::mt19937& random) {
    unsigned roll = random() % 1000;
    if (roll < 600) return random() % 128;
    if (roll < 900) return 128 + random() % 4000;
    if (roll < 985) return 4096 + random() % 0x40000;
    return 0x30000 + random() % 0x300000;
}

const sequence sequences[] = {
    {"small", 11, 6000, small_strings},
    {"medium", 23, 4000, medium_blocks},
    {"mixed", 37, 6000, mixed_up_to_megabytes},
};

// One line per allocation: "<sequence> <operation> <request> <offset|region|null>".
std::string replay(const sequence& s) {
    runtime::private_heap heap;
    std::mt19937 random(s.seed);
    std::vector<void*> live;
    std::ostringstream record;
    const unsigned char* first = nullptr;
    for (int op = 0; op < s.operations; ++op) {
        if (!live.empty() && random() % 100 < 45) {
            std::size_t index = random() % live.size();
            heap.release(live[index]);
            live[index] = live.back();
            live.pop_back();
            continue;
        }
        std::size_t request = s.pick_size(random);
        void* block = heap.allocate(request);
        record << s.name << ' ' << op << ' ' << request << ' ';
        if (!block) {
            record << "null\n";
            continue;
        }
        const unsigned char* at = static_cast<const unsigned char*>(block);
        if (runtime::is_separate_region(runtime::chunk_of(block))) {
            record << "region\n";
        } else {
            if (!first) first = at;
            record << (at - first) << '\n';
        }
        live.push_back(block);
    }
    for (void* block : live) heap.release(block);
    EXPECT_EQ(runtime::check_heap(heap), "") << s.name;
    return record.str();
}

// The record for this build's pointer size, or nullptr when there is none.
const char* record_path() {
    if (sizeof(void*) == 8) return HEAP_PLACEMENT_RECORD;
    if (sizeof(void*) == 4) return HEAP_PLACEMENT_RECORD_32BIT;
    return nullptr;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(heap_placement, matches_the_checked_in_record) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const char* record = record_path();
    if (!record || info.dwPageSize != 4096) GTEST_SKIP() << "the records are for 32 and 64 bits with 4 KiB pages";
    std::string actual;
    for (const sequence& s : sequences) actual += replay(s);

    const char* regenerate = std::getenv("HEAP_PLACEMENT_REGENERATE");
    if (regenerate && std::string(regenerate) == "1") {
        std::ofstream(record, std::ios::binary) << actual;
        GTEST_SKIP() << "record rewritten: " << record;
    }
    std::ifstream file(record, std::ios::binary);
    ASSERT_TRUE(file) << "no record at " << record;
    std::stringstream expected;
    expected << file.rdbuf();
    std::vector<std::string> want = lines_of(expected.str());
    std::vector<std::string> got = lines_of(actual);
    for (std::size_t i = 0; i < want.size() && i < got.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << "first difference at line " << i + 1;
    ASSERT_EQ(got.size(), want.size());
    EXPECT_EQ(actual, expected.str());
}
