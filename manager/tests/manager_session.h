// One running VessaMgr.exe with its tree read across processes, and links
// made on disk the way the browser saves them; shared by the black-box tests
// of the tree.
#pragma once

#include "link_files.h"
#include "remote_tree.h"
#include "running_manager.h"

#include <memory>
#include <string>
#include <vector>

namespace mgrtest {

struct Session {
    RunningManager manager;
    HWND frame = nullptr;
    std::unique_ptr<RemoteTree> tree;
    DWORD pid = 0;

    explicit Session(const TempProgramFolder& dir) : manager(dir, "") {
        frame = manager.WaitForWindow();
        if (!frame) return;
        ::GetWindowThreadProcessId(frame, &pid);
        tree = std::make_unique<RemoteTree>(frame);
        // Built on the first tick of timer 51.
        WaitUntil([&] { return Item({"Links"}) != nullptr; }, 30000);
    }

    // The item at a path of texts below the root.
    HTREEITEM Item(const std::vector<std::string>& path) const {
        HTREEITEM item = tree->Root();
        for (const std::string& text : path) item = item ? tree->Find(item, text) : nullptr;
        return item;
    }
    void Select(const std::vector<std::string>& path) const { tree->Select(Item(path)); }
    void Command(UINT id) const { ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Waits for the tree's label edit, types the name and presses Enter; true once the edit has ended.
    bool TypeName(const std::string& text, WPARAM key = VK_RETURN) const {
        HWND edit = nullptr;
        if (!WaitUntil([&] { return (edit = tree->EditControl()) != nullptr; })) return false;
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::PostMessageA(edit, WM_KEYDOWN, key, 0);
        // The edit goes when its end has been handled, boxes included.
        return WaitUntil([&] { return tree->EditControl() == nullptr; }, 30000);
    }
    std::vector<std::string> Children(const std::vector<std::string>& path) const {
        std::vector<std::string> texts;
        for (HTREEITEM c = tree->Child(Item(path)); c; c = tree->Sibling(c)) texts.push_back(tree->Text(c));
        return texts;
    }
};

}  // namespace mgrtest
