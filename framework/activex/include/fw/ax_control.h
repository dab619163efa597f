// The control side of ActiveX: a base for an in-process control with its own
// window, served by a fw::ComModule.
//
// The base answers the container (IOleObject, in-place activation, IOleControl,
// IViewObject2), persists through one property exchange for streams and
// property bags, offers its events and property changes through connection
// points, and answers IDispatch through the type library (fw::TypeDispatch),
// with the stock members BackColor, ForeColor, Refresh and AboutBox.
//
// In place, the control's window (a superclass of a system class, such as
// "COMBOBOX", registered in the module) is the child of a reflector window
// that the base puts into the container: notifications the window sends its
// parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, colours...)
// come back to the control as fw::kReflectBase + msg, whatever the container.
//
//   class MyCtrl : public fw::AxControl {
//   public:
//       MyCtrl() : AxControl(kInfo) { dispatch().AddMethod(2, ...); }
//   protected:
//       void PreCreateWindow(CREATESTRUCTA& cs) override { cs.style |= CBS_DROPDOWNLIST; }
//       LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
//       void DoPropExchange(fw::PropExchange& px) override { AxControl::DoPropExchange(px); px.Bool("Sort", sort_,
//       FALSE); }
//   };
#pragma once

#include "fw/com_module.h"
#include "fw/com_object.h"
#include "fw/connection_point.h"
#include "fw/prop_exchange.h"
#include "fw/type_dispatch.h"

#include <ocidl.h>
#include <olectl.h>

#include <initializer_list>
#include <vector>

namespace fw {

// What a control class is, for the base.
struct AxControlInfo {
    CLSID clsid;
    GUID libid;
    WORD libMajor = 1;
    WORD libMinor = 0;
    IID dispIid;    // the control's dispinterface
    IID eventsIid;  // its default source dispinterface
    UINT userTypeId = 0;
    DWORD miscStatus = 0;
    std::vector<CLSID> pages;
    const char* superclass = nullptr;  // a system window class, or null for a plain window
    DWORD persistVersion = 0x00010000;
};

class AxControl : public ComObject<IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl, IViewObject2,
                                   IPersistStreamInit, IPersistPropertyBag, IProvideClassInfo2, ISpecifyPropertyPages,
                                   IConnectionPointContainer, IDispatch> {
public:
    explicit AxControl(AxControlInfo info);

    HWND hwnd() const noexcept { return wnd_; }
    // The container's window holding the reflector, or null.
    HWND reflector() const noexcept { return reflector_; }
    bool IsInPlaceActive() const noexcept { return inPlaceSite_ != nullptr; }
    bool IsModified() const noexcept { return modified_; }
    OLE_COLOR BackColor() const noexcept { return backColor_; }
    OLE_COLOR ForeColor() const noexcept { return foreColor_; }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* out) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* wnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL freeze) override;
    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) override;
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;
    // IPersist, IPersistStreamInit, IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return modified_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;
    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;
    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

protected:
    ~AxControl() override;
    void* QueryExtra(REFIID iid) override;

    const AxControlInfo& info() const noexcept { return info_; }
    // The members behind IDispatch; register them in the constructor.
    TypeDispatch& dispatch() noexcept { return dispatch_; }
    // The registered type library (the module's own when it is not registered).
    ComPtr<ITypeLib> TypeLib(LCID lcid = LOCALE_USER_DEFAULT);

    // The window: style and size before creation; then every message of it
    // (reflected notifications included); Default is the superclass's processing.
    virtual void PreCreateWindow(CREATESTRUCTA&) {}
    virtual void OnCreated() {}
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // Every persistent property, in one pass for loading, saving and reset.
    // The base exchanges the version, the extent and the stock colours.
    virtual void DoPropExchange(PropExchange& px);
    // The face without a window (IViewObject::Draw); with one, the
    // superclass paints it.
    virtual void OnDraw(HDC dc, const RECT& bounds);
    virtual void OnAboutBox() {}

    // A property changed: the container learns it and the state is dirty.
    void SetModified(DISPID changed = DISPID_UNKNOWN);
    // Fires an event to every sink of the events interface (not while frozen).
    void FireEvent(DISPID id, std::initializer_list<Variant> args = {});
    // The window dialogs of the control are owned by.
    HWND DialogOwner() const;
    // Opens the property frame over the control's pages.
    HRESULT ShowPropertyFrame();

private:
    friend struct AxControlWindows;
    HRESULT InPlaceActivate(IOleClientSite* site, bool uiActivate);
    bool CreateWindows(HWND parent, const RECT& pos);
    void DestroyWindows() noexcept;
    void PlaceWindows(const RECT& pos);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Reflect(UINT msg, WPARAM wParam, LPARAM lParam);
    HRESULT EnsureTypeInfo();
    HRESULT LoadTypeInfo();
    HRESULT OpenPropertyFrame();
    HRESULT Exchange(PropExchange& px);

    ModuleObjectCount alive_;
    AxControlInfo info_;
    TypeDispatch dispatch_;
    bool typeInfoLoaded_ = false;
    ConnectionPoint events_;
    ConnectionPoint propNotify_;
    ComPtr<IOleClientSite> clientSite_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> doc_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0, viewFlags_ = 0;
    HWND wnd_ = nullptr;
    HWND reflector_ = nullptr;
    WNDPROC superProc_ = nullptr;
    bool uiActive_ = false;
    bool modified_ = false;
    LONG frozen_ = 0;
    SIZEL extent_{2540, 635};  // HIMETRIC: 96 x 24 pixels at 96 dpi
    OLE_COLOR backColor_ = 0x80000000 | COLOR_WINDOW;
    OLE_COLOR foreColor_ = 0x80000000 | COLOR_WINDOWTEXT;
};

}  // namespace fw
