// The instance handle that the program's entry receives, for tests that read
// the program's resources through LoadStringW: the simulator's handle, or on
// Windows the test program's own module, into which the resource script is
// linked. One implementation file per platform, chosen by CMake.
#pragma once

#include "windows_ce.hpp"

namespace test_support {

HINSTANCE program_instance();

}  // namespace test_support
