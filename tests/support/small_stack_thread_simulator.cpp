// Small-stack threads on POSIX hosts: pthreads with a set stack size.
#include <pthread.h>

#include "support/small_stack_thread.hpp"

namespace test_support {
namespace {

void* run_body(void* body) {
    (*static_cast<const std::function<void()>*>(body))();
    return nullptr;
}

}  // namespace

bool run_on_small_stack(const std::function<void()>& body, std::size_t stack_bytes) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_t thread;
    bool started = pthread_attr_setstacksize(&attributes, stack_bytes) == 0 &&
                   pthread_create(&thread, &attributes, run_body, const_cast<std::function<void()>*>(&body)) == 0;
    pthread_attr_destroy(&attributes);
    return started && pthread_join(thread, nullptr) == 0;
}

}  // namespace test_support
