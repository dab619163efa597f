// The real manager in-process with links in a temporary program folder, the
// desktop pane found in its frame, and real mouse input from another thread.
#pragma once

#include "manager_fixture.h"

#include "LeftView.h"
#include "LinkStore.h"
#include "desktop/DesktopView.h"
#include "mouse_input.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace desktoptest {

struct DesktopFixture : mgrtest::ManagerFixture {
    CMainFrame* frame = nullptr;
    CLeftView* tree = nullptr;
    CDesktopView* view = nullptr;

    DesktopFixture();
    // Starts the manager on the links written so far; the tree is built.
    void StartManager();

    // A link with this title and stored rectangle in Links[\group]; its file name.
    std::string AddLink(const std::string& title, URLRect rect, const std::string& group = "",
                        const std::string& skin = "vessa");
    std::string LinkPath(const std::string& group, const std::string& name) const;
    std::string LinkFile(const std::string& group, const std::string& name) const;
    std::unique_ptr<CURLObject> Load(const std::string& group, const std::string& name) const;

    // Selects the link of this title in Links (or in the folder item below it).
    void SelectLink(const std::string& title, const std::string& folder = "");
    void SelectGroup(const std::string& name);
    void SelectLinksRoot();

    // The miniature's window rectangle in the view's client coordinates.
    RECT ModelRect(const CMiniBrowserWnd& mini) const;
    // Pumps until the rectangle pane reads text; false after the time-out.
    bool WaitForPane(const std::string& text);
    std::string PaneText() const;
};

// Real mouse input from a second thread while this one pumps (the system's
// move loop is modal): a press at `from` (screen), moves in steps by dx, dy,
// then the release. False when the move loop never started or ended.
bool DragWithMouse(POINT from, int dx, int dy);
// A press and release at `from` with no move between.
bool ClickWithMouse(POINT from);

}  // namespace desktoptest
