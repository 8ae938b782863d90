// Copying the user's language choice from the card's settings to the device.
#pragma once

#include <cstdio>

#include "wide_string.hpp"

namespace launcher {

// Given the root of the application card; returns the language code written.
int hand_over_language(wide_string card_root);

// The read path on its own, over an open settings stream: the language code
// the settings hold, 0 when the evaluation fails, 1 when they do not load.
int read_settings_stream(std::FILE* settings);

}  // namespace launcher
