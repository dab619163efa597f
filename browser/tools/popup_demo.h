// The shared start of the popup screenshot demos (menu_demo, favorites_demo):
// the folder's Vessa.exe started on about:blank, a button of its main window
// pressed, keys posted to the popup it opens, and "ready" printed once as
// many popups are open as the keys open. The browser stays open for the
// screenshot, which tools/popup_screenshot.sh takes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace demo {

struct PopupSteps {
    int button;                // the control id pressed on the main window
    std::vector<WPARAM> keys;  // virtual keys posted to the first popup
    int popups;                // popups open once the keys are handled
};

// 0 once ready, 1 when a step did not happen.
int ShowPopup(const std::string& folder, const PopupSteps& steps);

}  // namespace demo
