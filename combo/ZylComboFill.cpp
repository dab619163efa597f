// The four fill methods: font families, font sizes, the named colours and
// tune names, with the default selections (the sibling product's
// "PEXARD.INI" when the WQX flag is set).
#include "ZylComboCtrl.h"

#include "ZylColors.h"

#include "fw/handles.h"

#include <set>
#include <vector>

namespace {

constexpr const char* kSizeNames[] = {"Largest", "Larger", "Medium", "Smaller", "Smallest"};

struct FontList {
    std::vector<std::string> names;
    std::set<std::string> seen;
};

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
    auto* list = reinterpret_cast<FontList*>(param);
    // Some systems report a family once per character set: each is listed once.
    if (list->seen.insert(font->lfFaceName).second) list->names.push_back(font->lfFaceName);
    return 1;
}

}  // namespace

std::string CZylComboCtrl::ReadWqxDefault(const char* key, const char* fallback, size_t bufferSize) {
    std::vector<char> buffer(bufferSize, '\0');
    // Named without a folder: the system looks in the Windows folder.
    const DWORD got = ::GetPrivateProfileStringA("DEFAULT FONTS", key, fallback, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), "PEXARD.INI");
    return std::string(buffer.data(), std::min<size_t>(got, buffer.size() - 1));
}

bool CZylComboCtrl::SelectByName(const std::string& name) {
    // The combo box's exact search from the start ignores case.
    const LRESULT found =
        ::SendMessageA(hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    if (found == CB_ERR) return false;
    return ::SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(found), 0) != CB_ERR;
}

BOOL CZylComboCtrl::AddFonts(const std::string& defaultFontName) {
    if (!hwnd()) return FALSE;
    m_nListMode = kListFonts;
    FontList fonts;
    {
        fw::WindowDc dc(hwnd());
        if (dc) ::EnumFontFamiliesA(dc.get(), nullptr, CollectFamily, reinterpret_cast<LPARAM>(&fonts));
    }
    for (const std::string& name : fonts.names)
        ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (m_bWQX) return SelectByName(ReadWqxDefault("FONTNAME", "Arial", 64)) ? TRUE : FALSE;
    if (!defaultFontName.empty() && !SelectByName(defaultFontName)) return FALSE;
    return TRUE;
}

BOOL CZylComboCtrl::AddFontSizes(BOOL showNumbers, const std::string& defaultSize) {
    if (!hwnd()) return FALSE;
    m_nListMode = kListSizes;
    if (showNumbers) {
        for (int size = 4; size <= 24; ++size) {
            const std::string text = std::to_string(size);
            ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        // A default size the list lacks ends the fill as done.
        if (m_bWQX && !SelectByName(ReadWqxDefault("FONTSIZE", "10", 32))) return TRUE;
    } else {
        for (const char* name : kSizeNames) ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    if (defaultSize.empty()) return TRUE;
    return SelectByName(defaultSize) ? TRUE : FALSE;
}

BOOL CZylComboCtrl::AddFontColors(const std::string& defaultColor) {
    if (!hwnd()) return FALSE;
    m_nListMode = kListColors;
    for (const ZylNamedColor& c : kZylColors) ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name));
    ::SendMessageA(hwnd(), CB_SETCURSEL, 0, 0);
    if (m_bWQX && !SelectByName(ReadWqxDefault("FONTCOLOR", "Navy", 64))) return FALSE;
    if (defaultColor.empty()) return TRUE;
    return SelectByName(defaultColor) ? TRUE : FALSE;
}

short CZylComboCtrl::AddTunes(const std::string& tuneName) {
    // Without a window nothing is added and nothing selected: the failed selection's 1.
    if (!hwnd()) return 1;
    m_nListMode = kListTunes;
    ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tuneName.c_str()));
    return ::SendMessageA(hwnd(), CB_SETCURSEL, 0, 0) == CB_ERR ? 1 : 0;
}
