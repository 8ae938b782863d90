// Processor time on POSIX hosts: the C library's clock() counts the process's
// processor time, and the demo has one thread.
#include "processor_time.hpp"

#include <ctime>

double processor_seconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}
