// Real mouse input (SendInput) into the tree of another process, and the
// popup menus that process shows.
//
// Under Wine the tree control follows a press with the mouse captured until
// the cursor leaves the drag distance, and then starts the drag; the view
// captures the mouse for the rest of it. So a press waits for the capture,
// and a move onto an item waits for the tree to highlight it (a move the tree
// did not act on is sent again). The display echoes each cursor move back to
// the tree's program, late when the machine is busy, and an earlier step's
// echo can take the drag off its item again: before a release the cursor and
// the highlight are checked once the tree's thread has read its input, and
// the item is hovered again should they have moved. Two presses of a button within the
// double-click time come as a double click, which starts no drag.
#pragma once

#include "remote_tree.h"

#include "testsupport/mouse_input.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace mgrtest {

using testsupport::MoveTo;

// The cursor the display shows, whichever program set it. Handles belong to
// the process that loaded the cursor.
HCURSOR ShownCursor();

enum class Button { kLeft, kRight };

class TreeMouse {
public:
    explicit TreeMouse(const RemoteTree& tree);

    // Presses on an item and leaves the drag distance: the drag then stays
    // open for moves until Drop.
    ::testing::AssertionResult Begin(HTREEITEM from, Button button = Button::kLeft);
    // Moves onto an item while a drag is open; true once the tree highlights it.
    bool Hover(HTREEITEM item);
    // Moves onto an item while a drag is open, for an item the tree cannot highlight.
    bool MoveOver(HTREEITEM item);
    // Releases the left button; true once the drag is over.
    bool Drop();

    // Begin, Hover over each item of the way, release on the last. With the
    // left button it also waits for the drag's end (a right release opens the
    // drop menu). A failure names the step the tree did not follow.
    ::testing::AssertionResult Drag(HTREEITEM from, const std::vector<HTREEITEM>& way, Button button);
    ::testing::AssertionResult Drag(HTREEITEM from, HTREEITEM to, Button button = Button::kLeft) {
        return Drag(from, std::vector<HTREEITEM>{to}, button);
    }
    // A left drag onto an item, then on below the last item, where it is released.
    ::testing::AssertionResult DragReleasingBelowTheItems(HTREEITEM from, HTREEITEM to);
    // A left drag from an item the tree does not let go: once the control has
    // given up the mouse, moved onto the target and released there.
    ::testing::AssertionResult DragUnstarted(HTREEITEM from, HTREEITEM to);
    // A press and a release on an item with no move between.
    ::testing::AssertionResult Click(HTREEITEM item, Button button = Button::kLeft);

    // The drag is over: no capture, no highlight.
    bool WaitForDragEnd() const;
    // What the tree's thread and the cursor show, for a failure's message.
    std::string State() const;

private:
    // The cursor is at the point and the item highlighted, once the tree's thread has read its input so far.
    bool StillAt(POINT point, HTREEITEM highlighted) const;
    // Hovers the item again until the drag stays on it.
    bool HoldOver(HTREEITEM item);
    HWND Capture() const;
    // The centre of an item's label on the screen, when the tree shows it.
    bool ScreenCentre(HTREEITEM item, POINT* at) const;
    bool PressOn(HTREEITEM item, Button button, POINT* at);
    ::testing::AssertionResult EndLeftDrag();

    const RemoteTree& tree_;
    DWORD thread_;
    ULONGLONG lastPress_ = 0;
    POINT hoverAt_{};  // where the last hover left the cursor
};

// The shown popup menu ("#32768") of a process, or null.
HWND PopupMenuOf(DWORD pid);
// The shown popup menu ("#32768") of a process, or null after the time-out.
HWND WaitForPopupMenu(DWORD pid);
// Walks a popup menu from its top with Down and chooses with Enter: the menu
// loop takes keys posted to it, grayed entries are walked too and Enter on
// one does nothing. True once the menu has gone.
bool ChooseFromMenu(HWND menu, int downs);
// Posts that many Downs and Enter to a popup menu, which stays when the entry is grayed.
void PressInMenu(HWND menu, int downs);
// Dismisses a popup menu with Escape; true once it has gone.
bool DismissMenu(HWND menu);

}  // namespace mgrtest
