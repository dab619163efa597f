// A static splitter: a grid of panes with bars between them. Each row and
// column has an ideal and a minimum size; the last row and column take what
// the others leave. A pane below its minimum is hidden (size 0). Dragging a
// bar sets the ideal size of the row or column before it; a release counts
// only when it ends a press on a bar of this splitter. Notifications from the
// panes are reflected to them (as by every fw::Window); menu commands go on to
// the parent.
#pragma once

#include "fw/frame.h"
#include "fw/window.h"

#include <memory>
#include <vector>

namespace fw {

class SplitterWindow : public Window {
public:
    // Sizes of the splitter's own geometry, in pixels.
    static constexpr int kBorder = 2;  // around the panes
    static constexpr int kGap = 7;     // a bar between two panes

    // A child of parent (a frame or another splitter's pane) with the given id.
    bool CreateStatic(HWND parent, int rows, int cols, DWORD style, UINT id);

    // The id of pane (row, col) among the splitter's children.
    static UINT PaneId(int row, int col) { return FrameWindow::kFirstPaneId + row * 16 + col; }
    HWND Pane(int row, int col) const { return ::GetDlgItem(hwnd(), static_cast<int>(PaneId(row, col))); }

    // Makes a view in the pane; the splitter owns it. The frame learns of it
    // (routing, F6, initial update). size: the initial ideal width and height.
    bool CreateView(int row, int col, std::unique_ptr<View> view, SIZE size, FrameWindow* frame);
    View* ViewAt(int row, int col) const;

    void SetColumnInfo(int col, int ideal, int minimum);
    void SetRowInfo(int row, int ideal, int minimum);
    int ColumnIdeal(int col) const { return cols_[col].ideal; }
    int RowIdeal(int row) const { return rows_[row].ideal; }
    // The sizes the last layout gave.
    int ColumnSize(int col) const { return cols_[col].current; }
    int RowSize(int row) const { return rows_[row].current; }
    void RecalcLayout();

    bool Tracking() const noexcept { return tracking_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Span {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    struct Owned {
        int row, col;
        std::unique_ptr<View> view;
    };
    static void Lay(std::vector<Span>& spans, int space);
    // The bar under a client point: col bar (>= 0), row bar, or none.
    bool HitBar(POINT pt, bool* vertical, int* index) const;
    void Paint();

    std::vector<Span> rows_, cols_;
    std::vector<Owned> views_;
    bool tracking_ = false;
    bool trackVertical_ = false;
    int trackIndex_ = 0;
    POINT trackStart_{};
};

}  // namespace fw
