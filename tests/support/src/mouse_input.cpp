#include "testsupport/mouse_input.h"

namespace testsupport {

void SendMouse(DWORD flags, LONG x, LONG y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = x;
    input.mi.dy = y;
    ::SendInput(1, &input, sizeof(input));
}

bool CursorAt(POINT point) {
    POINT at{};
    return ::GetCursorPos(&at) && at.x == point.x && at.y == point.y;
}

bool InputRead(HWND wnd) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

// The normalised value is corrected from where the cursor went, since the rounding is the system's.
bool MoveTo(POINT to) {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int h = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    LONG ax = MulDiv(to.x - left, 65536, w) + 16;
    LONG ay = MulDiv(to.y - top, 65536, h) + 16;
    for (int attempt = 0; attempt < 16; ++attempt) {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, ax, ay);
        POINT at{};
        ::GetCursorPos(&at);
        if (at.x == to.x && at.y == to.y) return true;
        ax += MulDiv(to.x - at.x, 65536, w);
        ay += MulDiv(to.y - at.y, 65536, h);
    }
    return false;
}

}  // namespace testsupport
