#include "fw/com_module.h"
#include "fw/trace.h"

#include "fw/com_object.h"
#include "fw/com_registration.h"

#include <olectl.h>

#include <algorithm>

// The image this code is linked into: a library's own, not the host's.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace fw {

namespace {

class ModuleClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ModuleClassFactory(ComModule::Creator create) : create_(std::move(create)) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return ComGuard([&] {
            ComPtr<IUnknown> obj = create_ ? create_() : nullptr;
            if (!obj) return E_OUTOFMEMORY;
            return obj->QueryInterface(iid, out);
        });
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ComModule::Get().Lock();
        else
            ComModule::Get().Unlock();
        return S_OK;
    }

private:
    ComModule::Creator create_;
};

}  // namespace

ComModule::ComModule() : instance_(reinterpret_cast<HINSTANCE>(&__ImageBase)) {}

ComModule& ComModule::Get() {
    static ComModule module;
    return module;
}

std::string ComModule::Path() const {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = ::GetModuleFileNameA(instance_, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ComModule::LoadString(UINT id) const {
    // With a zero length, LoadStringW hands out the resource's own text.
    const wchar_t* text = nullptr;
    const int len = ::LoadStringW(instance_, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (len <= 0 || !text) return {};
    return ToAnsi(std::wstring_view(text, static_cast<size_t>(len)));
}

void ComModule::AddClass(Class c) {
    for (Class& known : classes_) {
        if (known.clsid == c.clsid) {
            known = std::move(c);
            return;
        }
    }
    classes_.push_back(std::move(c));
}

bool ComModule::HasClass(const CLSID& clsid) const {
    return std::any_of(classes_.begin(), classes_.end(), [&](const Class& c) { return c.clsid == clsid; });
}

HRESULT ComModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ComGuard([&] {
        for (const Class& c : classes_) {
            if (c.clsid != clsid) continue;
            ComPtr<IClassFactory> factory = MakeModuleClassFactory(c.create);
            if (!factory) return E_OUTOFMEMORY;
            return factory->QueryInterface(iid, out);
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    });
}

HRESULT ComModule::CanUnloadNow() const noexcept {
    return objects_ == 0 && locks_ == 0 ? S_OK : S_FALSE;
}

HRESULT ComModule::RegisterServer() noexcept {
    return ComGuard(
        [&] {
            if (FAILED(RegisterModuleTypeLib())) return SELFREG_E_TYPELIB;
            for (const Class& c : classes_)
                if (c.registrar && FAILED(c.registrar(true))) return SELFREG_E_CLASS;
            return S_OK;
        },
        [](HRESULT) { return SELFREG_E_CLASS; });
}

HRESULT ComModule::UnregisterServer() noexcept {
    return ComGuard(
        [&] {
            const bool typeLibGone = SUCCEEDED(UnregisterModuleTypeLib());
            bool classesGone = true;
            for (const Class& c : classes_)
                if (c.registrar && FAILED(c.registrar(false))) classesGone = false;
            if (!typeLibGone) return SELFREG_E_TYPELIB;
            return classesGone ? S_OK : SELFREG_E_CLASS;
        },
        [](HRESULT) { return SELFREG_E_CLASS; });
}

void ComModule::RememberWindowClass(std::string name) {
    if (std::find(windowClasses_.begin(), windowClasses_.end(), name) == windowClasses_.end())
        windowClasses_.push_back(std::move(name));
}

void ComModule::Unload() noexcept {
    for (const std::string& name : windowClasses_) ::UnregisterClassA(name.c_str(), instance_);
    windowClasses_.clear();
}

ComPtr<IClassFactory> MakeModuleClassFactory(ComModule::Creator create) {
    ComPtr<ModuleClassFactory> factory = MakeCom<ModuleClassFactory>(std::move(create));
    return factory ? ComPtr<IClassFactory>(factory.get()) : nullptr;
}

}  // namespace fw
