// Launch from the desktop pane (the menu's and toolbar's 32776, the tree
// menu's 1070) is the property pane's Launch: its rule and its handler.
#include "DesktopView.h"

#include "property/PropertyView.h"
#include "resource.h"

bool CDesktopView::UpdateLaunch(fw::CommandUI& ui) {
    if (ui.Id() != ID_LAUNCH && ui.Id() != ID_LAUNCH_BUTTON) return false;
    const CNimbDoc* doc = Doc();
    ui.Enable(doc && CPropertyView::LaunchEnabled(*doc));
    return true;
}

void CDesktopView::OnLaunch() {
    CNimbDoc* doc = Doc();
    if (doc && CPropertyView::LaunchEnabled(*doc)) doc->SaveAndLaunch();
}
