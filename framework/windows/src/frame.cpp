#include "fw/frame.h"

#include "fw/handles.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

namespace {

std::string LoadText(UINT id) {
    char text[512] = {};
    const int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

constexpr char kViewClass[] = "fw.View";

}  // namespace

bool View::CreateView(HWND parent, UINT id, const RECT& rc) {
    RegisterClass(kViewClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return Create(kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CLIENTEDGE, rc.left,
                  rc.top, rc.right - rc.left, rc.bottom - rc.top, parent, id);
}

LRESULT View::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETFOCUS || msg == WM_MOUSEACTIVATE) {
        if (FrameWindow* frame = ParentFrame()) frame->SetActiveView(this);
    }
    return Default(msg, wParam, lParam);
}

bool FrameWindow::CreateFrame(const char* className, UINT resourceId, const char* title, DWORD style, const RECT& rc) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(module, MAKEINTRESOURCEA(resourceId));
    if (!RegisterClass(className, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon)) return false;
    accel_ = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(resourceId));
    Menu menu(::LoadMenuA(module, MAKEINTRESOURCEA(resourceId)));
    const bool made = Create(className, title, style, 0, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                             nullptr, reinterpret_cast<UINT_PTR>(menu.get()));
    // The window owns its menu from here; one that failed in WM_CREATE took it with it.
    if (made || !::IsMenu(menu.get())) menu.release();
    return made;
}

void FrameWindow::InitialUpdate() {
    for (View* view : views_) view->OnInitialUpdate();
    if (!activeView_ && !views_.empty()) activeView_ = views_.front();
}

CommandTarget* FrameWindow::Claimer(CommandUI& ui) {
    CommandTarget* targets[] = {activeView_, document_, this, app_};
    for (CommandTarget* target : targets)
        if (target && target->UpdateCommand(ui)) return target;
    return nullptr;
}

bool FrameWindow::RouteUpdate(CommandUI& ui) { return Claimer(ui) != nullptr; }

bool FrameWindow::RouteCommand(UINT id) {
    CommandUI ui(id);
    CommandTarget* claimer = Claimer(ui);
    return claimer && ui.Enabled() && claimer->HandleCommand(id);
}

bool FrameWindow::UpdateCommand(CommandUI& ui) {
    switch (ui.Id()) {
        case kAppExitCommand:
            return true;
        case kNextPaneCommand:
        case kPrevPaneCommand:
            ui.Enable(views_.size() > 1);
            return true;
        case kStatusBarCommand:
            if (!statusBar_) return false;
            ui.SetCheck(statusBar_->Visible());
            return true;
        default:
            return false;
    }
}

bool FrameWindow::HandleCommand(UINT id) {
    switch (id) {
        case kAppExitCommand:
            // As the system's close: the frame decides what a close means.
            ::SendMessageA(hwnd(), WM_CLOSE, 0, 0);
            return true;
        case kNextPaneCommand:
        case kPrevPaneCommand:
            ActivateNextPane(id == kPrevPaneCommand);
            return true;
        case kStatusBarCommand:
            if (!statusBar_) return false;
            ::ShowWindow(statusBar_->hwnd(), statusBar_->Visible() ? SW_HIDE : SW_SHOW);
            RecalcLayout();
            return true;
        default:
            return false;
    }
}

void FrameWindow::ActivateNextPane(bool previous) {
    if (views_.empty()) return;
    auto it = std::find(views_.begin(), views_.end(), activeView_);
    size_t index = it == views_.end() ? 0 : static_cast<size_t>(it - views_.begin());
    index = previous ? (index + views_.size() - 1) % views_.size() : (index + 1) % views_.size();
    activeView_ = views_[index];
    ::SetFocus(activeView_->hwnd());
}

namespace {

// The edit box in which a tree or list names an item: its keys (Delete,
// Insert, Ctrl+C...) are the typist's, not the frame's shortcuts.
bool IsLabelEdit(HWND wnd) {
    char cls[32] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    if (_stricmp(cls, "Edit") != 0) return false;
    char parent[32] = {};
    ::GetClassNameA(::GetParent(wnd), parent, sizeof(parent));
    return _stricmp(parent, WC_TREEVIEWA) == 0 || _stricmp(parent, WC_LISTVIEWA) == 0;
}

}  // namespace

bool FrameWindow::PreTranslateMessage(MSG& msg) {
    if (!accel_ || !hwnd()) return false;
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    // Keys for this frame or any window inside it.
    if (msg.hwnd != hwnd() && !::IsChild(hwnd(), msg.hwnd)) return false;
    if (IsLabelEdit(msg.hwnd)) return false;
    return ::TranslateAcceleratorA(hwnd(), accel_, &msg) != 0;
}

void FrameWindow::OnIdle() {
    if (!hwnd()) return;
    auto route = [this](CommandUI& ui) { return RouteUpdate(ui); };
    for (const ToolBar* bar : toolBars_)
        if (::IsWindowVisible(bar->hwnd())) bar->UpdateButtons(route);
    UpdateIndicators();
    if (!showingPrompt_ && statusBar_) {
        const std::string idle = LoadText(kIdleMessageString);
        if (statusBar_->Text(0) != idle) statusBar_->SetText(0, idle);
    }
}

void FrameWindow::UpdateIndicators() {
    if (!statusBar_) return;
    struct Key {
        UINT id;
        int vk;
        int pane;
    };
    // The key panes follow the message pane and the program's own panes: the last three.
    const int panes = static_cast<int>(::SendMessageA(statusBar_->hwnd(), SB_GETPARTS, 0, 0));
    if (panes < 4) return;
    const Key keys[] = {{kIndicatorCaps, VK_CAPITAL, panes - 3},
                        {kIndicatorNum, VK_NUMLOCK, panes - 2},
                        {kIndicatorScroll, VK_SCROLL, panes - 1}};
    for (const Key& key : keys) {
        const std::string text = (::GetKeyState(key.vk) & 1) ? LoadText(key.id) : std::string();
        if (statusBar_->Text(key.pane) != text) statusBar_->SetText(key.pane, text);
    }
}

void FrameWindow::SetMessageText(const std::string& text) {
    if (statusBar_) statusBar_->SetText(0, text);
}

std::string FrameWindow::CommandPrompt(UINT id) {
    const std::string text = LoadText(id);
    return text.substr(0, text.find('\n'));
}

std::string FrameWindow::CommandTip(UINT id) {
    const std::string text = LoadText(id);
    const size_t cut = text.find('\n');
    return cut == std::string::npos ? std::string() : text.substr(cut + 1);
}

void FrameWindow::RecalcLayout() {
    if (!hwnd()) return;
    RECT rc = ClientRect();
    if (topBar_) {
        ::SendMessageA(topBar_, WM_SIZE, 0, 0);
        RECT bar{};
        ::GetWindowRect(topBar_, &bar);
        const int h = bar.bottom - bar.top;
        ::MoveWindow(topBar_, 0, 0, rc.right, h, TRUE);
        rc.top += h;
    }
    if (statusBar_ && statusBar_->Visible()) {
        statusBar_->Layout();
        RECT bar{};
        ::GetWindowRect(statusBar_->hwnd(), &bar);
        rc.bottom -= bar.bottom - bar.top;
    }
    if (client_)
        ::MoveWindow(client_, rc.left, rc.top, std::max(0L, rc.right - rc.left), std::max(0L, rc.bottom - rc.top),
                     TRUE);
}

void FrameWindow::UpdateMenu(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu, i, TRUE, &info) || info.hSubMenu || (info.fType & MFT_SEPARATOR)) continue;
        CommandUI ui(info.wID);
        const bool enabled = RouteUpdate(ui) && ui.Enabled();
        ::EnableMenuItem(menu, i, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, i, MF_BYPOSITION | (ui.Checked() ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT FrameWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) RecalcLayout();
            return 0;
        case WM_INITMENUPOPUP:
            if (!HIWORD(lParam)) UpdateMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT: {
            const UINT flags = HIWORD(wParam);
            if (flags == 0xFFFF && !lParam) {  // the menu closed
                showingPrompt_ = false;
            } else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
                showingPrompt_ = true;
                SetMessageText(CommandPrompt(LOWORD(wParam)));
            }
            return 0;
        }
        case WM_COMMAND: {
            HWND control = reinterpret_cast<HWND>(lParam);
            // Another control's notification was reflected to it already: only bar buttons are commands.
            if (control) {
                bool fromBar = false;
                for (const ToolBar* bar : toolBars_) fromBar = fromBar || bar->hwnd() == control;
                if (!fromBar) return 0;
            }
            RouteCommand(LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->code == TTN_GETDISPINFOA) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                static std::string tip;  // the control reads it after we return
                tip = CommandTip(static_cast<UINT>(hdr->idFrom));
                info->lpszText = tip.data();
                return 0;
            }
            if (hdr->code == TBN_HOTITEMCHANGE) {
                auto* hot = reinterpret_cast<NMTBHOTITEM*>(lParam);
                showingPrompt_ = !(hot->dwFlags & HICF_LEAVING);
                if (showingPrompt_) SetMessageText(CommandPrompt(static_cast<UINT>(hot->idNew)));
                return 0;
            }
            return 0;  // a bound child had it reflected already
        }
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace fw
