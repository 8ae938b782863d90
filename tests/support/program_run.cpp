// Running programs through the shell for the command-line tests, through the
// build's emulator in a cross build.
#include "support/program_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/target_program.hpp"

namespace test_support {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

program_run run_program(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& scratch_folder, const std::string& input_file) {
    std::vector<std::string> words = target_command(program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::string command = shell_words(words);
    const std::string out = scratch_folder + "/out", err = scratch_folder + "/err", code = scratch_folder + "/code";
    if (!input_file.empty()) command += " <" + shell_words({input_file});
    command += " >" + shell_words({out}) + " 2>" + shell_words({err}) + "; echo $? >" + shell_words({code});
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return program_run{std::atoi(slurp(code).c_str()), slurp(out), slurp(err)};
}

}  // namespace test_support
