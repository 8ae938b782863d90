// The simulator's internal view of the device: its host folder, its cards,
// and the resets of each part of the simulator. Not for the program.
#pragma once

#include <string>
#include <vector>

namespace device_simulator {

const std::string& device_folder();
std::vector<std::string> storage_cards();

// Each part of the simulator forgets its per-run state.
void reset_call_log();
void reset_user_interface();

}  // namespace device_simulator
