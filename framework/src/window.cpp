#include "fw/window.h"

#include "fw/menu.h"

#include <commctrl.h>

#include <exception>

namespace fw {

namespace {

constexpr char kObjectProp[] = "fw.Window";
constexpr UINT_PTR kSubclassId = 0x46570001;  // "FW" 1

LRESULT ReportEscape() {
    // An exception must never unwind through the system's frames.
    return 0;
}

}  // namespace

Window::~Window() {
    if (hwnd_) {
        HWND wnd = hwnd_;
        if (subclassed_) {
            Unsubclass();
        } else {
            ::RemovePropA(wnd, kObjectProp);
            hwnd_ = nullptr;
            ::DestroyWindow(wnd);
        }
    }
}

Window* Window::FromHandle(HWND wnd) {
    return wnd ? static_cast<Window*>(::GetPropA(wnd, kObjectProp)) : nullptr;
}

bool Window::RegisterClass(const char* className, UINT style, HBRUSH background, HICON icon, HCURSOR cursor) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), className, &wc)) return true;
    wc.style = style;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExA(&wc) != 0;
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
                    int height, HWND parent, UINT_PTR idOrMenu) {
    if (hwnd_) return false;
    HWND wnd = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleA(nullptr), this);
    return wnd != nullptr && hwnd_ == wnd;
}

bool Window::Subclass(HWND wnd) {
    if (hwnd_ || !wnd) return false;
    if (!::SetWindowSubclass(wnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    hwnd_ = wnd;
    subclassed_ = true;
    ::SetPropA(wnd, kObjectProp, this);
    return true;
}

void Window::Unsubclass() {
    if (!hwnd_ || !subclassed_) return;
    ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    ::RemovePropA(hwnd_, kObjectProp);
    hwnd_ = nullptr;
    subclassed_ = false;
}

bool Window::Destroy() { return hwnd_ && ::DestroyWindow(hwnd_); }

std::string Window::GetText() const {
    const int len = ::GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = ::GetWindowTextA(hwnd_, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void Window::SetText(const std::string& text) const { ::SetWindowTextA(hwnd_, text.c_str()); }

RECT Window::ClientRect() const {
    RECT rc{};
    ::GetClientRect(hwnd_, &rc);
    return rc;
}

RECT Window::WindowRect() const { return ScreenRectOf(hwnd_); }

RECT ScreenRectOf(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return rc;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT Window::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT routed = 0; RouteOwnerDrawMenu(msg, wParam, lParam, &routed)) return routed;
    if (subclassed_) return ::DefSubclassProc(hwnd_, msg, wParam, lParam);
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(msg, wParam, lParam);
    } catch (const std::exception&) {
        return ReportEscape();
    } catch (...) {
        return ReportEscape();
    }
}

LRESULT CALLBACK Window::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(wnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = wnd;
            ::SetPropA(wnd, kObjectProp, self);
        }
    }
    if (!self) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    const LRESULT result = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::RemovePropA(wnd, kObjectProp);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

LRESULT CALLBACK Window::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<Window*>(refData);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = self->Dispatch(msg, wParam, lParam);
        // The subclass goes while the window is still valid.
        ::RemoveWindowSubclass(wnd, SubclassProc, kSubclassId);
        ::RemovePropA(wnd, kObjectProp);
        self->hwnd_ = nullptr;
        self->subclassed_ = false;
        self->OnFinalDestroy();
        return result;
    }
    return self->Dispatch(msg, wParam, lParam);
}

bool ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!child || !Window::FromHandle(child)) return false;
    *result = ::SendMessageA(child, kReflectBase + msg, wParam, lParam);
    return true;
}

}  // namespace fw
