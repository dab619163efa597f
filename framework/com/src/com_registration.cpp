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

// Keys of the classes Wine's COM reads.
constexpr char kMachineClasses[] = "Software\\Classes\\";

bool WriteMachineDefault(const std::string& path, const std::string& value) {
    RegKey key = CreateKey(HKEY_LOCAL_MACHINE, kMachineClasses + path, KEY_WRITE);
    return key && WriteString(key.get(), nullptr, value);
}

std::optional<std::string> ReadMachineDefault(const std::string& path) {
    RegKey key = OpenKey(HKEY_LOCAL_MACHINE, kMachineClasses + path, KEY_READ);
    if (!key) return std::nullopt;
    return ReadString(key.get(), nullptr);
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

HRESULT RegisterServerClass(const ServerClassInfo& info, const std::string& programPath) {
    const std::string clsid = GuidText(info.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    bool ok = WriteMachineDefault(classKey, info.userType) &&
              WriteMachineDefault(classKey + "\\LocalServer32", "\"" + programPath + "\"");
    if (ok && !info.progId.empty())
        ok = WriteMachineDefault(classKey + "\\ProgID", info.progId) &&
             WriteMachineDefault(info.progId, info.userType) && WriteMachineDefault(info.progId + "\\CLSID", clsid);
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServerClass(const ServerClassInfo& info) {
    const std::string clsid = GuidText(info.clsid);
    bool ok = DeleteKeyTree(HKEY_LOCAL_MACHINE, kMachineClasses + ("CLSID\\" + clsid));
    // Another class may have taken the ProgID over since.
    if (!info.progId.empty() && ReadMachineDefault(info.progId + "\\CLSID") == clsid)
        ok = DeleteKeyTree(HKEY_LOCAL_MACHINE, kMachineClasses + info.progId) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}

std::optional<CLSID> ClassIdOfProgId(const std::string& progId) {
    CLSID clsid{};
    if (FAILED(::CLSIDFromProgID(ToWide(progId).c_str(), &clsid))) return std::nullopt;
    return clsid;
}

std::string RunningProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ServerClass::ServerClass(ServerClassInfo info, ClassFactory::Creator creator, DWORD flags)
    : info_(std::move(info)), factory_(MakeCom<ClassFactory>(std::move(creator))), flags_(flags) {}

HRESULT ServerClass::UpdateRegistry() const {
    return RegisterServerClass(info_, RunningProgramPath());
}

HRESULT ServerClass::RegisterRunning() {
    if (!factory_) return E_OUTOFMEMORY;
    return registration_.Register(info_.clsid, factory_.get(), CLSCTX_LOCAL_SERVER, flags_);
}

}  // namespace fw
