// A small in-process control that behaves as a real one toward its site and
// records every call the container makes, so tests can check the order of
// calls and that the container lets go of it.
#pragma once

#include "fw/com_object.h"

#include <string>
#include <vector>

namespace fakes {

struct ControlLog {
    std::vector<std::string> calls;
    bool destroyed = false;
    long userModeAnswer = -1;  // what the site answered for DISPID_AMBIENT_USERMODE, -1: not asked
    bool throwOnKey = false;   // TranslateAccelerator throws, as a faulty control's C++ code might
};

// The active object a UI-active control hands its frame; a document control
// hands over its document's, so it need not be the control itself.
class FakeActiveObject final : public fw::ComObject<IOleInPlaceActiveObject> {
public:
    FakeActiveObject(ControlLog* log, HWND wnd) : log_(log), wnd_(wnd) {}
    STDMETHODIMP GetWindow(HWND* wnd) override {
        *wnd = wnd_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override {
        log_->calls.push_back("TranslateAccelerator(active)");
        return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F5 ? S_OK : S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

private:
    ControlLog* log_;
    HWND wnd_;
};

class FakeControl final
    : public fw::ComObject<IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl, IPersistStreamInit> {
public:
    FakeControl(ControlLog* log, DWORD miscStatus) : log_(log), misc_(miscStatus) {}
    ~FakeControl() override;

    HWND window() const { return wnd_; }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override { return site_.CopyTo(site); }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return Log("SetHostNames"); }
    STDMETHODIMP Close(DWORD) override { return Log("Close"); }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return Log("SetExtent"); }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = misc_;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
    // IOleWindow (shared by the in-place interfaces)
    STDMETHODIMP GetWindow(HWND* wnd) override {
        *wnd = wnd_;
        return wnd_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }
    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override { return Log("InitNew"); }

protected:
    void* QueryExtra(REFIID iid) override;

private:
    HRESULT Log(std::string call) {
        log_->calls.push_back(std::move(call));
        return S_OK;
    }
    void AskUserMode();

    ControlLog* log_;
    DWORD misc_;
    fw::ComPtr<IOleClientSite> site_;
    fw::ComPtr<IOleInPlaceSite> inPlaceSite_;
    fw::ComPtr<IOleInPlaceFrame> frame_;
    HWND wnd_ = nullptr;
    bool uiActive_ = false;
};

}  // namespace fakes
