// The real manager in-process with the property pane, on fixture links in a
// temporary program folder; keys go through the same steps as the frame's loop.
#pragma once

#include "manager_fixture.h"

#include "ErrorCodes.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "property/PropertyIds.h"
#include "property/PropertyView.h"

#include "fw/message_loop.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

namespace mgrtest {

struct PropertyFixture : ManagerFixture {
    CMainFrame* frame = nullptr;
    CLeftView* tree = nullptr;
    CPropertyView* view = nullptr;

    PropertyFixture() {
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        dir.MakeFolder("Templates");
    }

    std::string AddLink(CURLObject record) {
        std::string name;
        EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", record, &name), kErrNone);
        return name;
    }
    std::string AddLink(const std::string& title) {
        CURLObject record;
        record.link.title = title;
        record.link.address = "http://127.0.0.1:1/" + title;
        record.link.comments = "About " + title;
        return AddLink(record);
    }
    void AddTemplate(const std::string& title, const std::string& address) {
        CURLObject record;
        record.link.title = title;
        record.link.address = address;
        ASSERT_EQ(CLinkStore(dir.Path()).WriteArchive(dir / "Templates\\Default.vst", record), kErrNone);
    }
    std::unique_ptr<CURLObject> Load(const std::string& path) const {
        std::unique_ptr<CURLObject> record;
        EXPECT_EQ(CLinkStore(dir.Path()).ReadArchive(dir / path, &record), kErrNone);
        return record;
    }

    void StartManager() {
        frame = &Start("");
        tree = app->MainFrame()->TreeView();
        view = dynamic_cast<CPropertyView*>(frame->InnerSplitter().ViewAt(1, 0));
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 20000));
    }

    HTREEITEM Item(HTREEITEM parent, const std::string& text) const { return tree->FindChildByName(parent, text); }
    HTREEITEM Link(const std::string& title) const { return Item(tree->LinksItem(), title); }
    HTREEITEM Group(const std::string& name) const { return Item(tree->GroupsItem(), name); }
    HTREEITEM Template() const { return Item(Item(tree->Root(), "Templates"), "Default Template"); }
    void Select(HTREEITEM item) const {
        ASSERT_NE(item, nullptr);
        TreeView_SelectItem(tree->hwnd(), item);
    }

    HWND Control(int id) const { return view->LinkPage().Item(id); }
    std::string Text(int id) const { return view->LinkPage().ItemText(id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    // One pass of the frame's loop: modeless pages, accelerators, dispatch.
    void PumpLoop() const {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (fw::PreTranslateModeless(msg)) continue;
            if (frame->PreTranslateMessage(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    // A key as the keyboard would queue it to the focused control.
    void Key(UINT vk) const {
        HWND focus = ::GetFocus();
        ::PostMessageA(focus, WM_KEYDOWN, vk, 1);
        ::PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
        PumpLoop();
    }
    void Type(const std::string& text) const {
        HWND focus = ::GetFocus();
        for (char c : text) ::PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
        PumpLoop();
    }
    // Replaces the focused edit's text as typing over a full selection would.
    void Retype(int id, const std::string& text) const {
        ::SetFocus(Control(id));
        ::SendMessageA(Control(id), EM_SETSEL, 0, -1);
        Type(text);
    }

    bool CommandEnabled(UINT id) const {
        fw::CommandUI ui(id);
        return frame->RouteUpdate(ui) && ui.Enabled();
    }
};

}  // namespace mgrtest
