// A small-stack thread on the simulator's host. The stack is our own mapping,
// painted with a pattern before the thread starts, so that the deepest byte
// the work touched can be read after it ends; an inaccessible page below it
// turns an overflow into a crash instead of silent damage to other memory.
// The stack size includes what the thread library keeps at its top, as the
// device's does.
#include "support/small_stack_thread.hpp"

#include <cstdint>
#include <cstring>

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace test_support {
namespace {

constexpr unsigned char paint = 0xA5;

struct thread_work {
    const std::function<void()>* work;
};

void* run_work(void* argument) {
    (*static_cast<thread_work*>(argument)->work)();
    return nullptr;
}

// Reads stack memory that the sanitizer may still mark as a dead frame's.
#if defined(__SANITIZE_ADDRESS__)
__attribute__((no_sanitize_address))
#endif
std::size_t untouched_bytes(const unsigned char* stack, std::size_t size) {
    std::size_t n = 0;
    while (n < size && stack[n] == paint) ++n;
    return n;
}

}  // namespace

stack_run run_on_small_stack(std::size_t stack_bytes, const std::function<void()>& work) {
    stack_run run;
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t size = (stack_bytes + page - 1) / page * page;
    void* mapping = mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return run;
    unsigned char* guard = static_cast<unsigned char*>(mapping);
    unsigned char* stack = guard + page;
    mprotect(guard, page, PROT_NONE);
    std::memset(stack, paint, size);

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstack(&attributes, stack, size);
    thread_work argument{&work};
    pthread_t thread;
    if (pthread_create(&thread, &attributes, run_work, &argument) == 0) {
        pthread_join(thread, nullptr);
        run.finished = true;
        run.peak_bytes = size - untouched_bytes(stack, size);
    }
    pthread_attr_destroy(&attributes);
    munmap(mapping, size + page);
    return run;
}

}  // namespace test_support
