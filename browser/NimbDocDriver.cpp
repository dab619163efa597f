#include "NimbDocDriver.h"

#include "fw/com_object.h"
#include "fw/com_registration.h"

HRESULT CNimbDocDriver::SetFocusOnLinkItem(const std::string& path) const {
    return Call(NimbDocIds::kSetFocusOnLinkItem, {fw::Variant(path)}).hr;
}

HRESULT CNimbDocDriver::ShowManager() const {
    return Call(NimbDocIds::kShowManager).hr;
}

HRESULT CNimbDocDriver::RefreshNimbTree() const {
    return Call(NimbDocIds::kRefreshNimbTree).hr;
}

fw::ComPtr<IDispatch> FindRunningManager() {
    const auto clsid = fw::ClassIdOfProgId(NimbDocIds::kProgId);
    if (!clsid) return nullptr;
    const fw::ComPtr<IUnknown> running = fw::GetActiveObjectOf(*clsid);
    return running ? running.As<IDispatch>() : nullptr;
}
