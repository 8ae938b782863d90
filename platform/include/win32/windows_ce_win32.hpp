// The Windows CE API subset on Windows: <windows.h> and the C runtime's 16-bit
// text calls, plus the two calls that differ between the device and a desktop
// Windows (or wine): the storage-card enumeration and the process start.
// CMake defines UNICODE, so WCHAR is wchar_t and TEXT("...") is L"...".
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

// The storage-card library: one entry per mounted card, named as its root
// folder, closed with FindClose. The device's own library declares them with C
// linkage; on desktop Windows platform/win32/flash_cards.cpp stands in, listing
// the folders named in TARVOLEN_STORAGE_CARDS (see there).
extern "C" {
HANDLE FindFirstFlashCard(WIN32_FIND_DATAW* data);
BOOL FindNextFlashCard(HANDLE search, WIN32_FIND_DATAW* data);
}

// The device takes no STARTUPINFO (callers pass null, as they must there);
// desktop Windows and wine read it unconditionally. The program's calls go
// through this wrapper, which supplies an empty record when given none.
BOOL create_process_with_startup_info(LPCWSTR application_name, LPWSTR command_line,
                                      SECURITY_ATTRIBUTES* process_attributes,
                                      SECURITY_ATTRIBUTES* thread_attributes, BOOL inherit_handles,
                                      DWORD creation_flags, LPVOID environment, LPCWSTR current_directory,
                                      STARTUPINFOW* startup_info, PROCESS_INFORMATION* process_information);
#define CreateProcessW create_process_with_startup_info

// Opening a file by an 8-bit device path: on Windows the C runtime's fopen
// itself (the simulator maps device paths under the same name).
inline std::FILE* device_fopen(const char* path, const char* mode) {
    return std::fopen(path, mode);
}
