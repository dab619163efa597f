// Not a test: the time to create and activate ZylCombo in the framework's
// container, next to creating a plain combo box of the same style.
// Run from the build's bin folder (ZYLCOMBO.OCX beside it), under Wine.
#include "fw/activex.h"
#include "fw/com.h"
#include "fw/window.h"

#include <olectl.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

// {0F3550B3-3B6A-11D0-BA1F-027CFC000000}
constexpr CLSID kZylCombo = {0x0f3550b3, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class Host : public fw::Window {
public:
    bool Open() {
        return RegisterClass("comboBenchHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) &&
               Create("comboBenchHost", "bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 300, 200, nullptr);
    }
};

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

int main() {
    fw::OleApartment ole;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string ocx(path);
    ocx = ocx.substr(0, ocx.find_last_of('\\') + 1) + "ZYLCOMBO.OCX";
    HMODULE lib = ::LoadLibraryA(ocx.c_str());
    auto reg = lib ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(lib, "DllRegisterServer")) : nullptr;
    if (!reg || FAILED(reg())) {
        std::printf("ZYLCOMBO.OCX did not register from %s\n", ocx.c_str());
        return 1;
    }
    Host host;
    if (!host.Open()) return 1;
    const RECT rect{10, 10, 210, 160};

    auto createControl = [&] {
        fw::AxHost ax;
        const HRESULT hr = ax.Create(kZylCombo, host.hwnd(), rect);
        Pump();
        return hr;
    };
    auto t0 = Clock::now();
    if (FAILED(createControl())) return 1;
    const double first = Ms(Clock::now() - t0);

    constexpr int kRounds = 200;
    t0 = Clock::now();
    for (int i = 0; i < kRounds; ++i) createControl();
    const double control = Ms(Clock::now() - t0) / kRounds;

    t0 = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        HWND combo =
            ::CreateWindowExA(0, "COMBOBOX", "", 0x50200213, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, host.hwnd(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
        Pump();
        ::DestroyWindow(combo);
    }
    const double plain = Ms(Clock::now() - t0) / kRounds;

    // Where the control's time goes: its two windows (the reflector in the
    // container and the combo box inside it), made plain, are the floor.
    t0 = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        HWND reflector =
            ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect.left,
                              rect.top, rect.right - rect.left, rect.bottom - rect.top, host.hwnd(), nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
        HWND combo = ::CreateWindowExA(0, "COMBOBOX", "", 0x50200213, 0, 0, rect.right - rect.left,
                                       rect.bottom - rect.top, reflector, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        Pump();
        ::DestroyWindow(combo);
        ::DestroyWindow(reflector);
    }
    const double twoWindows = Ms(Clock::now() - t0) / kRounds;

    std::printf("ZylCombo create and activate: first %.2f ms, then %.3f ms each (aim: under 50 ms)\n", first, control);
    std::printf("plain combo box create:       %.3f ms each\n", plain);
    std::printf("ratio control / plain:        %.2f (aim: under 1.3)\n", plain > 0 ? control / plain : 0.0);
    std::printf("split: the control's two windows made plain %.3f ms (%.2f x the plain combo box), COM creation, "
                "activation and the rest %.3f ms\n",
                twoWindows, plain > 0 ? twoWindows / plain : 0.0, control - twoWindows);
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(lib, "DllUnregisterServer"));
    if (unreg) unreg();
    return 0;
}
