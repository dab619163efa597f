#include "fw/com_registration.h"

#include "fw/com.h"
#include "fw/com_module.h"
#include "fw/registry.h"

#include <olectl.h>

#include <cstdio>

namespace fw {

namespace {

bool WriteDefault(const std::string& path, const std::string& value) {
    RegKey key = CreateKey(HKEY_CLASSES_ROOT, path, KEY_WRITE);
    return key && WriteString(key.get(), nullptr, value);
}

bool WriteNamed(const std::string& path, const char* name, const std::string& value) {
    RegKey key = CreateKey(HKEY_CLASSES_ROOT, path, KEY_WRITE);
    return key && WriteString(key.get(), name, value);
}

bool KeyExists(HKEY root, const std::string& path) {
    return static_cast<bool>(OpenKey(root, path, KEY_READ));
}

// The in-process server entries every class of the module has.
bool WriteServerEntries(const std::string& classKey, const std::string& userType, const std::string& threading) {
    bool ok = WriteDefault(classKey, userType);
    ok = ok && WriteDefault(classKey + "\\InprocServer32", ComModule::Get().Path());
    if (ok && !threading.empty()) ok = WriteNamed(classKey + "\\InprocServer32", "ThreadingModel", threading);
    return ok;
}

ComPtr<ITypeLib> ModuleTypeLib(REGKIND kind) {
    ComPtr<ITypeLib> lib;
    const std::wstring path = ToWide(ComModule::Get().Path());
    if (FAILED(::LoadTypeLibEx(path.c_str(), kind, lib.put()))) return nullptr;
    return lib;
}

std::string HexVersion(WORD major, WORD minor) {
    char text[16];
    std::snprintf(text, sizeof(text), "%x.%x", major, minor);
    return text;
}

}  // namespace

std::string GuidText(const GUID& guid) {
    wchar_t wide[40] = {};
    if (::StringFromGUID2(guid, wide, 40) == 0) return {};
    return ToAnsi(wide);
}

HRESULT RegisterControlClass(const ControlClassInfo& info) {
    const ComModule& module = ComModule::Get();
    const std::string clsid = GuidText(info.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    const std::string userType = module.LoadString(info.userTypeId);
    bool ok = WriteServerEntries(classKey, userType, info.threadingModel);
    ok = ok && WriteDefault(classKey + "\\Control", "");
    if (ok && info.insertable) ok = WriteDefault(classKey + "\\Insertable", "");
    if (ok && !info.progId.empty()) {
        ok = WriteDefault(classKey + "\\ProgID", info.progId) && WriteDefault(info.progId, userType) &&
             WriteDefault(info.progId + "\\CLSID", clsid);
    }
    if (ok && info.toolboxBitmapId)
        ok = WriteDefault(classKey + "\\ToolboxBitmap32", module.Path() + ", " + std::to_string(info.toolboxBitmapId));
    // OleRegGetMiscStatus reads the aspect's own value, else the default one.
    ok = ok && WriteDefault(classKey + "\\MiscStatus", "0") &&
         WriteDefault(classKey + "\\MiscStatus\\1", std::to_string(info.miscStatus));
    ok = ok && WriteDefault(classKey + "\\TypeLib", GuidText(info.libid)) &&
         WriteDefault(classKey + "\\Version", std::to_string(info.libMajor) + "." + std::to_string(info.libMinor));
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterControlClass(const ControlClassInfo& info) {
    bool ok = DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidText(info.clsid));
    if (!info.progId.empty()) ok = DeleteKeyTree(HKEY_CLASSES_ROOT, info.progId) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT RegisterPageClass(const CLSID& clsid, UINT userTypeId) {
    const std::string classKey = "CLSID\\" + GuidText(clsid);
    return WriteServerEntries(classKey, ComModule::Get().LoadString(userTypeId), "") ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterPageClass(const CLSID& clsid) {
    return DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidText(clsid)) ? S_OK : SELFREG_E_CLASS;
}

HRESULT RegisterModuleTypeLib() {
    return ModuleTypeLib(REGKIND_REGISTER) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT UnregisterModuleTypeLib() {
    ComPtr<ITypeLib> lib = ModuleTypeLib(REGKIND_NONE);
    if (!lib) return SELFREG_E_TYPELIB;
    TLIBATTR* attr = nullptr;
    if (FAILED(lib->GetLibAttr(&attr)) || !attr) return SELFREG_E_TYPELIB;
    const TLIBATTR a = *attr;
    lib->ReleaseTLibAttr(attr);
    // Nothing to undo when the library is not registered: a second unregistration succeeds too.
    if (!KeyExists(HKEY_CLASSES_ROOT,
                   "TypeLib\\" + GuidText(a.guid) + "\\" + HexVersion(a.wMajorVerNum, a.wMinorVerNum)))
        return S_OK;
    return SUCCEEDED(::UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind))
               ? S_OK
               : SELFREG_E_TYPELIB;
}

}  // namespace fw
