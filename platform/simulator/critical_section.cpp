// Simulated critical sections, recursive as on Windows. While the process
// has one thread, nothing can contend and enter and leave are plain stores
// (the C library says when that ends; only this thread can end it). After
// that, an uncontended enter or leave is one atomic exchange, and only a
// thread that finds the section taken sleeps in the kernel (a futex on the
// lock word). They run on every heap call, so they are not traced and have
// no injected failures.
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#define HAS_SINGLE_THREADED_FLAG 1
#endif

#include "simulator/device_simulator.hpp"
#include "simulator/windows_ce_api.hpp"

namespace {

// `mark` first, so that a section's bytes tell whether it is set up; the
// lock word: 0 free, 1 held, 2 held with sleepers.
struct section_state {
    std::uint32_t mark;
    std::atomic<int> word;
    std::atomic<std::uintptr_t> owner;  // the holding thread's token, 0 when free
    unsigned recursion;                 // touched by the holder only
};

static_assert(sizeof(section_state) <= sizeof(CRITICAL_SECTION::opaque), "the state must fit in a critical section");
static_assert(alignof(section_state) <= alignof(CRITICAL_SECTION), "a critical section must be aligned for it");
static_assert(sizeof(std::atomic<int>) == sizeof(int), "the futex waits on the lock word itself");
static_assert(offsetof(section_state, mark) == 0, "the mark is read from the section's first bytes");

constexpr std::uint32_t live_mark = 0x43534543;  // "CSEC"

section_state& state_of(CRITICAL_SECTION* section) {
    return *std::launder(reinterpret_cast<section_state*>(section->opaque));
}

// A distinct non-zero value per living thread.
std::uintptr_t thread_token() {
    static thread_local char marker;
    return reinterpret_cast<std::uintptr_t>(&marker);
}

void futex_wait(std::atomic<int>& word, int expected) {
    syscall(SYS_futex, reinterpret_cast<int*>(&word), FUTEX_WAIT_PRIVATE, expected, nullptr, nullptr, 0);
}

void futex_wake_one(std::atomic<int>& word) {
    syscall(SYS_futex, reinterpret_cast<int*>(&word), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

bool is_single_threaded() {
#ifdef HAS_SINGLE_THREADED_FLAG
    return __libc_single_threaded != 0;
#else
    return false;
#endif
}

void acquire_contended(std::atomic<int>& word) {
    while (word.exchange(2, std::memory_order_acquire) != 0) futex_wait(word, 2);
}

}  // namespace

void InitializeCriticalSection(CRITICAL_SECTION* section) {
    section_state* state = new (section->opaque) section_state();
    state->mark = live_mark;
    state->word.store(0, std::memory_order_relaxed);
    state->owner.store(0, std::memory_order_relaxed);
    state->recursion = 0;
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    section_state& state = state_of(section);
    std::uintptr_t me = thread_token();
    // Only this thread ever stores its own token, so a relaxed read that sees it is exact.
    if (state.owner.load(std::memory_order_relaxed) == me) {
        ++state.recursion;
        return;
    }
    if (is_single_threaded())
        state.word.store(1, std::memory_order_relaxed);
    else if (state.word.exchange(1, std::memory_order_acquire) != 0)
        acquire_contended(state.word);
    state.owner.store(me, std::memory_order_relaxed);
    state.recursion = 1;
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    section_state& state = state_of(section);
    if (--state.recursion != 0) return;
    state.owner.store(0, std::memory_order_relaxed);
    if (is_single_threaded())
        state.word.store(0, std::memory_order_relaxed);
    else if (state.word.exchange(0, std::memory_order_release) == 2)
        futex_wake_one(state.word);
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    state_of(section).mark = 0;
    state_of(section).~section_state();
}

bool device_simulator::critical_section_is_initialized(const CRITICAL_SECTION& section) {
    std::uint32_t mark;
    std::memcpy(&mark, section.opaque, sizeof mark);
    return mark == live_mark;
}
