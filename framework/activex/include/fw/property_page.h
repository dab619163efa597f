// A property page (IPropertyPage) over a dialog template of the module: the
// frame gets the page's title and size from the template, and the page's
// dialog is a modeless child of the frame while the page is active.
#pragma once

#include "fw/com_module.h"
#include "fw/com_object.h"
#include "fw/dialog.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <vector>

namespace fw {

// The size in pixels of a dialog template of a module (its font decides the
// dialog units); {0, 0} when the template is missing or malformed.
SIZE DialogTemplateSize(HINSTANCE module, UINT templateId);

class PropertyPage : public ComObject<IPropertyPage> {
public:
    // dialogId: a child-style dialog template; titleId: a string resource.
    PropertyPage(UINT dialogId, UINT titleId) : dialogId_(dialogId), titleId_(titleId) {}

    HWND hwnd() const noexcept { return dialog_ ? dialog_->hwnd() : nullptr; }

    // IPropertyPage
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmd) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

protected:
    ~PropertyPage() override;
    // The page's dialog; the default has no behaviour of its own beyond
    // leaving Enter and Esc to the frame.
    virtual std::unique_ptr<Dialog> MakeDialog();
    // Puts the page's values into the objects.
    virtual HRESULT OnApply() { return S_OK; }
    const std::vector<ComPtr<IUnknown>>& objects() const noexcept { return objects_; }
    void SetDirty(bool dirty);

private:
    HRESULT PageInfo(PROPPAGEINFO* info);

    ModuleObjectCount alive_;
    UINT dialogId_;
    UINT titleId_;
    std::unique_ptr<Dialog> dialog_;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IUnknown>> objects_;
    bool dirty_ = false;
};

}  // namespace fw
