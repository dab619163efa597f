// The manager in-process on a small link store: two top links, News with a
// link and the subfolder Daily with one, a group of two, an empty group, an
// empty Templates.
#pragma once

#include "link_files.h"
#include "manager_fixture.h"

#include "ErrorCodes.h"
#include "LeftView.h"
#include "LinkStore.h"
#include "NimbDoc.h"

#include "testsupport/pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mgrtest {

struct TreeFixture : ManagerFixture {
    std::string top0, top1, news, daily;
    CMainFrame* frame = nullptr;
    CLeftView* tree = nullptr;

    std::string AddLink(const std::string& folder, const std::string& title) {
        return mgrtest::AddLink(dir, folder, title);
    }

    // Two top links, News with a link and the subfolder Daily with one, a
    // group of two, an empty group, an empty Templates.
    explicit TreeFixture(const std::vector<std::string>& extraGroupLines = {}) {
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        dir.MakeFolder("Templates");
        top0 = AddLink("", "Alpha");
        top1 = AddLink("", "Beta");
        dir.MakeFolder("Links\\News");
        dir.MakeFolder("Links\\News\\Daily");
        news = AddLink("News", "Herald");
        daily = AddLink("News\\Daily", "Morning");
        dir.WriteFile("Groups\\Weekend.vsg", "Links\\" + top1 + "\r\nLinks\\News\\Daily\\" + daily + "\r\n");
        dir.WriteFile("Groups\\Empty.vsg", "");
        std::string odd;
        for (const std::string& line : extraGroupLines) odd += line + "\r\n";
        if (!extraGroupLines.empty()) dir.WriteFile("Groups\\Odd.vsg", odd);
    }

    CLeftView& Start() {
        frame = &ManagerFixture::Start("");
        tree = f_tree();
        EXPECT_TRUE(testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 20000))
            << "timer 51 builds the tree";
        return *tree;
    }
    CLeftView* f_tree() { return app->MainFrame()->TreeView(); }

    HTREEITEM Child(HTREEITEM parent, const std::string& text) const { return tree->FindChildByName(parent, text); }
    std::vector<std::string> Children(HTREEITEM parent) const {
        std::vector<std::string> texts;
        for (HTREEITEM c = TreeView_GetChild(tree->hwnd(), parent); c; c = TreeView_GetNextSibling(tree->hwnd(), c))
            texts.push_back(tree->Text(c) + "/" + std::to_string(tree->Kind(c)));
        return texts;
    }
    void Select(HTREEITEM item) const { TreeView_SelectItem(tree->hwnd(), item); }
    bool Expanded(HTREEITEM item) const {
        return (TreeView_GetItemState(tree->hwnd(), item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
};

// Each entry as "group|name|kind".
inline std::vector<std::string> Entries(const CURLEntryList& list) {
    std::vector<std::string> out;
    for (const CURLEntry& e : list) out.push_back(e.group + "|" + e.name + "|" + std::to_string(e.kind));
    return out;
}

}  // namespace mgrtest
