#include "testsupport/pump.h"

namespace testsupport {
namespace {

constexpr UINT kMarker = WM_APP + 0x3A1;
constexpr char kMarkerClass[] = "testsupport.PumpPosted";

LRESULT CALLBACK MarkerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMarker) {
        *reinterpret_cast<bool*>(lParam) = true;
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

int g_ticks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
}

}  // namespace

bool PumpTimerTicks(UINT period, int ticks) {
    g_ticks = 0;
    const UINT_PTR id = ::SetTimer(nullptr, 0, period, CountTick);
    if (!id) return false;
    const bool ticked = PumpUntil([&] { return g_ticks >= ticks; }, 10000 + period * static_cast<DWORD>(ticks));
    ::KillTimer(nullptr, id);
    return ticked;
}

bool PumpPosted(DWORD timeoutMs) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = MarkerProc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = kMarkerClass;
    ::RegisterClassA(&cls);  // fails harmlessly once registered
    HWND marker = ::CreateWindowExA(0, kMarkerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    if (!marker) return false;
    bool arrived = false;
    const bool posted = ::PostMessageA(marker, kMarker, 0, reinterpret_cast<LPARAM>(&arrived)) != FALSE;
    const bool done = posted && PumpUntil([&] { return arrived; }, timeoutMs);
    ::DestroyWindow(marker);
    return done;
}

}  // namespace testsupport
