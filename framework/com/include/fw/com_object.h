// Server-side COM helpers: a reference-counted implementation of IUnknown
// for a list of interfaces, a class factory, and guards for class-object and
// running-object-table registrations.
#pragma once

#include "fw/com.h"

#include <functional>
#include <new>

namespace fw {

// Implements IUnknown once for every interface in the list (a member of the
// most derived class overrides the same virtual in every base). Counts are
// atomic; the object deletes itself at zero. QueryInterface answers
// IUnknown and each listed interface; QueryExtra adds more (base interfaces
// such as IOleWindow, or identifiers known only at run time).
template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
        } else {
            (void)((iid == __uuidof(Interfaces) ? (*out = static_cast<Interfaces*>(this), true) : false) || ...);
            if (!*out) *out = QueryExtra(iid);
        }
        if (!*out) return E_NOINTERFACE;
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComObject() = default;
    // Another interface of this object, not yet AddRef'd; null when none.
    virtual void* QueryExtra(REFIID) { return nullptr; }

private:
    template <typename First, typename...>
    struct Head {
        using type = First;
    };
    using FirstInterface = typename Head<Interfaces...>::type;

    volatile LONG refs_ = 1;  // the creator's reference, adopted by MakeCom
};

// Creates a COM object and hands back its one reference.
template <typename T, typename... Args>
ComPtr<T> MakeCom(Args&&... args) {
    return ComPtr<T>::Attach(new (std::nothrow) T(std::forward<Args>(args)...));
}

// Counts what keeps an out-of-process server alive: external locks from
// IClassFactory::LockServer and any objects the program chooses to count.
class ServerLocks {
public:
    static LONG Lock() noexcept { return ::InterlockedIncrement(&count_); }
    static LONG Unlock() noexcept { return ::InterlockedDecrement(&count_); }
    static LONG Count() noexcept { return count_; }

private:
    static inline volatile LONG count_ = 0;
};

// A class factory whose CreateInstance calls a creator function.
class ClassFactory final : public ComObject<IClassFactory> {
public:
    using Creator = std::function<ComPtr<IUnknown>()>;
    explicit ClassFactory(Creator creator) : creator_(std::move(creator)) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    Creator creator_;
};

// A factory that makes a T with its default constructor.
template <typename T>
ComPtr<ClassFactory> MakeClassFactory() {
    return MakeCom<ClassFactory>([]() -> ComPtr<IUnknown> {
        ComPtr<T> obj = MakeCom<T>();
        ComPtr<IUnknown> unk;
        if (obj) obj->QueryInterface(IID_IUnknown, unk.put_void());
        return unk;
    });
}

// CoRegisterClassObject for the guard's life.
class ClassObjectRegistration {
public:
    ClassObjectRegistration() noexcept = default;
    ~ClassObjectRegistration() { Revoke(); }
    ClassObjectRegistration(const ClassObjectRegistration&) = delete;
    ClassObjectRegistration& operator=(const ClassObjectRegistration&) = delete;

    HRESULT Register(const CLSID& clsid, IUnknown* factory, DWORD context = CLSCTX_LOCAL_SERVER,
                     DWORD flags = REGCLS_MULTIPLEUSE);
    void Revoke() noexcept;
    bool registered() const noexcept { return cookie_ != 0; }

private:
    DWORD cookie_ = 0;
};

// RegisterActiveObject (the running object table) for the guard's life.
class ActiveObjectRegistration {
public:
    ActiveObjectRegistration() noexcept = default;
    ~ActiveObjectRegistration() { Revoke(); }
    ActiveObjectRegistration(const ActiveObjectRegistration&) = delete;
    ActiveObjectRegistration& operator=(const ActiveObjectRegistration&) = delete;

    // ACTIVEOBJECT_STRONG keeps the object alive while it is registered.
    HRESULT Register(IUnknown* object, const CLSID& clsid, DWORD flags = ACTIVEOBJECT_STRONG);
    void Revoke() noexcept;
    bool registered() const noexcept { return cookie_ != 0; }

private:
    DWORD cookie_ = 0;
};

// The running object registered for a class id (GetActiveObject), or empty.
ComPtr<IUnknown> GetActiveObjectOf(const CLSID& clsid);

}  // namespace fw
