#include "ZylCombo.h"

#include "fw/dispatch.h"

namespace {

enum : DISPID {
    kSort = 1,
    kGetText = 2,
    kCount = 3,
    kGetTextForIndex = 4,
    kSetCurSel = 5,
    kAddFonts = 8,
    kAddFontSizes = 9,
    kAddFontColors = 10,
    kEnableControl = 11,
    kGetColorRefName = 12,
    kGetColorRefForName = 13,
};

}  // namespace

// {0F3550B3-3B6A-11D0-BA1F-027CFC000000}
const CLSID CZylCombo::kClsid = {0x0f3550b3, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};

HRESULT CZylCombo::CreateInPlaceOf(HWND dialog, int id, bool sort) {
    fw::AxSetup setup;
    setup.beforeActivate = [sort](IUnknown* control) {
        return fw::DispatchDriver(fw::ComPtr<IUnknown>(control).As<IDispatch>()).Put(kSort, fw::Variant(sort));
    };
    return fw::AxWindow::CreateInPlaceOf(dialog, id, kClsid, setup);
}

HWND CZylCombo::ComboWindow() const {
    HWND control = host().ControlWindow();
    return control ? ::GetWindow(control, GW_CHILD) : nullptr;
}

std::string CZylCombo::GetText() const {
    return fw::DispatchDriver(host().Dispatch()).Call(kGetText).value.ToString();
}

short CZylCombo::Count() const {
    return static_cast<short>(fw::DispatchDriver(host().Dispatch()).Call(kCount).value.ToLong());
}

std::string CZylCombo::GetTextForIndex(short index) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kGetTextForIndex, {static_cast<int>(index)}).value.ToString();
}

void CZylCombo::SetCurSel(short index) const {
    fw::DispatchDriver(host().Dispatch()).Call(kSetCurSel, {static_cast<int>(index)});
}

bool CZylCombo::AddFonts(const std::string& defaultFont) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kAddFonts, {defaultFont}).value.ToLong() != 0;
}

bool CZylCombo::AddFontSizes(bool showNumbers, const std::string& defaultSize) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kAddFontSizes, {showNumbers, defaultSize}).value.ToLong() != 0;
}

bool CZylCombo::AddFontColors(const std::string& defaultColor) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kAddFontColors, {defaultColor}).value.ToLong() != 0;
}

void CZylCombo::EnableControl(bool enable) const {
    fw::DispatchDriver(host().Dispatch()).Call(kEnableControl, {enable});
}

std::string CZylCombo::GetColorRefName(long color) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kGetColorRefName, {color}).value.ToString();
}

long CZylCombo::GetColorRefForName(const std::string& name) const {
    return fw::DispatchDriver(host().Dispatch()).Call(kGetColorRefForName, {name}).value.ToLong();
}
