// Starting the project's own programs from tests on every build: a cross
// build's programs are for the target, so they start through the emulator
// that the build was configured with (CMAKE_CROSSCOMPILING_EMULATOR); a
// native build starts them directly. No test may assume that the host runs
// the target's files by itself.
#pragma once

#include <string>
#include <vector>

#include "support/temporary_device.hpp"

namespace test_support {

// The emulator's words followed by `program`; `program` alone in a native build.
std::vector<std::string> target_command(const std::string& program);

// The words as one shell command line, each quoted.
std::string shell_words(const std::vector<std::string>& words);

// Installs a program of the build at `relative` on the device, where the
// simulator's CreateProcessW can start it: a copy in a native build, a shell
// script that hands it to the emulator in a cross build.
void install_target_program(const temporary_device& device, const std::string& relative, const std::string& program);

}  // namespace test_support
