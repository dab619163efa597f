#include "fw/dialog.h"

#include "fw/menu.h"

#include <exception>

namespace fw {

namespace {
constexpr char kDialogProp[] = "fw.Dialog";

HWND ControlOf(UINT msg, WPARAM wParam, LPARAM lParam, HWND dialog) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
        return wParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam ? ::GetDlgItem(dialog, static_cast<int>(wParam)) : nullptr;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}
}  // namespace

Dialog::~Dialog() {
    if (hwnd_) {
        HWND wnd = hwnd_;
        ::RemovePropA(wnd, kDialogProp);
        hwnd_ = nullptr;
        if (!modal_ || ownLoop_) ::DestroyWindow(wnd);
    }
}

Dialog* Dialog::FromHandle(HWND wnd) { return wnd ? static_cast<Dialog*>(::GetPropA(wnd, kDialogProp)) : nullptr; }

INT_PTR Dialog::DoModal(HWND parent) {
    modal_ = true;
    const INT_PTR result = ::DialogBoxParamA(Resources(), MAKEINTRESOURCEA(templateId_), parent,
                                             DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return ::CreateDialogParamA(Resources(), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR Dialog::RunModalLoop(HWND parent, const PreTranslate& preTranslate) {
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
    if (hwnd_ && !::IsWindowVisible(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWNORMAL);

    MSG msg;
    while (!ended_ && hwnd_) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            endResult_ = -1;
            break;
        }
        if (preTranslate && preTranslate(msg)) continue;
        if (!::IsDialogMessageA(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (reenable) ::EnableWindow(parent, TRUE);
    if (hwnd_) ::DestroyWindow(hwnd_);
    modal_ = false;
    ownLoop_ = false;
    return endResult_;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!hwnd_) return;
    if (ownLoop_) {
        ended_ = true;
        endResult_ = result;
        ::ShowWindow(hwnd_, SW_HIDE);
        ::PostMessageA(hwnd_, WM_NULL, 0, 0);  // wakes the loop
        return;
    }
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        ::DestroyWindow(hwnd_);
}

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    const int len = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = ::GetWindowTextA(item, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void Dialog::SetItemText(int id, const std::string& text) const { ::SetDlgItemTextA(hwnd_, id, text.c_str()); }

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

bool Dialog::HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_INITDIALOG) return OnInitDialog();

        // Control notifications go to the control's own object first.
        if (HWND control = ControlOf(msg, wParam, lParam, hwnd_)) {
            LRESULT reflected = 0;
            if (ReflectToChild(control, msg, wParam, lParam, &reflected) && reflected) {
                if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(reflected);
                ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, reflected);
                return TRUE;
            }
        }
        LRESULT result = 0;
        if (HandleMessage(msg, wParam, lParam, &result)) {
            if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(result);
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        // Owner-drawn menu items the dialog left alone go to their menu object.
        if (RouteOwnerDrawMenu(msg, wParam, lParam, &result)) {
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        if (msg == WM_COMMAND)
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    } catch (...) {
        // Nothing may unwind through the dialog manager.
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = FromHandle(wnd);
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = wnd;
        ::SetPropA(wnd, kDialogProp, self);
    }
    if (!self) return FALSE;
    const INT_PTR result = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::RemovePropA(wnd, kDialogProp);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

}  // namespace fw
