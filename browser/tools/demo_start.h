// The shared start of the screenshot demos (menu_demo, favorites_demo,
// dialogs_demo): the folder's Vessa.exe started on about:blank and left
// running for the screenshot, and bounded waits for its windows.
#pragma once

#include "testsupport/running_program.h"

#include <windows.h>

#include <string>
#include <vector>

namespace demo {

// Starts the folder's Vessa.exe on about:blank: its process id, 0 when it did not start.
DWORD StartBrowser(const std::string& folder);
// Waits up to 20 s for count windows of the process the test accepts; the last found, or null.
HWND WaitForWindows(DWORD pid, const testsupport::WindowTest& test, size_t count = 1);
// The browser's main window once shown, or null.
HWND WaitForMainWindow(DWORD pid);

struct PopupSteps {
    int button;                // the control id pressed on the main window
    std::vector<WPARAM> keys;  // virtual keys posted to the first popup
    int popups;                // popups open once the keys are handled
};

// The popup demos: the question switched off, the browser started, the
// button pressed, the keys posted to its popup and "ready" printed once as
// many popups are open as the keys open (tools/popup_screenshot.sh takes the
// picture). 0 once ready, 1 when a step did not happen.
int ShowPopup(const std::string& folder, const PopupSteps& steps);

}  // namespace demo
