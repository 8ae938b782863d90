// Running programs through the shell for the command-line tests.
#include "support/program_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace test_support {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

program_run run_program(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& scratch_folder, const std::string& input_file) {
    std::string command = quoted(program);
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    const std::string out = scratch_folder + "/out", err = scratch_folder + "/err", code = scratch_folder + "/code";
    if (!input_file.empty()) command += " <" + quoted(input_file);
    command += " >" + quoted(out) + " 2>" + quoted(err) + "; echo $? >" + quoted(code);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return program_run{std::atoi(slurp(code).c_str()), slurp(out), slurp(err)};
}

}  // namespace test_support
