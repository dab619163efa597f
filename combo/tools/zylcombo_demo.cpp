// A small container of its own for ZYLCOMBO.OCX: four controls with the four
// kinds of list, the colour list dropped down. For looking at the control
// (and the screenshot in the docs); not a deliverable.
//   zylcombo_demo.exe [seconds]   (0 or none: until closed)
#include "fw/activex.h"
#include "fw/com.h"
#include "fw/dispatch.h"
#include "fw/window.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// {0F3550B3-3B6A-11D0-BA1F-027CFC000000}
constexpr CLSID kZylCombo = {0x0f3550b3, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};
enum : DISPID { kSetCurSel = 5, kAddTunes = 6, kAddFonts = 8, kAddFontSizes = 9, kAddFontColors = 10 };

class DemoWindow : public fw::Window {
public:
    bool Open() {
        if (!RegisterClass("zylComboDemo", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
        return Create("zylComboDemo", "ZylCombo", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE, 0,
                      40, 40, 560, 330, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) ::PostQuitMessage(0);
        return Default(msg, wParam, lParam);
    }
};

}  // namespace

int main(int argc, char** argv) {
    fw::OleApartment ole;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string ocx(path);
    ocx = ocx.substr(0, ocx.find_last_of('\\') + 1) + "ZYLCOMBO.OCX";
    HMODULE lib = ::LoadLibraryA(ocx.c_str());
    auto reg = lib ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(lib, "DllRegisterServer")) : nullptr;
    if (!reg || FAILED(reg())) return 1;

    DemoWindow window;
    if (!window.Open()) return 1;
    const char* labels[] = {"Fonts", "Sizes", "Colours", "Tunes"};
    fw::AxHost hosts[4];
    for (int i = 0; i < 4; ++i) {
        const int x = 10 + i * 135;
        ::CreateWindowExA(0, "STATIC", labels[i], WS_CHILD | WS_VISIBLE, x, 10, 120, 16, window.hwnd(), nullptr,
                          ::GetModuleHandleA(nullptr), nullptr);
        if (FAILED(hosts[i].Create(kZylCombo, window.hwnd(), RECT{x, 30, x + 125, 280}))) return 1;
    }
    fw::DispatchDriver(hosts[0].Dispatch()).Call(kAddFonts, {""});
    fw::DispatchDriver(hosts[0].Dispatch()).Call(kSetCurSel, {0});
    fw::DispatchDriver(hosts[1].Dispatch()).Call(kAddFontSizes, {false, "Medium"});
    fw::DispatchDriver(hosts[2].Dispatch()).Call(kAddFontColors, {"Red"});
    for (const char* tune : {"Chimes.wav", "Canyon.mid", "Ding.WAV", "Passport.mid", "Tada.wav"})
        fw::DispatchDriver(hosts[3].Dispatch()).Call(kAddTunes, {tune});
    HWND colours = ::GetWindow(hosts[2].ControlWindow(), GW_CHILD);
    ::SendMessageA(colours, CB_SHOWDROPDOWN, TRUE, 0);

    // Painted before it says so: whoever photographs the screen waits for this line.
    for (auto& h : hosts) ::UpdateWindow(h.ControlWindow());
    ::UpdateWindow(window.hwnd());
    std::printf("ready\n");
    std::fflush(stdout);

    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds > 0) ::SetTimer(window.hwnd(), 1, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window.hwnd()) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    for (auto& h : hosts) h.Destroy();
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(lib, "DllUnregisterServer"));
    if (unreg) unreg();
    return 0;
}
