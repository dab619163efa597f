// The font and colour page in-process with ZYLCOMBO.OCX registered: the
// lists' fills, what a link shows and enables, what a save stores, a group,
// values the lists cannot show, and the page without its controls.
#include "property_fixture.h"

#include "fw/file.h"
#include "testsupport/child_process.h"
#include "testsupport/temp_program_folder.h"

#include <algorithm>
#include <functional>
#include <vector>

using mgrtest::PropertyFixture;

namespace {

DWORD RegSvr32(bool unregister) {
    return testsupport::RegSvr32(testsupport::TestBinaryFolder() + "\\ZYLCOMBO.OCX", unregister);
}

class Registered : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(RegSvr32(false), 0u); }
    void TearDown() override { RegSvr32(true); }
};
const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new Registered);

struct FontFixture : PropertyFixture {
    CFontColorOptionsDlg& Page() const { return view->FontPage(); }
    const CZylCombo& Combo(int id) const { return *Page().Combo(id); }
    std::string Shown(int id) const { return Combo(id).GetText(); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Combo(id).ComboWindow()) != FALSE; }
    std::vector<std::string> Items(int id) const {
        std::vector<std::string> items;
        HWND combo = Combo(id).ComboWindow();
        const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::vector<char> text(static_cast<size_t>(::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
            ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            items.emplace_back(text.data());
        }
        return items;
    }
    // Chooses an entry as the user would: the list's own selection.
    void Choose(int id, const std::string& text) const {
        HWND combo = Combo(id).ComboWindow();
        const LRESULT index =
            ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        ASSERT_NE(index, CB_ERR) << text;
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    std::string AFace() const { return Combo(IDC_FONT_NAME).GetTextForIndex(0); }
    // An installed face as the list shows it, from a first start; the manager is then started again.
    std::string FaceThenRestart(const std::function<void(const std::string&)>& addLinks) {
        StartManager();
        const std::string face = AFace();
        Stop();
        addLinks(face);
        StartManager();
        return face;
    }
};

}  // namespace

TEST(ManagerFontPage, SizeCodesAndColourNamesBothWays) {
    FontFixture f;
    f.StartManager();
    ASSERT_TRUE(f.Page().HasControls());
    const struct {
        int code;
        const char* name;
    } sizes[] = {{101, "Smallest"}, {102, "Smaller"}, {103, "Medium"}, {104, "Larger"}, {105, "Largest"}};
    for (const auto& s : sizes) {
        EXPECT_EQ(FontSizeCodeOfName(s.name), s.code);
        EXPECT_EQ(FontSizeNameOfCode(s.code), s.name);
    }
    EXPECT_EQ(FontSizeNameOfCode(100), "");
    EXPECT_EQ(FontSizeNameOfCode(106), "");
    EXPECT_EQ(FontSizeCodeOfName(""), 0);
    EXPECT_EQ(FontSizeCodeOfName("12"), 12);
    EXPECT_EQ(FontSizeCodeOfName("150"), 10);
    const struct {
        COLORREF value;
        const char* name;
    } colours[] = {{0x000000, "Black"},  {0x800000, "Navy"},  {0x0000FF, "Red"},  {0xFF0000, "Blue"},
                   {0x800080, "Purple"}, {0xFFFFFF, "White"}, {0xFFFF00, "Aqua"}, {0xFF00FF, "Fuschia"}};
    const CZylCombo& combo = f.Combo(IDC_TEXT_COLOR);
    for (const auto& c : colours) {
        EXPECT_EQ(combo.GetColorRefName(static_cast<long>(c.value)), c.name);
        EXPECT_EQ(static_cast<COLORREF>(combo.GetColorRefForName(c.name)), c.value);
    }
    EXPECT_EQ(combo.GetColorRefName(0x123456), "");
}

TEST(ManagerFontPage, TheListsAreFilledOnceInTheirOrder) {
    FontFixture f;
    f.StartManager();
    EXPECT_EQ(f.Items(IDC_FONT_SIZE), (std::vector<std::string>{"Largest", "Larger", "Medium", "Smaller", "Smallest"}));
    for (int id : {IDC_TEXT_COLOR, IDC_BACKGROUND_COLOR, IDC_HOVER_COLOR, IDC_VISITED_COLOR, IDC_UNVISITED_COLOR}) {
        const auto items = f.Items(id);
        ASSERT_EQ(items.size(), 16u) << id;
        EXPECT_EQ(items.front(), "Aqua") << id;
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end())) << id;
    }
    const auto faces = f.Items(IDC_FONT_NAME);
    ASSERT_FALSE(faces.empty());
    EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
    for (int id : {IDC_FONT_NAME, IDC_FONT_SIZE, IDC_TEXT_COLOR}) EXPECT_FALSE(f.Enabled(id)) << "starts disabled";
}

TEST(ManagerFontPage, ALinkShowsItsFontAndColoursWithTheirEnabledStates) {
    FontFixture f;
    const std::string face = f.FaceThenRestart([&](const std::string& face) {
        CURLObject record;  // the default colours, Windows colours on, no hover
        record.link.title = "Alpha";
        record.font.faceName = face;
        const std::string name = f.AddLink(record);
        f.dir.WriteFile("Groups\\Solo.vsg", "Links\\" + name + "\r\n");
    });
    f.Select(f.Link("Alpha"));
    EXPECT_EQ(f.Shown(IDC_FONT_NAME), face);
    EXPECT_EQ(f.Shown(IDC_FONT_SIZE), "Medium");
    EXPECT_EQ(f.Shown(IDC_TEXT_COLOR), "Black");
    EXPECT_EQ(f.Shown(IDC_BACKGROUND_COLOR), "White");
    EXPECT_EQ(f.Shown(IDC_HOVER_COLOR), "Red");
    EXPECT_EQ(f.Shown(IDC_VISITED_COLOR), "Purple");
    EXPECT_EQ(f.Shown(IDC_UNVISITED_COLOR), "Blue");
    HWND page = f.Page().hwnd();
    EXPECT_EQ(::IsDlgButtonChecked(page, IDC_USE_WINDOWS_COLORS), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(page, IDC_USE_HOVER), BST_UNCHECKED);
    for (int id : {IDC_FONT_NAME, IDC_FONT_SIZE, IDC_VISITED_COLOR, IDC_UNVISITED_COLOR})
        EXPECT_TRUE(f.Enabled(id)) << id;
    for (int id : {IDC_TEXT_COLOR, IDC_BACKGROUND_COLOR, IDC_HOVER_COLOR}) EXPECT_FALSE(f.Enabled(id)) << id;
    // The check boxes switch their lists as they are clicked.
    mgrtest::Click(page, IDC_USE_WINDOWS_COLORS);
    mgrtest::Click(page, IDC_USE_HOVER);
    for (int id : {IDC_TEXT_COLOR, IDC_BACKGROUND_COLOR, IDC_HOVER_COLOR}) EXPECT_TRUE(f.Enabled(id)) << id;

    // A group disables everything and keeps the selections.
    f.Select(f.Group("Solo"));
    for (int id : {IDC_FONT_NAME, IDC_FONT_SIZE, IDC_VISITED_COLOR, IDC_TEXT_COLOR}) EXPECT_FALSE(f.Enabled(id)) << id;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, IDC_USE_WINDOWS_COLORS)));
    EXPECT_EQ(f.Shown(IDC_FONT_SIZE), "Medium");
    EXPECT_EQ(f.Shown(IDC_VISITED_COLOR), "Purple");
}

TEST(ManagerFontPage, LargestAndNavyWithoutWindowsColorsAreStored) {
    FontFixture f;
    CURLObject record;
    record.link.title = "Alpha";
    const std::string alpha = f.AddLink(record);
    f.StartManager();
    f.Select(f.Link("Alpha"));
    f.Choose(IDC_FONT_SIZE, "Largest");
    mgrtest::Click(f.Page().hwnd(), IDC_USE_WINDOWS_COLORS);
    f.Choose(IDC_TEXT_COLOR, "Navy");
    f.Select(f.tree->LinksItem());
    auto saved = f.Load("Links\\" + alpha);
    EXPECT_EQ(saved->font.sizeCode, 105);
    EXPECT_EQ(saved->font.textColor, 0x800000u);
    EXPECT_EQ(saved->font.useWindowsColors, 0);
    EXPECT_EQ(saved->font.faceName, "Arial") << "a face the list cannot show stays stored";
}

TEST(ManagerFontPage, WhatTheListsCannotShowIsClearedAndStaysStored) {
    FontFixture f;
    std::string oddFile;
    f.FaceThenRestart([&](const std::string& face) {
        CURLObject first;
        first.link.title = "First";
        first.font.faceName = face;
        first.font.textColor = 0x800000;
        first.font.sizeCode = 105;
        CURLObject odd;
        odd.link.title = "Odd";
        odd.font.faceName = "No Such Face";
        odd.font.textColor = 0x123456;
        odd.font.sizeCode = 106;
        odd.colors.visitedColor = 0x010203;
        f.AddLink(first);
        oddFile = f.AddLink(odd);
    });
    f.Select(f.Link("First"));
    EXPECT_EQ(f.Shown(IDC_TEXT_COLOR), "Navy");
    f.Select(f.Link("Odd"));
    for (int id : {IDC_FONT_NAME, IDC_FONT_SIZE, IDC_TEXT_COLOR, IDC_VISITED_COLOR})
        EXPECT_EQ(f.Shown(id), "") << id << ": no other link's value shows";
    f.Retype(IDC_LINK_COMMENTS, "changed");
    f.Select(f.tree->LinksItem());
    auto saved = f.Load("Links\\" + oddFile);
    EXPECT_EQ(saved->link.comments, "changed");
    EXPECT_EQ(saved->font.faceName, "No Such Face");
    EXPECT_EQ(saved->font.textColor, 0x123456u);
    EXPECT_EQ(saved->font.sizeCode, 106);
    EXPECT_EQ(saved->colors.visitedColor, 0x010203u);
}

TEST(ManagerFontPage, WithoutTheControlThePageStaysDisabledIsLoggedOnceShownAndKeepsTheStoredValues) {
    ASSERT_EQ(RegSvr32(true), 0u);
    {
        FontFixture f;
        CURLObject record;
        record.link.title = "Alpha";
        record.font.sizeCode = 101;
        const std::string alpha = f.AddLink(record);
        f.StartManager();
        EXPECT_FALSE(f.Page().HasControls());
        f.Select(f.Link("Alpha"));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(f.Page().hwnd(), IDC_USE_WINDOWS_COLORS)));
        f.Retype(IDC_LINK_COMMENTS, "changed");
        f.Select(f.tree->LinksItem());
        EXPECT_EQ(f.Load("Links\\" + alpha)->font.sizeCode, 101);
        // Said when the page is first shown, and only then.
        EXPECT_EQ(f.dir.ReadFile("Err.log"), "");
        HWND tab = f.view->TabCtrl().hwnd();
        for (const int index : {2, 0, 2}) {
            NMHDR hdr{tab, IDC_PROPERTY_TABS, static_cast<UINT>(TCN_SELCHANGING)};
            ::SendMessageA(f.view->hwnd(), WM_NOTIFY, IDC_PROPERTY_TABS, reinterpret_cast<LPARAM>(&hdr));
            TabCtrl_SetCurSel(tab, index);
            hdr.code = static_cast<UINT>(TCN_SELCHANGE);
            ::SendMessageA(f.view->hwnd(), WM_NOTIFY, IDC_PROPERTY_TABS, reinterpret_cast<LPARAM>(&hdr));
        }
        std::string log;
        fw::ReadWholeFile(f.dir / "Err.log", log);
        size_t lines = 0;
        for (size_t at = log.find("CFontColorOptionsDlg"); at != std::string::npos;
             at = log.find("CFontColorOptionsDlg", at + 1))
            ++lines;
        EXPECT_EQ(lines, 1u) << log;
    }
    ASSERT_EQ(RegSvr32(false), 0u);
}
