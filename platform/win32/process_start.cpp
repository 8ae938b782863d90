// The process start on desktop Windows: the device's call without a
// STARTUPINFO, completed with an empty one that asks for nothing.
#include "windows_ce.hpp"

#undef CreateProcessW

BOOL create_process_with_startup_info(LPCWSTR application_name, LPWSTR command_line,
                                      SECURITY_ATTRIBUTES* process_attributes,
                                      SECURITY_ATTRIBUTES* thread_attributes, BOOL inherit_handles,
                                      DWORD creation_flags, LPVOID environment, LPCWSTR current_directory,
                                      STARTUPINFOW* startup_info, PROCESS_INFORMATION* process_information) {
    STARTUPINFOW empty = {};
    empty.cb = sizeof empty;
    return CreateProcessW(application_name, command_line, process_attributes, thread_attributes, inherit_handles,
                          creation_flags, environment, current_directory, startup_info ? startup_info : &empty,
                          process_information);
}
