// The program's instance handle on Windows: the test program's own module.
#include "support/program_instance.hpp"

namespace test_support {

HINSTANCE program_instance() {
    return GetModuleHandleW(nullptr);
}

}  // namespace test_support
