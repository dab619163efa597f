// Owners of user-interface handles beside those of fw/handles.h: image lists,
// created cursors and window timers.
#pragma once

#include "fw/handles.h"

#include <commctrl.h>
#include <windows.h>

#include <utility>

namespace fw {

struct ImageListTraits {
    using pointer = HIMAGELIST;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::ImageList_Destroy(h); }
};

struct CursorTraits {  // created or loaded-from-file cursors only; shared system cursors need no owner
    using pointer = HCURSOR;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::DestroyCursor(h); }
};

using ImageList = UniqueHandle<ImageListTraits>;
using Cursor = UniqueHandle<CursorTraits>;

// A window timer, killed when the owner goes (unless the window went first).
class WindowTimer {
public:
    WindowTimer() = default;
    ~WindowTimer() { Kill(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    bool Set(HWND wnd, UINT_PTR id, UINT periodMs) {
        Kill();
        if (!::SetTimer(wnd, id, periodMs, nullptr)) return false;
        wnd_ = wnd;
        id_ = id;
        return true;
    }
    void Kill() {
        if (wnd_ && ::IsWindow(wnd_)) ::KillTimer(wnd_, id_);
        wnd_ = nullptr;
    }
    bool Active() const noexcept { return wnd_ != nullptr; }

private:
    HWND wnd_ = nullptr;
    UINT_PTR id_ = 0;
};

// A wait cursor for the life of the object.
class WaitCursor {
public:
    WaitCursor() : old_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

}  // namespace fw
