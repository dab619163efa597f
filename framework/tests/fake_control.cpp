#include "fake_control.h"

#include <olectl.h>

#include <stdexcept>

namespace fakes {

FakeControl::~FakeControl() {
    if (wnd_) ::DestroyWindow(wnd_);
    log_->destroyed = true;
}

void* FakeControl::QueryExtra(REFIID iid) {
    if (iid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
    return nullptr;
}

void FakeControl::AskUserMode() {
    auto ambient = site_.As<IDispatch>();
    if (!ambient) return;
    DISPPARAMS none{};
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr,
                                  nullptr)) &&
        v.vt == VT_BOOL)
        log_->userModeAnswer = v.boolVal ? 1 : 0;
    ::VariantClear(&v);
}

STDMETHODIMP FakeControl::SetClientSite(IOleClientSite* site) {
    site_ = site;
    Log(site ? "SetClientSite" : "SetClientSite(null)");
    if (site) AskUserMode();
    return S_OK;
}

STDMETHODIMP FakeControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    Log("DoVerb(" + std::to_string(verb) + ")");
    if (!site) return E_INVALIDARG;
    if (verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE) {
        if (!wnd_) {
            if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite_.put_void()))) return E_NOINTERFACE;
            if (inPlaceSite_->CanInPlaceActivate() != S_OK) return E_FAIL;
            inPlaceSite_->OnInPlaceActivate();
            HWND parent = nullptr;
            inPlaceSite_->GetWindow(&parent);
            fw::ComPtr<IOleInPlaceUIWindow> doc;
            RECT pos{}, clip{};
            OLEINPLACEFRAMEINFO info{};
            info.cb = sizeof(info);
            if (FAILED(inPlaceSite_->GetWindowContext(frame_.put(), doc.put(), &pos, &clip, &info))) return E_FAIL;
            wnd_ = ::CreateWindowExA(0, "STATIC", "fake", WS_CHILD | WS_VISIBLE, pos.left, pos.top,
                                     pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
        }
        if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
            uiActive_ = true;
            inPlaceSite_->OnUIActivate();
            auto active = fw::MakeCom<FakeActiveObject>(log_, wnd_);
            if (frame_) frame_->SetActiveObject(active.get(), L"fake");
        }
    }
    return S_OK;
}

STDMETHODIMP FakeControl::UIDeactivate() {
    Log("UIDeactivate");
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP FakeControl::InPlaceDeactivate() {
    Log("InPlaceDeactivate");
    if (uiActive_) UIDeactivate();
    if (wnd_) ::DestroyWindow(wnd_);
    wnd_ = nullptr;
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_.reset();
    frame_.reset();
    return S_OK;
}

STDMETHODIMP FakeControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    Log("SetObjectRects");
    if (wnd_ && pos) ::MoveWindow(wnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

STDMETHODIMP FakeControl::TranslateAccelerator(LPMSG msg) {
    Log("TranslateAccelerator");
    if (log_->throwOnKey) throw std::runtime_error("accelerator failure");
    return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F5 ? S_OK : S_FALSE;
}

STDMETHODIMP FakeControl::OnAmbientPropertyChange(DISPID id) { return Log("OnAmbientPropertyChange(" + std::to_string(id) + ")"); }

}  // namespace fakes
