// Simulated critical sections: a std::recursive_mutex built in place inside
// the caller's CRITICAL_SECTION, so a thread may enter a section it already
// holds, as on Windows. They run on every heap call, so they are not traced
// and have no injected failures.
#include <mutex>
#include <new>

#include "windows_ce_api.hpp"

namespace {

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque),
              "the recursive mutex must fit in a critical section");
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION),
              "a critical section must be aligned for the recursive mutex");

std::recursive_mutex& mutex_of(CRITICAL_SECTION* section) {
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(CRITICAL_SECTION* section) {
    new (section->opaque) std::recursive_mutex();
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    mutex_of(section).lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    mutex_of(section).unlock();
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    mutex_of(section).~recursive_mutex();
}
