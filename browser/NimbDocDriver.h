// The browser's driver of the running manager's automation object
// "Nimb.Document": its three methods by dispatch id.
#pragma once

#include "fw/dispatch.h"

#include <string>

// The manager's automation identity, as the manager registers it.
namespace NimbDocIds {
inline constexpr char kProgId[] = "Nimb.Document";
// {2A29E765-84C5-11D4-A2E3-FC9B3F577F54}: the class the running object is entered under.
inline constexpr CLSID kAutomationClsid = {
    0x2a29e765, 0x84c5, 0x11d4, {0xa2, 0xe3, 0xfc, 0x9b, 0x3f, 0x57, 0x7f, 0x54}};
inline constexpr DISPID kSetFocusOnLinkItem = 1;
inline constexpr DISPID kShowManager = 2;
inline constexpr DISPID kRefreshNimbTree = 3;
}  // namespace NimbDocIds

class CNimbDocDriver : public fw::DispatchDriver {
public:
    // path: the full path of a link file, passed as a string.
    HRESULT SetFocusOnLinkItem(const std::string& path) const;
    HRESULT ShowManager() const;
    HRESULT RefreshNimbTree() const;
};

// Finds the running manager's object through its ProgID in the running-object
// table; empty when the ProgID is unknown, no manager runs, or it has no
// dispatch interface.
fw::ComPtr<IDispatch> FindRunningManager();
