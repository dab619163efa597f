// Document, views and the frame that holds them. A frame routes every
// command (menu, accelerator, toolbar button) through the active view, the
// document, itself and the application, in that order; the first target that
// claims the command sets its state and is the one that runs it, and a command
// that is unclaimed or disabled never runs. Menus are brought up to date when they open, toolbars
// and the status bar's key panes in the loop's idle step.
#pragma once

#include "fw/bars.h"
#include "fw/command.h"
#include "fw/window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

class FrameWindow;

class Document : public CommandTarget {
public:
    ~Document() override = default;
};

// A pane's window. Views are made by their splitter (or frame), receive
// OnInitialUpdate once every view exists, and tell their frame when they get
// the focus or a click, which makes them the active view. A view knows its
// frame from the frame's AddView: focus and clicks are too frequent to look
// for it among the ancestors.
class View : public Window, public CommandTarget {
public:
    // Makes the view's window as a child of parent with the pane's id.
    virtual bool CreateView(HWND parent, UINT id, const RECT& rc);
    virtual void OnInitialUpdate() {}

    void SetDocument(Document* doc) noexcept { document_ = doc; }
    Document* GetDocument() const noexcept { return document_; }
    // The frame that added the view, or null.
    FrameWindow* ParentFrame() const noexcept { return frame_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class FrameWindow;

    Document* document_ = nullptr;
    FrameWindow* frame_ = nullptr;
};

class FrameWindow : public Window, public CommandTarget {
public:
    static constexpr UINT kFirstPaneId = 0xE900;
    static constexpr UINT kToolBarId = 0xE800;
    static constexpr UINT kStatusBarId = 0xE801;
    static constexpr UINT kReBarId = 0xE804;
    static constexpr UINT kIdleMessageString = 0xE001;  // "Ready"
    static constexpr UINT kIndicatorCaps = 0xE701, kIndicatorNum = 0xE702, kIndicatorScroll = 0xE703;
    static constexpr UINT kNextPaneCommand = 0xE150, kPrevPaneCommand = 0xE151;
    static constexpr UINT kAppExitCommand = 0xE141, kStatusBarCommand = 0xE801;

    // Registers the class with the resource's icon and makes the window; the
    // resource's menu and accelerators come with it. Hidden until shown.
    bool CreateFrame(const char* className, UINT resourceId, const char* title, DWORD style, const RECT& rc);

    void SetDocument(Document* doc) noexcept { document_ = doc; }
    Document* GetDocument() const noexcept { return document_; }
    void SetActiveView(View* view) noexcept { activeView_ = view; }
    View* ActiveView() const noexcept { return activeView_; }
    // The application: last in the routing.
    void SetAppTarget(CommandTarget* app) noexcept { app_ = app; }
    // The views of the panes, in pane order, for F6 and the initial update;
    // each view holds this frame from here.
    void AddView(View* view) {
        view->frame_ = this;
        views_.push_back(view);
    }
    const std::vector<View*>& Views() const { return views_; }

    // Every view's OnInitialUpdate; the first view becomes active.
    void InitialUpdate();

    bool RouteUpdate(CommandUI& ui);
    // Runs the command in the target that claims it, when that one enables
    // it; true when it ran.
    bool RouteCommand(UINT id);

    // For the message loop: the frame's accelerators; true when consumed.
    bool PreTranslateMessage(MSG& msg);
    // For the message loop's idle step: toolbars, key panes, idle prompt.
    void OnIdle();

    // Bars the frame lays out and keeps up to date.
    void SetTopBar(HWND bar) noexcept { topBar_ = bar; }
    void AddToolBar(const ToolBar* bar) { toolBars_.push_back(bar); }
    void SetStatusBar(StatusBar* bar) noexcept { statusBar_ = bar; }
    // The window that fills what the bars leave (a splitter).
    void SetClientWindow(HWND wnd) noexcept { client_ = wnd; }
    void RecalcLayout();

    // The message pane's text; the idle prompt comes back in the next idle step.
    void SetMessageText(const std::string& text);
    // The status prompt of a command: its string's part before "\n".
    static std::string CommandPrompt(UINT id);
    // Its tool tip: the part after "\n".
    static std::string CommandTip(UINT id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // WM_CREATE after the window exists; -1 fails the creation.
    virtual int OnCreate(CREATESTRUCTA*) { return 0; }
    virtual void OnClose() { Destroy(); }
    // WM_DESTROY of the main frame ends the loop.
    virtual void OnDestroy() { ::PostQuitMessage(0); }
    bool UpdateCommand(CommandUI& ui) override;
    bool HandleCommand(UINT id) override;

private:
    // The first target in the routing order that claims ui's command, which sets its state.
    CommandTarget* Claimer(CommandUI& ui);
    void UpdateMenu(HMENU menu);
    void UpdateIndicators();
    void ActivateNextPane(bool previous);

    Document* document_ = nullptr;
    View* activeView_ = nullptr;
    CommandTarget* app_ = nullptr;
    std::vector<View*> views_;
    HACCEL accel_ = nullptr;  // from the resource: released with the module
    HWND topBar_ = nullptr;
    HWND client_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    std::vector<const ToolBar*> toolBars_;
    bool showingPrompt_ = false;
};

}  // namespace fw
