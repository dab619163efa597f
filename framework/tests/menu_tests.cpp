// Owner-drawn menu items reach the menu object that appended them, through a
// plain window and through a dialog, while a real popup is tracked.
#include "fw/dialog.h"
#include "fw/menu.h"
#include "fw/window.h"

#include "window_tests_res.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CountingMenu : public fw::OwnerDrawMenu {
public:
    void MeasureItem(MEASUREITEMSTRUCT* item) override {
        measured.push_back(item->itemData);
        item->itemWidth = 80;
        item->itemHeight = 18;
    }
    void DrawItem(const DRAWITEMSTRUCT* item) override { drawn.push_back(item->itemData); }
    std::vector<ULONG_PTR> measured;
    std::vector<ULONG_PTR> drawn;
};

// Closes the popup once its loop has nothing left to do (drawn and idle).
bool EndMenuWhenIdle(UINT msg) {
    if (msg != WM_ENTERIDLE) return false;
    ::EndMenu();
    return true;
}

class OwnerWindow : public fw::Window {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (EndMenuWhenIdle(msg)) return 0;
        return Default(msg, wParam, lParam);
    }
};

class OwnerDialog : public fw::Dialog {
public:
    OwnerDialog() : fw::Dialog(IDD_TEST_DIALOG) {}

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (EndMenuWhenIdle(msg)) return 0;
        return Default(msg, wParam, lParam);
    }
};

// A popup with one item of its own and a submenu item, tracked by owner.
void TrackAndCheck(HWND owner) {
    CountingMenu root;
    auto sub = std::make_unique<CountingMenu>();
    ASSERT_TRUE(root.CreatePopup());
    ASSERT_TRUE(sub->CreatePopup());
    ASSERT_TRUE(sub->AppendOwnerDraw(7002, 0xB1));
    ASSERT_TRUE(root.AppendOwnerDraw(7001, 0xA1));
    ASSERT_TRUE(root.AppendOwnerDrawPopup(*sub, 0xA2));
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(root.handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 10, 0, owner, nullptr);

    EXPECT_EQ(root.measured, (std::vector<ULONG_PTR>{0xA1, 0xA2}));
    EXPECT_EQ(root.drawn, (std::vector<ULONG_PTR>{0xA1, 0xA2}));
    EXPECT_TRUE(sub->measured.empty()) << "the submenu never opened";
    EXPECT_EQ(fw::OwnerDrawMenu::FromItemData(0xB1), sub.get());
    sub.reset();
    EXPECT_EQ(fw::OwnerDrawMenu::FromItemData(0xB1), nullptr) << "a destroyed object leaves the table";
}

TEST(OwnerDrawMenu, ItemsOfATrackedPopupReachTheirMenuThroughAWindow) {
    ASSERT_TRUE(fw::Window::RegisterClass("fwMenuOwner"));
    OwnerWindow owner;
    ASSERT_TRUE(owner.Create("fwMenuOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 50, 50, nullptr));
    TrackAndCheck(owner.hwnd());
}

TEST(OwnerDrawMenu, ItemsOfATrackedPopupReachTheirMenuThroughADialog) {
    OwnerDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    ::ShowWindow(dialog.hwnd(), SW_SHOWNA);
    TrackAndCheck(dialog.hwnd());
}

TEST(OwnerDrawMenu, ASubmenuHandleGoesWithItsParentOnly) {
    HMENU subHandle = nullptr;
    {
        CountingMenu root;
        ASSERT_TRUE(root.CreatePopup());
        {
            CountingMenu sub;
            ASSERT_TRUE(sub.CreatePopup());
            EXPECT_TRUE(sub.OwnsHandle());
            ASSERT_TRUE(root.AppendOwnerDrawPopup(sub, 0xC1));
            EXPECT_FALSE(sub.OwnsHandle());
            subHandle = sub.handle();
        }
        EXPECT_TRUE(::IsMenu(subHandle)) << "the submenu object went first: its handle stays in the parent";
        EXPECT_EQ(::GetSubMenu(root.handle(), 0), subHandle);
    }
    EXPECT_FALSE(::IsMenu(subHandle)) << "destroying the parent took the submenu with it";

    // A resource's menu belongs to whoever loaded it.
    HMENU loaded = ::CreateMenu();
    {
        CountingMenu attached;
        attached.Attach(loaded);
        EXPECT_FALSE(attached.OwnsHandle());
    }
    EXPECT_TRUE(::IsMenu(loaded));
    ::DestroyMenu(loaded);
}

TEST(OwnerDrawMenu, MessagesOfControlsAndUnknownDataAreNotRouted) {
    CountingMenu menu;
    ASSERT_TRUE(menu.CreatePopup());
    ASSERT_TRUE(menu.AppendOwnerDraw(1, 0xD1));
    MEASUREITEMSTRUCT control{ODT_BUTTON, 5, 0, 0, 0, 0xD1};
    LRESULT result = 0;
    EXPECT_FALSE(fw::RouteOwnerDrawMenu(WM_MEASUREITEM, 5, reinterpret_cast<LPARAM>(&control), &result));
    MEASUREITEMSTRUCT unknown{ODT_MENU, 0, 1, 0, 0, 0xD2};
    EXPECT_FALSE(fw::RouteOwnerDrawMenu(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&unknown), &result));
    MEASUREITEMSTRUCT mine{ODT_MENU, 0, 1, 0, 0, 0xD1};
    EXPECT_TRUE(fw::RouteOwnerDrawMenu(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mine), &result));
    EXPECT_EQ(mine.itemWidth, 80u);
    EXPECT_TRUE(menu.drawn.empty());
}

}  // namespace
