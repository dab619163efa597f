// Reads and selects items of a tree control in another process: texts come
// back through a buffer allocated in that process.
#pragma once

#include "testsupport/remote_buffer.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace mgrtest {

class RemoteTree {
public:
    // The first tree control inside the window (of another process).
    explicit RemoteTree(HWND top);
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    explicit operator bool() const { return tree_ && buffer_; }
    HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
    HTREEITEM Child(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
    HTREEITEM Sibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
    HTREEITEM Caret() const { return Next(nullptr, TVGN_CARET); }
    HTREEITEM DropHighlight() const { return Next(nullptr, TVGN_DROPHILITE); }
    HTREEITEM LastVisible() const { return Next(nullptr, TVGN_LASTVISIBLE); }
    HWND Window() const { return tree_; }
    // The child of parent with this text, or null.
    HTREEITEM Find(HTREEITEM parent, const std::string& text) const;
    std::string Text(HTREEITEM item) const;
    // The item's picture, which is its kind; -1 when it cannot be read.
    int Image(HTREEITEM item) const;
    void Select(HTREEITEM item) const;
    void Expand(HTREEITEM item) const { ::SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }
    // The rectangle of the item's label in the tree's client coordinates;
    // empty when the item is not shown.
    RECT ItemRect(HTREEITEM item) const;
    // The edit box of a label being edited, or null.
    HWND EditControl() const { return reinterpret_cast<HWND>(::SendMessageA(tree_, TVM_GETEDITCONTROL, 0, 0)); }

private:
    HTREEITEM Next(HTREEITEM item, UINT how) const;

    HWND tree_ = nullptr;
    // A TVITEMA, then its text.
    testsupport::RemoteBuffer buffer_;
};

}  // namespace mgrtest
