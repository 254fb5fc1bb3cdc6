// The desktop's full-window dragging setting (show window contents while
// dragging). The program switches it off while its windows are open. Only
// Windows has the setting; elsewhere it reads as off and is never changed.
#pragma once

namespace platform {

// 1 when dragging shows full windows, else 0.
int dragFullWindows();
// Switches the setting, saved in the user's profile and announced to all windows.
void setDragFullWindows(bool on);

}  // namespace platform
