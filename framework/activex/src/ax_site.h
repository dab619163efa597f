// The container side of one hosted control: the client site (with its
// in-place, control-site and ambient-property interfaces) and the frame.
// AxHost is only a facade over AxSite.
#pragma once

#include "fw/activex.h"
#include "fw/com_object.h"

#include <ocidl.h>
#include <olectl.h>

namespace fw::detail {

// The frame (and document window) the control sees while in place. It keeps
// the active object the control hands it on UI activation.
class AxFrame final : public ComObject<IOleInPlaceFrame> {
public:
    explicit AxFrame(HWND container) : container_(container) {}

    ComPtr<IOleInPlaceActiveObject> active() const { return active_; }
    void Clear() noexcept {
        active_.reset();
        container_ = nullptr;
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* wnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        active_ = active;
        return S_OK;
    }
    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

protected:
    void* QueryExtra(REFIID iid) override;

private:
    HWND container_;
    ComPtr<IOleInPlaceActiveObject> active_;
};

class AxSite final : public ComObject<IOleClientSite, IOleInPlaceSiteEx, IOleControlSite, IDispatch> {
public:
    HRESULT Attach(IUnknown* control, HWND container, const RECT& rect, const AxSetup& setup);
    void Destroy() noexcept;

    bool created() const noexcept { return static_cast<bool>(object_); }
    bool inPlace() const noexcept { return static_cast<bool>(inPlace_); }
    HWND container() const noexcept { return container_; }
    HWND ControlWindow() const noexcept;
    RECT rect() const noexcept { return rect_; }
    HRESULT SetRect(const RECT& rect);
    HRESULT UIActivate();
    bool TranslateAccelerator(MSG* msg);
    void SetAmbientHandler(AmbientHandler handler) { ambient_ = std::move(handler); }
    HRESULT AmbientPropertyChanged(DISPID id);
    ComPtr<IUnknown> control() const { return control_; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* wnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return container_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;
    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return OnInPlaceDeactivate(); }
    STDMETHODIMP RequestUIActivate() override { return container_ ? S_OK : S_FALSE; }
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** out) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

protected:
    void* QueryExtra(REFIID iid) override;

private:
    bool DefaultAmbient(DISPID id, Variant& value) const;

    HWND container_ = nullptr;
    RECT rect_{};
    ComPtr<IUnknown> control_;
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> inPlace_;
    ComPtr<AxFrame> frame_;
    bool uiActive_ = false;
    AmbientHandler ambient_;
};

}  // namespace fw::detail
