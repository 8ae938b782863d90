// The private heap beside the system allocator, on the same four workloads in
// one process, and a 1 MiB block beside the platform calls that a region of
// its own costs. Each workload first checks every block it hands out for its
// alignment and its contents, then times; at the end a table gives each
// workload's ratio of heap time to system time (thread CPU time, medians when
// repetitions are asked for).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "heap/private_heap.hpp"
#include "runtime/private_heap.hpp"
#include "windows_ce.hpp"

namespace {

struct heap_side {
    static void* allocate(std::size_t bytes) { return runtime::heap_alloc(bytes); }
    static void release(void* block) { runtime::heap_free(block); }
    static std::size_t alignment(std::size_t) { return 8; }
};

struct system_side {
    static void* allocate(std::size_t bytes) { return std::malloc(bytes); }
    static void release(void* block) { std::free(block); }
    // Fundamental alignment, or less for a block too small to hold such an object.
    static std::size_t alignment(std::size_t bytes) {
        std::size_t expected = alignof(std::max_align_t);
        while (expected > 1 && expected > bytes) expected /= 2;
        return expected;
    }
};

// A churn: a fixed number of live blocks; each step frees one at random and
// allocates another of a random size in its place.
struct churn {
    std::size_t live_blocks, smallest, largest;
};
constexpr churn small_churn{10000, 8, 512};
constexpr churn medium_churn{1000, 1024, 64 * 1024};
constexpr std::size_t steps_in_plan = 1 << 16;

struct step {
    std::uint32_t slot;
    std::uint32_t bytes;
};

std::vector<step> plan_for(const churn& c, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<step> plan(steps_in_plan);
    for (step& s : plan) {
        s.slot = static_cast<std::uint32_t>(random() % c.live_blocks);
        s.bytes = static_cast<std::uint32_t>(c.smallest + random() % (c.largest - c.smallest + 1));
    }
    return plan;
}

bool is_aligned(const void* block, std::size_t alignment) {
    return reinterpret_cast<std::uintptr_t>(block) % alignment == 0;
}

// Runs the churn plan once with every block filled and checked, so that the
// timed loop works on an allocator known to keep blocks apart and aligned.
template <class side>
bool churn_keeps_blocks_intact(const churn& c, const std::vector<step>& plan) {
    std::vector<void*> blocks(c.live_blocks);
    std::vector<std::uint32_t> sizes(c.live_blocks);
    auto fill = [&](std::size_t slot, std::uint32_t bytes) {
        blocks[slot] = side::allocate(bytes);
        sizes[slot] = bytes;
        if (!blocks[slot] || !is_aligned(blocks[slot], side::alignment(bytes))) return false;
        std::memset(blocks[slot], static_cast<int>(slot & 0xFF), bytes);
        return true;
    };
    auto intact = [&](std::size_t slot) {
        const unsigned char* bytes = static_cast<const unsigned char*>(blocks[slot]);
        for (std::uint32_t i = 0; i < sizes[slot]; ++i)
            if (bytes[i] != (slot & 0xFF)) return false;
        return true;
    };
    bool ok = true;
    for (std::size_t slot = 0; slot < c.live_blocks && ok; ++slot) ok = fill(slot, plan[slot].bytes);
    for (const step& s : plan) {
        if (!ok) break;
        ok = intact(s.slot);
        side::release(blocks[s.slot]);
        ok = ok && fill(s.slot, s.bytes);
    }
    for (std::size_t slot = 0; slot < c.live_blocks; ++slot) {
        ok = ok && blocks[slot] && intact(slot);
        side::release(blocks[slot]);
    }
    return ok;
}

template <class side>
bool pair_keeps_block_intact(std::size_t bytes) {
    bool ok = true;
    for (int round = 0; round < 3 && ok; ++round) {
        unsigned char* block = static_cast<unsigned char*>(side::allocate(bytes));
        ok = block && is_aligned(block, side::alignment(bytes));
        if (!ok) break;
        std::memset(block, round + 1, bytes);
        for (std::size_t i = 0; i < bytes; ++i) ok = ok && block[i] == round + 1;
        side::release(block);
    }
    return ok;
}

template <class side>
void alloc_free_pair(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0));
    if (!pair_keeps_block_intact<side>(bytes)) {
        state.SkipWithError("a block came back misaligned or changed");
        return;
    }
    for (auto _ : state) {
        void* block = side::allocate(bytes);
        benchmark::DoNotOptimize(block);
        *static_cast<volatile unsigned char*>(block) = 1;
        side::release(block);
    }
    state.SetItemsProcessed(state.iterations());
}

template <class side>
void churn_steps(benchmark::State& state, const churn& c) {
    const std::vector<step> plan = plan_for(c, 20240601);
    if (!churn_keeps_blocks_intact<side>(c, plan)) {
        state.SkipWithError("a block came back misaligned or changed");
        return;
    }
    std::vector<void*> blocks(c.live_blocks);
    for (std::size_t slot = 0; slot < c.live_blocks; ++slot) blocks[slot] = side::allocate(plan[slot].bytes);
    std::size_t next = 0;
    for (auto _ : state) {
        const step& s = plan[next];
        next = (next + 1) & (steps_in_plan - 1);
        side::release(blocks[s.slot]);
        void* block = side::allocate(s.bytes);
        benchmark::DoNotOptimize(block);
        *static_cast<volatile unsigned char*>(block) = 1;
        blocks[s.slot] = block;
    }
    for (void* block : blocks) side::release(block);
    state.SetItemsProcessed(state.iterations());
}

template <class side>
void small_churn_steps(benchmark::State& state) {
    churn_steps<side>(state, small_churn);
}

template <class side>
void medium_churn_steps(benchmark::State& state) {
    churn_steps<side>(state, medium_churn);
}

// The calls that a 1 MiB block with a region of its own costs, made directly:
// reserve in whole separate-region units, commit the chunk's pages, write its
// header (the first touch of the page), release.
void platform_region_calls(benchmark::State& state) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    const std::size_t unit = info.dwAllocationGranularity + 0x200000;
    const std::size_t chunk_bytes = runtime::private_heap::request_size(1 << 20);
    const std::size_t committed = (chunk_bytes + 11 + page - 1) / page * page;
    const std::size_t reserved = (committed + unit - 1) / unit * unit;
    for (auto _ : state) {
        void* base = VirtualAlloc(nullptr, reserved, MEM_RESERVE, PAGE_NOACCESS);
        void* block = VirtualAlloc(base, committed, MEM_COMMIT, PAGE_READWRITE);
        benchmark::DoNotOptimize(block);
        static_cast<volatile unsigned char*>(block)[4] = 1;
        VirtualFree(base, 0, MEM_RELEASE);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_TEMPLATE(alloc_free_pair, heap_side)->Name("heap/pair_24")->Arg(24);
BENCHMARK_TEMPLATE(alloc_free_pair, system_side)->Name("system/pair_24")->Arg(24);
BENCHMARK_TEMPLATE(small_churn_steps, heap_side)->Name("heap/churn_8_512");
BENCHMARK_TEMPLATE(small_churn_steps, system_side)->Name("system/churn_8_512");
BENCHMARK_TEMPLATE(medium_churn_steps, heap_side)->Name("heap/churn_1k_64k");
BENCHMARK_TEMPLATE(medium_churn_steps, system_side)->Name("system/churn_1k_64k");
BENCHMARK_TEMPLATE(alloc_free_pair, heap_side)->Name("heap/pair_1m")->Arg(1 << 20);
BENCHMARK_TEMPLATE(alloc_free_pair, system_side)->Name("system/pair_1m")->Arg(1 << 20);
BENCHMARK(platform_region_calls)->Name("platform/region_1m");

// Keeps each benchmark's CPU time per iteration (the median when there are
// repetitions) while the console reporter prints as usual.
class ratio_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            bool is_median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || is_median)
                ns_per_step_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }
    const std::map<std::string, double>& ns_per_step() const { return ns_per_step_; }

private:
    std::map<std::string, double> ns_per_step_;
};

void print_ratios(const std::map<std::string, double>& ns) {
    const char* system = std::getenv("LD_PRELOAD");
    std::printf("\nCPU ns per step; system allocator: %s\n", system && *system ? system : "glibc malloc");
    std::printf("%-14s %12s %12s %8s\n", "workload", "private heap", "system", "ratio");
    for (const char* workload : {"pair_24", "churn_8_512", "churn_1k_64k", "pair_1m"}) {
        auto heap = ns.find(std::string("heap/") + workload);
        auto other = ns.find(std::string("system/") + workload);
        if (heap == ns.end() || other == ns.end()) continue;
        std::printf("%-14s %12.1f %12.1f %7.2fx\n", workload, heap->second, other->second,
                    heap->second / other->second);
    }
    auto heap = ns.find("heap/pair_1m");
    auto direct = ns.find("platform/region_1m");
    if (heap != ns.end() && direct != ns.end())
        std::printf("%-14s %12.1f %12.1f %7.2fx  (beside the same platform calls made directly)\n", "pair_1m",
                    heap->second, direct->second, heap->second / direct->second);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_ratios(reporter.ns_per_step());
    return 0;
}
