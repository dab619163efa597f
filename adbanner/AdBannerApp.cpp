// The stand-in banner library's module object serving the banner class.
// The exports are the framework's (framework/com/src/com_module_exports.cpp).
#include "AdBannerCtrl.h"

#include "fw/com_module.h"

namespace {

struct CAdBannerApp {
    CAdBannerApp() { fw::ComModule::Get().AddClass(fw::ControlModuleClass<CAdBannerCtrl>()); }
};

CAdBannerApp theApp;

}  // namespace
