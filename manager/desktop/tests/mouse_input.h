// Real mouse input (SendInput) for drags through the system's move loop, which
// runs modally on the thread that owns the window: the steps run on another
// thread or in another process, and they wait for the loop to start and end.
#pragma once

#include <windows.h>

namespace desktoptest {

// Moves the window under `from` (screen) by dx, dy: a press there, moves in
// steps, the release, and again for what is left should it stop short.
// uiThread owns the window. False when the move loop never started or never
// ended, or the window never arrived.
bool DragSteps(POINT from, int dx, int dy, DWORD uiThread);
// A press and a release at `from` with no move between.
bool ClickSteps(POINT from, DWORD uiThread);

// The centre of a window in screen coordinates.
POINT CentreOf(HWND wnd);

}  // namespace desktoptest
