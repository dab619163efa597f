// The right column's panes: the desktop model over the property pages.
// Empty for now; the tree pane is CLeftView.
#pragma once

#include "fw/frame.h"

class CDesktopView : public fw::View {};
class CPropertyView : public fw::View {};
