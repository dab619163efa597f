// The right column's upper pane, the desktop model (empty for now); the
// property pages below it are CPropertyView (property/), the tree pane is CLeftView.
#pragma once

#include "fw/frame.h"

class CDesktopView : public fw::View {};
