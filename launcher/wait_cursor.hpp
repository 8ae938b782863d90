// The wait cursor that stays on while the launcher works.
#pragma once

namespace launcher {

// On: the system wait cursor, shown. Off: no cursor, hidden again.
void set_wait_cursor(bool on);

}  // namespace launcher
