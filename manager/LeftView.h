// The tree pane: the link store on disk as one tree (the Links folders with
// their links, the groups with their members, the template). An item is tied
// to its file or group line by its kind, its parents' texts and its place
// among its siblings; every operation reads the folders again.
#pragma once

#include "FolderUtil.h"
#include "LinkStore.h"
#include "LinkTreeRules.h"
#include "NimbDoc.h"
#include "TreeImport.h"

#include "fw/frame.h"
#include "fw/image_drag.h"
#include "fw/ui_handles.h"

#include <commctrl.h>

#include <memory>
#include <string>

class CLeftView : public fw::View, public CTreePane {
public:
    static constexpr UINT_PTR kBuildTimer = 51;
    // The item data of an item whose file or line cannot be read.
    static constexpr LPARAM kUnreadable = -1;

    explicit CLeftView(CNimbDoc& doc);
    ~CLeftView() override;

    bool CreateView(HWND parent, UINT id, const RECT& rc) override;
    void OnInitialUpdate() override;

    // Fills an empty tree; selects the root.
    void BuildTree();
    // Ends an edit or drag, forgets the clipboard, empties the tree and builds it again;
    // before timer 51's build, it is that build.
    void RefreshTree() override;
    // Builds the children of one folder or group item again.
    void RefreshItem(HTREEITEM item);
    // Selects the link item of a full link file path; nothing for an empty one.
    void SelectLinkByPath(const std::string& path) override;
    // The current item's link has a new title (from the Link Options page):
    // its link item and every member that shows it follow.
    int ChangeItemTitle(const std::string& title) override;
    void RetitleLink(const CURLEntry& entry, const std::string& title) override;

    // The (folder below Links, file name) of a link, member or template item; false when it has none.
    bool GetLinkLocation(HTREEITEM item, CURLEntry* entry);
    std::string GetItemPath(HTREEITEM item) const;
    HTREEITEM FindChildByName(HTREEITEM parent, const std::string& name) const;
    // The child at which the count of link children (kinds 3 and 10) reaches n; n = 0: the first child.
    HTREEITEM FindNthLinkChild(HTREEITEM parent, int n) const;

    int Kind(HTREEITEM item) const;
    std::string Text(HTREEITEM item) const;
    LPARAM Data(HTREEITEM item) const;
    HTREEITEM Root() const { return TreeView_GetRoot(hwnd()); }
    HTREEITEM LinksItem() const { return linksItem_; }
    HTREEITEM GroupsItem() const { return groupsItem_; }
    HTREEITEM CurrentItem() const { return current_; }

    // The selection list an item stands for (kind 6: the members, last line first).
    CURLEntryList SelectionOf(HTREEITEM item, int kind);
    // The context menu for the current item, as it would be tracked.
    fw::Menu BuildContextMenu();
    // withPaste: also judge Paste, which looks through the current item's children.
    TreeCommandState CommandState(bool withPaste = true) const;
    // The favorites import dialog, once the Import command made it.
    CImportFavoritesDlg* ImportDialog() const;

    // What an edit or a clipboard command leaves pending; a rebuild clears it.
    void SetEditing(bool editing) { editing_ = editing; }
    void SetClipboard(HTREEITEM source, bool copy, bool cut) {
        clipboardSource_ = source;
        copyPending_ = copy;
        cutPending_ = cut;
    }
    HTREEITEM ClipboardSource() const { return clipboardSource_; }

    // Moves and copies (LeftViewMove.cpp). Whether a dragged item may be
    // dropped on a target, and a clipboard source pasted on one; both read
    // the tree only.
    bool CanDrop(HTREEITEM dragged, HTREEITEM target) const;
    bool CanPaste(HTREEITEM source, HTREEITEM target) const;
    // Copies a link or a folder tree into a folder, or adds a link to a group;
    // 0, or the failed step's code with nothing left of the copy.
    int CopyItem(HTREEITEM source, HTREEITEM target);
    // Moves a link or a folder tree into a folder: copied first, then the
    // group lines follow and the source goes. movedName (optional) gets the
    // name the moved item has there. 0, or the failed step's code.
    int MoveItem(HTREEITEM source, HTREEITEM target, std::string* movedName = nullptr);
    // The drop menu of a right drag of dragged onto target, as it would be tracked.
    fw::Menu BuildDropMenu(HTREEITEM dragged, HTREEITEM target) const;
    bool Dragging() const { return dragging_; }
    bool CopyPending() const { return copyPending_; }
    bool CutPending() const { return cutPending_; }

    // Asks before a delete unless the setting of the item's case says not to; true to delete.
    bool ConfirmDelete(HTREEITEM item, int kind);

    bool UpdateCommand(fw::CommandUI& ui) override;
    bool HandleCommand(UINT id) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HTREEITEM InsertItem(HTREEITEM parent, const std::string& text, int kind, LPARAM data);
    // An item of a kind whose data does not count (folders, groups).
    HTREEITEM InsertKindItem(HTREEITEM parent, const std::string& text, int kind);
    void DisableLabelEditing();
    void EnableLabelEditing();
    void CreateURLItem(const std::string& folder, HTREEITEM parent, bool report);
    void ConstructNimbGroups();
    void InsertMembers(HTREEITEM group, const std::string& groupFile, bool report);
    void OnTimer();
    // Timer 51 stopped, the tree built, the start path selected: once.
    void FirstBuild();
    void OnSelChanged();
    void OnRClick();
    void Report(int code, const char* label);
    // Ends what a rebuild would leave pointing at deleted items.
    void EndTransientStates(HTREEITEM subtree);
    bool IsInside(HTREEITEM item, HTREEITEM subtree) const;
    int Position(HTREEITEM item) const;
    std::string GroupFile(HTREEITEM group) const;
    std::string FolderOfItem(HTREEITEM item) const;

    // Editing (LeftViewEdit.cpp).
    void OnAddFolder();
    void OnAddLink();
    void OnRenameFolder();
    void OnDelete();
    void OnLButtonDown(LPARAM lParam);
    // Either button's press: its item is the drag item.
    void OnPress(LPARAM lParam);
    void OnBeginLabelEdit(HTREEITEM item);
    void OnEndLabelEdit(HTREEITEM item, bool cancelled);
    // Starts naming a new item or renaming one; a refused start ends it as cancelled.
    void StartLabelEdit(HTREEITEM item);
    // The folder or group part of an ended edit; false when nothing was changed on disk.
    bool EndFolderEdit(HTREEITEM item, int kind, const std::string& oldText, std::string newText,
                       std::string* finalText);
    // The link part of an ended edit: the new link's file name, or empty.
    std::string EndLinkEdit(HTREEITEM item, const std::string& newText);
    // The link item of a link location, found by its folders and its file; null when there is none.
    HTREEITEM FindLinkItem(const CURLEntry& entry) const;
    bool DeleteLinkOrMember(HTREEITEM item, int kind);
    bool DeleteFolderOrGroup(HTREEITEM item, int kind);
    // Group lines follow a renamed link (kinds 3, 10: member lines) or folder (item paths).
    int UpdateGroupReferences(int kind, const std::string& oldPath, const std::string& newPath);
    // Removes the lines of a deleted link (a member line) or folder (an item path).
    int RemoveGroupReferences(int kind, const std::string& path);
    void RefreshGroups();
    // Selects the link child of parent whose file is name; false when there is none.
    bool SelectLinkFile(HTREEITEM parent, const std::string& name);
    void SetItemText(HTREEITEM item, const std::string& text);
    void SetItemKind(HTREEITEM item, int kind);
    // A cut-marked item gets its normal picture back.
    void RestoreClipboardImage();
    std::string EditText() const;

    // The clipboard commands; each handler's enable rule was checked first.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnImport();

    // Dragging (LeftViewMove.cpp).
    void OnBeginDrag(const NMTREEVIEWA& info);
    // True when the move belonged to a drag.
    bool OnMouseMove(LPARAM lParam);
    void OnLButtonUp();
    // True when the release belonged to a drag.
    bool OnRButtonUp();
    void OnMoveHere();
    void OnCopyHere();
    void OnDropCancel();
    void EndDrag();
    // Moves (or copies) the drag item onto the drop target, ends the drag,
    // rebuilds the target and, when asked, selects the item there.
    void Drop(bool move, bool reselect, const char* label);
    // Selects the moved link (by its file name) or folder (by its name) below target.
    void ReselectMovedItem(int kind, HTREEITEM target, const std::string& name);
    // A deleted item can no longer be dragged, dropped on or pasted.
    void OnDeleteItem(HTREEITEM item);
    int CopyLink(HTREEITEM source, HTREEITEM target, std::string* newName);
    int AddToGroup(HTREEITEM source, HTREEITEM group);
    int CopyFolderTree(HTREEITEM source, HTREEITEM target);
    // The first popup of the menu resource, emptied, for the caller alone.
    static fw::Menu LoadEmptyPopup();

    CNimbDoc& doc_;
    CFolderUtil folders_;
    std::unique_ptr<CTreeImport> import_;
    CLinkStore store_;
    fw::ImageList images_;
    std::string programFolder_;
    std::string linksFolder_;
    std::string groupsFolder_;
    HTREEITEM current_ = nullptr;
    HTREEITEM clipboardSource_ = nullptr;
    bool dragging_ = false;
    bool copyPending_ = false;
    bool cutPending_ = false;
    int linkCounter_ = 0;
    HTREEITEM linksItem_ = nullptr;
    HTREEITEM groupsItem_ = nullptr;
    bool editing_ = false;
    bool newItem_ = false;
    // The item of the label edit under way; the end acts once, on this item.
    HTREEITEM editItem_ = nullptr;
    // The item under the cursor at the last left or right press.
    HTREEITEM dragItem_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    // The last target judged during a drag, and the answer.
    HTREEITEM judgedTarget_ = nullptr;
    bool dropAllowed_ = false;
    fw::ImageDrag dragImage_;
    bool initialised_ = false;
    bool built_ = false;
};
