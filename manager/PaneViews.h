// The three panes of the main frame: the link tree on the left, the desktop
// model over the property pages on the right. Empty panes for now.
#pragma once

#include "fw/frame.h"

class CLeftView : public fw::View {};
class CDesktopView : public fw::View {};
class CPropertyView : public fw::View {};
