// The font and colour page of the property pane (dialog 139): a link's page
// font and size, its text and background colours (or the Windows colours) and
// its three link colours, on seven ZylCombo controls and two check boxes.
// The controls need ZYLCOMBO.OCX registered; without it the page stays
// disabled and reads nothing back.
#pragma once

#include "ZylCombo.h"

#include "fw/dialog.h"

#include <array>
#include <optional>
#include <string>

class CErrorLog;

// The font sizes by code and name (101 "Smallest" to 105 "Largest").
int FontSizeCodeOfName(const std::string& name);
std::string FontSizeNameOfCode(int code);

// What the page shows; a list without a selection holds nothing.
struct FontPageValues {
    std::optional<std::string> face;
    std::optional<int> size;
    bool useWindowsColors = false;
    std::optional<COLORREF> text, background;
    bool useHover = false;
    std::optional<COLORREF> hover, visited, unvisited;

    bool operator==(const FontPageValues&) const = default;
};

class CFontColorOptionsDlg : public fw::Dialog {
public:
    // log: where a page without its controls is reported (once); may be null.
    explicit CFontColorOptionsDlg(CErrorLog* log = nullptr);

    // Every control was made.
    bool HasControls() const { return controlsMade_; }
    // The page is shown: a page without its controls says so in the log, once.
    void OnShown();

    void SetFontName(const std::string& name);
    std::string GetFontName() const;
    void SetFontSize(int code);
    int GetFontSize() const;
    void SetUseWindowsColors(bool flag);
    bool GetUseWindowsColors() const;
    void SetUseHoverColor(bool flag);
    bool GetUseHoverColor() const;
    // A colour of the 16 named ones selects its entry; any other clears the selection.
    void SetColor(int comboId, COLORREF color);
    // The selected colour, or nothing when the list has no selection.
    bool GetColor(int comboId, COLORREF* color) const;

    // Enables or disables every control; resets nothing.
    void EnableControls(bool enable);

    const CZylCombo* Combo(int id) const;
    FontPageValues Values() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    CZylCombo* ComboOf(int id);
    void ApplyWindowsColorsRule();
    void ApplyHoverRule();
    // Selects the first item whose text equals name exactly; none: the selection is cleared.
    void SelectText(CZylCombo& combo, const std::string& name);

    CErrorLog* log_;
    bool controlsMade_ = false;
    bool reported_ = false;
    bool enabled_ = false;
    // In the order the page makes them: size, name, text, hover, unvisited, visited, background.
    std::array<CZylCombo, 7> combos_;
};
