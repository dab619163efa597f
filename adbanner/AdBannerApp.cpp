// The stand-in banner library's module object and its four exports.
#include "AdBannerCtrl.h"

#include "fw/com_module.h"
#include "fw/com_registration.h"

#include <olectl.h>

namespace {

class CAdBannerApp {
public:
    CAdBannerApp() {
        fw::ComModule::Get().AddClass({CAdBannerCtrl::Info().clsid,
                                       [] { return fw::MakeCom<CAdBannerCtrl>().As<IUnknown>(); },
                                       [](bool add) {
                                           return add ? fw::RegisterControlClass(CAdBannerCtrl::Registration())
                                                      : fw::UnregisterControlClass(CAdBannerCtrl::Registration());
                                       }});
    }
    void ExitInstance() { fw::ComModule::Get().Unload(); }
};

CAdBannerApp theApp;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // At process exit (reserved set) the system takes the window classes itself.
    if (reason == DLL_PROCESS_DETACH && !reserved) theApp.ExitInstance();
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return fw::ComModule::Get().CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return fw::ComGuard([&] { return fw::ComModule::Get().GetClassObject(clsid, iid, out); });
}

STDAPI DllRegisterServer() {
    try {
        return fw::ComModule::Get().RegisterServer();
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

STDAPI DllUnregisterServer() {
    try {
        return fw::ComModule::Get().UnregisterServer();
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
