// CZylComboApp: the library's module object: the control and its page.
// The exports are the framework's (framework/com/src/com_module_exports.cpp).
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
