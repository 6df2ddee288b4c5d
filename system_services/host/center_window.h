// Centres the library's dialogs on the screen.
#pragma once
#include <windows.h>

namespace rxsystem {

// Moves the window, keeping its size and z-order, so that it stands in the middle of the
// screen (halves truncated).
void CenterWindow(HWND window);

}  // namespace rxsystem
