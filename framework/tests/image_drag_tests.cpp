#include "fw/handles.h"
#include "fw/image_drag.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// A tree control in a popup, with a picture list and one item.
struct TreeWindow {
    HWND tree = nullptr;
    fw::ImageList pictures;
    HTREEITEM item = nullptr;

    TreeWindow() {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&init);
        tree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 200, 150, nullptr,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
        pictures.reset(::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0));
        // A shared system icon: no owner destroys it.
        ::ImageList_AddIcon(pictures.get(), ::LoadIconA(nullptr, IDI_INFORMATION));
        TreeView_SetImageList(tree, pictures.get(), TVSIL_NORMAL);
        TVINSERTSTRUCTA insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE;
        insert.item.pszText = const_cast<char*>("A rather long item text");
        insert.item.iImage = 0;
        item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    ~TreeWindow() { ::DestroyWindow(tree); }
};

TEST(ImageDrag, ATreeItemsImageHoldsItsPictureAndItsText) {
    TreeWindow w;
    ASSERT_TRUE(w.item);
    fw::ImageList image = fw::MakeTreeItemDragImage(w.tree, w.item);
    ASSERT_TRUE(image);
    EXPECT_EQ(::ImageList_GetImageCount(image.get()), 1);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(image.get(), &cx, &cy);
    EXPECT_GT(cx, 16 + 40) << "the text is drawn beside the picture";
    EXPECT_GE(cy, 16);
    EXPECT_FALSE(fw::MakeTreeItemDragImage(w.tree, nullptr));
}

TEST(ImageDrag, EndsTheSystemDragAndLeavesItsWindow) {
    TreeWindow w;
    POINT hot{};
    {
        fw::ImageDrag drag;
        ASSERT_TRUE(drag.Begin(fw::MakeTreeItemDragImage(w.tree, w.item), w.tree, {5, 5}));
        EXPECT_TRUE(drag.Active());
        EXPECT_TRUE(::ImageList_GetDragImage(nullptr, &hot)) << "the system drag runs";
        drag.Move({30, 20});
        drag.Show(false);
        drag.Show(true);
        // Only one image drag runs at a time.
        fw::ImageDrag second;
        EXPECT_FALSE(second.Begin(fw::MakeTreeItemDragImage(w.tree, w.item), w.tree, {5, 5}));
        drag.End();
        EXPECT_FALSE(drag.Active());
        EXPECT_FALSE(::ImageList_GetDragImage(nullptr, &hot));
        ASSERT_TRUE(drag.Begin(fw::MakeTreeItemDragImage(w.tree, w.item), w.tree, {5, 5})) << "begun again";
    }
    EXPECT_FALSE(::ImageList_GetDragImage(nullptr, &hot)) << "the owner's end ended it";
    fw::ImageDrag empty;
    EXPECT_FALSE(empty.Begin(fw::ImageList(), w.tree, {0, 0}));
}

}  // namespace
