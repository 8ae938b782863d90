// The launcher's whole run on simulated devices: the card search, the start
// of the application and the wait for it, and the insert-card message.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "launcher/run_launcher.hpp"
#include "simulator/device_simulator.hpp"
#include "support/target_program.hpp"
#include "support/temporary_device.hpp"

namespace {

using clock_type = std::chrono::steady_clock;

// The function names of the traced calls, in order.
std::vector<std::string> call_names(const std::vector<std::string>& calls) {
    std::vector<std::string> names;
    for (const std::string& call : calls) names.push_back(call.substr(0, call.find(' ')));
    return names;
}

std::size_t count_of(const std::vector<std::string>& calls, const std::string& line) {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), line));
}

// The private heap's own platform calls depend on what ran before in the
// process; the launcher's sequence is what these tests check.
bool is_heap_call(const std::string& call) {
    for (const char* name : {"GetSystemInfo", "GetProcessHeap", "HeapAlloc", "HeapFree", "VirtualAlloc", "VirtualFree"})
        if (call.rfind(std::string(name) + " ", 0) == 0) return true;
    return false;
}

std::vector<std::string> without_heap_calls(std::vector<std::string> calls) {
    calls.erase(std::remove_if(calls.begin(), calls.end(), is_heap_call), calls.end());
    return calls;
}

struct launcher_run {
    int result;
    std::vector<std::string> calls;
    clock_type::duration took;
};

launcher_run run_on(const std::vector<std::string>& cards) {
    device_simulator::set_storage_cards(cards);
    device_simulator::record_calls(true);
    auto start = clock_type::now();
    int result = launcher::run_launcher(device_simulator::program_instance());
    launcher_run run{result, without_heap_calls(device_simulator::take_recorded_calls()), clock_type::now() - start};
    EXPECT_EQ(device_simulator::cursor().current, nullptr);  // the wait cursor is off again
    EXPECT_EQ(device_simulator::cursor().show_count, 0);
    return run;
}

void install_demo_application(const test_support::temporary_device& device, const std::string& card) {
    test_support::install_target_program(device, card + "/TVL/TVL.EXE", DEMO_APPLICATION);
}

}  // namespace

TEST(run_launcher, without_a_card_asks_for_it_in_the_remembered_language) {
    struct row {
        const char* remembered;  // nullptr: no device language file
        const char* message;
    };
    const row rows[] = {
        {nullptr, "Tarvolen: Please insert the memory card into the device."},
        {"23", "Tarvolen: L\xc3\xbctfen hafiza kartini cihazin i\xc3\xa7ine yerlestirin."},
        {"26", "Tarvolen: Plaats a.u.b. de geheugenkaart in het apparaat."},
        {"13", "Tarvolen: Please insert the memory card into the device."},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.remembered ? r.remembered : "(none)");
        test_support::temporary_device device;
        device.make_folder("Windows");
        device.make_folder("Storage Card/Maps");  // a card without the application
        if (r.remembered) device.write_file("Windows/tv_lastlang", r.remembered);
        launcher_run run = run_on({"Storage Card"});
        EXPECT_EQ(run.result, 1);
        EXPECT_EQ(device_simulator::shown_message_boxes(), std::vector<std::string>{r.message});
        EXPECT_EQ(device.read_file("Windows/tv_lastlang"), r.remembered ? r.remembered : "");
        ASSERT_EQ(call_names(run.calls),
                  (std::vector<std::string>{"FindFirstFlashCard", "FindNextFlashCard", "FindClose", "LoadCursorW",
                                            "SetCursor", "ShowCursor", "FindFirstFileW", "_wfopen", "LoadStringW",
                                            "MessageBoxW", "SetCursor", "ShowCursor"}));
        EXPECT_EQ(run.calls[9].find("MessageBoxW 0 " + std::string(r.message) + " 0x40000"), 0u);
    }
}

TEST(run_launcher, no_card_at_all) {
    test_support::temporary_device device;
    launcher_run run = run_on({});
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(count_of(call_names(run.calls), "CreateProcessW"), 0u);
    EXPECT_EQ(device_simulator::shown_message_boxes().size(), 1u);
    EXPECT_FALSE(device.exists("Windows/tv_lastlang"));
}

TEST(run_launcher, the_first_card_with_the_application_wins_and_the_next_is_never_probed) {
    test_support::temporary_device device;
    device.make_folder("Empty Card");
    device.write_program("First/TVL/TVL.EXE", "exit 0");
    device.write_program("Second/TVL/TVL.EXE", "exit 0");
    launcher_run run = run_on({"Empty Card", "First", "Second"});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(count_of(run.calls, "FindFirstFileW \\Empty Card\\TVL\\TVL.EXE"), 1u);
    EXPECT_EQ(count_of(run.calls, "FindFirstFileW \\First\\TVL\\TVL.EXE"), 1u);
    EXPECT_EQ(count_of(run.calls, "FindFirstFileW \\Second\\TVL\\TVL.EXE"), 0u);
    EXPECT_EQ(count_of(run.calls, "CreateProcessW \\First\\TVL\\TVL.EXE"), 1u);
    EXPECT_TRUE(device_simulator::shown_message_boxes().empty());
}

TEST(run_launcher, an_application_folder_counts_as_found_and_the_failed_start_ends_the_wait) {
    test_support::temporary_device device;
    device.make_folder("Storage Card/TVL/TVL.EXE");
    launcher_run run = run_on({"Storage Card"});
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(call_names(run.calls),
              (std::vector<std::string>{"FindFirstFlashCard", "FindNextFlashCard", "FindClose", "LoadCursorW",
                                        "SetCursor", "ShowCursor", "FindFirstFileW", "FindClose", "_wfopen", "fopen",
                                        "SetFileAttributesW", "_wfopen", "Sleep", "CreateProcessW", "GetThreadTimes",
                                        "FileTimeToSystemTime", "Sleep", "SetCursor", "ShowCursor"}));
    EXPECT_EQ(run.calls[14], "GetThreadTimes 0 -> failed");
    EXPECT_LT(run.took, std::chrono::seconds(2));
}

TEST(run_launcher, pauses_200_ms_right_before_the_start) {
    test_support::temporary_device device;
    device.write_program("Card/TVL/TVL.EXE", "exit 0");
    launcher_run run = run_on({"Card"});
    auto start = std::find(run.calls.begin(), run.calls.end(), "CreateProcessW \\Card\\TVL\\TVL.EXE");
    ASSERT_NE(start, run.calls.end());
    ASSERT_GE(start - run.calls.begin(), 5);
    EXPECT_EQ(*(start - 1), "Sleep 200");
    // Before the pause: the remembered language is read, then the hand-over rewrites it.
    EXPECT_EQ((start - 2)->rfind("_wfopen \\Windows\\tv_lastlang w+t", 0), 0u);
    EXPECT_EQ((start - 5)->rfind("_wfopen \\Windows\\tv_lastlang r+t", 0), 0u);
    EXPECT_GE(run.took, std::chrono::milliseconds(300));  // the pause and at least one poll
}

TEST(run_launcher, an_application_that_ends_at_once_does_not_hold_the_launcher) {
    test_support::temporary_device device;
    device.write_program("Card/TVL/TVL.EXE", "exit 3");
    launcher_run run = run_on({"Card"});
    EXPECT_EQ(run.result, 0);
    EXPECT_LT(run.took, std::chrono::milliseconds(1500));
    EXPECT_EQ(count_of(call_names(run.calls), "CloseHandle"), 2u);  // thread and process
    std::string last_query;
    for (const std::string& call : run.calls)
        if (call.rfind("GetThreadTimes", 0) == 0) last_query = call;
    EXPECT_NE(last_query.find(", ended"), std::string::npos);
}

TEST(run_launcher, waits_until_the_application_has_used_two_seconds_of_user_time) {
    test_support::temporary_device device;
    install_demo_application(device, "Storage Card");
    launcher_run run = run_on({"Storage Card"});
    EXPECT_EQ(run.result, 0);
    EXPECT_GE(run.took, std::chrono::seconds(2));
    std::vector<std::string> names = call_names(run.calls);
    std::size_t polls = count_of(names, "GetThreadTimes");
    EXPECT_GE(polls, 20u);  // two seconds of processor time take at least twenty 100 ms polls
    EXPECT_EQ(count_of(run.calls, "Sleep 100"), polls);
    // Each pass: query, convert, pause; the wait ended on the second field.
    std::vector<std::string> last_conversions;
    for (const std::string& call : run.calls)
        if (call.rfind("FileTimeToSystemTime", 0) == 0) last_conversions.push_back(call);
    ASSERT_GE(last_conversions.size(), 2u);  // the last one ended the wait, the one before did not
    const std::string& final_conversion = last_conversions.back();
    EXPECT_NE(final_conversion.find("1601-01-01 00:00:02"), std::string::npos) << final_conversion;
    EXPECT_EQ(last_conversions[last_conversions.size() - 2].find("00:00:02"), std::string::npos);
}

TEST(run_launcher, the_wait_counts_user_time_only) {
    // 2.5 s of kernel time and little user time: the launcher waits for the end.
    test_support::temporary_device device;
    test_support::install_target_program(device, "Card/TVL/TVL.EXE", KERNEL_TIME_APPLICATION);
    launcher_run run = run_on({"Card"});
    EXPECT_EQ(run.result, 0);
    std::string last_query;
    for (const std::string& call : run.calls)
        if (call.rfind("GetThreadTimes", 0) == 0) last_query = call;
    EXPECT_NE(last_query.find(", ended"), std::string::npos) << last_query;
    // It ended after its kernel time, so it did start and run: a program that
    // never started would end at once, with none.
    std::size_t kernel = last_query.find("kernel ");
    ASSERT_NE(kernel, std::string::npos) << last_query;
    EXPECT_GE(std::stod(last_query.substr(kernel + 7)), 2.0) << last_query;
}

TEST(run_launcher, the_wait_cursor_is_the_system_wait_cursor) {
    test_support::temporary_device device;
    device.write_program("Card/TVL/TVL.EXE", "exit 0");
    launcher_run run = run_on({"Card"});
    auto load = std::find_if(run.calls.begin(), run.calls.end(),
                             [](const std::string& call) { return call.rfind("LoadCursorW", 0) == 0; });
    ASSERT_GE(run.calls.end() - load, 3);
    EXPECT_EQ(load->rfind("LoadCursorW 0 32514 -> ", 0), 0u) << *load;
    std::string handle = load->substr(load->find("-> ") + 3);
    EXPECT_EQ(*(load + 1), "SetCursor " + handle);
    EXPECT_EQ(*(load + 2), "ShowCursor 1 -> 1");
}
