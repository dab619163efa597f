#include "fw/dialog.h"

#include "fw/menu.h"
#include "fw/message_loop.h"

#include <utility>

namespace fw {

namespace {

// The message a dialog procedure is running on this thread, kept on the
// stack of the procedure, never in the object: a handler may end the object.
struct DialogFrame {
    const Dialog* dialog = nullptr;
    bool* unhandled = nullptr;
};
thread_local DialogFrame t_frame;

// Messages whose answer is the dialog procedure's return value itself.
bool ReturnsDirectly(UINT msg) {
    switch (msg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
    }
}

}  // namespace

Dialog::~Dialog() {
    if (HWND wnd = hwnd()) {
        Unbind();
        // The system's modal loop owns its window until EndDialog.
        if (!modal_ || ownLoop_) ::DestroyWindow(wnd);
    }
}

Dialog* Dialog::FromHandle(HWND wnd) { return dynamic_cast<Dialog*>(Window::FromHandle(wnd)); }

INT_PTR Dialog::DoModal(HWND parent) {
    ModalScope counted;
    modal_ = true;
    const INT_PTR result = ::DialogBoxParamA(Resources(), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return ::CreateDialogParamA(Resources(), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR Dialog::RunModalLoop(HWND parent, const PreTranslate& preTranslate) {
    ModalScope counted;
    ownLoop_ = true;
    ended_ = false;
    endResult_ = -1;
    if (!CreateModeless(parent)) {
        ownLoop_ = false;
        return -1;
    }
    modal_ = true;
    const bool reenable = parent && ::IsWindowEnabled(parent);
    if (reenable) ::EnableWindow(parent, FALSE);
    if (hwnd() && !::IsWindowVisible(hwnd())) ::ShowWindow(hwnd(), SW_SHOWNORMAL);

    MSG msg;
    while (!ended_ && hwnd()) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The quit belongs to the loop around this one as well.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            endResult_ = -1;
            break;
        }
        if (preTranslate && preTranslate(msg)) continue;
        if (!::IsDialogMessageA(hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (reenable) ::EnableWindow(parent, TRUE);
    if (hwnd()) ::DestroyWindow(hwnd());
    modal_ = false;
    ownLoop_ = false;
    return endResult_;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!hwnd()) return;
    if (ownLoop_) {
        ended_ = true;
        endResult_ = result;
        ::ShowWindow(hwnd(), SW_HIDE);
        ::PostMessageA(hwnd(), WM_NULL, 0, 0);  // wakes the loop
        return;
    }
    if (modal_)
        ::EndDialog(hwnd(), result);
    else
        ::DestroyWindow(hwnd());
}

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    const int len = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = ::GetWindowTextA(item, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void Dialog::SetItemText(int id, const std::string& text) const { ::SetDlgItemTextA(hwnd(), id, text.c_str()); }

bool Dialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT Dialog::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return OnInitDialog();
    LRESULT result = 0;
    // Owner-drawn menu items the dialog left alone go to their menu object.
    if (RouteOwnerDrawMenu(msg, wParam, lParam, &result)) return result;
    if (msg == WM_COMMAND && OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
    // The rest is the dialog manager's (DefDlgProc), once the procedure says so.
    if (t_frame.dialog == this && t_frame.unhandled) *t_frame.unhandled = true;
    return 0;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = FromHandle(wnd);
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        if (self) self->Bind(wnd);
    }
    if (!self) return FALSE;

    bool unhandled = false;
    const DialogFrame outer = std::exchange(t_frame, DialogFrame{self, &unhandled});
    LRESULT result = 0;
    const bool completed = self->Dispatch(msg, wParam, lParam, &result);
    t_frame = outer;
    if (msg == WM_NCDESTROY) EndOfWindow(wnd, msg, self);

    if (!completed || unhandled) return FALSE;
    if (ReturnsDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(wnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
