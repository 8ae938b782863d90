// Runs one of the project's programs through the shell, as a user would (in a
// cross build through its emulator), and collects its exit code and both
// output streams.
#pragma once

#include <string>
#include <vector>

namespace test_support {

struct program_run {
    int exit_code;
    std::string out, err;
};

// The streams are captured in files of `scratch_folder`; standard input is
// the file `input_file` when one is named.
program_run run_program(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& scratch_folder, const std::string& input_file = "");

}  // namespace test_support
