// Windows as C++ objects: one static procedure binds `this` when the window is
// created (or subclassed) and forwards every message to the virtual
// HandleMessage. The binding is cleared on WM_NCDESTROY, so no virtual call
// reaches a half-destroyed object; an object that still owns a live window
// destroys it in its destructor.
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

    // Binds to an existing window (a dialog's control) by subclassing it.
    bool Subclass(HWND wnd);
    void Unsubclass();

    bool Destroy();

    std::string GetText() const;
    void SetText(const std::string& text) const;
    RECT ClientRect() const;
    RECT WindowRect() const;  // screen coordinates
    int Id() const { return ::GetDlgCtrlID(hwnd_); }

protected:
    // Every message of the window; the default passes it on.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing the window would have had without us.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, once the binding is gone.
    virtual void OnFinalDestroy() {}

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
};

// A window's rectangle in screen coordinates.
RECT ScreenRectOf(HWND wnd);

// Sends a parent's notification back to the control object it came from;
// true when that control handled it (result set).
bool ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace fw
