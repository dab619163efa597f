// The smallest program that shows a window: the reference of the start-up benchmark.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "MinimalWindow";
    ::RegisterClassA(&wc);
    ::CreateWindowA("MinimalWindow", "Minimal", WS_POPUP | WS_VISIBLE, 0, 0, 796, 568, nullptr, nullptr, instance,
                    nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
