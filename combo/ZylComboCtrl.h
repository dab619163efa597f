// CZylComboCtrl: the control of ZYLCOMBO.OCX. A drop-down list combo box
// (a superclass of "COMBOBOX") whose items the control draws itself; the
// host fills it with font families, font sizes, named colours or tune names
// through _DZylCombo and reads the selection back.
#pragma once

#include "fw/ax_control.h"
#include "fw/com_registration.h"

#include <string>

// List modes: how DrawItem paints the items; the last fill method decides.
enum ZylListMode : int { kListFonts = 1, kListSizes = 2, kListColors = 3, kListTunes = 4 };

extern const CLSID CLSID_ZylComboPropPage;

class CZylComboCtrl final : public fw::AxControl {
public:
    CZylComboCtrl();

    static const fw::AxControlInfo& Info();
    static const fw::ControlClassInfo& Registration();

    int ListMode() const noexcept { return m_nListMode; }
    bool WQX() const noexcept { return m_bWQX != FALSE; }
    BOOL Sort() const noexcept { return m_bSort; }

    // _DZylCombo. Before the control has its window a method returns FALSE,
    // "" or 0 and adds nothing.
    void SetSort(BOOL sort);
    std::string GetText() const;
    short Count() const;
    std::string GetTextForIndex(short index) const;
    void SetCurSel(short index);
    short AddTunes(const std::string& tuneName);
    void IsComboForWQX(BOOL wqx);
    BOOL AddFonts(const std::string& defaultFontName);
    BOOL AddFontSizes(BOOL showNumbers, const std::string& defaultSize);
    BOOL AddFontColors(const std::string& defaultColor);
    void EnableControl(BOOL enable);
    static std::string GetColorRefName(long color);
    static long GetColorRefForName(const std::string& colorName);

    // Paints one item for the reflected WM_DRAWITEM.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    void PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DoPropExchange(fw::PropExchange& px) override;
    void OnAboutBox() override;

private:
    void AddMethods();
    // The item's text, read by its real length; "" for an index out of range.
    std::string ItemText(int index) const;
    // Finds the item equal to name without regard to case and selects it.
    bool SelectByName(const std::string& name);
    // A value of the sibling product's "PEXARD.INI", read into a buffer of bufferSize.
    static std::string ReadWqxDefault(const char* key, const char* fallback, size_t bufferSize);

    int m_nListMode = kListFonts;
    BOOL m_bWQX = FALSE;
    BOOL m_bSort = FALSE;
};
