// Automation calls: the arguments of an incoming IDispatch::Invoke read and
// written in their real types (DispArgs), and outgoing calls by dispatch id
// with arguments in natural order (DispatchDriver).
#pragma once

#include "fw/com.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace fw {

// The positional arguments of one Invoke, indexed in natural order (index 0
// is the first parameter; DISPPARAMS stores them last-first). Readers follow
// references and coerce by automation's rules; setters write through a
// by-reference argument in the type it really points at.
class DispArgs {
public:
    explicit DispArgs(DISPPARAMS* params) noexcept : p_(params) {}

    UINT Count() const noexcept;
    // The argument as passed (possibly a reference); null when out of range.
    VARIANT* Raw(UINT index) const noexcept;
    // A named argument (such as DISPID_PROPERTYPUT's value), or null.
    VARIANT* Named(DISPID id) const noexcept;

    // A by-value copy of the argument, references followed; empty when absent.
    Variant Value(UINT index) const;
    std::string String(UINT index, std::string fallback = {}) const;
    std::wstring WString(UINT index) const;
    long Long(UINT index, long fallback = 0) const;
    bool Bool(UINT index, bool fallback = false) const;
    ComPtr<IDispatch> Dispatch(UINT index) const;
    bool IsReference(UINT index) const noexcept;

    // For arguments from another process, which are checked, not coerced:
    // a string by value or by reference (directly or through a referenced
    // VARIANT; a null BSTR is empty) gives S_OK, a missing argument
    // DISP_E_BADPARAMCOUNT, any other type DISP_E_TYPEMISMATCH.
    HRESULT StringArgument(UINT index, std::string* out) const;

    // By-reference out-parameters. Accepted: VT_BYREF|VT_BOOL (written as a
    // VARIANT_BOOL), VT_BYREF|VT_VARIANT (the variant becomes VT_BOOL, or a
    // reference it holds is written through). False for a by-value argument.
    bool SetBool(UINT index, bool value) const noexcept;
    // VT_BYREF|VT_DISPATCH (the old pointer is released, the new one
    // AddRef'd) or VT_BYREF|VT_VARIANT (becomes VT_DISPATCH).
    bool SetDispatch(UINT index, IDispatch* value) const noexcept;
    // VT_BYREF|VT_I4 or VT_BYREF|VT_VARIANT.
    bool SetLong(UINT index, long value) const noexcept;

private:
    DISPPARAMS* p_;
};

// The outcome of an outgoing call: its HRESULT and the returned value.
struct DispResult {
    HRESULT hr = E_FAIL;
    Variant value;
    explicit operator bool() const noexcept { return SUCCEEDED(hr); }
};

// One automation call; args in natural order. Exception details are freed.
DispResult InvokeDispatch(IDispatch* disp, DISPID id, WORD flags, std::initializer_list<Variant> args);

// Calls methods and properties of one dispatch interface by dispatch id.
class DispatchDriver {
public:
    DispatchDriver() = default;
    explicit DispatchDriver(ComPtr<IDispatch> disp) : disp_(std::move(disp)) {}

    void Attach(ComPtr<IDispatch> disp) { disp_ = std::move(disp); }
    void Release() noexcept { disp_.reset(); }
    IDispatch* get() const noexcept { return disp_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(disp_); }

    DispResult Call(DISPID id, std::initializer_list<Variant> args = {}) const {
        return InvokeDispatch(disp_.get(), id, DISPATCH_METHOD, args);
    }
    DispResult Get(DISPID id, std::initializer_list<Variant> args = {}) const {
        return InvokeDispatch(disp_.get(), id, DISPATCH_PROPERTYGET, args);
    }
    HRESULT Put(DISPID id, const Variant& value) const;
    HRESULT PutRef(DISPID id, const Variant& value) const;

    // GetIDsOfNames for one name.
    std::optional<DISPID> IdOf(std::wstring_view name) const;

private:
    ComPtr<IDispatch> disp_;
};

}  // namespace fw
