// The manager's splitter: dragging the bar between the tree and the right
// column moves the main window's right edge by as much, so the right column
// keeps its width and only the tree pane changes.
#pragma once

#include "fw/splitter.h"

class CMgrSplitterWnd : public fw::SplitterWindow {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    POINT press_{};
};
