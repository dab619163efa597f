#include "fw/window.h"

#include "fw/menu.h"
#include "fw/trace.h"

#include <commctrl.h>

#include <typeinfo>

namespace fw {

namespace {

constexpr char kObjectProp[] = "fw.Window";
constexpr UINT_PTR kSubclassId = 0x46570001;  // "FW" 1

}  // namespace

Window::~Window() {
    if (hwnd_) {
        HWND wnd = hwnd_;
        if (subclassed_) {
            Unsubclass();
        } else {
            Unbind();
            ::DestroyWindow(wnd);
        }
    }
}

Window* Window::FromHandle(HWND wnd) {
    return wnd ? static_cast<Window*>(::GetPropA(wnd, kObjectProp)) : nullptr;
}

void Window::Bind(HWND wnd) {
    hwnd_ = wnd;
    ::SetPropA(wnd, kObjectProp, this);
}

void Window::Unbind() {
    if (hwnd_) ::RemovePropA(hwnd_, kObjectProp);
    hwnd_ = nullptr;
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
    if (hwnd_ || !wnd || FromHandle(wnd)) return false;
    if (!::SetWindowSubclass(wnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    subclassed_ = true;
    Bind(wnd);
    return true;
}

void Window::Unsubclass() {
    if (!hwnd_ || !subclassed_) return;
    ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    Unbind();
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

LRESULT Window::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT routed = 0; RouteOwnerDrawMenu(msg, wParam, lParam, &routed)) return routed;
    if (subclassed_) return ::DefSubclassProc(hwnd_, msg, wParam, lParam);
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Taken first: the handler may end the object (a window that deletes itself).
    HWND wnd = hwnd_;
    const std::type_info& type = typeid(*this);
    try {
        // Control notifications go to the control's own object first.
        if (HWND child = NotifyingChild(wnd, msg, wParam, lParam); child && child != wnd) {
            if (ReflectToChild(child, msg, wParam, lParam, result) && *result) return true;
        }
        *result = HandleMessage(msg, wParam, lParam);
        return true;
    } catch (...) {
        // An exception must never unwind through the system's frames.
        TraceStoppedException("a window procedure", DescribeWindowMessage(type, wnd, msg));
        *result = 0;
        return false;
    }
}

void Window::FinalDestroy(HWND wnd, UINT msg) {
    ::RemovePropA(wnd, kObjectProp);
    hwnd_ = nullptr;
    subclassed_ = false;
    const std::type_info& type = typeid(*this);
    try {
        OnFinalDestroy();
    } catch (...) {
        TraceStoppedException("a window procedure", DescribeWindowMessage(type, wnd, msg) + " (OnFinalDestroy)");
    }
}

LRESULT CALLBACK Window::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(wnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Bind(wnd);
    }
    if (!self) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    self->Dispatch(msg, wParam, lParam, &result);
    if (msg == WM_NCDESTROY) self->FinalDestroy(wnd, msg);
    return result;
}

LRESULT CALLBACK Window::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<Window*>(refData);
    LRESULT result = 0;
    self->Dispatch(msg, wParam, lParam, &result);
    if (msg == WM_NCDESTROY) {
        // The subclass goes while the window is still valid.
        ::RemoveWindowSubclass(wnd, SubclassProc, kSubclassId);
        self->FinalDestroy(wnd, msg);
    }
    return result;
}

HWND NotifyingChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return wParam && lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam && parent ? ::GetDlgItem(parent, static_cast<int>(wParam)) : nullptr;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

bool ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!child || !Window::FromHandle(child)) return false;
    *result = ::SendMessageA(child, kReflectBase + msg, wParam, lParam);
    return true;
}

}  // namespace fw
