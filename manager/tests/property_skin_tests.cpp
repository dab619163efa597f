// The skin page in-process: the list of skins, what a link's skin shows, a
// choice in the list (the miniature redrawn, stored with the link), a close
// without a choice, and the download link in its place.
#include "property_fixture.h"

#include "AppConstants.h"

#include <vector>

using mgrtest::PropertyFixture;

namespace {

// Records the skins the desktop pane is told to redraw with.
class SkinDesktop : public CDesktopPane {
public:
    std::vector<std::string> reloads;
    int ShowBrowser(const CURLEntry*, const CURLObject*, int, int) override { return kErrNone; }
    int SaveWindowRects(const CURLEntryList&, std::vector<CURLObject>&) override { return kErrNone; }
    int ReloadSkin(const std::string& skin) override {
        reloads.push_back(skin);
        return kErrNone;
    }
};

struct SkinFixture : PropertyFixture {
    SkinDesktop desktop;
    std::string plain, dressed, gone;

    SkinFixture() {
        dir.MakeFolder("Skins");
        dir.MakeFolder("Skins\\Autumn");
        dir.WriteFile("Skins\\Autumn\\Data.ini", "[GENERAL]\r\nCOMMENTS=Leaves and rain.\r\n");
        dir.MakeFolder("Skins\\Bare");
        dir.WriteFile("Skins\\Bare\\Data.ini", "[BACKGROUND]\r\nBITMAP=back.bmp\r\n");
        dir.MakeFolder("Skins\\Bare\\Extra");
        dir.WriteFile("Skins\\NotAFolder.ini", "");
        plain = AddSkinned("Plain", "vessa");
        dressed = AddSkinned("Dressed", "autumn");
        gone = AddSkinned("Gone", "Vanished");
    }
    ~SkinFixture() {
        if (app) app->Document()->SetDesktopPane(nullptr);
    }
    std::string AddSkinned(const std::string& title, const std::string& skin) {
        CURLObject record;
        record.link.title = title;
        record.skinName = skin;
        return AddLink(record);
    }
    void Start() {
        StartManager();
        app->Document()->SetDesktopPane(&desktop);
    }
    CSkinOptionsDlg& Page() const { return view->SkinPage(); }
    HWND List() const { return Page().Item(IDC_SKIN_LIST); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        const int count = static_cast<int>(::SendMessageA(List(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            ::SendMessageA(List(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        return entries;
    }
    std::string Selected() const {
        char text[256] = {};
        ::GetWindowTextA(List(), text, sizeof(text));
        return text;
    }
    std::string Comment() const { return Page().ItemText(IDC_SKIN_COMMENTS); }
    // Opens the list, chooses the entry (none: -1) and closes it, as the mouse would.
    void Choose(const std::string& entry) const {
        ::SendMessageA(List(), CB_SHOWDROPDOWN, TRUE, 0);
        const LRESULT index = entry.empty() ? -1
                                            : ::SendMessageA(List(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                             reinterpret_cast<LPARAM>(entry.c_str()));
        ::SendMessageA(List(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(List(), CB_SHOWDROPDOWN, FALSE, 0);
        testsupport::PumpFor(0);
    }
};

}  // namespace

TEST(ManagerSkinPage, TheListHoldsTheBuiltInSkinAndTheFoldersDirectlyInsideSkins) {
    SkinFixture f;
    f.Start();
    EXPECT_EQ(f.Entries(), (std::vector<std::string>{"Autumn", "Bare", "Vessa"}));
    EXPECT_EQ(f.Selected(), "") << "the page starts with nothing selected";
}

TEST(ManagerSkinPage, ALinksSkinIsSelectedWithItsComment) {
    SkinFixture f;
    f.Start();
    const struct {
        const char* link;
        const char* selected;
        const char* comment;
    } cases[] = {
        {"Dressed", "Autumn", "Leaves and rain."},
        {"Plain", "Vessa", "This is the Default Skin."},
        {"Gone", "Vessa", ""},
    };
    for (const auto& c : cases) {
        f.Select(f.Link(c.link));
        EXPECT_EQ(f.Selected(), c.selected) << c.link;
        EXPECT_EQ(f.Comment(), c.comment) << c.link;
        EXPECT_TRUE(::IsWindowEnabled(f.List())) << c.link;
    }
    f.Select(f.tree->LinksItem());
    EXPECT_EQ(f.Selected(), "");
    EXPECT_EQ(f.Comment(), "");
    EXPECT_FALSE(::IsWindowEnabled(f.List()));
}

TEST(ManagerSkinPage, AChosenSkinRedrawsTheMiniatureShowsItsCommentAndIsStoredWithTheLink) {
    SkinFixture f;
    f.Start();
    f.Select(f.Link("Plain"));
    f.Choose("Bare");
    EXPECT_EQ(f.desktop.reloads, (std::vector<std::string>{"Bare"}));
    EXPECT_EQ(f.Comment(), "No Comments");
    f.Choose("Bare");
    EXPECT_EQ(f.desktop.reloads.size(), 1u) << "the skin it had redraws nothing";
    f.Select(f.tree->LinksItem());
    EXPECT_EQ(f.Load("Links\\" + f.plain)->skinName, "Bare");

    f.Select(f.Link("Dressed"));
    f.Choose("Vessa");
    EXPECT_EQ(f.desktop.reloads.back(), "vessa");
    EXPECT_EQ(f.Selected(), "Vessa");
    f.Select(f.tree->LinksItem());
    EXPECT_EQ(f.Load("Links\\" + f.dressed)->skinName, "vessa") << "the built-in entry is stored by its skin name";
}

TEST(ManagerSkinPage, ClosingTheListWithoutAChoiceKeepsTheSkin) {
    SkinFixture f;
    f.Start();
    f.Select(f.Link("Dressed"));
    f.Choose("");
    EXPECT_EQ(f.Selected(), "Autumn");
    EXPECT_TRUE(f.desktop.reloads.empty());
    const std::string before = f.dir.ReadFile("Links\\" + f.dressed);
    f.Select(f.tree->LinksItem());
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.dressed), before);
}

TEST(ManagerSkinPage, AMissingSkinStaysStoredUntilAnotherIsChosen) {
    SkinFixture f;
    f.Start();
    f.Select(f.Link("Gone"));
    f.Retype(IDC_LINK_COMMENTS, "changed");
    f.Select(f.tree->LinksItem());
    auto saved = f.Load("Links\\" + f.gone);
    EXPECT_EQ(saved->link.comments, "changed");
    EXPECT_EQ(saved->skinName, "Vanished");
}

TEST(ManagerSkinPage, TheDownloadLinkTakesThePlaceOfItsStatic) {
    SkinFixture f;
    f.Start();
    HWND link = f.Page().Item(0xFFFF);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link, f.Page().DownloadLink().hwnd());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(link, GWL_STYLE)) & 0xFFFF01FFu, 0x50000180u);
    char text[256] = {};
    ::GetWindowTextA(link, text, sizeof(text));
    EXPECT_STREQ(text, AppConstants::kSkinsPage);
    EXPECT_EQ(f.Page().DownloadLink().Type(), CHyperLink::kWeb);
    HWND place = f.Page().Item(IDC_SKIN_LINK_PLACE);
    EXPECT_FALSE(::GetWindowLongA(place, GWL_STYLE) & WS_VISIBLE);
    const RECT a = fw::ScreenRectOf(link), b = fw::ScreenRectOf(place);
    EXPECT_TRUE(::EqualRect(&a, &b));
}
