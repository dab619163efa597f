#include "FontColorOptionsDlg.h"

#include "ErrorCodes.h"
#include "ErrorHandler.h"
#include "PropertyIds.h"

#include <charconv>

namespace {

constexpr int kDroppedHeight = 160;

struct SizeName {
    int code;
    const char* name;
};
constexpr SizeName kSizes[] = {
    {101, "Smallest"}, {102, "Smaller"}, {103, "Medium"}, {104, "Larger"}, {105, "Largest"},
};

// The combos in the page's order, with the Sort each starts with and its fill.
struct ComboSpec {
    int id;
    bool sort;
};
constexpr ComboSpec kCombos[] = {
    {IDC_FONT_SIZE, false},      {IDC_FONT_NAME, true},     {IDC_TEXT_COLOR, true},       {IDC_HOVER_COLOR, true},
    {IDC_UNVISITED_COLOR, true}, {IDC_VISITED_COLOR, true}, {IDC_BACKGROUND_COLOR, true},
};

}  // namespace

int FontSizeCodeOfName(const std::string& name) {
    for (const SizeName& s : kSizes)
        if (name == s.name) return s.code;
    // Any other text counts by its number; more than 100 gives 10, none 0.
    int value = 0;
    std::from_chars(name.data(), name.data() + name.size(), value);
    return value > 100 ? 10 : value;
}

std::string FontSizeNameOfCode(int code) {
    for (const SizeName& s : kSizes)
        if (s.code == code) return s.name;
    return {};
}

CFontColorOptionsDlg::CFontColorOptionsDlg(CErrorLog* log) : fw::Dialog(IDD_FONT_COLOR_OPTIONS), log_(log) {}

CZylCombo* CFontColorOptionsDlg::ComboOf(int id) {
    for (size_t i = 0; i < std::size(kCombos); ++i)
        if (kCombos[i].id == id) return &combos_[i];
    return nullptr;
}

const CZylCombo* CFontColorOptionsDlg::Combo(int id) const {
    return const_cast<CFontColorOptionsDlg*>(this)->ComboOf(id);
}

BOOL CFontColorOptionsDlg::OnInitDialog() {
    controlsMade_ = true;
    for (size_t i = 0; i < std::size(kCombos); ++i) {
        if (FAILED(combos_[i].CreateInPlaceOf(hwnd(), kCombos[i].id, kCombos[i].sort))) {
            controlsMade_ = false;
            continue;
        }
        // The place is one line high; the list drops below it to its own height.
        if (HWND list = combos_[i].ComboWindow()) {
            RECT rc{};
            ::GetWindowRect(list, &rc);
            ::SetWindowPos(list, nullptr, 0, 0, rc.right - rc.left, kDroppedHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    EnableControls(false);
    if (!controlsMade_) return FALSE;
    ComboOf(IDC_FONT_NAME)->AddFonts("Arial");
    ComboOf(IDC_FONT_SIZE)->AddFontSizes(false, "Medium");
    ComboOf(IDC_TEXT_COLOR)->AddFontColors("Black");
    ComboOf(IDC_HOVER_COLOR)->AddFontColors("Red");
    ComboOf(IDC_UNVISITED_COLOR)->AddFontColors("Blue");
    ComboOf(IDC_VISITED_COLOR)->AddFontColors("Purple");
    ComboOf(IDC_BACKGROUND_COLOR)->AddFontColors("White");
    return FALSE;
}

void CFontColorOptionsDlg::OnShown() {
    // In the log only, when the user first looks: a box at every start would stop the program until answered.
    if (controlsMade_ || reported_ || !log_) return;
    reported_ = true;
    log_->LogError(kErrWindowClass, "CFontColorOptionsDlg::OnInitDialog()");
}

void CFontColorOptionsDlg::SelectText(CZylCombo& combo, const std::string& name) {
    const short count = combo.Count();
    for (short i = 0; i < count; ++i)
        if (combo.GetTextForIndex(i) == name) {
            combo.SetCurSel(i);
            return;
        }
    // What the list cannot show is not shown as another link's value.
    combo.SetCurSel(-1);
}

void CFontColorOptionsDlg::SetFontName(const std::string& name) {
    if (CZylCombo* combo = ComboOf(IDC_FONT_NAME)) SelectText(*combo, name.empty() ? std::string("Arial") : name);
}

std::string CFontColorOptionsDlg::GetFontName() const {
    return Combo(IDC_FONT_NAME)->GetText();
}

void CFontColorOptionsDlg::SetFontSize(int code) {
    CZylCombo& combo = *ComboOf(IDC_FONT_SIZE);
    const std::string name = FontSizeNameOfCode(code);
    if (combo.GetTextForIndex(0) != "Largest" || name.empty()) {
        combo.SetCurSel(-1);
        return;
    }
    combo.SetCurSel(static_cast<short>(105 - code));
}

int CFontColorOptionsDlg::GetFontSize() const {
    return FontSizeCodeOfName(Combo(IDC_FONT_SIZE)->GetText());
}

void CFontColorOptionsDlg::SetUseWindowsColors(bool flag) {
    ::CheckDlgButton(hwnd(), IDC_USE_WINDOWS_COLORS, flag ? BST_CHECKED : BST_UNCHECKED);
    ApplyWindowsColorsRule();
}

bool CFontColorOptionsDlg::GetUseWindowsColors() const {
    return ::IsDlgButtonChecked(hwnd(), IDC_USE_WINDOWS_COLORS) == BST_CHECKED;
}

void CFontColorOptionsDlg::SetUseHoverColor(bool flag) {
    ::CheckDlgButton(hwnd(), IDC_USE_HOVER, flag ? BST_CHECKED : BST_UNCHECKED);
    ApplyHoverRule();
}

bool CFontColorOptionsDlg::GetUseHoverColor() const {
    return ::IsDlgButtonChecked(hwnd(), IDC_USE_HOVER) == BST_CHECKED;
}

void CFontColorOptionsDlg::SetColor(int comboId, COLORREF color) {
    CZylCombo* combo = ComboOf(comboId);
    if (!combo) return;
    SelectText(*combo, combo->GetColorRefName(static_cast<long>(color)));
}

bool CFontColorOptionsDlg::GetColor(int comboId, COLORREF* color) const {
    const CZylCombo* combo = Combo(comboId);
    if (!combo) return false;
    const std::string name = combo->GetText();
    if (name.empty()) return false;
    *color = static_cast<COLORREF>(combo->GetColorRefForName(name));
    return true;
}

FontPageValues CFontColorOptionsDlg::Values() const {
    FontPageValues v;
    if (!controlsMade_) return v;
    if (std::string face = GetFontName(); !face.empty()) v.face = face;
    if (const int size = GetFontSize(); size != 0) v.size = size;
    v.useWindowsColors = GetUseWindowsColors();
    v.useHover = GetUseHoverColor();
    const auto color = [this](int id) {
        COLORREF c = 0;
        return GetColor(id, &c) ? std::optional<COLORREF>(c) : std::nullopt;
    };
    v.text = color(IDC_TEXT_COLOR);
    v.background = color(IDC_BACKGROUND_COLOR);
    v.hover = color(IDC_HOVER_COLOR);
    v.visited = color(IDC_VISITED_COLOR);
    v.unvisited = color(IDC_UNVISITED_COLOR);
    return v;
}

void CFontColorOptionsDlg::ApplyWindowsColorsRule() {
    const bool on = GetUseWindowsColors();
    for (int id : {IDC_TEXT_COLOR, IDC_BACKGROUND_COLOR}) ComboOf(id)->EnableControl(enabled_ && !on);
}

void CFontColorOptionsDlg::ApplyHoverRule() {
    ComboOf(IDC_HOVER_COLOR)->EnableControl(enabled_ && GetUseHoverColor());
}

void CFontColorOptionsDlg::EnableControls(bool enable) {
    // A page without its controls stays disabled.
    enabled_ = enable && controlsMade_;
    ::EnableWindow(Item(IDC_USE_WINDOWS_COLORS), enabled_);
    ::EnableWindow(Item(IDC_USE_HOVER), enabled_);
    for (CZylCombo& combo : combos_) combo.EnableControl(enabled_);
    for (int id = IDC_FONT_FIRST_LABEL; id <= IDC_FONT_LAST_LABEL; ++id) ::EnableWindow(Item(id), enabled_);
    if (enabled_) {
        ApplyWindowsColorsRule();
        ApplyHoverRule();
    }
}

bool CFontColorOptionsDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_USE_WINDOWS_COLORS && code == BN_CLICKED) {
        ApplyWindowsColorsRule();
        return true;
    }
    if (id == IDC_USE_HOVER && code == BN_CLICKED) {
        ApplyHoverRule();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}
