// The property pane's owner-drawn tab control (id 1112): every tab's text in
// the button-text colour, the current one included, with prefix processing
// ("Font && Color Options" shows one ampersand).
#pragma once

#include "fw/window.h"

#include <string>

class CPropertyTabCtrl : public fw::Window {
public:
    // Makes the control in the parent's client area and binds to it.
    bool CreateTabs(HWND parent, UINT id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual void DrawTabText(HDC dc, const RECT& rc, const std::string& text, bool selected);
};
