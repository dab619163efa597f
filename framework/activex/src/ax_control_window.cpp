// In-place activation of a control: the reflector window in the container,
// the control's own window (a superclass of a system class) inside it, and
// the view of the control for a container that draws it.
#include "fw/ax_control.h"
#include "fw/guard.h"
#include "fw/trace.h"

#include "fw/handles.h"
#include "fw/window.h"
#include "../../windows/src/window_binder.h"

#include <algorithm>
#include <map>
#include <string>

namespace fw {

namespace {

constexpr char kReflectorClass[] = "fwAxReflector";
constexpr int kControlId = 1;

}  // namespace

// The window procedures: static, so they reach the control's private parts.
struct AxControlWindows {
    // The control's window and its reflector, both bound to the control.
    static detail::WindowBinder<AxControl>& Binder() { return detail::WindowBinder<AxControl>::Get(); }
    static AxControl* Of(HWND wnd) { return Binder().ObjectOf(wnd); }

    static LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        AxControl* self = Of(wnd);
        if (!self && msg == WM_NCCREATE) {
            self = static_cast<AxControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            if (self) {
                self->wnd_ = wnd;
                Binder().Bind(wnd, self);
            }
        }
        if (!self) return Unbound(wnd, msg, wParam, lParam);
        const LRESULT result = self->Dispatch(msg, wParam, lParam);
        if (msg == WM_NCDESTROY && Of(wnd) == self) {
            Binder().Erase(wnd);
            self->wnd_ = nullptr;
        }
        return result;
    }

    // Before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let go: the system class's own processing.
    static LRESULT Unbound(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        char name[64] = {};
        ::GetClassNameA(wnd, name, sizeof(name));
        auto it = Originals().find(name);
        return it != Originals().end() ? ::CallWindowProcA(it->second, wnd, msg, wParam, lParam)
                                       : ::DefWindowProcA(wnd, msg, wParam, lParam);
    }

    static LRESULT CALLBACK ReflectorProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* self = static_cast<AxControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            if (self) Binder().Bind(wnd, self);
        }
        AxControl* self = Of(wnd);
        if (msg == WM_NCDESTROY) Binder().Erase(wnd);
        if (!self) return ::DefWindowProcA(wnd, msg, wParam, lParam);
        switch (msg) {
            case WM_COMMAND:
                if (!lParam) break;  // menus and accelerators are not the control's
                [[fallthrough]];
            case WM_NOTIFY:
            case WM_DRAWITEM:
            case WM_MEASUREITEM:
            case WM_DELETEITEM:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
                return self->Reflect(msg, wParam, lParam);
            case WM_SETFOCUS:
                if (self->wnd_) ::SetFocus(self->wnd_);
                return 0;
            case WM_ERASEBKGND:
                return 1;  // the control covers us
            default:
                break;
        }
        return ::DefWindowProcA(wnd, msg, wParam, lParam);
    }

    // The system class's procedure, per superclass registered in the module.
    static std::map<std::string, WNDPROC>& Originals() {
        static std::map<std::string, WNDPROC> originals;
        return originals;
    }

    // Registers (once) the module's superclass of a system class.
    static bool Superclass(const char* system, std::string* name, WNDPROC* original) {
        *name = std::string("fwAx.") + (system ? system : "Window");
        auto& originals = Originals();
        auto it = originals.find(*name);
        if (it != originals.end()) {
            *original = it->second;
            return true;
        }
        HINSTANCE module = ComModule::Get().instance();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        if (system) {
            if (!::GetClassInfoExA(nullptr, system, &wc)) return false;
        } else {
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
            wc.style = CS_DBLCLKS;
        }
        *original = wc.lpfnWndProc;
        wc.cbSize = sizeof(wc);
        wc.style &= ~CS_GLOBALCLASS;
        wc.lpfnWndProc = ControlProc;
        wc.hInstance = module;
        wc.lpszClassName = name->c_str();
        if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        ComModule::Get().RememberWindowClass(*name);
        originals[*name] = *original;
        return true;
    }

    static bool Reflector() {
        HINSTANCE module = ComModule::Get().instance();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        if (::GetClassInfoExA(module, kReflectorClass, &wc)) return true;
        wc.lpfnWndProc = ReflectorProc;
        wc.hInstance = module;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kReflectorClass;
        if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        ComModule::Get().RememberWindowClass(kReflectorClass);
        return true;
    }
};

LRESULT AxControl::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing unwinds through the system's frames.
    return GuardBoundary(
        "a window procedure", [&] { return DescribeWindowMessage(typeid(*this), wnd_, msg); },
        [](bool) -> LRESULT { return 0; }, [&] { return HandleMessage(msg, wParam, lParam); });
}

LRESULT AxControl::Reflect(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(kReflectBase + msg, wParam, lParam);
}

LRESULT AxControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= kReflectBase && msg < kReflectBase + WM_USER) {
        // A notification the control leaves alone: the reflector's default, as a parent would give it.
        return reflector_ ? ::DefWindowProcA(reflector_, msg - kReflectBase, wParam, lParam) : 0;
    }
    return Default(msg, wParam, lParam);
}

LRESULT AxControl::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!wnd_) return 0;
    return superProc_ ? ::CallWindowProcA(superProc_, wnd_, msg, wParam, lParam)
                      : ::DefWindowProcA(wnd_, msg, wParam, lParam);
}

bool AxControl::CreateWindows(HWND parent, const RECT& pos) {
    std::string className;
    if (!AxControlWindows::Superclass(info_.superclass, &className, &superProc_)) return false;
    if (!AxControlWindows::Reflector()) return false;
    HINSTANCE module = ComModule::Get().instance();
    const int width = pos.right - pos.left, height = pos.bottom - pos.top;
    reflector_ = ::CreateWindowExA(0, kReflectorClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, pos.left,
                                   pos.top, width, height, parent, nullptr, module, this);
    if (!reflector_) return false;
    CREATESTRUCTA cs{};
    cs.style = WS_CHILD | WS_VISIBLE;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = reflector_;
    cs.hInstance = module;
    cs.lpszClass = className.c_str();
    PreCreateWindow(cs);
    HWND wnd =
        ::CreateWindowExA(cs.dwExStyle, className.c_str(), cs.lpszName ? cs.lpszName : "", cs.style, 0, 0, width,
                          height, reflector_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), module, this);
    if (!wnd) {
        DestroyWindows();
        return false;
    }
    PlaceWindows(pos);
    OnCreated();
    ::ShowWindow(reflector_, SW_SHOWNA);
    return true;
}

void AxControl::PlaceWindows(const RECT& pos) {
    const int width = pos.right - pos.left, height = pos.bottom - pos.top;
    if (wnd_) ::SetWindowPos(wnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // A combo box keeps the height of its face; the reflector takes the size
    // the control really has, so it hides nothing of the container.
    int w = width, h = height;
    if (wnd_) {
        const RECT actual = ScreenRectOf(wnd_);
        w = std::min<int>(w, actual.right - actual.left);
        h = std::min<int>(h, actual.bottom - actual.top);
    }
    if (reflector_) ::SetWindowPos(reflector_, nullptr, pos.left, pos.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AxControl::DestroyWindows() noexcept {
    if (HWND wnd = wnd_) {
        // No message of the teardown reaches the object: it may be going away.
        AxControlWindows::Binder().Erase(wnd);
        wnd_ = nullptr;
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_ ? superProc_ : ::DefWindowProcA));
        ::DestroyWindow(wnd);
    }
    if (HWND reflector = reflector_) {
        AxControlWindows::Binder().Erase(reflector);
        reflector_ = nullptr;
        ::DestroyWindow(reflector);
    }
}

HRESULT AxControl::InPlaceActivate(IOleClientSite* site, bool uiActivate) {
    if (!inPlaceSite_) {
        IOleClientSite* active = site ? site : clientSite_.get();
        if (!active) return E_UNEXPECTED;
        ComPtr<IOleInPlaceSite> inPlace;
        if (FAILED(active->QueryInterface(IID_IOleInPlaceSite, inPlace.put_void()))) return E_NOINTERFACE;
        if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
        HRESULT hr = inPlace->OnInPlaceActivate();
        if (FAILED(hr)) return hr;
        inPlaceSite_ = inPlace;
        HWND parent = nullptr;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        hr = inPlace->GetWindow(&parent);
        if (SUCCEEDED(hr)) hr = inPlace->GetWindowContext(frame_.put(), doc_.put(), &pos, &clip, &frameInfo);
        if (SUCCEEDED(hr) && !CreateWindows(parent, pos)) hr = E_FAIL;
        if (FAILED(hr)) {
            frame_.reset();
            doc_.reset();
            inPlaceSite_.reset();
            inPlace->OnInPlaceDeactivate();
            return hr;
        }
    } else if (reflector_) {
        ::ShowWindow(reflector_, SW_SHOWNA);
    }
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        IOleInPlaceActiveObject* self = this;
        if (frame_) frame_->SetActiveObject(self, nullptr);
        if (doc_) doc_->SetActiveObject(self, nullptr);
        if (wnd_) ::SetFocus(wnd_);
    }
    return S_OK;
}

STDMETHODIMP AxControl::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = reflector_ ? reflector_ : wnd_;
    return *wnd ? S_OK : E_FAIL;
}

STDMETHODIMP AxControl::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (doc_) doc_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP AxControl::InPlaceDeactivate() {
    if (!inPlaceSite_) return S_OK;
    // Held: the site's answers may drop the container's last reference.
    ComPtr<IUnknown> keep(static_cast<IOleObject*>(this));
    UIDeactivate();
    DestroyWindows();
    ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    frame_.reset();
    doc_.reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP AxControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    PlaceWindows(*pos);
    return S_OK;
}

// ---- IViewObject2 ----

void AxControl::OnDraw(HDC dc, const RECT& bounds) {
    if (wnd_ && superProc_) {
        // The superclass paints its face into our DC (a paint message with the DC given).
        const int saved = ::SaveDC(dc);
        ::SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        ::CallWindowProcA(superProc_, wnd_, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        ::RestoreDC(dc, saved);
        return;
    }
    COLORREF colour = 0;
    ::OleTranslateColor(backColor_, nullptr, &colour);
    const Brush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &bounds, brush.get());
}

STDMETHODIMP AxControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                             BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc) return E_INVALIDARG;
    RECT rc{0, 0, 0, 0};
    if (bounds) {
        rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    } else if (wnd_) {
        ::GetClientRect(wnd_, &rc);
    } else {
        return E_INVALIDARG;
    }
    return ComGuard([&] {
        OnDraw(dc, rc);
        return S_OK;
    });
}

STDMETHODIMP AxControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP AxControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = sink;
    return S_OK;
}

STDMETHODIMP AxControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) viewSink_.CopyTo(sink);
    return S_OK;
}

STDMETHODIMP AxControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

}  // namespace fw
