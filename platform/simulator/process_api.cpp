// Simulated processes: CreateProcessW runs the mapped file as a host program,
// GetThreadTimes reads its primary thread's real times from /proc, and once
// the process has ended it is reaped here and keeps its final times with a
// non-zero exit time. Handles may be closed while the program still runs; the
// started processes stay listed so that tests can wait for them.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "call_log.hpp"
#include "handle_table.hpp"
#include "path_mapping.hpp"
#include "simulator/device_simulator.hpp"
#include "wide_text.hpp"

extern char** environ;

using namespace device_simulator;

namespace {

constexpr std::uint64_t unix_epoch_as_file_time = 116444736000000000ULL;
constexpr std::uint64_t ticks_per_second = 10000000ULL;  // FILETIME counts 100 ns

struct process_record {
    std::mutex mutex;
    pid_t pid = 0;
    bool ended = false;
    std::uint64_t creation = 0, exit = 0, kernel = 0, user = 0;
};

struct process_object : kernel_object {
    std::shared_ptr<process_record> record;
};
struct thread_object : kernel_object {
    std::shared_ptr<process_record> record;
};

struct started_processes {
    std::mutex mutex;
    std::vector<std::shared_ptr<process_record>> records;
};

started_processes& started() {
    static started_processes instance;
    return instance;
}

std::uint64_t now_as_file_time() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return unix_epoch_as_file_time + static_cast<std::uint64_t>(now.tv_sec) * ticks_per_second +
           static_cast<std::uint64_t>(now.tv_nsec) / 100;
}

std::uint64_t clock_ticks_as_file_time(unsigned long long clock_ticks) {
    static const long ticks_per_clock_second = sysconf(_SC_CLK_TCK);
    return clock_ticks * (ticks_per_second / static_cast<std::uint64_t>(ticks_per_clock_second));
}

std::uint64_t timeval_as_file_time(const struct timeval& t) {
    return static_cast<std::uint64_t>(t.tv_sec) * ticks_per_second + static_cast<std::uint64_t>(t.tv_usec) * 10;
}

std::uint64_t boot_time_as_file_time() {
    std::ifstream stat("/proc/stat");
    std::string key;
    unsigned long long seconds = 0;
    while (stat >> key)
        if (key == "btime" && stat >> seconds) break;
    return unix_epoch_as_file_time + seconds * ticks_per_second;
}

// Reads the primary thread's user, kernel and start times from /proc.
bool read_thread_times(pid_t pid, process_record& record, bool with_creation) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) return false;
    std::size_t name_end = line.rfind(')');  // the command name may itself hold spaces and parentheses
    if (name_end == std::string::npos) return false;
    std::istringstream fields(line.substr(name_end + 1));
    std::vector<std::string> field;
    for (std::string token; fields >> token;) field.push_back(token);
    if (field.size() < 20) return false;  // field[0] is the state, the third field of the line
    record.user = clock_ticks_as_file_time(std::stoull(field[11]));
    record.kernel = clock_ticks_as_file_time(std::stoull(field[12]));
    if (with_creation) record.creation = boot_time_as_file_time() + clock_ticks_as_file_time(std::stoull(field[19]));
    return true;
}

// Reaps the process if it has ended (waiting for it when `block`), else
// refreshes its times. Called with the record's mutex held.
void refresh(process_record& record, bool block) {
    for (int attempt = 0; !record.ended && attempt < 2; ++attempt) {
        struct rusage usage {};
        pid_t reaped = wait4(record.pid, nullptr, block ? 0 : WNOHANG, &usage);
        if (reaped == record.pid) {
            record.ended = true;
            record.exit = now_as_file_time();
            record.user = timeval_as_file_time(usage.ru_utime);
            record.kernel = timeval_as_file_time(usage.ru_stime);
            return;
        }
        if (reaped < 0 || read_thread_times(record.pid, record, false)) return;
        // Gone from /proc between the two looks: it has just ended, reap it now.
    }
}

FILETIME as_file_time(std::uint64_t value) {
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

// Checks that the mapped path is a program the host can run; sets the error.
bool is_runnable(const mapped_path& mapped) {
    struct stat info;
    if (mapped.error != ERROR_SUCCESS) {
        SetLastError(mapped.error);
        return false;
    }
    if (mapped.last.empty() || ::stat(mapped.host.c_str(), &info) != 0) {
        SetLastError(mapped.parent_exists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return false;
    }
    return true;
}

// The device hands the program its command line as one string; so does the simulator.
bool spawn_program(const std::string& host, LPCWSTR command_line, pid_t& pid) {
    std::string arguments;
    utf16_to_utf8(command_line, arguments);
    std::vector<char*> argv{const_cast<char*>(host.c_str())};
    if (!arguments.empty()) argv.push_back(const_cast<char*>(arguments.c_str()));
    argv.push_back(nullptr);
    int error = posix_spawn(&pid, host.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        SetLastError(error == ENOEXEC ? ERROR_BAD_EXE_FORMAT : error == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

BOOL start_process(LPCWSTR application_name, LPCWSTR command_line, PROCESS_INFORMATION* information) {
    if (!application_name || !information) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    mapped_path mapped = map_device_path(application_name);
    pid_t pid = 0;
    if (!is_runnable(mapped) || !spawn_program(mapped.host, command_line, pid)) return FALSE;
    auto record = std::make_shared<process_record>();
    record->pid = pid;
    {
        std::lock_guard<std::mutex> lock(record->mutex);
        if (!read_thread_times(pid, *record, true)) record->creation = now_as_file_time();
    }
    {
        std::lock_guard<std::mutex> lock(started().mutex);
        started().records.push_back(record);
    }
    auto process = std::make_shared<process_object>();
    process->record = record;
    auto thread = std::make_shared<thread_object>();
    thread->record = record;
    information->hProcess = open_handle(process);
    information->hThread = open_handle(thread);
    information->dwProcessId = static_cast<DWORD>(pid);
    information->dwThreadId = static_cast<DWORD>(pid);  // the primary thread's id is the process id
    return TRUE;
}

std::string seconds_text(std::uint64_t file_time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(file_time) / ticks_per_second);
    return text;
}

}  // namespace

BOOL CreateProcessW(LPCWSTR application_name, LPWSTR command_line, SECURITY_ATTRIBUTES*, SECURITY_ATTRIBUTES*,
                    BOOL, DWORD, LPVOID, LPCWSTR, STARTUPINFOW*, PROCESS_INFORMATION* information) {
    simulated_call call(simulated_function::CreateProcessW);
    BOOL started_ok = call.fails() ? FALSE : start_process(application_name, command_line, information);
    call.trace([&] { return printable_utf8(application_name); });
    return started_ok;
}

BOOL GetThreadTimes(HANDLE thread, FILETIME* creation_time, FILETIME* exit_time, FILETIME* kernel_time,
                    FILETIME* user_time) {
    simulated_call call(simulated_function::GetThreadTimes);
    BOOL ok = FALSE;
    std::string details = " -> failed";
    if (!call.fails()) {
        std::shared_ptr<thread_object> object = object_of<thread_object>(thread);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
        } else if (!creation_time || !exit_time || !kernel_time || !user_time) {
            SetLastError(ERROR_INVALID_PARAMETER);
        } else {
            process_record& record = *object->record;
            std::lock_guard<std::mutex> lock(record.mutex);
            refresh(record, false);
            *creation_time = as_file_time(record.creation);
            *exit_time = as_file_time(record.ended ? record.exit : 0);
            *kernel_time = as_file_time(record.kernel);
            *user_time = as_file_time(record.user);
            details = " -> user " + seconds_text(record.user) + " s, kernel " + seconds_text(record.kernel) + " s" +
                      (record.ended ? ", ended" : "");
            ok = TRUE;
        }
    }
    call.trace([&] { return pointer_text(thread) + details; });
    return ok;
}

BOOL CloseHandle(HANDLE object) {
    simulated_call call(simulated_function::CloseHandle);
    BOOL closed = FALSE;
    if (!call.fails()) {
        closed = (close_object<process_object>(object) || close_object<thread_object>(object)) ? TRUE : FALSE;
        if (!closed) SetLastError(ERROR_INVALID_HANDLE);
    }
    call.trace([&] { return pointer_text(object); });
    return closed;
}

void Sleep(DWORD ms) {
    simulated_call call(simulated_function::Sleep);
    struct timespec remaining = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
    call.trace([&] { return std::to_string(ms); });
}

namespace device_simulator {

void wait_for_started_processes() {
    std::vector<std::shared_ptr<process_record>> records;
    {
        std::lock_guard<std::mutex> lock(started().mutex);
        records.swap(started().records);
    }
    for (auto& record : records) {
        std::lock_guard<std::mutex> lock(record->mutex);
        refresh(*record, true);
    }
}

}  // namespace device_simulator
