#include "fw/dispatch_object.h"
#include "fw/guard.h"

namespace fw {

DispatchObject::DispatchObject(std::initializer_list<IID> extraInterfaces) : extra_(extraInterfaces) {}

void DispatchObject::AddMethod(DISPID id, std::wstring name, UINT paramCount, Method method) {
    for (Member& m : members_) {
        if (m.id == id) {
            m = {id, std::move(name), paramCount, std::move(method)};
            return;
        }
    }
    members_.push_back({id, std::move(name), paramCount, std::move(method)});
}

const DispatchObject::Member* DispatchObject::Find(DISPID id) const {
    for (const Member& m : members_)
        if (m.id == id) return &m;
    return nullptr;
}

void* DispatchObject::QueryExtra(REFIID iid) {
    for (const IID& e : extra_)
        if (iid == e) return static_cast<IDispatch*>(this);
    return nullptr;
}

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    // Only the member name is known; parameter names are not.
    HRESULT hr = S_OK;
    ids[0] = DISPID_UNKNOWN;
    for (const Member& m : members_) {
        if (names[0] && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, names[0], -1, m.name.c_str(), -1) ==
                            CSTR_EQUAL) {
            ids[0] = m.id;
            break;
        }
    }
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* excep, UINT* argErr) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (result) ::VariantInit(result);
    const Member* m = Find(id);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    const DispArgs args(params ? params : &none);
    if (params && params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (args.Count() != m->paramCount) return DISP_E_BADPARAMCOUNT;
    if (argErr) *argErr = 0;
    // The member may release the last outside reference or change the
    // table; the object and the function stay alive for the call.
    ComPtr<IDispatch> self(this);
    return ComGuard(
        [&] {
            const Method method = m->method;
            Variant value;
            const HRESULT hr = method(args, result ? &value : nullptr);
            if (SUCCEEDED(hr) && result) value.Detach(result);
            return hr;
        },
        [&](HRESULT hr) {
            if (excep) {
                *excep = EXCEPINFO{};
                excep->scode = hr;
            }
            return DISP_E_EXCEPTION;
        });
}

}  // namespace fw
