// IDispatch answered through a type library's description of one
// dispinterface: names, parameter counts and types come from the type
// information, so arguments arrive coerced to the declared types and results
// leave in them; the members themselves are C++ functions keyed by DISPID.
//
//   fw::TypeDispatch disp;
//   disp.Load(typeInfoOfTheDispinterface);
//   disp.AddMethod(3, [this](const fw::DispArgs&, fw::Variant* r) { *r = fw::Variant(Count()); return S_OK; });
//   disp.AddProperty(1, getSort, putSort);
//   // in the object's IDispatch::Invoke: return disp.Invoke(id, iid, lcid, flags, params, result, excep, argErr);
#pragma once

#include "fw/com.h"
#include "fw/dispatch.h"

#include <functional>
#include <map>
#include <vector>

namespace fw {

class TypeDispatch {
public:
    // The result goes to *result (null when the caller wants none).
    using Method = std::function<HRESULT(const DispArgs& args, Variant* result)>;
    using Getter = std::function<HRESULT(Variant* result)>;
    // The value arrives coerced to the property's type.
    using Putter = std::function<HRESULT(const Variant& value)>;

    // Reads the dispinterface's members from its type information.
    HRESULT Load(ComPtr<ITypeInfo> info);
    ITypeInfo* info() const noexcept { return info_.get(); }

    void AddMethod(DISPID id, Method method);
    void AddProperty(DISPID id, Getter get, Putter put);

    // The declared parameter count of a member, -1 when the type information lacks it.
    int ParamCount(DISPID id) const;

    // The bodies of IDispatch.
    HRESULT GetTypeInfoCount(UINT* count) const;
    HRESULT GetTypeInfo(UINT index, ITypeInfo** out) const;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const;
    HRESULT Invoke(DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                   UINT* argErr) const;

private:
    struct Declared {
        bool property = false;
        bool readOnly = false;
        std::vector<VARTYPE> params;
        VARTYPE result = VT_EMPTY;
    };
    struct Implemented {
        Method method;
        Getter get;
        Putter put;
    };
    VARTYPE Resolve(const TYPEDESC& desc) const;
    HRESULT InvokeProperty(DISPID id, const Declared& d, const Implemented& m, WORD flags, DISPPARAMS* params,
                           VARIANT* result, UINT* argErr) const;
    HRESULT InvokeMethod(const Declared& d, const Implemented& m, DISPPARAMS* params, VARIANT* result,
                         UINT* argErr) const;

    ComPtr<ITypeInfo> info_;
    std::map<DISPID, Declared> declared_;
    std::map<DISPID, Implemented> implemented_;
};

// Converts a value to an automation type in place (VT_VARIANT: as it is);
// false when it does not convert.
bool CoerceVariant(Variant& value, VARTYPE to);

}  // namespace fw
