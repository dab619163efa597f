#include "fw/activex.h"

namespace fw {

AxWindow::~AxWindow() {
    // The control goes while its window, a child of ours, still exists.
    host_.Destroy();
}

HRESULT AxWindow::Create(const CLSID& clsid, HWND parent, const RECT& rect, UINT id, DWORD style,
                         const AxSetup& setup) {
    if (hwnd()) return E_UNEXPECTED;
    if (!RegisterClass(kClassName, 0)) return HRESULT_FROM_WIN32(::GetLastError());
    if (!Window::Create(kClassName, "", style, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        parent, id))
        return E_FAIL;
    AxSetup shown = setup;
    shown.visible = true;  // the holder's own style decides
    const HRESULT hr = host_.Create(clsid, hwnd(), ClientRect(), shown);
    if (FAILED(hr)) Destroy();
    return hr;
}

HRESULT AxWindow::CreateInPlaceOf(HWND dialog, int id, const CLSID& clsid, const AxSetup& setup) {
    if (hwnd()) return E_UNEXPECTED;
    HWND placeholder = ::GetDlgItem(dialog, id);
    if (!placeholder) return E_INVALIDARG;
    RECT rc{};
    ::GetWindowRect(placeholder, &rc);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    const DWORD kept = WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_DISABLED;
    const DWORD style =
        WS_CHILD | WS_CLIPCHILDREN | (static_cast<DWORD>(::GetWindowLongPtrA(placeholder, GWL_STYLE)) & kept);
    const HRESULT hr = Create(clsid, dialog, rc, static_cast<UINT>(id), style, setup);
    if (FAILED(hr)) return hr;  // the placeholder stays
    // Same place in the tab order: right behind the placeholder, which then goes.
    ::SetWindowPos(hwnd(), placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(placeholder);
    return hr;
}

LRESULT AxWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && host_.IsCreated())
            host_.SetRect(RECT{0, 0, static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))});
        return 0;
    case WM_SETFOCUS:
        // Focus given to the holder (a dialog's tab order) belongs to the control.
        if (host_.IsCreated()) {
            host_.UIActivate();
            if (::GetFocus() == hwnd())
                if (HWND control = host_.ControlWindow()) ::SetFocus(control);
        }
        return 0;
    case WM_ERASEBKGND:
        if (host_.ControlWindow()) return 1;  // the control covers us
        break;
    case WM_DESTROY:
        host_.Destroy();
        break;
    default:
        break;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace fw
