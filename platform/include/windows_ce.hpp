// The Windows CE API subset that the program calls, under its Windows names.
// On Windows this is <windows.h> plus the storage-card enumeration; everywhere
// else it is the device simulator, which implements the same calls over the
// host so that the program's code is the same on every platform.
#pragma once

#if defined(_WIN32)
#include "win32/windows_ce_win32.hpp"
#else
#include "simulator/windows_ce_api.hpp"
#endif
