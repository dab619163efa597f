// Real mouse input by SendInput, as a user's hand would give it: the system
// queues it for whichever window lies under the cursor.
#pragma once

#include <windows.h>

namespace testsupport {

// One mouse event: a button's press or release, or a move with coordinates.
void SendMouse(DWORD flags, LONG x = 0, LONG y = 0);

// An absolute move that lands on the screen pixel itself; false when the
// cursor would not go there.
bool MoveTo(POINT to);

// The cursor is at the screen point.
bool CursorAt(POINT point);

// Sends the window's thread a message and returns once it was handled: the
// thread has then read the input that had reached it before. False when it
// did not answer in time.
bool InputRead(HWND wnd);

}  // namespace testsupport
