#include "fw/form_view.h"

namespace fw {

FormView::~FormView() {
    if (HWND wnd = hwnd()) {
        Unsubclass();
        ::DestroyWindow(wnd);
    }
}

INT_PTR CALLBACK FormView::FormProc(HWND, UINT, WPARAM, LPARAM) {
    // The view's own handlers run in the subclass, before the dialog manager;
    // FALSE on WM_INITDIALOG too: a pane being made takes no focus.
    return FALSE;
}

bool FormView::CreateView(HWND parent, UINT id, const RECT& rc) {
    if (hwnd()) return false;
    HINSTANCE module = resources_ ? resources_ : ::GetModuleHandleA(nullptr);
    HWND wnd = ::CreateDialogParamA(module, MAKEINTRESOURCEA(templateId_), parent, FormProc, 0);
    if (!wnd) return false;
    RECT made{};
    ::GetWindowRect(wnd, &made);
    formSize_ = SIZE{made.right - made.left, made.bottom - made.top};
    if (!Subclass(wnd)) {
        ::DestroyWindow(wnd);
        return false;
    }
    // A pane: its id, no border or scroll bars, whatever the template says.
    ::SetWindowLongPtrA(wnd, GWLP_ID, static_cast<LONG_PTR>(id));
    const LONG_PTR style = ::GetWindowLongPtrA(wnd, GWL_STYLE);
    ::SetWindowLongPtrA(
        wnd, GWL_STYLE,
        (style & ~static_cast<LONG_PTR>(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL | WS_POPUP)) |
            WS_CHILD | WS_CLIPSIBLINGS);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(wnd, GWL_EXSTYLE);
    ::SetWindowLongPtrA(
        wnd, GWL_EXSTYLE,
        exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE));
    ::SetWindowPos(wnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::ShowWindow(wnd, SW_SHOWNA);
    return true;
}

void FormView::ResizeParentToFit(bool shrinkOnly) {
    FrameWindow* frame = ParentFrame();
    if (!frame || !hwnd()) return;
    frame->RecalcLayout();
    const RECT client = ClientRect();
    int dx = formSize_.cx - client.right;
    int dy = formSize_.cy - client.bottom;
    if (shrinkOnly) {
        dx = dx < 0 ? dx : 0;
        dy = dy < 0 ? dy : 0;
    }
    if (dx == 0 && dy == 0) return;
    const RECT outer = frame->WindowRect();
    ::SetWindowPos(frame->hwnd(), nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fw
