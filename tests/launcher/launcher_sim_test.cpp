// launcher-sim as a user runs it: options, card order, trace lines, message
// boxes on standard output, and exit codes.
#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temporary_device.hpp"

namespace {

using test_support::program_run;

// Runs launcher-sim with the arguments; output lands in `scratch`.
program_run run_sim(const std::vector<std::string>& arguments, const std::string& scratch) {
    return test_support::run_program(LAUNCHER_SIM, arguments, scratch);
}

class launcher_sim : public ::testing::Test {
protected:
    test_support::temporary_device device;
    test_support::temporary_device scratch;
    std::string dir() const { return device.folder(); }
};

}  // namespace

TEST_F(launcher_sim, usage_errors_exit_with_2_and_say_why) {
    device.make_folder("Card");
    struct row {
        std::vector<std::string> arguments;
        const char* message;
    };
    const row rows[] = {
        {{}, "--device is required"},
        {{"--device"}, "--device needs a value"},
        {{"--device", dir(), "--verbose"}, "unknown argument '--verbose'"},
        {{"--device", dir(), "Card"}, "unknown argument 'Card'"},
        {{"--device", dir() + "/none"}, "device folder not found: " },
        {{"--device", dir(), "--card", "Missing"}, "card folder not found: "},
        {{"--device", dir(), "--card", "Card/Sub"}, "card name must be one folder name"},
        {{"--device", dir(), "--trace", dir() + "/no/such/folder/trace"}, "cannot write trace file"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.message);
        program_run run = run_sim(r.arguments, scratch.folder());
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: launcher-sim --device DIR"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(launcher_sim, help_goes_to_standard_output_and_exits_0) {
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        program_run run = run_sim({option}, scratch.folder());
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.out.rfind("usage: launcher-sim --device DIR", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("--trace FILE"), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(launcher_sim, without_a_card_shows_the_message_and_exits_1) {
    device.write_file("Windows/tv_lastlang", "2");
    program_run run = run_sim({"--device", dir()}, scratch.folder());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "Tarvolen: Bitte legen sie die Speicherkarte in das Ger\xc3\xa4t ein.\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(launcher_sim, default_cards_are_probed_in_byte_order_and_traced) {
    device.make_folder("Windows");
    device.write_program("B Card/TVL/TVL.EXE", "exit 0");
    device.write_program("A Card/TVL/TVL.EXE", "exit 0");
    std::string trace_path = scratch.folder() + "/trace";
    program_run run = run_sim({"--device", dir(), "--trace", trace_path}, scratch.folder());
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    std::string trace = scratch.read_file("trace");
    EXPECT_NE(trace.find("\nFindFirstFileW \\A Card\\TVL\\TVL.EXE\n"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("FindFirstFileW \\B Card"), std::string::npos);
    EXPECT_NE(trace.find("\nSleep 200\nCreateProcessW \\A Card\\TVL\\TVL.EXE\n"), std::string::npos);
    EXPECT_EQ(trace.find("FindFirstFlashCard "), 0u);
}

TEST_F(launcher_sim, named_cards_set_the_order_and_trace_to_standard_error) {
    device.write_program("A Card/TVL/TVL.EXE", "exit 0");
    device.write_program("B Card/TVL/TVL.EXE", "exit 0");
    program_run run = run_sim({"--device", dir(), "--card", "B Card", "--card", "A Card", "--trace", "-"},
                          scratch.folder());
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.err.find("\nCreateProcessW \\B Card\\TVL\\TVL.EXE\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("A Card\\TVL"), std::string::npos);
}
