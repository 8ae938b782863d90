// A stand-in for the navigation application on the sample card: it says that
// it has started, then keeps its primary thread busy for about 2.5 seconds of
// processor time, a little longer than the launcher waits for, and exits.
#include <cstdio>

#include "processor_time.hpp"

namespace {

constexpr double busy_seconds = 2.5;

// Pure arithmetic, so that the time is user time; reading the processor clock
// is a system call, done only once per batch.
unsigned long compute_batch(unsigned long seed) {
    for (int i = 0; i < 1000000; ++i) seed = seed * 6364136223846793005UL + 1442695040888963407UL;
    return seed;
}

}  // namespace

int main() {
    std::printf("TVL demo application: started\n");
    std::fflush(stdout);
    volatile unsigned long sink = 1;
    while (processor_seconds() < busy_seconds) sink = compute_batch(sink);
    return 0;
}
