// The start-up program's whole run: find the card that carries the
// application, hand the language over, start the application and wait until
// it is under way; without such a card, ask for the memory card.
#pragma once

#include "windows_ce.hpp"

namespace launcher {

// 0 when the application was started, 1 when the insert-card message was shown.
int run_launcher(HINSTANCE instance);

}  // namespace launcher
