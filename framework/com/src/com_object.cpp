#include "fw/com_object.h"
#include "fw/guard.h"

namespace fw {

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return ComGuard([&] {
        ComPtr<IUnknown> obj = creator_ ? creator_() : nullptr;
        if (!obj) return E_OUTOFMEMORY;
        return obj->QueryInterface(iid, out);
    });
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock)
        ServerLocks::Lock();
    else
        ServerLocks::Unlock();
    return S_OK;
}

HRESULT ClassObjectRegistration::Register(const CLSID& clsid, IUnknown* factory, DWORD context, DWORD flags) {
    Revoke();
    if (!factory) return E_POINTER;
    DWORD cookie = 0;
    const HRESULT hr = ::CoRegisterClassObject(clsid, factory, context, flags, &cookie);
    if (SUCCEEDED(hr)) cookie_ = cookie;
    return hr;
}

void ClassObjectRegistration::Revoke() noexcept {
    if (cookie_) ::CoRevokeClassObject(std::exchange(cookie_, 0));
}

HRESULT ActiveObjectRegistration::Register(IUnknown* object, const CLSID& clsid, DWORD flags) {
    Revoke();
    if (!object) return E_POINTER;
    DWORD cookie = 0;
    const HRESULT hr = ::RegisterActiveObject(object, clsid, flags, &cookie);
    if (SUCCEEDED(hr)) cookie_ = cookie;
    return hr;
}

void ActiveObjectRegistration::Revoke() noexcept {
    if (cookie_) ::RevokeActiveObject(std::exchange(cookie_, 0), nullptr);
}

ComPtr<IUnknown> GetActiveObjectOf(const CLSID& clsid) {
    ComPtr<IUnknown> unk;
    if (FAILED(::GetActiveObject(clsid, nullptr, unk.put()))) return nullptr;
    return unk;
}

}  // namespace fw
