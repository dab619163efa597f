#include "fw/dispatch.h"

namespace fw {

namespace {

// Where an out-parameter is written: a reference of the wanted type (the
// argument itself, or one held in a referenced variant), or a referenced
// variant that holds no reference and may be retyped. Neither for a
// by-value argument: writing it would reach no caller.
struct OutSlot {
    VARIANT* ref = nullptr;
    VARIANT* retype = nullptr;
};

OutSlot FindOut(VARIANT* arg, VARTYPE byrefType) noexcept {
    if (!arg) return {};
    if (arg->vt == byrefType) return {arg, nullptr};
    if (arg->vt != (VT_BYREF | VT_VARIANT) || !arg->pvarVal) return {};
    VARIANT* inner = arg->pvarVal;
    if (inner->vt == byrefType) return {inner, nullptr};
    if (inner->vt & VT_BYREF) return {};
    return {nullptr, inner};
}

}  // namespace

UINT DispArgs::Count() const noexcept {
    if (!p_ || !p_->rgvarg || p_->cNamedArgs > p_->cArgs) return 0;
    return p_->cArgs - p_->cNamedArgs;
}

VARIANT* DispArgs::Raw(UINT index) const noexcept {
    if (index >= Count()) return nullptr;
    return &p_->rgvarg[p_->cArgs - 1 - index];
}

VARIANT* DispArgs::Named(DISPID id) const noexcept {
    if (!p_ || !p_->rgvarg || !p_->rgdispidNamedArgs || p_->cNamedArgs > p_->cArgs) return nullptr;
    for (UINT i = 0; i < p_->cNamedArgs; ++i)
        if (p_->rgdispidNamedArgs[i] == id) return &p_->rgvarg[i];
    return nullptr;
}

Variant DispArgs::Value(UINT index) const {
    Variant out;
    if (VARIANT* v = Raw(index)) {
        if (FAILED(::VariantCopyInd(out.put(), v))) out = Variant();
    }
    return out;
}

std::string DispArgs::String(UINT index, std::string fallback) const {
    return Value(index).ToString(std::move(fallback));
}

HRESULT DispArgs::StringArgument(UINT index, std::string* out) const {
    const VARIANT* v = Raw(index);
    if (!v) return DISP_E_BADPARAMCOUNT;
    if (v->vt == (VT_BYREF | VT_VARIANT)) {
        if (!v->pvarVal) return DISP_E_TYPEMISMATCH;
        v = v->pvarVal;
    }
    BSTR text = nullptr;
    if (v->vt == VT_BSTR)
        text = v->bstrVal;
    else if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal)
        text = *v->pbstrVal;
    else
        return DISP_E_TYPEMISMATCH;
    *out = ToAnsi(std::wstring_view(text ? text : L"", text ? ::SysStringLen(text) : 0));
    return S_OK;
}

std::wstring DispArgs::WString(UINT index) const { return Value(index).AsWString().value_or(std::wstring()); }

long DispArgs::Long(UINT index, long fallback) const { return Value(index).ToLong(fallback); }

bool DispArgs::Bool(UINT index, bool fallback) const { return Value(index).ToBool(fallback); }

ComPtr<IDispatch> DispArgs::Dispatch(UINT index) const {
    VARIANT* v = Raw(index);
    return v ? Variant::ByRef(v).AsDispatch() : nullptr;
}

bool DispArgs::IsReference(UINT index) const noexcept {
    VARIANT* v = Raw(index);
    return v && (v->vt & VT_BYREF) != 0;
}

bool DispArgs::SetBool(UINT index, bool value) const noexcept {
    const VARIANT_BOOL vb = value ? VARIANT_TRUE : VARIANT_FALSE;
    const OutSlot slot = FindOut(Raw(index), VT_BYREF | VT_BOOL);
    if (slot.ref && slot.ref->pboolVal) {
        *slot.ref->pboolVal = vb;
        return true;
    }
    if (!slot.retype) return false;
    ::VariantClear(slot.retype);
    slot.retype->vt = VT_BOOL;
    slot.retype->boolVal = vb;
    return true;
}

bool DispArgs::SetDispatch(UINT index, IDispatch* value) const noexcept {
    const OutSlot slot = FindOut(Raw(index), VT_BYREF | VT_DISPATCH);
    if (slot.ref && slot.ref->ppdispVal) {
        // In/out: the caller's old pointer is ours to release.
        if (value) value->AddRef();
        if (IDispatch* old = *slot.ref->ppdispVal) old->Release();
        *slot.ref->ppdispVal = value;
        return true;
    }
    if (!slot.retype) return false;
    if (value) value->AddRef();
    ::VariantClear(slot.retype);
    slot.retype->vt = VT_DISPATCH;
    slot.retype->pdispVal = value;
    return true;
}

bool DispArgs::SetLong(UINT index, long value) const noexcept {
    const OutSlot slot = FindOut(Raw(index), VT_BYREF | VT_I4);
    if (slot.ref && slot.ref->plVal) {
        *slot.ref->plVal = value;
        return true;
    }
    if (!slot.retype) return false;
    ::VariantClear(slot.retype);
    slot.retype->vt = VT_I4;
    slot.retype->lVal = value;
    return true;
}

}  // namespace fw
