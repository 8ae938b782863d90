// The wait cursor. Failures are ignored: the cursor is a courtesy, never a
// reason to stop.
#include "wait_cursor.hpp"

#include "windows_ce.hpp"

namespace launcher {

void set_wait_cursor(bool on) {
    if (on) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        ShowCursor(TRUE);
    } else {
        SetCursor(nullptr);
        ShowCursor(FALSE);
    }
}

}  // namespace launcher
