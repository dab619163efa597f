#include "fw/message_loop.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace fw {

namespace {

// Windows of the user-interface thread only: no lock.
std::vector<HWND>& ModelessDialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}

std::atomic<int> g_modalDepth{0};

}  // namespace

void AddModelessDialog(HWND dialog) {
    auto& list = ModelessDialogs();
    if (std::find(list.begin(), list.end(), dialog) == list.end()) list.push_back(dialog);
}

void RemoveModelessDialog(HWND dialog) {
    std::erase(ModelessDialogs(), dialog);
}

bool PreTranslateModeless(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    const auto& list = ModelessDialogs();
    if (list.empty()) return false;
    // The innermost registered dialog that holds the window gets the keys.
    for (HWND wnd = msg.hwnd; wnd; wnd = ::GetParent(wnd)) {
        if (std::find(list.begin(), list.end(), wnd) != list.end()) return ::IsDialogMessageA(wnd, &msg) != FALSE;
        if (!(::GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

void RequestIdle() {
    // Any message the loop takes, other than a timer's or a paint's, is followed by an idle step.
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

int RunMessageLoop(const MessageFilter& filter, const IdleStep& idle) {
    bool idleDue = true;
    for (;;) {
        MSG msg;
        if (idleDue && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            idleDue = false;
            if (idle) idle();
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (PreTranslateModeless(msg)) continue;
        if (filter && filter(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        // Timers and paints alone do not call for another idle step.
        if (msg.message != WM_TIMER && msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */)
            idleDue = true;
    }
}

int ModalDepth() {
    return g_modalDepth.load();
}

ModalScope::ModalScope() {
    ++g_modalDepth;
}
ModalScope::~ModalScope() {
    --g_modalDepth;
}

}  // namespace fw
