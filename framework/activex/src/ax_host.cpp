// Creating, activating, moving and tearing down a hosted control.
#include "ax_site.h"
#include "fw/guard.h"
#include "fw/trace.h"

#include "fw/handles.h"

#include <vector>

namespace fw {

namespace detail {

namespace {

// The live sites of this thread, for keyboard routing.
thread_local std::vector<AxSite*> t_sites;

SIZEL PixelsToHimetric(const RECT& rect) {
    WindowDc screen(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return {::MulDiv(rect.right - rect.left, 2540, dpiX), ::MulDiv(rect.bottom - rect.top, 2540, dpiY)};
}

}  // namespace

HRESULT AxSite::Attach(IUnknown* control, HWND container, const RECT& rect, const AxSetup& setup) {
    if (object_) return E_UNEXPECTED;
    if (!control) return E_POINTER;
    if (!::IsWindow(container)) return E_INVALIDARG;
    ComPtr<IOleObject> object;
    HRESULT hr = control->QueryInterface(IID_IOleObject, object.put_void());
    if (FAILED(hr)) return hr;
    frame_ = MakeCom<AxFrame>(container);
    if (!frame_) return E_OUTOFMEMORY;
    control->QueryInterface(IID_IUnknown, control_.put_void());
    object_ = object;
    container_ = container;
    rect_ = rect;

    IOleClientSite* self = this;
    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    // Some controls read ambient properties while they initialise.
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) hr = object->SetClientSite(self);
    if (SUCCEEDED(hr)) {
        if (auto init = control_.As<IPersistStreamInit>()) {
            if (setup.initialData)
                hr = init->Load(setup.initialData.get());
            else
                init->InitNew();  // some controls refuse a second one; nothing is lost then
        } else if (setup.initialData) {
            auto stream = control_.As<IPersistStream>();
            hr = stream ? stream->Load(setup.initialData.get()) : E_NOINTERFACE;
        }
        if (SUCCEEDED(hr) && !siteFirst) hr = object->SetClientSite(self);
    }
    if (SUCCEEDED(hr) && setup.beforeActivate) {
        hr = ComGuard([&] { return setup.beforeActivate(control_.get()); }, [](HRESULT) { return E_UNEXPECTED; });
    }
    if (SUCCEEDED(hr)) {
        object->SetHostNames(L"fw", nullptr);
        SIZEL extent = PixelsToHimetric(rect_);
        object->SetExtent(DVASPECT_CONTENT, &extent);
        hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, self, 0, container_, &rect_);
    }
    if (FAILED(hr)) {
        Destroy();
        return hr;
    }
    if (HWND wnd = ControlWindow()) ::ShowWindow(wnd, setup.visible ? SW_SHOWNA : SW_HIDE);
    t_sites.push_back(this);
    return S_OK;
}

void AxSite::Destroy() noexcept {
    // The control's calls back into the site may drop the last outside reference.
    ComPtr<AxSite> keep(this);
    std::erase(t_sites, this);
    if (ComPtr<IOleObject> object = object_) {
        if (ComPtr<IOleInPlaceObject> inPlace = inPlace_) {
            if (uiActive_) inPlace->UIDeactivate();
            inPlace->InPlaceDeactivate();
        }
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
    }
    inPlace_.reset();
    if (frame_) frame_->Clear();
    frame_.reset();
    object_.reset();
    control_.reset();
    container_ = nullptr;
    uiActive_ = false;
}

HWND AxSite::ControlWindow() const noexcept {
    HWND wnd = nullptr;
    if (inPlace_ && SUCCEEDED(inPlace_->GetWindow(&wnd))) return wnd;
    return nullptr;
}

HRESULT AxSite::SetRect(const RECT& rect) {
    rect_ = rect;
    if (object_) {
        SIZEL extent = PixelsToHimetric(rect_);
        object_->SetExtent(DVASPECT_CONTENT, &extent);
    }
    if (ComPtr<IOleInPlaceObject> inPlace = inPlace_) return inPlace->SetObjectRects(&rect_, &rect_);
    return S_OK;
}

HRESULT AxSite::UIActivate() {
    if (!object_) return E_UNEXPECTED;
    ComPtr<IOleObject> object = object_;
    return object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, container_, &rect_);
}

bool AxSite::TranslateAccelerator(MSG* msg) {
    if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    ComPtr<IOleInPlaceActiveObject> active = frame_ ? frame_->active() : nullptr;
    if (!active && control_) active = control_.As<IOleInPlaceActiveObject>();
    return active && active->TranslateAccelerator(msg) == S_OK;
}

HRESULT AxSite::AmbientPropertyChanged(DISPID id) {
    auto control = control_.As<IOleControl>();
    return control ? control->OnAmbientPropertyChange(id) : E_NOINTERFACE;
}

static ComPtr<AxSite> SiteOfWindow(HWND wnd) {
    for (AxSite* site : t_sites)
        if (site->ControlWindow() == wnd) return site;
    return nullptr;
}

}  // namespace detail

bool PreTranslateAxMessage(MSG* msg) {
    if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    for (HWND wnd = msg->hwnd; wnd; wnd = ::GetAncestor(wnd, GA_PARENT)) {
        // Held: the control's answer to a key may tear its host down.
        if (ComPtr<detail::AxSite> site = detail::SiteOfWindow(wnd)) return site->TranslateAccelerator(msg);
        if (!(::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

AxKeyboardFilter::AxKeyboardFilter() noexcept
    : hook_(::SetWindowsHookExA(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId())) {}

AxKeyboardFilter::~AxKeyboardFilter() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK AxKeyboardFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the system's loop.
    const bool used = GuardBoundary(
        "a hook",
        [&] {
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            return DescribeWindowMessage(typeid(AxKeyboardFilter), msg ? msg->hwnd : nullptr, msg ? msg->message : 0);
        },
        [](bool) { return false; },
        [&] { return code == MSGF_DIALOGBOX && PreTranslateAxMessage(reinterpret_cast<MSG*>(lParam)); });
    return used ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

AxHost::AxHost() : site_(MakeCom<detail::AxSite>()) {}

AxHost::~AxHost() {
    if (site_) {
        site_->Destroy();
        // The control may keep the site past us: nothing of the owner may be reached then.
        site_->SetAmbientHandler(nullptr);
    }
}

HRESULT AxHost::Create(const CLSID& clsid, HWND container, const RECT& rect, bool visible) {
    AxSetup setup;
    setup.visible = visible;
    return Create(clsid, container, rect, setup);
}

HRESULT AxHost::Create(const CLSID& clsid, HWND container, const RECT& rect, const AxSetup& setup) {
    if (!site_) return E_OUTOFMEMORY;
    if (site_->created()) return E_UNEXPECTED;
    ComPtr<IUnknown> control;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.put_void());
    if (FAILED(hr)) return hr;
    return site_->Attach(control.get(), container, rect, setup);
}

HRESULT AxHost::Attach(IUnknown* control, HWND container, const RECT& rect, bool visible) {
    AxSetup setup;
    setup.visible = visible;
    return Attach(control, container, rect, setup);
}

HRESULT AxHost::Attach(IUnknown* control, HWND container, const RECT& rect, const AxSetup& setup) {
    if (!site_) return E_OUTOFMEMORY;
    return site_->Attach(control, container, rect, setup);
}

void AxHost::Destroy() noexcept {
    if (site_) site_->Destroy();
}

bool AxHost::IsCreated() const noexcept { return site_ && site_->created(); }
bool AxHost::IsInPlaceActive() const noexcept { return site_ && site_->inPlace(); }
HWND AxHost::container() const noexcept { return site_ ? site_->container() : nullptr; }
HWND AxHost::ControlWindow() const noexcept { return site_ ? site_->ControlWindow() : nullptr; }
RECT AxHost::rect() const noexcept { return site_ ? site_->rect() : RECT{}; }

HRESULT AxHost::SetRect(const RECT& rect) { return site_ ? site_->SetRect(rect) : E_OUTOFMEMORY; }

void AxHost::Show(bool visible) noexcept {
    if (HWND wnd = ControlWindow()) ::ShowWindow(wnd, visible ? SW_SHOWNA : SW_HIDE);
}

HRESULT AxHost::UIActivate() { return site_ ? site_->UIActivate() : E_OUTOFMEMORY; }

bool AxHost::TranslateAccelerator(MSG* msg) { return site_ && site_->TranslateAccelerator(msg); }

void AxHost::SetAmbientHandler(AmbientHandler handler) {
    if (site_) site_->SetAmbientHandler(std::move(handler));
}

HRESULT AxHost::AmbientPropertyChanged(DISPID id) {
    return site_ ? site_->AmbientPropertyChanged(id) : E_OUTOFMEMORY;
}

ComPtr<IUnknown> AxHost::Control() const { return site_ ? site_->control() : nullptr; }

ComPtr<IDispatch> AxHost::Dispatch() const { return Control().As<IDispatch>(); }

ComPtr<IOleClientSite> AxHost::Site() const { return site_ ? static_cast<IOleClientSite*>(site_.get()) : nullptr; }

ComPtr<IDispatch> AxHost::AmbientDispatch() const {
    return site_ ? static_cast<IDispatch*>(site_.get()) : nullptr;
}

}  // namespace fw
