#include "fw/window.h"

#include "fw/menu.h"
#include "fw/guard.h"
#include "fw/trace.h"
#include "window_binder.h"

#include <typeinfo>

namespace fw {

namespace {

detail::WindowBinder<Window>& Binder() { return detail::WindowBinder<Window>::Get(); }

bool OursOnTop(HWND wnd, WNDPROC ours) {
    return ::GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ours);
}

// Whether a procedure the system handed back is a function in a loaded module,
// not a handle it made for a procedure of the other character set.
bool IsModuleCode(WNDPROC proc) {
    HMODULE module = nullptr;
    return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                reinterpret_cast<LPCWSTR>(proc), &module) &&
           module;
}

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

Window* Window::FromHandle(HWND wnd) { return Binder().ObjectOf(wnd); }

void Window::Bind(HWND wnd) {
    hwnd_ = wnd;
    Binder().Bind(wnd, this);
}

void Window::Unbind() {
    if (hwnd_) Binder().Erase(hwnd_);
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
    // Our procedure may still be in the chain, a pass-through since an
    // earlier object let go under another subclasser: it serves this one.
    if (!Binder().Adopt(wnd, this, &previous_, &wasAnsi_)) {
        wasAnsi_ = !::IsWindowUnicode(wnd);
        ::SetLastError(0);
        const LONG_PTR previous = ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
        if (!previous && ::GetLastError()) return false;
        previous_ = reinterpret_cast<WNDPROC>(previous);
        Binder().Bind(wnd, this, previous_, wasAnsi_);
    }
    // Under Wine CallWindowProcW is a dispatch of its own, as dear as the
    // control's answer to a simple message; a function needs no conversion.
    callDirect_ = IsModuleCode(previous_);
    hwnd_ = wnd;
    subclassed_ = true;
    return true;
}

void Window::Unsubclass() {
    if (!hwnd_ || !subclassed_) return;
    if (OursOnTop(hwnd_, SubclassProc)) {
        // In the window's own character set: a class with procedures of both
        // (the system's controls) takes the setter's.
        const auto previous = reinterpret_cast<LONG_PTR>(previous_);
        if (wasAnsi_)
            ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, previous);
        else
            ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, previous);
        Binder().Erase(hwnd_);
    } else {
        // Putting ours back would cut out whoever subclassed above us.
        Binder().Release(hwnd_, this);
    }
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

LRESULT Window::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT routed = 0; RouteOwnerDrawMenu(msg, wParam, lParam, &routed)) return routed;
    if (!subclassed_) return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
    // The system answers from the window's character set, which our wide
    // procedure changed: a child made later would send wide notifications.
    if (msg == WM_NOTIFYFORMAT && lParam == NF_QUERY && wasAnsi_) return NFR_ANSI;
    return callDirect_ ? previous_(hwnd_, msg, wParam, lParam)
                       : ::CallWindowProcW(previous_, hwnd_, msg, wParam, lParam);
}

bool Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Taken first: the handler may end the object (a window that deletes itself).
    HWND wnd = hwnd_;
    const std::type_info& type = typeid(*this);
    // An exception must never unwind through the system's frames.
    return GuardBoundary(
        "a window procedure", [&] { return DescribeWindowMessage(type, wnd, msg); },
        [&](bool) {
            *result = 0;
            return false;
        },
        [&] {
            // Control notifications go to the control's own object first.
            if (HWND child = NotifyingChild(wnd, msg, wParam, lParam); child && child != wnd) {
                if (ReflectToChild(child, msg, wParam, lParam, result) && *result) return true;
            }
            *result = HandleMessage(msg, wParam, lParam);
            return true;
        });
}

void Window::FinalDestroy(HWND wnd, UINT msg) {
    Binder().Erase(wnd);
    hwnd_ = nullptr;
    subclassed_ = false;
    const std::type_info& type = typeid(*this);
    GuardBoundary(
        "a window procedure", [&] { return DescribeWindowMessage(type, wnd, msg) + " (OnFinalDestroy)"; },
        [](bool) {}, [&] { OnFinalDestroy(); });
}

void Window::EndOfWindow(HWND wnd, UINT msg, Window* self) {
    // The handler may have let go of the window or ended the object: only an
    // object still bound hears of the end.
    if (self && Binder().ObjectOf(wnd) == self)
        self->FinalDestroy(wnd, msg);
    else
        Binder().Erase(wnd);
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
    if (msg == WM_NCDESTROY) EndOfWindow(wnd, msg, self);
    return result;
}

LRESULT CALLBACK Window::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto bound = Binder().Find(wnd);
    if (!bound.object) {
        // The object let go while another subclasser was above us.
        if (msg == WM_NCDESTROY) Binder().Erase(wnd);
        return bound.previous ? ::CallWindowProcW(bound.previous, wnd, msg, wParam, lParam)
                              : ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    bound.object->Dispatch(msg, wParam, lParam, &result);
    if (msg == WM_NCDESTROY) EndOfWindow(wnd, msg, bound.object);
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
