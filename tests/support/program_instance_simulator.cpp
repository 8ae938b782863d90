// The program's instance handle on the device simulator.
#include "support/program_instance.hpp"

#include "simulator/device_simulator.hpp"

namespace test_support {

HINSTANCE program_instance() {
    return device_simulator::program_instance();
}

}  // namespace test_support
