// Helpers shared by the COM and ActiveX tests.
#pragma once

#include "fw/com.h"
#include "fw/window.h"
#include "testsupport/pump.h"

#include <windows.h>

namespace axtest {

using testsupport::PumpFor;
using testsupport::PumpPosted;
using testsupport::PumpUntil;

// The object's reference count, measured without changing it.
inline ULONG RefCount(IUnknown* unk) {
    unk->AddRef();
    return unk->Release();
}

// A visible top-level window to host controls in.
class HostWindow : public fw::Window {
public:
    bool Open(int width = 640, int height = 480) {
        if (!RegisterClass("axtestHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) return false;
        if (!Create("axtestHost", "host", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, width, height, nullptr))
            return false;
        // Shown without activation: under Xvfb, with no window manager, destroying
        // the active window costs Wine two seconds.
        ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd());
        return true;
    }
};

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    ::MapWindowPoints(nullptr, ::GetAncestor(wnd, GA_PARENT), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace axtest
