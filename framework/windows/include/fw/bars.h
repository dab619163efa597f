// Toolbar, rebar and status bar: thin owners of the common controls. The
// control windows are children of the frame and go with it; the image lists
// belong to the toolbar object.
#pragma once

#include "fw/ui_handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace fw {

class CommandTarget;

class ToolBar {
public:
    // A child toolbar for a rebar band (no own placement or divider); extra: TBSTYLE_* of its own.
    bool Create(HWND parent, DWORD extraStyle, UINT id);
    HWND hwnd() const noexcept { return wnd_; }

    // Button i shows image i; texts empty or one per button.
    bool SetButtons(const std::vector<UINT>& commands, const std::vector<std::string>& texts = {});
    // The toolbar keeps both lists.
    void SetImageLists(ImageList normal, ImageList hot);
    void SetButtonWidth(int minWidth, int maxWidth);
    void SetBitmapSize(int cx, int cy);
    // The size of the first button's rectangle.
    SIZE ButtonSize() const;
    int ButtonCount() const;
    UINT CommandAt(int index) const;
    bool IsEnabled(UINT command) const;
    bool IsChecked(UINT command) const;

    // Asks the routing for each button's state and applies it.
    void UpdateButtons(const std::function<bool(class CommandUI&)>& route) const;

private:
    HWND wnd_ = nullptr;
    std::vector<std::string> texts_;  // the control keeps pointers to them
    ImageList normal_, hot_;
};

class ReBar {
public:
    bool Create(HWND parent, DWORD extraStyle, UINT id);
    HWND hwnd() const noexcept { return wnd_; }
    // A band holding child; sizes in pixels.
    bool AddBand(HWND child, UINT bandStyle, SIZE minChild, int width, int idealWidth);
    void ShowBand(int index, bool show) const;
    bool BandVisible(int index) const;
    int BandCount() const;

private:
    HWND wnd_ = nullptr;
};

class StatusBar {
public:
    bool Create(HWND parent, UINT id);
    HWND hwnd() const noexcept { return wnd_; }
    // Pane 0 takes what the others leave; the others have these widths.
    void SetPaneWidths(const std::vector<int>& widths);
    void SetPaneWidth(size_t pane, int width);
    int PaneWidth(size_t pane) const;
    void SetText(int pane, const std::string& text) const;
    std::string Text(int pane) const;
    // The width of text drawn on one line in the bar's font.
    int TextWidth(const std::string& text) const;
    // After the parent's size changed: the bar's own placement and pane edges.
    void Layout() const;
    bool Visible() const { return wnd_ && ::IsWindowVisible(wnd_); }

private:
    HWND wnd_ = nullptr;
    std::vector<int> widths_;  // widths_[0] is unused: pane 0 stretches
};

}  // namespace fw
