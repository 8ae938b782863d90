// A stand-in application whose primary thread spends its time in the kernel:
// it reads zeros in large pieces until it has used 2.5 s of kernel time, with
// little user time, then ends. The launcher's wait must count user time only.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

namespace {

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

int main() {
    int zeros = open("/dev/zero", O_RDONLY);
    if (zeros < 0) return 1;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        if (seconds(usage.ru_stime) >= 2.5 || seconds(usage.ru_utime) >= 1.5) break;
        for (int i = 0; i < 16; ++i)
            if (read(zeros, buffer.data(), buffer.size()) <= 0) return 1;
    }
    close(zeros);
    return 0;
}
