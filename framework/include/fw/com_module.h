// The in-process COM server this code is linked into: its instance (the
// resources come from here, not from the host program), the object and lock
// counts behind DllCanUnloadNow, and its table of classes, each with a
// factory and the registry entries it writes and removes itself.
//
//   fw::ComModule& m = fw::ComModule::Get();
//   m.AddClass({kClsid, [] { return fw::MakeCom<MyControl>().As<IUnknown>(); },
//               [](bool add) { return add ? fw::RegisterControlClass(info) : fw::UnregisterControlClass(info); }});
//   STDAPI DllGetClassObject(REFCLSID c, REFIID i, void** o) { return fw::ComModule::Get().GetClassObject(c, i, o); }
#pragma once

#include "fw/com.h"
#include "fw/trace.h"

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

    // The bodies of the library's exports.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
    HRESULT CanUnloadNow() const noexcept;
    // Registers the type library held as resource TYPELIB 1, then every class:
    // S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
    HRESULT RegisterServer();
    // Undoes both steps; each is tried whatever the other gave, and entries
    // already gone count as removed.
    HRESULT UnregisterServer();

    // A window class the module registered; unregistered by Unload.
    void RememberWindowClass(std::string name);
    // For DLL_PROCESS_DETACH: the module's window classes go with it.
    void Unload() noexcept;

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

// Runs the body of a COM method: nothing thrown leaves it (an allocation
// that fails is E_OUTOFMEMORY, anything else E_UNEXPECTED).
template <typename Body>
HRESULT ComGuard(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        TraceStoppedException("a COM method", TypeName(typeid(Body)));
        return E_OUTOFMEMORY;
    } catch (...) {
        TraceStoppedException("a COM method", TypeName(typeid(Body)));
        return E_UNEXPECTED;
    }
}

// The library's own class object for one class of the module.
ComPtr<IClassFactory> MakeModuleClassFactory(ComModule::Creator create);

}  // namespace fw
