#include "MgrSplitterWnd.h"

#include <windowsx.h>

#include <algorithm>

LRESULT CMgrSplitterWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            press_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            return SplitterWindow::HandleMessage(msg, wParam, lParam);
        case WM_LBUTTONUP: {
            // Only a release that ends a drag begun here moves the window.
            const bool ownDrag = Tracking();
            const LRESULT result = SplitterWindow::HandleMessage(msg, wParam, lParam);
            if (ownDrag) {
                HWND main = ::GetAncestor(hwnd(), GA_ROOT);
                RECT rc{};
                ::GetWindowRect(main, &rc);
                const int grow = GET_X_LPARAM(lParam) - press_.x;
                ::SetWindowPos(main, nullptr, 0, 0, std::max(0L, rc.right - rc.left + grow), rc.bottom - rc.top,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            }
            return result;
        }
        case WM_LBUTTONDBLCLK:
            return ::DefWindowProcA(hwnd(), msg, wParam, lParam);
        default:
            return SplitterWindow::HandleMessage(msg, wParam, lParam);
    }
}
