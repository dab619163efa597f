// CZylComboApp: the library's module object, and the four exports.
#include "ZylComboCtrl.h"
#include "fw/trace.h"
#include "ZylComboPpg.h"
#include "resource.h"

#include "fw/com_module.h"
#include "fw/com_registration.h"

#include <olectl.h>

namespace {

class CZylComboApp {
public:
    CZylComboApp() { InitInstance(); }

    // The module serves the control and its property page.
    void InitInstance() {
        fw::ComModule& module = fw::ComModule::Get();
        module.AddClass({CZylComboCtrl::Info().clsid, [] { return fw::MakeCom<CZylComboCtrl>().As<IUnknown>(); },
                         [](bool add) {
                             return add ? fw::RegisterControlClass(CZylComboCtrl::Registration())
                                        : fw::UnregisterControlClass(CZylComboCtrl::Registration());
                         }});
        module.AddClass({CLSID_ZylComboPropPage, [] { return fw::MakeCom<CZylComboPropPage>().As<IUnknown>(); },
                         [](bool add) {
                             return add ? fw::RegisterPageClass(CLSID_ZylComboPropPage, IDS_ZYLCOMBO_PPG)
                                        : fw::UnregisterPageClass(CLSID_ZylComboPropPage);
                         }});
    }

    void ExitInstance() { fw::ComModule::Get().Unload(); }
};

CZylComboApp theApp;

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
    try {
        return fw::ComModule::Get().GetClassObject(clsid, iid, out);
    } catch (...) {
        fw::TraceStoppedException("a COM method", __PRETTY_FUNCTION__);
        return E_UNEXPECTED;
    }
}

STDAPI DllRegisterServer() {
    try {
        return fw::ComModule::Get().RegisterServer();
    } catch (...) {
        fw::TraceStoppedException("a COM method", __PRETTY_FUNCTION__);
        return SELFREG_E_CLASS;
    }
}

STDAPI DllUnregisterServer() {
    try {
        return fw::ComModule::Get().UnregisterServer();
    } catch (...) {
        fw::TraceStoppedException("a COM method", __PRETTY_FUNCTION__);
        return SELFREG_E_CLASS;
    }
}
