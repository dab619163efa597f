// Modeless child dialogs hosted in a tab control, one page per tab: the page
// of the current tab shows at the tabs' lower left (item 0's left and bottom
// edges), the others are hidden. The pages are children of the tab control;
// their owner keeps the objects, this class only places and registers them.
#pragma once

#include "fw/dialog.h"

#include <windows.h>

#include <vector>

namespace fw {

class TabPages {
public:
    TabPages() = default;
    ~TabPages() { Clear(); }
    TabPages(const TabPages&) = delete;
    TabPages& operator=(const TabPages&) = delete;

    void Attach(HWND tab) noexcept { tab_ = tab; }
    HWND Tab() const noexcept { return tab_; }

    // Creates the page as a modeless child of the tab control and appends a
    // tab with the page's caption (at most 128 characters); the page loses its
    // caption style, is drawn active, and the main loop hands it its keys.
    bool AddPage(Dialog& page);

    size_t Count() const noexcept { return pages_.size(); }
    Dialog* Page(size_t i) const { return i < pages_.size() ? pages_[i] : nullptr; }
    // The page of the tab control's current item, or null.
    Dialog* Current() const;

    // Before the current tab changes.
    void HideCurrent() const;
    // After it changed: the current page is moved (size and z-order kept),
    // shown and, when asked, given the focus.
    void ShowCurrent(bool focus) const;
    // The current page moved to its place again (after the tab control's size changed).
    void PlaceCurrent() const;

    // Ends the loop's key routing to the pages (before their windows go).
    void Clear();

private:
    HWND tab_ = nullptr;
    std::vector<Dialog*> pages_;
    std::vector<HWND> windows_;
};

}  // namespace fw
