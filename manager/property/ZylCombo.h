// The manager's wrapper of the ZylCombo control (ZYLCOMBO.OCX): a child
// window hosting one control made by its class id, with one member per
// dispatch method the pages use. Without a control every member answers
// FALSE, "" or 0.
#pragma once

#include "fw/activex.h"

#include <string>

class CZylCombo : public fw::AxWindow {
public:
    static const CLSID kClsid;

    // Takes the place of a dialog's placeholder; sort is put before the control makes its window.
    HRESULT CreateInPlaceOf(HWND dialog, int id, bool sort);
    bool Exists() const { return static_cast<bool>(host().Dispatch()); }
    // The control's own combo box (its list), or null.
    HWND ComboWindow() const;

    std::string GetText() const;
    short Count() const;
    std::string GetTextForIndex(short index) const;
    void SetCurSel(short index) const;
    bool AddFonts(const std::string& defaultFont) const;
    bool AddFontSizes(bool showNumbers, const std::string& defaultSize) const;
    bool AddFontColors(const std::string& defaultColor) const;
    void EnableControl(bool enable) const;
    std::string GetColorRefName(long color) const;
    long GetColorRefForName(const std::string& name) const;
};
