// Controls of the device simulator, for launcher-sim and the tests: which host
// folder is the device, which of its folders are storage cards, where traces
// and message boxes go, and which calls should fail. The program itself never
// includes this file; it only sees the API of windows_ce_api.hpp.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "windows_ce_api.hpp"

namespace device_simulator {

// Forgets the device, the cards, the trace, the injected failures, the cursor
// and the recorded message boxes. Handles stay valid.
void reset();

// The host folder that stands for the device's root "\".
void set_device_folder(const std::string& host_folder);

// The cards that the storage-card enumeration reports, in this order; card
// NAME's root is "\NAME", its folder <device folder>/NAME.
void set_storage_cards(const std::vector<std::string>& names);

// Every folder directly in the device folder except "Windows", in byte order
// of names: the cards of a device whose cards were not named.
std::vector<std::string> folders_as_cards(const std::string& host_folder);

// Tracing: one line per call. Lines go to the file (if any) and, while
// recording, into a list that take_recorded_calls hands over.
void set_trace_file(std::FILE* trace);
void record_calls(bool on);
std::vector<std::string> take_recorded_calls();

// Message boxes print "<caption>: <text>" here (standard output by default)
// and are remembered in the same form.
void set_message_box_output(std::FILE* output);
std::vector<std::string> shown_message_boxes();

// Makes calls of `function` (the API name, as traced) fail: the `nth` call
// from now on and the `times - 1` calls after it return the function's failure
// value with `error` as the last error.
void fail_call(const std::string& function, unsigned nth, DWORD error, unsigned times = 1);
void clear_failures();

// The instance handle that the program's entry receives.
HINSTANCE program_instance();

// The cursor as the program left it.
struct cursor_state {
    HCURSOR current;
    int show_count;
};
cursor_state cursor();
HCURSOR system_wait_cursor();

// Bytes of virtual memory currently reserved and committed through VirtualAlloc.
std::size_t reserved_bytes();
std::size_t committed_bytes();

// Waits for every process that CreateProcessW started and that has not yet
// been waited for, also after its handles were closed.
void wait_for_started_processes();

// Whether InitializeCriticalSection has set `section` up and
// DeleteCriticalSection has not yet taken it down: for tests that check that
// an owner creates its lock before any thread can reach it.
bool critical_section_is_initialized(const CRITICAL_SECTION& section);

// The program's string table: LoadStringW serves these rows.
struct string_resource {
    UINT id;
    const WCHAR* text;
};
void register_string_table(const string_resource* rows, std::size_t count);

}  // namespace device_simulator
