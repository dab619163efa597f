// The registry entries of an in-process server's classes and type library,
// written from the module's own path and string resources.
#pragma once

#include <windows.h>

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

}  // namespace fw
