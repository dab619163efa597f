#include "fw/com.h"

namespace fw {

std::wstring ToWide(std::string_view text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b) return a == b;
    ComPtr<IUnknown> ua, ub;
    a->QueryInterface(IID_IUnknown, ua.put_void());
    b->QueryInterface(IID_IUnknown, ub.put_void());
    return ua && ua == ub;
}

Variant::Variant(const VARIANT& v) : Variant() {
    // VariantCopy refuses nothing we build; on failure the variant stays empty.
    ::VariantCopy(&v_, const_cast<VARIANT*>(&v));
}

Variant Variant::Missing() noexcept {
    Variant r;
    r.v_.vt = VT_ERROR;
    r.v_.scode = DISP_E_PARAMNOTFOUND;
    return r;
}

Variant Variant::ByRef(VARIANT* target) noexcept {
    Variant r;
    r.v_.vt = VT_BYREF | VT_VARIANT;
    r.v_.pvarVal = target;
    return r;
}

Variant Variant::ByRef(VARIANT_BOOL* target) noexcept {
    Variant r;
    r.v_.vt = VT_BYREF | VT_BOOL;
    r.v_.pboolVal = target;
    return r;
}

Variant Variant::ByRef(IDispatch** target) noexcept {
    Variant r;
    r.v_.vt = VT_BYREF | VT_DISPATCH;
    r.v_.ppdispVal = target;
    return r;
}

Variant Variant::ByRef(long* target) noexcept {
    Variant r;
    r.v_.vt = VT_BYREF | VT_I4;
    r.v_.plVal = target;
    return r;
}

Variant Variant::ByRef(BSTR* target) noexcept {
    Variant r;
    r.v_.vt = VT_BYREF | VT_BSTR;
    r.v_.pbstrVal = target;
    return r;
}

Variant Variant::Attach(VARIANT& v) noexcept {
    Variant r;
    r.v_ = v;
    ::VariantInit(&v);
    return r;
}

std::optional<Variant> Variant::Converted(VARTYPE to) const {
    // Follow references first, so a VT_BYREF|VT_VARIANT holding a VT_BOOL
    // converts as the VT_BOOL it points at.
    Variant direct;
    if (FAILED(::VariantCopyInd(direct.put(), const_cast<VARIANT*>(&v_)))) return std::nullopt;
    if (direct.v_.vt == to) return direct;
    // Empty converts to 0 or "" by the rules; null and a missing argument are no value.
    if (direct.v_.vt == VT_NULL || direct.v_.vt == VT_ERROR) return std::nullopt;
    Variant out;
    if (FAILED(::VariantChangeType(out.put(), direct.get(), 0, to))) return std::nullopt;
    return out;
}

std::optional<std::wstring> Variant::AsWString() const {
    auto v = Converted(VT_BSTR);
    if (!v) return std::nullopt;
    const BSTR s = v->v_.bstrVal;
    return std::wstring(s ? s : L"", s ? ::SysStringLen(s) : 0);
}

std::optional<std::string> Variant::AsString() const {
    auto w = AsWString();
    if (!w) return std::nullopt;
    return ToAnsi(*w);
}

std::optional<long> Variant::AsLong() const {
    auto v = Converted(VT_I4);
    if (!v) return std::nullopt;
    return v->v_.lVal;
}

std::optional<bool> Variant::AsBool() const {
    auto v = Converted(VT_BOOL);
    if (!v) return std::nullopt;
    return v->v_.boolVal != VARIANT_FALSE;
}

ComPtr<IDispatch> Variant::AsDispatch() const {
    const VARIANT* v = &v_;
    // A reference to a reference (an argument that is itself VT_BYREF|VT_VARIANT) is legal.
    for (int depth = 0; depth < 4 && v->vt == (VT_BYREF | VT_VARIANT); ++depth) {
        if (!v->pvarVal) return nullptr;
        v = v->pvarVal;
    }
    switch (v->vt) {
    case VT_DISPATCH:
        return v->pdispVal;
    case VT_BYREF | VT_DISPATCH:
        return v->ppdispVal ? *v->ppdispVal : nullptr;
    case VT_UNKNOWN:
    case VT_BYREF | VT_UNKNOWN: {
        IUnknown* unk = v->vt == VT_UNKNOWN ? v->punkVal : (v->ppunkVal ? *v->ppunkVal : nullptr);
        ComPtr<IDispatch> disp;
        if (unk) unk->QueryInterface(IID_IDispatch, disp.put_void());
        return disp;
    }
    default:
        return nullptr;
    }
}

}  // namespace fw
