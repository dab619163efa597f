// Not a test: AddFonts and the painting of a full drop-down list of
// ZylCombo, each next to a plain combo box doing the same with CB_ADDSTRING.
// Run from the build's bin folder (ZYLCOMBO.OCX beside it), under Wine.
#include "fw/activex.h"
#include "fw/com.h"
#include "fw/dispatch.h"
#include "fw/window.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// {0F3550B3-3B6A-11D0-BA1F-027CFC000000}
constexpr CLSID kZylCombo = {0x0f3550b3, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};
enum : DISPID { kCount = 3, kGetTextForIndex = 4, kAddFonts = 8 };

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class Host : public fw::Window {
public:
    bool Open() {
        return RegisterClass("comboFillBench", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) &&
               Create("comboFillBench", "bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 400, 400, nullptr);
    }
};

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// Paints the dropped list of a combo box rounds times; ms per paint.
double PaintList(HWND combo, int rounds) {
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof(parts);
    ::GetComboBoxInfo(combo, &parts);
    Pump();
    const auto t0 = Clock::now();
    for (int i = 0; i < rounds; ++i)
        ::RedrawWindow(parts.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const double ms = Ms(Clock::now() - t0) / rounds;
    ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
    return ms;
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
    const RECT rect{10, 10, 250, 380};

    constexpr int kFills = 10, kPaints = 20;
    double fill = 0, paint = 0;
    std::vector<std::string> names;
    for (int i = 0; i < kFills; ++i) {
        fw::AxHost ax;
        if (FAILED(ax.Create(kZylCombo, host.hwnd(), rect))) return 1;
        fw::DispatchDriver d(ax.Dispatch());
        const auto t0 = Clock::now();
        d.Call(kAddFonts, {""});
        fill += Ms(Clock::now() - t0);
        if (i == 0) {
            const long count = d.Call(kCount).value.ToLong();
            for (long k = 0; k < count; ++k) names.push_back(d.Call(kGetTextForIndex, {k}).value.ToString());
            paint = PaintList(::GetWindow(ax.ControlWindow(), GW_CHILD), kPaints);
        }
    }
    fill /= kFills;

    double plainFill = 0;
    double plainPaint = 0;
    for (int i = 0; i < kFills; ++i) {
        HWND combo =
            ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, host.hwnd(), nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
        const auto t0 = Clock::now();
        for (const std::string& n : names) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
        plainFill += Ms(Clock::now() - t0);
        if (i == 0) plainPaint = PaintList(combo, kPaints);
        ::DestroyWindow(combo);
    }
    plainFill /= kFills;

    std::printf("AddFonts (%zu families):       %.2f ms (aim: under 300 ms)\n", names.size(), fill);
    std::printf("plain CB_ADDSTRING of them:    %.2f ms   ratio %.1f\n", plainFill,
                plainFill > 0 ? fill / plainFill : 0.0);
    std::printf("full drop-down paint:          %.2f ms\n", paint);
    std::printf("plain drop-down paint:         %.2f ms   ratio %.1f\n", plainPaint,
                plainPaint > 0 ? paint / plainPaint : 0.0);
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(lib, "DllUnregisterServer"));
    if (unreg) unreg();
    return 0;
}
