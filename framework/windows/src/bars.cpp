#include "fw/bars.h"

#include "fw/command.h"
#include "fw/handles.h"

#include <commctrl.h>

namespace fw {

bool ToolBar::Create(HWND parent, DWORD extraStyle, UINT id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                        CCS_NODIVIDER | extraStyle;
    wnd_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!wnd_) return false;
    ::SendMessageA(wnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

bool ToolBar::SetButtons(const std::vector<UINT>& commands, const std::vector<std::string>& texts) {
    texts_ = texts;
    std::vector<TBBUTTON> buttons(commands.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        TBBUTTON& b = buttons[i];
        b.iBitmap = static_cast<int>(i);
        b.idCommand = static_cast<int>(commands[i]);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = commands[i] ? BTNS_BUTTON : BTNS_SEP;
        b.iString = i < texts_.size() ? reinterpret_cast<INT_PTR>(texts_[i].c_str()) : -1;
    }
    return ::SendMessageA(wnd_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

void ToolBar::SetImageLists(ImageList normal, ImageList hot) {
    normal_ = std::move(normal);
    hot_ = std::move(hot);
    ::SendMessageA(wnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal_.get()));
    ::SendMessageA(wnd_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot_.get()));
}

void ToolBar::SetButtonWidth(int minWidth, int maxWidth) {
    ::SendMessageA(wnd_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(minWidth, maxWidth));
}

void ToolBar::SetBitmapSize(int cx, int cy) {
    ::SendMessageA(wnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
}

SIZE ToolBar::ButtonSize() const {
    RECT rc{};
    ::SendMessageA(wnd_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

int ToolBar::ButtonCount() const {
    return static_cast<int>(::SendMessageA(wnd_, TB_BUTTONCOUNT, 0, 0));
}

UINT ToolBar::CommandAt(int index) const {
    TBBUTTON b{};
    if (!::SendMessageA(wnd_, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b))) return 0;
    return static_cast<UINT>(b.idCommand);
}

bool ToolBar::IsEnabled(UINT command) const {
    return ::SendMessageA(wnd_, TB_ISBUTTONENABLED, command, 0) != 0;
}

bool ToolBar::IsChecked(UINT command) const {
    return ::SendMessageA(wnd_, TB_ISBUTTONCHECKED, command, 0) != 0;
}

void ToolBar::UpdateButtons(const std::function<bool(CommandUI&)>& route) const {
    const int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        const UINT id = CommandAt(i);
        if (!id) continue;
        CommandUI ui(id);
        const bool enabled = route(ui) && ui.Enabled();
        // Only real changes: a state message repaints the button.
        if (enabled != IsEnabled(id)) ::SendMessageA(wnd_, TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
        if (ui.Checked() != IsChecked(id))
            ::SendMessageA(wnd_, TB_CHECKBUTTON, id, MAKELPARAM(ui.Checked() ? TRUE : FALSE, 0));
    }
}

bool ReBar::Create(HWND parent, DWORD extraStyle, UINT id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_TOP | extraStyle;
    wnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!wnd_) return false;
    REBARINFO info{};
    info.cbSize = sizeof(info);
    return ::SendMessageA(wnd_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool ReBar::AddBand(HWND child, UINT bandStyle, SIZE minChild, int width, int idealWidth) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = bandStyle;
    band.hwndChild = child;
    band.cxMinChild = static_cast<UINT>(minChild.cx);
    band.cyMinChild = static_cast<UINT>(minChild.cy);
    band.cx = static_cast<UINT>(width);
    band.cxIdeal = static_cast<UINT>(idealWidth);
    return ::SendMessageA(wnd_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

void ReBar::ShowBand(int index, bool show) const {
    ::SendMessageA(wnd_, RB_SHOWBAND, index, show ? TRUE : FALSE);
}

bool ReBar::BandVisible(int index) const {
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE;
    if (!::SendMessageA(wnd_, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band))) return false;
    return !(band.fStyle & RBBS_HIDDEN);
}

int ReBar::BandCount() const {
    return static_cast<int>(::SendMessageA(wnd_, RB_GETBANDCOUNT, 0, 0));
}

bool StatusBar::Create(HWND parent, UINT id) {
    wnd_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    return wnd_ != nullptr;
}

void StatusBar::SetPaneWidths(const std::vector<int>& widths) {
    widths_ = widths;
    Layout();
}

void StatusBar::SetPaneWidth(size_t pane, int width) {
    if (pane >= widths_.size()) return;
    widths_[pane] = width;
    Layout();
}

int StatusBar::PaneWidth(size_t pane) const {
    RECT rc{};
    if (!::SendMessageA(wnd_, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&rc))) return 0;
    return rc.right - rc.left;
}

void StatusBar::SetText(int pane, const std::string& text) const {
    ::SendMessageA(wnd_, SB_SETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::Text(int pane) const {
    const LRESULT info = ::SendMessageA(wnd_, SB_GETTEXTLENGTHA, pane, 0);
    std::string text(static_cast<size_t>(LOWORD(info)) + 1, '\0');
    ::SendMessageA(wnd_, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

int StatusBar::TextWidth(const std::string& text) const {
    WindowDc dc(wnd_);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(wnd_, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? ::SelectObject(dc.get(), font) : nullptr;
    RECT rc{0, 0, 0, 0};
    ::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc, DT_SINGLELINE | DT_CALCRECT);
    if (old) ::SelectObject(dc.get(), old);
    return rc.right - rc.left;
}

void StatusBar::Layout() const {
    if (!wnd_) return;
    ::SendMessageA(wnd_, WM_SIZE, 0, 0);
    RECT rc{};
    ::GetClientRect(wnd_, &rc);
    if (widths_.empty()) return;
    // Pane i ends where pane i + 1 begins; the last one runs to the bar's end.
    std::vector<int> edges(widths_.size(), -1);
    int end = rc.right;
    for (size_t i = widths_.size() - 1; i-- > 0;) {
        end -= widths_[i + 1];
        edges[i] = end < 0 ? 0 : end;
    }
    ::SendMessageA(wnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

}  // namespace fw
