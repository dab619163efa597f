// The in-process COM server this code is linked into: its instance (the
// resources come from here, not from the host program), the object and lock
// counts behind DllCanUnloadNow, and its table of classes, each with a
// factory and the registry entries it writes and removes itself.
//
//   fw::ComModule::Get().AddClass(fw::ControlModuleClass<MyControl>());
//   STDAPI DllGetClassObject(REFCLSID c, REFIID i, void** o) { return fw::ComModule::Get().GetClassObject(c, i, o); }
//   STDAPI DllCanUnloadNow() { return fw::ComModule::Get().CanUnloadNow(); }
//   STDAPI DllRegisterServer() { return fw::ComModule::Get().RegisterServer(); }
//   STDAPI DllUnregisterServer() { return fw::ComModule::Get().UnregisterServer(); }
//   DllMain: if (reason == DLL_PROCESS_DETACH) fw::ComModule::Get().Detach(reserved);
#pragma once

#include "fw/com.h"
#include "fw/com_object.h"
#include "fw/com_registration.h"
#include "fw/guard.h"

#include <functional>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

namespace fw {

class ComModule {
public:
    using Creator = std::function<ComPtr<IUnknown>()>;
    // Writes (add) or removes the class's registry entries.
    using Registrar = std::function<HRESULT(bool add)>;
    struct Class {
        CLSID clsid;
        Creator create;
        Registrar registrar;
    };

    static ComModule& Get();

    // The module holding this code (the library when linked into one).
    HINSTANCE instance() const noexcept { return instance_; }
    // Its full file path.
    std::string Path() const;
    // A string resource of the module, whole.
    std::string LoadString(UINT id) const;

    void AddClass(Class c);
    bool HasClass(const CLSID& clsid) const;

    // Objects alive and external locks (IClassFactory::LockServer).
    void AddObject() noexcept { ::InterlockedIncrement(&objects_); }
    void ReleaseObject() noexcept { ::InterlockedDecrement(&objects_); }
    void Lock() noexcept { ::InterlockedIncrement(&locks_); }
    void Unlock() noexcept { ::InterlockedDecrement(&locks_); }
    LONG Objects() const noexcept { return objects_; }
    LONG Locks() const noexcept { return locks_; }

    // The bodies of the library's exports, each a COM method's boundary
    // (fw::ComGuard): nothing thrown leaves them.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept;
    HRESULT CanUnloadNow() const noexcept;
    // Registers the type library held as resource TYPELIB 1, then every class:
    // S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS (also for an exception).
    HRESULT RegisterServer() noexcept;
    // Undoes both steps; each is tried whatever the other gave, and entries
    // already gone count as removed.
    HRESULT UnregisterServer() noexcept;

    // A window class the module registered; unregistered by Unload.
    void RememberWindowClass(std::string name);
    // For DLL_PROCESS_DETACH: the module's window classes go with it.
    void Unload() noexcept;
    // DllMain's DLL_PROCESS_DETACH with its `reserved`: Unload, except at
    // process exit (reserved set), where the system takes the classes itself.
    void Detach(LPVOID reserved) noexcept {
        if (!reserved) Unload();
    }

private:
    ComModule();

    HINSTANCE instance_;
    std::vector<Class> classes_;
    std::vector<std::string> windowClasses_;
    volatile LONG objects_ = 0;
    volatile LONG locks_ = 0;
};

// A member of every object the module serves: counts it alive.
class ModuleObjectCount {
public:
    ModuleObjectCount() noexcept { ComModule::Get().AddObject(); }
    ~ModuleObjectCount() { ComModule::Get().ReleaseObject(); }
    ModuleObjectCount(const ModuleObjectCount&) = delete;
    ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};

// The library's own class object for one class of the module.
ComPtr<IClassFactory> MakeModuleClassFactory(ComModule::Creator create);

// A class of the module that is an ActiveX control: Control::Info().clsid,
// made with MakeCom, its entries written from Control::Registration().
template <typename Control>
ComModule::Class ControlModuleClass() {
    return {Control::Info().clsid, [] { return MakeCom<Control>().template As<IUnknown>(); },
            [](bool add) {
                return add ? RegisterControlClass(Control::Registration())
                           : UnregisterControlClass(Control::Registration());
            }};
}

// A property page class of the module, its user type a string resource.
template <typename Page>
ComModule::Class PageModuleClass(const CLSID& clsid, UINT userTypeId) {
    return {clsid, [] { return MakeCom<Page>().template As<IUnknown>(); },
            [clsid, userTypeId](bool add) {
                return add ? RegisterPageClass(clsid, userTypeId) : UnregisterPageClass(clsid);
            }};
}

}  // namespace fw
