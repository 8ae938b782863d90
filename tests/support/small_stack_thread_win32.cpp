// A small-stack thread on Windows: CreateThread with the size as the stack's
// reservation. The peak is not measured here.
#include "support/small_stack_thread.hpp"

#include "windows_ce.hpp"

namespace test_support {
namespace {

DWORD WINAPI run_work(LPVOID argument) {
    (*static_cast<const std::function<void()>*>(argument))();
    return 0;
}

}  // namespace

stack_run run_on_small_stack(std::size_t stack_bytes, const std::function<void()>& work) {
    stack_run run;
    HANDLE thread = CreateThread(nullptr, stack_bytes, run_work, const_cast<std::function<void()>*>(&work),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return run;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    run.finished = true;
    return run;
}

}  // namespace test_support
