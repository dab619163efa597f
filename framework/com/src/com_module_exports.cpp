// The four exports and DllMain of an in-process control library, one line
// each over the library's fw::ComModule; linked into each control library
// (vessa_com_module_exports), whose own code only adds its classes.
#include "fw/com_module.h"

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
