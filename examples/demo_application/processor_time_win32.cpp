// Processor time on Windows: the thread's own user and kernel times, the
// figures the launcher reads with GetThreadTimes. (The Windows C library's
// clock() counts wall-clock time instead.)
#include "processor_time.hpp"

#include <windows.h>

namespace {

double seconds_of(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7;  // 100 ns ticks
}

}  // namespace

double processor_seconds() {
    FILETIME creation, exit, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) return 0;
    return seconds_of(kernel) + seconds_of(user);
}
