#include "fw/splitter.h"

#include "fw/handles.h"

#include <windowsx.h>

#include <algorithm>

namespace fw {

namespace {
constexpr char kSplitterClass[] = "fw.Splitter";
}

bool SplitterWindow::CreateStatic(HWND parent, int rows, int cols, DWORD style, UINT id) {
    if (rows < 1 || cols < 1 || rows > 16 || cols > 16) return false;
    rows_.assign(static_cast<size_t>(rows), Span{});
    cols_.assign(static_cast<size_t>(cols), Span{});
    RegisterClass(kSplitterClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, nullptr);
    return Create(kSplitterClass, "", style | WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent, id);
}

bool SplitterWindow::CreateView(int row, int col, std::unique_ptr<View> view, SIZE size, FrameWindow* frame) {
    if (!view || row < 0 || col < 0 || row >= static_cast<int>(rows_.size()) || col >= static_cast<int>(cols_.size()))
        return false;
    cols_[static_cast<size_t>(col)].ideal = size.cx;
    rows_[static_cast<size_t>(row)].ideal = size.cy;
    RECT rc{0, 0, size.cx, size.cy};
    if (!view->CreateView(hwnd(), PaneId(row, col), rc)) return false;
    if (frame) {
        view->SetDocument(frame->GetDocument());
        frame->AddView(view.get());
    }
    views_.push_back(Owned{row, col, std::move(view)});
    return true;
}

View* SplitterWindow::ViewAt(int row, int col) const {
    for (const Owned& o : views_)
        if (o.row == row && o.col == col) return o.view.get();
    return nullptr;
}

void SplitterWindow::SetColumnInfo(int col, int ideal, int minimum) {
    if (col < 0 || col >= static_cast<int>(cols_.size())) return;
    cols_[static_cast<size_t>(col)].ideal = std::max(0, ideal);
    cols_[static_cast<size_t>(col)].minimum = std::max(0, minimum);
}

void SplitterWindow::SetRowInfo(int row, int ideal, int minimum) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    rows_[static_cast<size_t>(row)].ideal = std::max(0, ideal);
    rows_[static_cast<size_t>(row)].minimum = std::max(0, minimum);
}

void SplitterWindow::Lay(std::vector<Span>& spans, int space) {
    int left = std::max(0, space - 2 * kBorder);
    for (size_t i = 0; i < spans.size(); ++i) {
        Span& s = spans[i];
        const bool last = i + 1 == spans.size();
        int size = last ? left : std::min(s.ideal, left);
        if (size < s.minimum) size = 0;  // too small to show
        s.current = std::max(0, size);
        if (!last) left = std::max(0, left - s.current - kGap);
    }
}

void SplitterWindow::RecalcLayout() {
    if (!hwnd()) return;
    const RECT rc = ClientRect();
    Lay(cols_, rc.right);
    Lay(rows_, rc.bottom);
    int y = kBorder;
    for (size_t r = 0; r < rows_.size(); ++r) {
        int x = kBorder;
        for (size_t c = 0; c < cols_.size(); ++c) {
            if (HWND pane = Pane(static_cast<int>(r), static_cast<int>(c))) {
                ::MoveWindow(pane, x, y, cols_[c].current, rows_[r].current, TRUE);
                ::ShowWindow(pane, cols_[c].current > 0 && rows_[r].current > 0 ? SW_SHOWNA : SW_HIDE);
            }
            x += cols_[c].current + kGap;
        }
        y += rows_[r].current + kGap;
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

bool SplitterWindow::HitBar(POINT pt, bool* vertical, int* index) const {
    int x = kBorder;
    for (size_t c = 0; c + 1 < cols_.size(); ++c) {
        x += cols_[c].current;
        if (pt.x >= x && pt.x < x + kGap) {
            *vertical = true;
            *index = static_cast<int>(c);
            return true;
        }
        x += kGap;
    }
    int y = kBorder;
    for (size_t r = 0; r + 1 < rows_.size(); ++r) {
        y += rows_[r].current;
        if (pt.y >= y && pt.y < y + kGap) {
            *vertical = false;
            *index = static_cast<int>(r);
            return true;
        }
        y += kGap;
    }
    return false;
}

LRESULT SplitterWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            RecalcLayout();
            return 0;
        case WM_SETCURSOR: {
            POINT pt{};
            ::GetCursorPos(&pt);
            ::ScreenToClient(hwnd(), &pt);
            bool vertical = false;
            int index = 0;
            if (reinterpret_cast<HWND>(wParam) == hwnd() && HitBar(pt, &vertical, &index)) {
                ::SetCursor(::LoadCursor(nullptr, vertical ? IDC_SIZEWE : IDC_SIZENS));
                return TRUE;
            }
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        }
        case WM_LBUTTONDOWN: {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (HitBar(pt, &trackVertical_, &trackIndex_)) {
                tracking_ = true;
                trackStart_ = pt;
                ::SetCapture(hwnd());
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            if (!tracking_) return 0;  // not the end of our own press
            tracking_ = false;
            ::ReleaseCapture();
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            auto& spans = trackVertical_ ? cols_ : rows_;
            Span& s = spans[static_cast<size_t>(trackIndex_)];
            const int moved = trackVertical_ ? pt.x - trackStart_.x : pt.y - trackStart_.y;
            s.ideal = std::max(0, s.current + moved);
            RecalcLayout();
            return 0;
        }
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            if (tracking_ && reinterpret_cast<HWND>(lParam) != hwnd()) tracking_ = false;
            return Default(msg, wParam, lParam);
        case WM_PAINT:
            Paint();
            return 0;
        case WM_COMMAND:
            // The panes' own notifications were reflected to them already; menu commands go on to the frame.
            if (!lParam) return ::SendMessageA(::GetParent(hwnd()), msg, wParam, lParam);
            return Default(msg, wParam, lParam);
        default:
            return Default(msg, wParam, lParam);
    }
}

void SplitterWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd(), &ps);
    const RECT rc = ClientRect();
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(hwnd(), &ps);
}

}  // namespace fw
