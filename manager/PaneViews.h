// The right column's upper pane, the desktop model (desktop/); the property
// pages below it are CPropertyView (property/), the tree pane is CLeftView.
#pragma once

#include "desktop/DesktopView.h"
