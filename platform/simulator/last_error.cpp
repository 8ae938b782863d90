// The calling thread's last error, as GetLastError reports it.
#include "simulator/windows_ce_api.hpp"

namespace {
thread_local DWORD last_error = ERROR_SUCCESS;
}

DWORD GetLastError() {
    return last_error;
}

void SetLastError(DWORD error) {
    last_error = error;
}
