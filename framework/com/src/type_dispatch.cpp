#include "fw/type_dispatch.h"
#include "fw/guard.h"

namespace fw {

bool CoerceVariant(Variant& value, VARTYPE to) {
    if (to == VT_VARIANT || to == VT_EMPTY) return true;
    Variant converted;
    // VariantChangeType follows a reference in the source.
    if (FAILED(::VariantChangeType(converted.get(), value.get(), 0, to))) return false;
    value = std::move(converted);
    return true;
}

VARTYPE TypeDispatch::Resolve(const TYPEDESC& desc) const {
    if (desc.vt != VT_USERDEFINED) return desc.vt;
    ComPtr<ITypeInfo> ref;
    if (FAILED(info_->GetRefTypeInfo(desc.hreftype, ref.put()))) return VT_VARIANT;
    TYPEATTR* attr = nullptr;
    if (FAILED(ref->GetTypeAttr(&attr)) || !attr) return VT_VARIANT;
    VARTYPE vt = VT_VARIANT;
    if (attr->typekind == TKIND_ALIAS && attr->tdescAlias.vt != VT_USERDEFINED) vt = attr->tdescAlias.vt;
    if (attr->typekind == TKIND_ENUM) vt = VT_I4;
    ref->ReleaseTypeAttr(attr);
    return vt;
}

HRESULT TypeDispatch::Load(ComPtr<ITypeInfo> info) {
    declared_.clear();
    info_ = std::move(info);
    if (!info_) return E_POINTER;
    TYPEATTR* attr = nullptr;
    HRESULT hr = info_->GetTypeAttr(&attr);
    if (FAILED(hr) || !attr) return FAILED(hr) ? hr : E_FAIL;
    const WORD funcs = attr->cFuncs, vars = attr->cVars;
    info_->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < funcs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info_->GetFuncDesc(i, &f)) || !f) continue;
        Declared d;
        d.property = f->invkind != INVOKE_FUNC;
        for (SHORT p = 0; p < f->cParams; ++p) d.params.push_back(Resolve(f->lprgelemdescParam[p].tdesc));
        d.result = Resolve(f->elemdescFunc.tdesc);
        if (d.result == VT_VOID || d.result == VT_HRESULT) d.result = VT_EMPTY;
        declared_[f->memid] = d;
        info_->ReleaseFuncDesc(f);
    }
    for (UINT i = 0; i < vars; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(info_->GetVarDesc(i, &v)) || !v) continue;
        Declared d;
        d.property = true;
        d.readOnly = (v->wVarFlags & VARFLAG_FREADONLY) != 0;
        d.result = Resolve(v->elemdescVar.tdesc);
        declared_[v->memid] = d;
        info_->ReleaseVarDesc(v);
    }
    return S_OK;
}

void TypeDispatch::AddMethod(DISPID id, Method method) {
    implemented_[id] = {std::move(method), {}, {}};
}

void TypeDispatch::AddProperty(DISPID id, Getter get, Putter put) {
    implemented_[id] = {{}, std::move(get), std::move(put)};
}

int TypeDispatch::ParamCount(DISPID id) const {
    auto it = declared_.find(id);
    return it == declared_.end() ? -1 : static_cast<int>(it->second.params.size());
}

HRESULT TypeDispatch::GetTypeInfoCount(UINT* count) const {
    if (!count) return E_POINTER;
    *count = info_ ? 1 : 0;
    return S_OK;
}

HRESULT TypeDispatch::GetTypeInfo(UINT index, ITypeInfo** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0 || !info_) return DISP_E_BADINDEX;
    return info_.CopyTo(out);
}

HRESULT TypeDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    if (!info_) return DISP_E_UNKNOWNNAME;
    return info_->GetIDsOfNames(names, count, ids);
}

HRESULT TypeDispatch::Invoke(DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                             UINT* argErr) const {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (result) ::VariantInit(result);
    auto d = declared_.find(id);
    auto m = implemented_.find(id);
    if (d == declared_.end() || m == implemented_.end()) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    if (!params) params = &none;
    return ComGuard(
        [&] {
            // The member may release the caller's last reference to its object; the
            // implementation stays alive for the call.
            const Implemented impl = m->second;
            if (d->second.property) return InvokeProperty(id, d->second, impl, flags, params, result, argErr);
            if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
            return InvokeMethod(d->second, impl, params, result, argErr);
        },
        [&](HRESULT hr) {
            if (excep) {
                *excep = EXCEPINFO{};
                excep->scode = hr;
            }
            return DISP_E_EXCEPTION;
        });
}

HRESULT TypeDispatch::InvokeProperty(DISPID, const Declared& d, const Implemented& m, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, UINT* argErr) const {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (d.readOnly || !m.put) return DISP_E_MEMBERNOTFOUND;
        if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
        Variant value(params->rgvarg[0]);
        if (!CoerceVariant(value, d.result)) {
            if (argErr) *argErr = 0;
            return DISP_E_TYPEMISMATCH;
        }
        return m.put(value);
    }
    if (!(flags & DISPATCH_PROPERTYGET) || !m.get) return DISP_E_MEMBERNOTFOUND;
    if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    Variant value;
    const HRESULT hr = m.get(&value);
    if (FAILED(hr)) return hr;
    if (!CoerceVariant(value, d.result)) return DISP_E_TYPEMISMATCH;
    if (result) value.Detach(result);
    return hr;
}

HRESULT TypeDispatch::InvokeMethod(const Declared& d, const Implemented& m, DISPPARAMS* params, VARIANT* result,
                                   UINT* argErr) const {
    if (!m.method) return DISP_E_MEMBERNOTFOUND;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const UINT count = params->cArgs;
    if (count != d.params.size()) return DISP_E_BADPARAMCOUNT;
    // Stored last-first, like the caller's.
    std::vector<Variant> coerced(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT slot = count - 1 - i;
        coerced[slot] = Variant(params->rgvarg[slot]);
        if (!CoerceVariant(coerced[slot], d.params[i])) {
            if (argErr) *argErr = slot;
            return DISP_E_TYPEMISMATCH;
        }
    }
    std::vector<VARIANT> raw(count);
    for (UINT i = 0; i < count; ++i) raw[i] = *coerced[i].get();  // borrowed: coerced keeps ownership
    DISPPARAMS mine{raw.empty() ? nullptr : raw.data(), nullptr, count, 0};
    Variant value;
    const HRESULT hr = m.method(DispArgs(&mine), result ? &value : nullptr);
    if (FAILED(hr)) return hr;
    if (result && d.result != VT_EMPTY) {
        if (!CoerceVariant(value, d.result)) return DISP_E_TYPEMISMATCH;
        value.Detach(result);
    }
    return hr;
}

}  // namespace fw
