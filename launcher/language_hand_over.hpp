// Copying the user's language choice from the card's settings to the device.
#pragma once

#include "wide_string.hpp"

namespace launcher {

// Given the root of the application card; returns the language code written.
int hand_over_language(wide_string card_root);

}  // namespace launcher
