#include "remote_tree.h"

#include "testsupport/running_program.h"

#include <string>

namespace mgrtest {

namespace {
constexpr size_t kTextSize = 512;
}  // namespace

// The tree lies inside the splitter: the whole window is searched.
RemoteTree::RemoteTree(HWND top)
    : tree_(testsupport::ChildOfClass(top, WC_TREEVIEWA)), buffer_(top, sizeof(TVITEMA) + kTextSize) {}

HTREEITEM RemoteTree::Next(HTREEITEM item, UINT how) const {
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM RemoteTree::Find(HTREEITEM parent, const std::string& text) const {
    for (HTREEITEM c = Child(parent); c; c = Sibling(c))
        if (Text(c) == text) return c;
    return nullptr;
}

std::string RemoteTree::Text(HTREEITEM item) const {
    if (!item || !buffer_) return {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = reinterpret_cast<char*>(buffer_.At(sizeof(TVITEMA)));
    tv.cchTextMax = static_cast<int>(kTextSize);
    if (!buffer_.Put(tv)) return {};
    if (!::SendMessageA(tree_, TVM_GETITEMA, 0, buffer_.At())) return {};
    return buffer_.Text(sizeof(TVITEMA));
}

int RemoteTree::Image(HTREEITEM item) const {
    if (!item || !buffer_) return -1;
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    if (!buffer_.Put(tv)) return -1;
    if (!::SendMessageA(tree_, TVM_GETITEMA, 0, buffer_.At())) return -1;
    if (!buffer_.Get(&tv)) return -1;
    return tv.iImage;
}

RECT RemoteTree::ItemRect(HTREEITEM item) const {
    // The message takes the item in the RECT it fills.
    RECT rect{};
    if (!item || !buffer_) return rect;
    if (!buffer_.Put(item)) return rect;
    if (!::SendMessageA(tree_, TVM_GETITEMRECT, TRUE, buffer_.At())) return rect;
    if (!buffer_.Get(&rect)) return RECT{};
    return rect;
}

void RemoteTree::Select(HTREEITEM item) const {
    ::SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

}  // namespace mgrtest
