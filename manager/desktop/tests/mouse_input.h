// Real mouse input (SendInput) for drags through the system's move loop, which
// runs modally on the thread that owns the window: the steps run on another
// thread or in another process, and they wait for the loop to start and end.
#pragma once

#include <windows.h>

namespace desktoptest {

// A press at `from` (screen), moves in steps by dx, dy, the release; uiThread
// owns the window. False when the move loop never started or never ended.
bool DragSteps(POINT from, int dx, int dy, DWORD uiThread);
// A press and a release at `from` with no move between.
bool ClickSteps(POINT from, DWORD uiThread);

// The centre of a window in screen coordinates.
POINT CentreOf(HWND wnd);

}  // namespace desktoptest
