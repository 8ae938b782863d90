// Simulated processes against the Windows contract: starting host programs,
// their thread times until and after they end, the failures of
// CreateProcessW, and Sleep.
#include <gtest/gtest.h>

#include <chrono>

#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

std::uint64_t ticks_of(const FILETIME& t) {
    return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

BOOL start(const char16_t* path, PROCESS_INFORMATION& process) {
    WCHAR command_line[] = u"";
    process = {};
    return CreateProcessW(path, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process);
}

}  // namespace

TEST(process_api, create_process_failures) {
    test_support::temporary_device device;
    device.make_folder("Card/TVL/TVL.EXE");
    device.write_file("Card/TVL/DATA.EXE", "not a program");
    struct row {
        const char16_t* path;
        DWORD error;
    };
    const row rows[] = {
        {u"\\Card\\TVL\\TVL.EXE", ERROR_ACCESS_DENIED},     // a folder
        {u"\\Card\\TVL\\DATA.EXE", ERROR_BAD_EXE_FORMAT},   // no execute permission
        {u"\\Card\\TVL\\NONE.EXE", ERROR_FILE_NOT_FOUND},
        {u"\\None\\TVL\\TVL.EXE", ERROR_PATH_NOT_FOUND},
        {u"\\Card\\..\\x", ERROR_INVALID_NAME},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.path, r.path + std::char_traits<char16_t>::length(r.path)));
        PROCESS_INFORMATION process;
        EXPECT_FALSE(start(r.path, process));
        EXPECT_EQ(GetLastError(), r.error);
        EXPECT_EQ(process.hThread, nullptr);  // the record is left as it was
    }
}

TEST(process_api, a_started_program_runs_and_ends) {
    test_support::temporary_device device;
    device.write_program("Card/TVL/TVL.EXE", "exit 7");
    PROCESS_INFORMATION process;
    ASSERT_TRUE(start(u"\\card\\tvl\\tvl.exe", process));
    EXPECT_NE(process.hProcess, nullptr);
    EXPECT_NE(process.hThread, nullptr);
    EXPECT_NE(process.dwProcessId, 0u);
    device_simulator::wait_for_started_processes();
    FILETIME creation, exit, kernel, user;
    ASSERT_TRUE(GetThreadTimes(process.hThread, &creation, &exit, &kernel, &user));
    EXPECT_NE(ticks_of(exit), 0u);
    EXPECT_GE(ticks_of(exit), ticks_of(creation));
    EXPECT_TRUE(CloseHandle(process.hThread));
    EXPECT_TRUE(CloseHandle(process.hProcess));
    EXPECT_FALSE(CloseHandle(process.hProcess));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(process_api, a_running_program_has_no_exit_time_and_growing_user_time) {
    test_support::temporary_device device;
    device.write_program("busy", "i=0; while [ $i -lt 300000 ]; do i=$((i+1)); done");
    PROCESS_INFORMATION process;
    ASSERT_TRUE(start(u"\\busy", process));
    FILETIME creation, exit, kernel, user;
    ASSERT_TRUE(GetThreadTimes(process.hThread, &creation, &exit, &kernel, &user));
    EXPECT_EQ(ticks_of(exit), 0u);
    std::uint64_t first_user = ticks_of(user);
    EXPECT_NE(ticks_of(creation), 0u);
    Sleep(300);
    ASSERT_TRUE(GetThreadTimes(process.hThread, &creation, &exit, &kernel, &user));
    EXPECT_GT(ticks_of(user) + ticks_of(kernel), first_user);
    device_simulator::wait_for_started_processes();
    ASSERT_TRUE(GetThreadTimes(process.hThread, &creation, &exit, &kernel, &user));
    EXPECT_NE(ticks_of(exit), 0u);  // ended now
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(process_api, thread_times_need_a_thread_handle) {
    test_support::temporary_device device;
    FILETIME creation, exit, kernel, user;
    EXPECT_FALSE(GetThreadTimes(nullptr, &creation, &exit, &kernel, &user));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    device.write_program("quick", "exit 0");
    PROCESS_INFORMATION process;
    ASSERT_TRUE(start(u"\\quick", process));
    EXPECT_FALSE(GetThreadTimes(process.hProcess, &creation, &exit, &kernel, &user));  // a process handle
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GetThreadTimes(process.hThread, &creation, nullptr, &kernel, &user));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(process_api, traces_the_application_name_and_honours_injected_failures) {
    test_support::temporary_device device;
    device.write_program("Card/TVL/TVL.EXE", "exit 0");
    device_simulator::record_calls(true);
    device_simulator::fail_call("CreateProcessW", 1, ERROR_NOT_ENOUGH_MEMORY);
    PROCESS_INFORMATION process;
    EXPECT_FALSE(start(u"\\Card\\TVL\\TVL.EXE", process));
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(device_simulator::take_recorded_calls(), std::vector<std::string>{"CreateProcessW \\Card\\TVL\\TVL.EXE"});
}

TEST(process_api, sleep_waits_at_least_as_long_as_asked_and_traces_exactly) {
    device_simulator::reset();
    device_simulator::record_calls(true);
    auto before = std::chrono::steady_clock::now();
    Sleep(120);
    auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_GE(waited, std::chrono::milliseconds(120));
    EXPECT_EQ(device_simulator::take_recorded_calls(), std::vector<std::string>{"Sleep 120"});
}
