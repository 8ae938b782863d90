// Tracing and injected failures: the simulator's table of calls that tests
// can watch and make fail, so that every failure path of the program can be
// reached from a test.
#include "call_log.hpp"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "simulator/device_simulator.hpp"

namespace device_simulator {
namespace {

struct planned_failure {
    unsigned calls_until_first;  // calls still to pass before the first failure
    unsigned failures_left;
    DWORD error;
};

struct call_log_state {
    std::mutex mutex;
    std::FILE* trace_file = nullptr;
    bool recording = false;
    std::vector<std::string> recorded;
    std::map<simulated_function, planned_failure> failures;
};

call_log_state& state() {
    static call_log_state instance;
    return instance;
}

// Read without the mutex on every call: while nothing is armed or traced, a
// call pays one load and one branch for each.
std::atomic<bool> failures_armed{false};
std::atomic<bool> tracing_on{false};

void refresh_flags(const call_log_state& s) {
    failures_armed.store(!s.failures.empty(), std::memory_order_relaxed);
    tracing_on.store(s.trace_file || s.recording, std::memory_order_relaxed);
}

enum failure_rule : bool { never_fails = false, can_fail = true };

struct call_entry {
    const char* name;
    failure_rule failure;
};

// Indexed by simulated_function, from the same list.
constexpr call_entry call_table[] = {
#define SIMULATED_CALL(name, failure) {#name, failure},
#include "simulated_calls.def"
#undef SIMULATED_CALL
};

// The call fail_call may make fail under this name, if there is one.
const call_entry* failable_entry(const std::string& name) {
    for (const call_entry& entry : call_table)
        if (entry.failure == can_fail && name == entry.name) return &entry;
    return nullptr;
}

}  // namespace

bool is_tracing() {
    return tracing_on.load(std::memory_order_relaxed);
}

const char* function_name(simulated_function function) {
    return call_table[static_cast<int>(function)].name;
}

bool should_fail(simulated_function function) {
    if (!failures_armed.load(std::memory_order_relaxed)) return false;
    call_log_state& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto found = s.failures.find(function);
    if (found == s.failures.end()) return false;
    planned_failure& plan = found->second;
    if (plan.calls_until_first > 0) {
        --plan.calls_until_first;
        return false;
    }
    DWORD error = plan.error;
    if (--plan.failures_left == 0) s.failures.erase(found);
    refresh_flags(s);
    SetLastError(error);
    return true;
}

void trace_call(const std::string& line) {
    call_log_state& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.trace_file) {
        std::fprintf(s.trace_file, "%s\n", line.c_str());
        std::fflush(s.trace_file);
    }
    if (s.recording) s.recorded.push_back(line);
}

std::string pointer_text(const void* pointer) {
    if (!pointer) return "0";
    char text[2 + 2 * sizeof(void*) + 1];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
    return text;
}

void set_trace_file(std::FILE* trace) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().trace_file = trace;
    refresh_flags(state());
}

void record_calls(bool on) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().recording = on;
    refresh_flags(state());
}

std::vector<std::string> take_recorded_calls() {
    std::lock_guard<std::mutex> lock(state().mutex);
    std::vector<std::string> lines;
    lines.swap(state().recorded);
    return lines;
}

void fail_call(const std::string& function, unsigned nth, DWORD error, unsigned times) {
    const call_entry* entry = failable_entry(function);
    if (!entry)
        throw std::invalid_argument("fail_call: the simulator has no failable function named \"" + function + "\"");
    if (nth == 0 || times == 0) return;
    std::lock_guard<std::mutex> lock(state().mutex);
    state().failures[static_cast<simulated_function>(entry - call_table)] = planned_failure{nth - 1, times, error};
    refresh_flags(state());
}

void clear_failures() {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().failures.clear();
    refresh_flags(state());
}

void reset_call_log() {
    std::lock_guard<std::mutex> lock(state().mutex);
    call_log_state& s = state();
    s.trace_file = nullptr;
    s.recording = false;
    s.recorded.clear();
    s.failures.clear();
    refresh_flags(s);
}

}  // namespace device_simulator
