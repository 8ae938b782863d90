// Small-stack threads on Windows: CreateThread with the stack reserved at the
// given size, as the device's threads have it.
#include "support/small_stack_thread.hpp"

#include "windows_ce.hpp"

namespace test_support {
namespace {

DWORD WINAPI run_body(LPVOID body) {
    (*static_cast<const std::function<void()>*>(body))();
    return 0;
}

}  // namespace

bool run_on_small_stack(const std::function<void()>& body, std::size_t stack_bytes) {
    HANDLE thread = CreateThread(nullptr, stack_bytes, run_body, const_cast<std::function<void()>*>(&body),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return false;
    bool finished = WaitForSingleObject(thread, INFINITE) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return finished;
}

}  // namespace test_support
