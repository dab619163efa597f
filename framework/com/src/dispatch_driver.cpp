#include "fw/dispatch.h"

#include <cstring>
#include <vector>

namespace fw {

namespace {

HRESULT Invoke(IDispatch* disp, DISPID id, WORD flags, std::initializer_list<Variant> args, DISPID* named,
               UINT namedCount, VARIANT* result) {
    if (!disp) return E_POINTER;
    // Shallow copies in reverse order: the Variants keep ownership, the
    // callee only reads [in] arguments and writes through references.
    std::vector<VARIANTARG> reversed(args.size());
    size_t i = args.size();
    for (const Variant& a : args) std::memcpy(&reversed[--i], a.get(), sizeof(VARIANTARG));
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named, static_cast<UINT>(reversed.size()),
                      namedCount};
    EXCEPINFO excep{};
    UINT argErr = 0;
    HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &excep, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        if (FAILED(excep.scode)) hr = excep.scode;
    }
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    return hr;
}

}  // namespace

DispResult InvokeDispatch(IDispatch* disp, DISPID id, WORD flags, std::initializer_list<Variant> args) {
    DispResult r;
    r.hr = Invoke(disp, id, flags, args, nullptr, 0, r.value.put());
    if (FAILED(r.hr)) r.value = Variant();
    return r;
}

HRESULT DispatchDriver::Put(DISPID id, const Variant& value) const {
    DISPID named = DISPID_PROPERTYPUT;
    return Invoke(disp_.get(), id, DISPATCH_PROPERTYPUT, {value}, &named, 1, nullptr);
}

HRESULT DispatchDriver::PutRef(DISPID id, const Variant& value) const {
    DISPID named = DISPID_PROPERTYPUT;
    return Invoke(disp_.get(), id, DISPATCH_PROPERTYPUTREF, {value}, &named, 1, nullptr);
}

std::optional<DISPID> DispatchDriver::IdOf(std::wstring_view name) const {
    if (!disp_) return std::nullopt;
    std::wstring copy(name);
    LPOLESTR names[] = {copy.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(disp_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return std::nullopt;
    return id;
}

}  // namespace fw
