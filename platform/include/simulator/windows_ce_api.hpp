// Declarations of the simulated Windows CE API: the types, constants and
// functions the program calls, with the Windows conventions for arguments,
// results and GetLastError. Text is 16-bit (WCHAR is char16_t here).
// The simulator's own controls (device folder, cards, tracing, injected
// failures) live in device_simulator.hpp, not here.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using SIZE_T = std::size_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WCHAR = char16_t;
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;
using LPVOID = void*;
using HANDLE = void*;

// Distinct handle types, as <windows.h> declares them with STRICT.
struct HINSTANCE__;
struct HWND__;
struct HCURSOR__;
using HINSTANCE = HINSTANCE__*;
using HWND = HWND__*;
using HCURSOR = HCURSOR__*;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))
#define TEXT(quote) u##quote
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_WAIT MAKEINTRESOURCEW(32514)

// Error codes (GetLastError).
#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_PATH_NOT_FOUND 3u
#define ERROR_ACCESS_DENIED 5u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_NO_MORE_FILES 18u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_INVALID_NAME 123u
#define ERROR_BAD_EXE_FORMAT 193u
#define ERROR_INVALID_ADDRESS 487u
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814u

// File attributes.
#define FILE_ATTRIBUTE_READONLY 0x1u
#define FILE_ATTRIBUTE_HIDDEN 0x2u
#define FILE_ATTRIBUTE_SYSTEM 0x4u
#define FILE_ATTRIBUTE_DIRECTORY 0x10u
#define FILE_ATTRIBUTE_ARCHIVE 0x20u
#define FILE_ATTRIBUTE_NORMAL 0x80u
#define FILE_ATTRIBUTE_TEMPORARY 0x100u

// Virtual memory.
#define MEM_COMMIT 0x1000u
#define MEM_RESERVE 0x2000u
#define MEM_DECOMMIT 0x4000u
#define MEM_RELEASE 0x8000u
#define PAGE_NOACCESS 0x1u
#define PAGE_READONLY 0x2u
#define PAGE_READWRITE 0x4u
#define HEAP_ZERO_MEMORY 0x8u

// Message boxes.
#define MB_OK 0x0u
#define MB_TOPMOST 0x40000u
#define IDOK 1

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The device's 560-byte find-data record; dwOID is the object store's id.
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};
static_assert(sizeof(WIN32_FIND_DATAW) == 560, "the find-data record is 560 bytes on the device");

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};

struct STARTUPINFOW {
    DWORD cb;
    LPWSTR lpReserved;
    LPWSTR lpDesktop;
    LPWSTR lpTitle;
    DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute, dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput, hStdOutput, hStdError;
};

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    DWORD_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};

// Opaque to callers, as on Windows; the simulator keeps a recursive mutex in it.
struct CRITICAL_SECTION {
    alignas(16) unsigned char opaque[64];
};

// Errors.
DWORD GetLastError();
void SetLastError(DWORD error);

// Files.
HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);

// The storage-card library: one entry per mounted card, named as its root folder.
HANDLE FindFirstFlashCard(WIN32_FIND_DATAW* data);
BOOL FindNextFlashCard(HANDLE search, WIN32_FIND_DATAW* data);

// Processes, threads and time.
BOOL CreateProcessW(LPCWSTR application_name, LPWSTR command_line,
                    SECURITY_ATTRIBUTES* process_attributes, SECURITY_ATTRIBUTES* thread_attributes,
                    BOOL inherit_handles, DWORD creation_flags, LPVOID environment,
                    LPCWSTR current_directory, STARTUPINFOW* startup_info,
                    PROCESS_INFORMATION* process_information);
BOOL GetThreadTimes(HANDLE thread, FILETIME* creation_time, FILETIME* exit_time,
                    FILETIME* kernel_time, FILETIME* user_time);
BOOL CloseHandle(HANDLE object);
BOOL FileTimeToSystemTime(const FILETIME* file_time, SYSTEMTIME* system_time);
void Sleep(DWORD ms);

// User interface.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR cursor_name);
HCURSOR SetCursor(HCURSOR cursor);
int ShowCursor(BOOL show);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int buffer_chars);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Virtual memory, system information and the process heap.
LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocation_type, DWORD protect);
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD free_type);
void GetSystemInfo(SYSTEM_INFO* info);
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);

// Critical sections (recursive, as on Windows).
void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);

// The C runtime's 16-bit text calls. They overload the host's wchar_t versions
// by argument type. Files are byte streams; text mode maps each byte to one
// character (ISO 8859-1) and back, as the device's ANSI code page does for the
// letters the program uses.
std::FILE* _wfopen(const WCHAR* path, const WCHAR* mode);
// The C runtime's fopen as the device has it, for a device path in the 8-bit
// form that wcstombs gives (UTF-8 here). The layer names it apart so that
// the host's own fopen is never replaced: this one maps device paths, the
// C library's opens host paths.
std::FILE* device_fopen(const char* path, const char* mode);
int fputws(const WCHAR* text, std::FILE* stream);
std::size_t wcstombs(char* destination, const WCHAR* source, std::size_t max_bytes);
int _vsnwprintf(WCHAR* buffer, std::size_t count, const WCHAR* format, va_list arguments);
