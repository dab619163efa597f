// COM value owners: interface pointers, BSTRs, VARIANTs, and the OLE
// apartment of a thread. Every AddRef has its Release, every allocation its
// free, in the owner's destructor.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

// ANSI (the process code page) to wide and back.
std::wstring ToWide(std::string_view text);
std::string ToAnsi(std::wstring_view text);

// Owns one reference to an interface. Constructing or assigning from a raw
// pointer takes a new reference; Attach adopts one the caller already owns.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ComPtr(T* p) noexcept : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) noexcept : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& o) noexcept {
        ComPtr(o).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        ComPtr(std::move(o)).swap(*this);
        return *this;
    }
    ComPtr& operator=(T* p) noexcept {
        ComPtr(p).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        reset();
        return *this;
    }

    static ComPtr Attach(T* owned) noexcept {
        ComPtr r;
        r.p_ = owned;
        return r;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Gives up the reference without releasing it.
    T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    void swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    // For out-parameters: releases what is held and hands out the slot.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // Hands a new reference to an out-parameter (of T or a base of T).
    template <typename U>
    HRESULT CopyTo(U** out) const noexcept {
        if (!out) return E_POINTER;
        *out = p_;
        if (p_) p_->AddRef();
        return S_OK;
    }

    // QueryInterface; an empty pointer when the object lacks the interface.
    template <typename U>
    ComPtr<U> As() const noexcept {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(__uuidof(U), r.put_void());
        return r;
    }
    template <typename U>
    HRESULT As(const IID& iid, ComPtr<U>* out) const noexcept {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out->put_void());
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    T* p_ = nullptr;
};

// True when both pointers reach the same object (COM identity through IUnknown).
bool SameObject(IUnknown* a, IUnknown* b);

// Owns a BSTR. Move-only; Copy makes a second string.
class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(const wchar_t* text) : s_(text ? ::SysAllocString(text) : nullptr) {}
    explicit Bstr(std::wstring_view text) : s_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    static Bstr FromAnsi(std::string_view text) { return Bstr(std::wstring_view(ToWide(text))); }
    static Bstr Attach(BSTR owned) noexcept {
        Bstr b;
        b.s_ = owned;
        return b;
    }
    ~Bstr() { reset(); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) {
            reset();
            s_ = std::exchange(o.s_, nullptr);
        }
        return *this;
    }

    BSTR get() const noexcept { return s_; }
    BSTR release() noexcept { return std::exchange(s_, nullptr); }
    void reset() noexcept {
        if (BSTR old = std::exchange(s_, nullptr)) ::SysFreeString(old);
    }
    BSTR* put() noexcept {
        reset();
        return &s_;
    }
    Bstr Copy() const { return s_ ? Attach(::SysAllocStringLen(s_, ::SysStringLen(s_))) : Bstr(); }

    // A null BSTR is the empty string in automation.
    UINT length() const noexcept { return s_ ? ::SysStringLen(s_) : 0; }
    std::wstring_view view() const noexcept { return {s_ ? s_ : L"", length()}; }
    std::string ToAnsi() const { return fw::ToAnsi(view()); }

private:
    BSTR s_ = nullptr;
};

// Owns a VARIANT: cleared with VariantClear, copied with VariantCopy. The
// constructors make by-value variants; ByRef makes references to caller
// storage, which the variant does not own.
class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    Variant(int value) noexcept : Variant() { SetLong(value); }
    Variant(long value) noexcept : Variant() { SetLong(value); }
    // Exactly bool: a pointer (an HWND, say) must not turn into VT_BOOL unnoticed.
    Variant(std::same_as<bool> auto value) noexcept : Variant() {
        v_.vt = VT_BOOL;
        v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    Variant(double value) noexcept : Variant() {
        v_.vt = VT_R8;
        v_.dblVal = value;
    }
    Variant(const char* text) : Variant(std::string_view(text ? text : "")) {}
    Variant(const std::string& text) : Variant(std::string_view(text)) {}
    Variant(std::string_view text) : Variant() { SetBstr(Bstr::FromAnsi(text)); }
    Variant(const wchar_t* text) : Variant(std::wstring_view(text ? text : L"")) {}
    Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
    Variant(std::wstring_view text) : Variant() { SetBstr(Bstr(text)); }
    Variant(IDispatch* disp) noexcept : Variant() {
        v_.vt = VT_DISPATCH;
        v_.pdispVal = disp;
        if (disp) disp->AddRef();
    }
    Variant(IUnknown* unk) noexcept : Variant() {
        v_.vt = VT_UNKNOWN;
        v_.punkVal = unk;
        if (unk) unk->AddRef();
    }
    Variant(const VARIANT& v);  // deep copy

    // An omitted optional argument of an automation call.
    static Variant Missing() noexcept;
    static Variant ByRef(VARIANT* target) noexcept;
    static Variant ByRef(VARIANT_BOOL* target) noexcept;
    static Variant ByRef(IDispatch** target) noexcept;
    static Variant ByRef(long* target) noexcept;
    static Variant ByRef(BSTR* target) noexcept;
    // Adopts the contents of v and leaves v empty.
    static Variant Attach(VARIANT& v) noexcept;

    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant& o) : Variant(o.v_) {}
    Variant(Variant&& o) noexcept : v_(o.v_) { ::VariantInit(&o.v_); }
    Variant& operator=(const Variant& o) {
        Variant(o).swap(*this);
        return *this;
    }
    Variant& operator=(Variant&& o) noexcept {
        Variant(std::move(o)).swap(*this);
        return *this;
    }
    void swap(Variant& o) noexcept { std::swap(v_, o.v_); }

    VARTYPE vt() const noexcept { return v_.vt; }
    bool IsEmpty() const noexcept { return v_.vt == VT_EMPTY; }
    const VARIANT* get() const noexcept { return &v_; }
    VARIANT* get() noexcept { return &v_; }
    // For out-parameters: clears and hands out the variant.
    VARIANT* put() noexcept {
        ::VariantClear(&v_);
        return &v_;
    }
    // Moves the contents into a caller's variant (uninitialised or cleared).
    void Detach(VARIANT* out) noexcept {
        *out = v_;
        ::VariantInit(&v_);
    }

    // Converted values; references are followed. Empty when the value does
    // not convert (automation's own coercion rules).
    std::optional<std::string> AsString() const;
    std::optional<std::wstring> AsWString() const;
    std::optional<long> AsLong() const;
    std::optional<bool> AsBool() const;
    // VT_DISPATCH (or a reference to one), else an IUnknown that answers IDispatch.
    ComPtr<IDispatch> AsDispatch() const;

    // Convenience forms with a fallback.
    std::string ToString(std::string fallback = {}) const { return AsString().value_or(std::move(fallback)); }
    long ToLong(long fallback = 0) const { return AsLong().value_or(fallback); }
    bool ToBool(bool fallback = false) const { return AsBool().value_or(fallback); }

private:
    void SetLong(long value) noexcept {
        v_.vt = VT_I4;
        v_.lVal = value;
    }
    void SetBstr(Bstr text) noexcept {
        v_.vt = VT_BSTR;
        v_.bstrVal = text.release();
    }
    std::optional<Variant> Converted(VARTYPE to) const;

    VARIANT v_;
};

// The COM apartment of the calling thread for the guard's life (CoInitializeEx).
class ComApartment {
public:
    explicit ComApartment(DWORD flags = COINIT_APARTMENTTHREADED) noexcept : hr_(::CoInitializeEx(nullptr, flags)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_FALSE when the thread was already initialised (still balanced);
    // RPC_E_CHANGED_MODE for another kind of apartment (nothing to undo).
    HRESULT result() const noexcept { return hr_; }
    explicit operator bool() const noexcept { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// The OLE apartment of the calling thread for the guard's life (OleInitialize:
// single-threaded, with drag and drop and in-place activation).
class OleApartment {
public:
    OleApartment() noexcept : hr_(::OleInitialize(nullptr)) {}
    ~OleApartment() {
        if (SUCCEEDED(hr_)) ::OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

    // S_FALSE when the thread was already initialised (still balanced).
    HRESULT result() const noexcept { return hr_; }
    explicit operator bool() const noexcept { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

}  // namespace fw
