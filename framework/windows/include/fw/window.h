// Windows as C++ objects: one static procedure binds `this` when the window is
// created (or subclassed) and forwards every message to the virtual
// HandleMessage. The binding is a map in the process (window_binder.h), never
// a window property: it is looked up on every message. It is cleared on
// WM_NCDESTROY, so no virtual call reaches a half-destroyed object; an object
// that still owns a live window destroys it in its destructor. A dialog
// (fw::Dialog) is a Window too: the same binding, the same HandleMessage/Default
// contract.
//
// Subclassing swaps the window's procedure for ours in its wide form, so a
// Unicode control's text passes unconverted, and keeps the previous one.
// Unsubclassing puts it back only while ours is on top; under another
// subclasser our procedure stays in the chain, passing every message through,
// until WM_NCDESTROY.
//
// Control notifications (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM,
// colour requests) that reach a bound window are first reflected to the bound
// object of the child that sent them, window or dialog, as kReflectBase + msg;
// a non-zero answer ends them there.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Notifications a parent reflects back to the control that sent them
// (OCM_BASE + message, the convention of control containers).
inline constexpr UINT kReflectBase = WM_USER + 0x1c00;
inline constexpr UINT kReflectedCommand = kReflectBase + WM_COMMAND;
inline constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
inline constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;
inline constexpr UINT kReflectedMeasureItem = kReflectBase + WM_MEASUREITEM;
inline constexpr UINT kReflectedCtlColorStatic = kReflectBase + WM_CTLCOLORSTATIC;
inline constexpr UINT kReflectedCtlColorBtn = kReflectBase + WM_CTLCOLORBTN;

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }
    explicit operator bool() const noexcept { return hwnd_ != nullptr; }

    // The object bound to a window of ours, or null.
    static Window* FromHandle(HWND wnd);

    // Registers (once) a window class whose procedure is ours.
    static bool RegisterClass(const char* className, UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                              HICON icon = nullptr, HCURSOR cursor = ::LoadCursor(nullptr, IDC_ARROW));

    // Creates a window of a class registered with RegisterClass.
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
                int height, HWND parent, UINT_PTR idOrMenu = 0);

    // Binds to an existing window (a dialog's control) by subclassing it;
    // refused for a window already bound to an object.
    bool Subclass(HWND wnd);
    // Lets go of the window; no message reaches this object afterwards.
    void Unsubclass();

    bool Destroy();

    std::string GetText() const;
    void SetText(const std::string& text) const;
    RECT ClientRect() const;
    RECT WindowRect() const;  // screen coordinates
    int Id() const { return ::GetDlgCtrlID(hwnd_); }

protected:
    // Every message of the window; call Default for what is not handled.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing the message would have had without this class: the
    // window's own procedure (a dialog's: its handlers, then the dialog manager).
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultMessage(msg, wParam, lParam); }
    // Called after WM_NCDESTROY, once the binding is gone (inside the same
    // exception guard as the messages).
    virtual void OnFinalDestroy() {}

private:
    friend class Dialog;

    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Reflection and HandleMessage, with nothing thrown leaving; false when
    // an exception was stopped.
    bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Bind(HWND wnd);
    void Unbind();
    // Unbinds after WM_NCDESTROY and calls OnFinalDestroy inside the guard.
    void FinalDestroy(HWND wnd, UINT msg);
    // After WM_NCDESTROY: FinalDestroy when self is still the window's object.
    static void EndOfWindow(HWND wnd, UINT msg, Window* self);

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
    // A subclassed window's procedure below ours, and whether the window was
    // an ANSI one before our wide procedure made it Unicode.
    WNDPROC previous_ = nullptr;
    bool wasAnsi_ = false;
    // previous_ is a function, called without CallWindowProcW.
    bool callDirect_ = false;
};

// A window's rectangle in screen coordinates.
RECT ScreenRectOf(HWND wnd);

// Sends a parent's notification back to the control object it came from;
// true when that control is bound (result set to its answer).
bool ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The child a control notification to `parent` comes from, or null.
HWND NotifyingChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace fw
