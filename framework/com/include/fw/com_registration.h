// The registry entries of an in-process server's classes and type library,
// written from the module's own path and string resources; and those of the
// classes a program serves itself (a local server), with their factories.
#pragma once

#include "fw/com_object.h"

#include <windows.h>

#include <optional>
#include <string>

namespace fw {

// "{0F3550B0-...}" for a GUID.
std::string GuidText(const GUID& guid);

// An ActiveX control class: class id, ProgID, user type name, toolbox
// bitmap, miscellaneous status and its type library.
struct ControlClassInfo {
    CLSID clsid;
    std::string progId;
    UINT userTypeId = 0;       // string resource of the module
    UINT toolboxBitmapId = 0;  // bitmap resource of the module
    DWORD miscStatus = 0;
    GUID libid;
    WORD libMajor = 1;
    WORD libMinor = 0;
    bool insertable = false;
    std::string threadingModel;  // empty: none written
};

HRESULT RegisterControlClass(const ControlClassInfo& info);
// Removes the class id and ProgID keys; keys already gone are no failure.
HRESULT UnregisterControlClass(const ControlClassInfo& info);

// A property page class: its class id and user type name.
HRESULT RegisterPageClass(const CLSID& clsid, UINT userTypeId);
HRESULT UnregisterPageClass(const CLSID& clsid);

// Registers the module's type library (resource TYPELIB 1).
HRESULT RegisterModuleTypeLib();
// Unregisters the module's type library; a library that is not registered
// (any more) is no failure.
HRESULT UnregisterModuleTypeLib();

// A class a program serves: its entries go under HKLM\Software\Classes,
// because Wine's COM reads no per-user classes.
struct ServerClassInfo {
    CLSID clsid;
    std::string progId;  // empty: no ProgID
    std::string userType;
};

// Writes the class id key (user type, LocalServer32 naming the quoted
// program path, ProgID) and the ProgID key (user type, CLSID). A second
// class written with the same ProgID takes it over.
HRESULT RegisterServerClass(const ServerClassInfo& info, const std::string& programPath);
// Removes the class id key, and the ProgID key while it still names this class.
HRESULT UnregisterServerClass(const ServerClassInfo& info);

// The class id a ProgID names in the registry, or nothing.
std::optional<CLSID> ClassIdOfProgId(const std::string& progId);
// The full path of the running program.
std::string RunningProgramPath();

// One class a program serves: its class factory (objects from a creator),
// the factory's registration with COM while the program runs, and its
// registry entries.
class ServerClass {
public:
    // flags: REGCLS_SINGLEUSE when each object a client creates needs a
    // server process of its own, else REGCLS_MULTIPLEUSE.
    ServerClass(ServerClassInfo info, ClassFactory::Creator creator, DWORD flags = REGCLS_MULTIPLEUSE);
    ServerClass(const ServerClass&) = delete;
    ServerClass& operator=(const ServerClass&) = delete;

    const ServerClassInfo& Info() const noexcept { return info_; }
    // Rewrites the registry entries for the running program.
    HRESULT UpdateRegistry() const;
    // Offers the factory to COM's clients until Revoke (or the object's end).
    HRESULT RegisterRunning();
    void Revoke() noexcept { registration_.Revoke(); }
    bool IsRunning() const noexcept { return registration_.registered(); }

private:
    ServerClassInfo info_;
    ComPtr<ClassFactory> factory_;
    DWORD flags_;
    ClassObjectRegistration registration_;
};

}  // namespace fw
