// The stand-in banner library's module object and its four exports.
#include "AdBannerCtrl.h"

#include "fw/com_module.h"

namespace {

struct CAdBannerApp {
    CAdBannerApp() { fw::ComModule::Get().AddClass(fw::ControlModuleClass<CAdBannerCtrl>()); }
};

CAdBannerApp theApp;

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
