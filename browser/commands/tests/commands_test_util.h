// Pieces of the command tests: a menu read back as text, a connected state
// the test sets, and the real browser program found from outside.
#pragma once

#include "BrowserCommands.h"
#include "browser_test_util.h"

#include "testsupport/running_program.h"

#include <windows.h>

#include <string>
#include <vector>

namespace commandtest {

// One line per item, indented by one blank per level: "Text id", "Text>" for
// a popup, "-" for a separator; " [gray]" and " [check]" after grayed and
// checked items.
std::vector<std::string> DumpMenu(HMENU menu, int depth = 0);
// The items of the popup whose text is text (at the top level of menu); empty when there is none.
std::vector<std::string> DumpPopup(HMENU menu, const std::string& text);
// The state of the item with the id, searched through every popup: MF_GRAYED, MF_CHECKED; -1 when absent.
int ItemState(HMENU menu, UINT id);

// The platform's connected state as the test sets it; records what the browser sets.
class FakeConnectedState : public CConnectedState {
public:
    explicit FakeConnectedState(DWORD state, bool readable = true) : state_(state), readable_(readable) {}
    bool Query(DWORD* state) override {
        if (!readable_) return false;
        *state = state_;
        return true;
    }
    bool Set(DWORD state, DWORD flags) override {
        state_ = state;
        flags_ = flags;
        ++sets_;
        return true;
    }
    DWORD state_;
    DWORD flags_ = 0;
    int sets_ = 0;
    bool readable_;
};

// The visible browser main windows of a process (0: any process but this one's).
inline std::vector<HWND> BrowserWindows(DWORD processId) {
    return testsupport::TopWindows(processId, browsertest::IsBrowserWindow);
}
// The visible window of the class in a process ("#32768" a popup menu, "#32770" a box).
inline HWND WindowOfClass(DWORD processId, const char* cls) {
    return testsupport::VisibleWindowOfClass(processId, cls);
}
using testsupport::TextOf;
// The lines of a text file in the folder ("\r\n" ends each); empty when it is missing.
std::vector<std::string> Lines(const std::string& path);
// The arguments field of a stand-in's launches.log line: tick|arguments|...
std::string ArgumentsOf(const std::string& logLine);

}  // namespace commandtest
