// CZylComboApp: the library's module object, and the four exports.
#include "ZylComboCtrl.h"
#include "ZylComboPpg.h"
#include "resource.h"

#include "fw/com_module.h"

namespace {

// The module serves the control and its property page.
struct CZylComboApp {
    CZylComboApp() {
        fw::ComModule& module = fw::ComModule::Get();
        module.AddClass(fw::ControlModuleClass<CZylComboCtrl>());
        module.AddClass(fw::PageModuleClass<CZylComboPropPage>(CLSID_ZylComboPropPage, IDS_ZYLCOMBO_PPG));
    }
};

CZylComboApp theApp;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH) fw::ComModule::Get().Detach(reserved);
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return fw::ComModule::Get().CanUnloadNow();
}
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return fw::ComModule::Get().GetClassObject(clsid, iid, out);
}
STDAPI DllRegisterServer() {
    return fw::ComModule::Get().RegisterServer();
}
STDAPI DllUnregisterServer() {
    return fw::ComModule::Get().UnregisterServer();
}
