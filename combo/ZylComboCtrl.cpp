// The control's identity, window, persistence and dispatch members.
#include "ZylComboCtrl.h"

#include "ZylColors.h"
#include "ZylCombo_h.h"
#include "resource.h"

#include "fw/dialog.h"

#include <climits>

// {0F3550B4-3B6A-11D0-BA1F-027CFC000000}
const CLSID CLSID_ZylComboPropPage = {0x0f3550b4, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};

namespace {

// OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
// OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
constexpr DWORD kMiscStatus = 0x20191;
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_HASSTRINGS | CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST;
static_assert(kStyle == 0x50200213);

BOOL Truth(const fw::DispArgs& a, UINT i) {
    return a.Bool(i) ? TRUE : FALSE;
}

}  // namespace

const fw::AxControlInfo& CZylComboCtrl::Info() {
    static const fw::AxControlInfo info{CLSID_ZylCombo,
                                        LIBID_ZYLCOMBOLib,
                                        1,
                                        0,
                                        DIID__DZylCombo,
                                        DIID__DZylComboEvents,
                                        IDS_ZYLCOMBO,
                                        kMiscStatus,
                                        {CLSID_ZylComboPropPage},
                                        "COMBOBOX",
                                        0x00010000};
    return info;
}

const fw::ControlClassInfo& CZylComboCtrl::Registration() {
    // Flags 0: not insertable, no threading model written.
    static const fw::ControlClassInfo info{CLSID_ZylCombo,
                                           "ZYLCOMBO.ZylComboCtrl.1",
                                           IDS_ZYLCOMBO,
                                           IDB_ZYLCOMBO,
                                           kMiscStatus,
                                           LIBID_ZYLCOMBOLib,
                                           1,
                                           0,
                                           false,
                                           ""};
    return info;
}

CZylComboCtrl::CZylComboCtrl() : AxControl(Info()) {
    AddMethods();
}

void CZylComboCtrl::AddMethods() {
    using fw::DispArgs;
    using fw::Variant;
    auto& d = dispatch();
    d.AddProperty(
        1, [this](Variant* r) { return *r = Variant(m_bSort != FALSE), S_OK; },
        // Kept as it came (VARIANT_TRUE is -1): only its being nonzero counts.
        [this](const Variant& v) { return SetSort(static_cast<BOOL>(v.get()->boolVal)), S_OK; });
    d.AddMethod(2, [this](const DispArgs&, Variant* r) { return r ? (*r = Variant(GetText()), S_OK) : S_OK; });
    d.AddMethod(3, [this](const DispArgs&, Variant* r) { return r ? (*r = Variant(Count()), S_OK) : S_OK; });
    d.AddMethod(4, [this](const DispArgs& a, Variant* r) {
        const std::string text = GetTextForIndex(static_cast<short>(a.Long(0)));
        if (r) *r = Variant(text);
        return S_OK;
    });
    d.AddMethod(5, [this](const DispArgs& a, Variant*) { return SetCurSel(static_cast<short>(a.Long(0))), S_OK; });
    d.AddMethod(6, [this](const DispArgs& a, Variant* r) {
        const short result = AddTunes(a.String(0));
        if (r) *r = Variant(result);
        return S_OK;
    });
    d.AddMethod(7, [this](const DispArgs& a, Variant*) { return IsComboForWQX(Truth(a, 0)), S_OK; });
    d.AddMethod(8, [this](const DispArgs& a, Variant* r) {
        const bool found = AddFonts(a.String(0)) != FALSE;
        if (r) *r = Variant(found);
        return S_OK;
    });
    d.AddMethod(9, [this](const DispArgs& a, Variant* r) {
        const bool found = AddFontSizes(Truth(a, 0), a.String(1)) != FALSE;
        if (r) *r = Variant(found);
        return S_OK;
    });
    d.AddMethod(10, [this](const DispArgs& a, Variant* r) {
        const bool found = AddFontColors(a.String(0)) != FALSE;
        if (r) *r = Variant(found);
        return S_OK;
    });
    d.AddMethod(11, [this](const DispArgs& a, Variant*) { return EnableControl(Truth(a, 0)), S_OK; });
    d.AddMethod(12, [](const DispArgs& a, Variant* r) {
        if (r) *r = Variant(GetColorRefName(a.Long(0)));
        return S_OK;
    });
    d.AddMethod(13, [](const DispArgs& a, Variant* r) {
        if (r) *r = Variant(GetColorRefForName(a.String(0)));
        return S_OK;
    });
}

void CZylComboCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    // Sort counts only here, when the window is made; any nonzero value sorts.
    cs.style = kStyle | (m_bSort ? CBS_SORT : 0);
}

LRESULT CZylComboCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case fw::kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case fw::kReflectedCommand:
            if (HIWORD(wParam) == CBN_CLOSEUP) FireEvent(1);
            return 0;
        case WM_LBUTTONDOWN:
            // The list opens without the combo box's own handling of the click.
            ::SendMessageA(hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
            FireEvent(2);
            return 0;
        default:
            return AxControl::HandleMessage(msg, wParam, lParam);
    }
}

void CZylComboCtrl::DoPropExchange(fw::PropExchange& px) {
    AxControl::DoPropExchange(px);
    px.Bool("Sort", m_bSort, FALSE);
}

void CZylComboCtrl::OnAboutBox() {
    fw::Dialog about(IDD_ABOUTBOX_ZYLCOMBO, fw::ComModule::Get().instance());
    about.DoModal(DialogOwner());
}

void CZylComboCtrl::SetSort(BOOL sort) {
    m_bSort = sort;
    SetModified(1);
}

std::string CZylComboCtrl::ItemText(int index) const {
    if (!hwnd() || index < 0) return {};
    const LRESULT len = ::SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == CB_ERR || len < 0) return {};
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (got == CB_ERR || got < 0) return {};
    text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(len)));
    return text;
}

std::string CZylComboCtrl::GetText() const {
    if (!hwnd()) return {};
    const LRESULT sel = ::SendMessageA(hwnd(), CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? std::string() : ItemText(static_cast<int>(sel));
}

short CZylComboCtrl::Count() const {
    if (!hwnd()) return 0;
    const LRESULT count = ::SendMessageA(hwnd(), CB_GETCOUNT, 0, 0);
    if (count <= 0) return 0;
    return static_cast<short>(std::min<LRESULT>(count, SHRT_MAX));
}

std::string CZylComboCtrl::GetTextForIndex(short index) const {
    if (index < 0 || index >= Count()) return {};
    return ItemText(index);
}

void CZylComboCtrl::SetCurSel(short index) {
    if (!hwnd()) return;
    // Sign-extended: a negative index clears the selection.
    ::SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(index)), 0);
}

void CZylComboCtrl::IsComboForWQX(BOOL wqx) {
    m_bWQX = wqx;
}

void CZylComboCtrl::EnableControl(BOOL enable) {
    if (hwnd()) ::EnableWindow(hwnd(), enable ? TRUE : FALSE);
}

std::string CZylComboCtrl::GetColorRefName(long color) {
    for (const ZylNamedColor& c : kZylColors)
        if (static_cast<long>(c.value) == color) return c.name;
    return {};
}

long CZylComboCtrl::GetColorRefForName(const std::string& colorName) {
    const ZylNamedColor* c = FindZylColor(colorName);
    return c ? static_cast<long>(c->value) : 0;
}
