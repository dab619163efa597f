#include "fw/tab_pages.h"

#include "fw/message_loop.h"

#include <commctrl.h>

#include <string>

namespace fw {

namespace {

constexpr int kTabTextMax = 128;

}  // namespace

bool TabPages::AddPage(Dialog& page) {
    if (!tab_ || !page.CreateModeless(tab_)) return false;
    HWND wnd = page.hwnd();
    char text[kTabTextMax + 1] = {};
    ::GetWindowTextA(wnd, text, kTabTextMax + 1);
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.iImage = -1;
    const int index = static_cast<int>(pages_.size());
    if (::SendMessageA(tab_, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != index) {
        ::DestroyWindow(wnd);
        return false;
    }
    const LONG_PTR style = ::GetWindowLongPtrA(wnd, GWL_STYLE);
    ::SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::SendMessageA(wnd, WM_NCACTIVATE, TRUE, 0);
    AddModelessDialog(wnd);
    pages_.push_back(&page);
    windows_.push_back(wnd);
    return true;
}

Dialog* TabPages::Current() const {
    if (!tab_) return nullptr;
    const LRESULT current = ::SendMessageA(tab_, TCM_GETCURSEL, 0, 0);
    return current < 0 ? nullptr : Page(static_cast<size_t>(current));
}

void TabPages::HideCurrent() const {
    if (Dialog* page = Current(); page && page->hwnd()) ::ShowWindow(page->hwnd(), SW_HIDE);
}

void TabPages::PlaceCurrent() const {
    Dialog* page = Current();
    if (!page || !page->hwnd()) return;
    RECT first{};
    if (::SendMessageA(tab_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
        ::SetWindowPos(page->hwnd(), nullptr, first.left, first.bottom, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TabPages::ShowCurrent(bool focus) const {
    Dialog* page = Current();
    if (!page || !page->hwnd()) return;
    PlaceCurrent();
    ::ShowWindow(page->hwnd(), SW_SHOW);
    if (focus) ::SetFocus(page->hwnd());
}

void TabPages::Clear() {
    // By the handles kept: a page whose window went first has none any more.
    for (HWND wnd : windows_) RemoveModelessDialog(wnd);
    windows_.clear();
    pages_.clear();
}

}  // namespace fw
