// Injected failures and tracing, the simulator's tools for tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

#include "simulator/device_simulator.hpp"

namespace {

// Which of `calls` calls of SetCursor fail with error 1234, as '.' (ok) and 'x'.
std::string failure_pattern(int calls) {
    std::string pattern;
    for (int i = 0; i < calls; ++i) {
        SetLastError(0);
        SetCursor(nullptr);
        pattern += GetLastError() == 1234 ? 'x' : '.';
    }
    return pattern;
}

}  // namespace

TEST(call_log, fails_the_nth_call_for_the_given_number_of_times) {
    struct row {
        unsigned nth, times;
        const char* pattern;
    };
    const row rows[] = {
        {1, 1, "x....."}, {3, 1, "..x..."}, {2, 3, ".xxx.."}, {6, 1, ".....x"}, {0, 1, "......"}, {1, 0, "......"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::to_string(r.nth) + " x" + std::to_string(r.times));
        device_simulator::reset();
        SetLastError(0);
        device_simulator::fail_call("SetCursor", r.nth, 1234, r.times);
        EXPECT_EQ(failure_pattern(6), r.pattern);
    }
}

TEST(call_log, failures_are_per_function_and_can_be_cleared) {
    device_simulator::reset();
    device_simulator::fail_call("SetCursor", 1, 1234, 10);
    EXPECT_NE(LoadCursorW(nullptr, IDC_WAIT), nullptr);  // another function is unaffected
    device_simulator::clear_failures();
    EXPECT_EQ(failure_pattern(2), "..");
}

TEST(call_log, trace_goes_to_the_file_and_the_recording) {
    device_simulator::reset();
    std::FILE* trace = std::tmpfile();
    ASSERT_NE(trace, nullptr);
    device_simulator::set_trace_file(trace);
    device_simulator::record_calls(true);
    Sleep(0);
    ShowCursor(TRUE);
    device_simulator::set_trace_file(nullptr);
    Sleep(1);
    std::rewind(trace);
    char text[256] = {};
    std::size_t length = std::fread(text, 1, sizeof text - 1, trace);
    std::fclose(trace);
    EXPECT_EQ(std::string(text, length), "Sleep 0\nShowCursor 1 -> 1\n");
    EXPECT_EQ(device_simulator::take_recorded_calls(),
              (std::vector<std::string>{"Sleep 0", "ShowCursor 1 -> 1", "Sleep 1"}));
    EXPECT_TRUE(device_simulator::take_recorded_calls().empty());
}

TEST(call_log, only_failable_functions_can_be_made_to_fail) {
    device_simulator::reset();
    for (const char* known : {"CloseHandle", "LoadCursorW", "MessageBoxW", "VirtualAlloc", "VirtualFree", "_wfopen", "fputws"})
        EXPECT_NO_THROW(device_simulator::fail_call(known, 1, 1234)) << known;
    for (const char* unknown : {"VirtualAloc", "virtualalloc", "Sleep", ""}) {
        try {
            device_simulator::fail_call(unknown, 1, 1234);
            ADD_FAILURE() << "accepted " << unknown;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(std::string("\"") + unknown + "\""), std::string::npos) << error.what();
        }
    }
    device_simulator::clear_failures();
}
