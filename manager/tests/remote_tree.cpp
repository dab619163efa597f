#include "remote_tree.h"

#include "testsupport/running_program.h"

#include <string>
#include <vector>

namespace mgrtest {

namespace {
constexpr size_t kTextSize = 512;

}  // namespace

RemoteTree::RemoteTree(HWND top) {
    // The tree lies inside the splitter: search the whole window.
    tree_ = testsupport::ChildOfClass(top, WC_TREEVIEWA);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(top, &pid);
    process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
        buffer_ = ::VirtualAllocEx(process_, nullptr, sizeof(TVITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteTree::~RemoteTree() {
    if (buffer_) ::VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
    if (process_) ::CloseHandle(process_);
}

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
    char* remoteText = static_cast<char*>(buffer_) + sizeof(TVITEMA);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remoteText;
    tv.cchTextMax = static_cast<int>(kTextSize);
    SIZE_T done = 0;
    if (!::WriteProcessMemory(process_, buffer_, &tv, sizeof(tv), &done)) return {};
    if (!::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer_))) return {};
    std::vector<char> text(kTextSize + 1, '\0');
    if (!::ReadProcessMemory(process_, remoteText, text.data(), kTextSize, &done)) return {};
    return text.data();
}

int RemoteTree::Image(HTREEITEM item) const {
    if (!item || !buffer_) return -1;
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    SIZE_T done = 0;
    if (!::WriteProcessMemory(process_, buffer_, &tv, sizeof(tv), &done)) return -1;
    if (!::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer_))) return -1;
    if (!::ReadProcessMemory(process_, buffer_, &tv, sizeof(tv), &done)) return -1;
    return tv.iImage;
}

RECT RemoteTree::ItemRect(HTREEITEM item) const {
    // The message takes the item in the RECT it fills.
    RECT rect{};
    if (!item || !buffer_) return rect;
    SIZE_T done = 0;
    if (!::WriteProcessMemory(process_, buffer_, &item, sizeof(item), &done)) return rect;
    if (!::SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer_))) return rect;
    if (!::ReadProcessMemory(process_, buffer_, &rect, sizeof(rect), &done)) return RECT{};
    return rect;
}

void RemoteTree::Select(HTREEITEM item) const {
    ::SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

}  // namespace mgrtest
