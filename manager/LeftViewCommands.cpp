// The tree pane's selection, commands and context menu.
#include "AppConstants.h"
#include "ErrorCodes.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "resource.h"

#include <algorithm>

LRESULT CLeftView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kBuildTimer) OnTimer();
    if (msg == WM_LBUTTONDOWN) OnLButtonDown(lParam);
    if (msg == WM_RBUTTONDOWN) OnPress(lParam);
    if (msg == WM_MOUSEMOVE && OnMouseMove(lParam)) return 0;
    if (msg == WM_LBUTTONUP && dragging_) OnLButtonUp();
    // Wine's tree highlights the dragged item itself after a refused start.
    if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) && !dragging_ && TreeView_GetDropHilight(hwnd()))
        TreeView_SelectDropTarget(hwnd(), nullptr);
    // A right release after a drag is the drop's, not the control's.
    if (msg == WM_RBUTTONUP && OnRButtonUp()) return 0;
    if (msg == fw::kReflectedNotify) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        switch (hdr->code) {
            case TVN_SELCHANGEDA:
            case TVN_SELCHANGEDW:
                OnSelChanged();
                return 0;
            case TVN_BEGINDRAGA:
            case TVN_BEGINDRAGW:
            case TVN_BEGINRDRAGA:
            case TVN_BEGINRDRAGW:
                // Both forms carry the item and the point at the same places.
                OnBeginDrag(*reinterpret_cast<const NMTREEVIEWA*>(lParam));
                return 0;
            case TVN_DELETEITEMA:
            case TVN_DELETEITEMW:
                OnDeleteItem(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemOld.hItem);
                return 0;
            case NM_RCLICK:
                OnRClick();
                return 1;
            case TVN_BEGINLABELEDITA:
            case TVN_BEGINLABELEDITW:
                OnBeginLabelEdit(reinterpret_cast<const NMTVDISPINFOA*>(lParam)->item.hItem);
                return FALSE;
            case TVN_ENDLABELEDITA:
            case TVN_ENDLABELEDITW: {
                // Both forms carry the item and a null text on Escape at the same places.
                const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(lParam);
                OnEndLabelEdit(info->item.hItem, info->item.pszText == nullptr);
                // The label is set here, never by the control.
                return FALSE;
            }
            case TVN_ITEMEXPANDINGA:
            case TVN_ITEMEXPANDINGW:
                if (HTREEITEM caret = TreeView_GetSelection(hwnd())) TreeView_SelectItem(hwnd(), caret);
                return 0;
            default:
                return 0;
        }
    }
    if (msg == WM_COMMAND && lParam == 0) {
        // The drop menu is the view's own.
        switch (LOWORD(wParam)) {
            case ID_MOVE_HERE:
                OnMoveHere();
                return 0;
            case ID_COPY_HERE:
                OnCopyHere();
                return 0;
            case ID_DROP_CANCEL:
                OnDropCancel();
                return 0;
            default:
                break;
        }
        // The context menu's choice goes through the frame's routing.
        if (fw::FrameWindow* frame = ParentFrame()) frame->RouteCommand(LOWORD(wParam));
        return 0;
    }
    return View::HandleMessage(msg, wParam, lParam);
}

CURLEntryList CLeftView::SelectionOf(HTREEITEM item, int kind) {
    CURLEntryList list;
    switch (kind) {
        case TreeKind::kLink:
        case TreeKind::kMember:
        case TreeKind::kCutLink: {
            CURLEntry entry;
            if (GetLinkLocation(item, &entry)) {
                entry.kind = CURLEntry::kLink;
                list.push_back(entry);
            }
            break;
        }
        case TreeKind::kGroup: {
            std::vector<std::string> lines;
            if (store_.ReadList(GroupFile(item), &lines) != kErrNone) break;
            // Launched last line first; lines that name no link below Links are left out.
            for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
                CURLEntry entry;
                if (!ParseMemberLine(*it, &entry)) continue;
                entry.kind = TreeKind::kMember;
                list.push_back(entry);
            }
            break;
        }
        case TreeKind::kTemplate: {
            CURLEntry entry;
            if (GetLinkLocation(item, &entry)) list.push_back(entry);
            break;
        }
        default:
            break;
    }
    return list;
}

void CLeftView::OnSelChanged() {
    if (editing_) return;
    current_ = TreeView_GetSelection(hwnd());
    if (!current_) {
        doc_.OnTreeCtrlLClick(0, {});
        return;
    }
    int kind = Kind(current_);
    if (cutPending_) kind = TreeKind::Unmarked(kind);
    doc_.OnTreeCtrlLClick(kind, SelectionOf(current_, kind));
}

TreeCommandState CLeftView::CommandState(bool withPaste) const {
    TreeCommandState s;
    s.hasItem = current_ != nullptr;
    s.kind = current_ ? Kind(current_) : -1;
    s.hasChildren = current_ && TreeView_GetChild(hwnd(), current_) != nullptr;
    s.editing = editing_;
    s.copyPending = copyPending_;
    s.cutPending = cutPending_;
    s.sourceKind = clipboardSource_ ? Kind(clipboardSource_) : -1;
    s.canPaste = withPaste && CanPaste(clipboardSource_, current_);
    return s;
}

bool CLeftView::UpdateCommand(fw::CommandUI& ui) {
    if (!IsTreeCommand(ui.Id())) return false;
    ui.Enable(TreeCommandEnabled(ui.Id(), CommandState(ui.Id() == ID_EDIT_PASTE)));
    return true;
}

bool CLeftView::HandleCommand(UINT id) {
    if (!IsTreeCommand(id)) return false;
    // Every handler checks its rule again: the state may have changed since the menu opened.
    if (!TreeCommandEnabled(id, CommandState(id == ID_EDIT_PASTE))) return true;
    switch (id) {
        case ID_LAUNCH:
        case ID_LAUNCH_BUTTON:
            doc_.SaveAndLaunch();
            break;
        case ID_ADD_FOLDER:
        case kMenuAddFolder:
            OnAddFolder();
            break;
        case ID_ADD_LINK:
        case kMenuAddLink:
            OnAddLink();
            break;
        case ID_EDIT_DELETE:
        case kMenuDelete:
        case ID_DELETE_LINK:
        case ID_DELETE_FOLDER:
            OnDelete();
            break;
        case kMenuRenameFolder:
            OnRenameFolder();
            break;
        case ID_EDIT_CUT:
            OnEditCut();
            break;
        case ID_EDIT_COPY:
            OnEditCopy();
            break;
        case ID_EDIT_PASTE:
            OnEditPaste();
            break;
        case ID_IMPORT:
            OnImport();
            break;
        default:
            break;
    }
    return true;
}

void CLeftView::OnPress(LPARAM lParam) {
    TVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    dragItem_ = TreeView_HitTest(hwnd(), &hit);
    // A press ends a drag left open by a dismissed drop menu.
    if (dragging_) EndDrag();
}

fw::Menu CLeftView::BuildContextMenu() {
    fw::Menu menu = LoadEmptyPopup();
    if (!menu) return {};
    HMENU popup = menu.get();
    const TreeCommandState s = CommandState();
    const int kind = s.kind;
    auto add = [&](UINT id, const char* text, bool enabled) {
        ::AppendMenuA(popup, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
    };
    auto separator = [&] { ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr); };
    add(ID_LAUNCH_BUTTON, kind == TreeKind::kGroup ? "Launch Group" : "Launch link",
        TreeCommandEnabled(ID_LAUNCH_BUTTON, s));
    separator();
    add(kMenuAddFolder, "Add Folder", TreeCommandEnabled(kMenuAddFolder, s));
    add(kMenuAddLink, "Add Link", TreeCommandEnabled(kMenuAddLink, s));
    separator();
    add(ID_EDIT_CUT, "Cut", TreeCommandEnabled(ID_EDIT_CUT, s));
    add(ID_EDIT_COPY, "Copy", TreeCommandEnabled(ID_EDIT_COPY, s));
    if (TreeCommandEnabled(ID_EDIT_PASTE, s)) add(ID_EDIT_PASTE, "Paste", true);
    separator();
    add(kMenuDelete, "Delete", TreeCommandEnabled(kMenuDelete, s));
    if (kind == TreeKind::kFolder || kind == TreeKind::kGroup)
        add(kMenuRenameFolder, "Rename Folder", TreeCommandEnabled(kMenuRenameFolder, s));
    separator();
    add(kMenuCancel, "Cancel", true);
    return menu;
}

void CLeftView::OnRClick() {
    EndDrag();
    POINT screen{};
    ::GetCursorPos(&screen);
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(hwnd(), &hit.pt);
    HTREEITEM item = TreeView_HitTest(hwnd(), &hit);
    if (!item) return;
    TreeView_SelectItem(hwnd(), item);
    current_ = item;
    if (Kind(item) == TreeKind::kRoot) return;
    fw::Menu menu = BuildContextMenu();
    if (menu) ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
}
