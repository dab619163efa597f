// ActiveX containment: a site that creates a control by class id, activates
// it in place in a window of ours, moves it, hands it keyboard messages,
// answers its ambient properties, and takes it down again.
//
// AxHost puts the control's window directly into a container window;
// AxWindow is a child window of its own that holds one control filling it,
// so whoever moves or sizes the child (a dialog's layout, GetDlgItem) moves
// the control too.
//
//   fw::AxWindow browser;
//   browser.host().SetAmbientHandler([](DISPID id, fw::Variant& v) {  // before Create:
//       if (id != DISPID_AMBIENT_USERAGENT) return false;             // controls ask while
//       v = fw::Variant(L"Agent/1.0");                                // they are set up
//       return true;
//   });
//   browser.Create(CLSID_WebBrowser, dialogWnd, rect, 1000);
//   fw::DispatchDriver(browser.host().Dispatch()).Call(104, {"about:blank"});
//   fw::AxKeyboardFilter keys;  // for the dialog's modal loop
#pragma once

#include "fw/com.h"
#include "fw/window.h"

#include <functional>

namespace fw {

namespace detail {
class AxSite;
}

// Answers one ambient property: sets value and returns true, or returns
// false to leave it to the container's defaults.
using AmbientHandler = std::function<bool(DISPID id, Variant& value)>;

// The step between creating a control and activating it: its initial data
// (a stream as IPersistStreamInit::Save wrote it; none: the control starts
// new) and whatever the host puts before the control makes its window.
struct AxSetup {
    ComPtr<IStream> initialData;
    // Called with the control, its site set and its state loaded; a failure stops the creation.
    std::function<HRESULT(IUnknown* control)> beforeActivate;
    bool visible = true;
};

class AxHost {
public:
    AxHost();
    ~AxHost();  // Destroy
    AxHost(const AxHost&) = delete;
    AxHost& operator=(const AxHost&) = delete;

    // Creates the control (in-process) and activates it in place inside
    // container at rect (container client coordinates).
    HRESULT Create(const CLSID& clsid, HWND container, const RECT& rect, bool visible = true);
    HRESULT Create(const CLSID& clsid, HWND container, const RECT& rect, const AxSetup& setup);
    // Hosts an object already created (its IOleObject is required).
    HRESULT Attach(IUnknown* control, HWND container, const RECT& rect, bool visible = true);
    HRESULT Attach(IUnknown* control, HWND container, const RECT& rect, const AxSetup& setup);
    // Deactivates, closes and releases the control, and unbinds the site.
    // Safe to call twice and after the container window is gone.
    void Destroy() noexcept;

    bool IsCreated() const noexcept;
    bool IsInPlaceActive() const noexcept;
    HWND container() const noexcept;
    // The control's in-place window, or null.
    HWND ControlWindow() const noexcept;
    RECT rect() const noexcept;

    // Moves and sizes the control (container client coordinates).
    HRESULT SetRect(const RECT& rect);
    void Show(bool visible) noexcept;
    // UI-activates the control (it takes the focus).
    HRESULT UIActivate();

    // Lets the active control translate a keyboard message first; true when
    // it took the message (the caller must not dispatch it).
    bool TranslateAccelerator(MSG* msg);

    void SetAmbientHandler(AmbientHandler handler);
    // Tells the control an ambient property changed (DISPID_UNKNOWN: several).
    HRESULT AmbientPropertyChanged(DISPID id);

    ComPtr<IUnknown> Control() const;
    ComPtr<IDispatch> Dispatch() const;
    template <typename T>
    ComPtr<T> ControlAs() const {
        return Control().template As<T>();
    }

    // The site as the control sees it: its client site and ambient IDispatch.
    ComPtr<IOleClientSite> Site() const;
    ComPtr<IDispatch> AmbientDispatch() const;

private:
    ComPtr<detail::AxSite> site_;
};

// A child window holding one control that fills its client area.
class AxWindow : public Window {
public:
    static constexpr const char* kClassName = "fwAxWindow";

    AxWindow() = default;
    ~AxWindow() override;

    HRESULT Create(const CLSID& clsid, HWND parent, const RECT& rect, UINT id,
                   DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, const AxSetup& setup = {});
    // Takes the place (rectangle, id, z-order, visibility) of a dialog's
    // placeholder control, which is destroyed.
    HRESULT CreateInPlaceOf(HWND dialog, int id, const CLSID& clsid, const AxSetup& setup = {});

    AxHost& host() noexcept { return host_; }
    const AxHost& host() const noexcept { return host_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    AxHost host_;
};

// For a message loop: when msg is a key for a hosted control's window (or a
// window inside it), that control translates it first; true when it did, and
// then the message must not be dispatched.
bool PreTranslateAxMessage(MSG* msg);

// While alive, keys reaching IsDialogMessage on this thread (a modal
// dialog's own loop included) go through PreTranslateAxMessage first.
class AxKeyboardFilter {
public:
    AxKeyboardFilter() noexcept;
    ~AxKeyboardFilter();
    AxKeyboardFilter(const AxKeyboardFilter&) = delete;
    AxKeyboardFilter& operator=(const AxKeyboardFilter&) = delete;
    explicit operator bool() const noexcept { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
};

}  // namespace fw
