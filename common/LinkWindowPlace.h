// Where a link's browser window opens when the link stores no usable
// rectangle (empty or inverted, as a new link's 0, 0, 0, 0): a tenth of the
// screen in from its top left, seven tenths of it in size. The browser opens
// such a link there and the manager's desktop pane shows its miniature there,
// so the pane's model and the window agree.
#pragma once

#include <windows.h>

inline RECT DefaultLinkWindowRect(int horzRes, int vertRes) {
    return RECT{horzRes / 10, vertRes / 10, horzRes * 7 / 10, vertRes * 7 / 10};
}
