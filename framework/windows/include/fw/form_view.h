// A view made from a child dialog template (style WS_CHILD, not visible): the
// view's window is the dialog, so its controls are the template's and the
// dialog manager paints its background. The form never scrolls and has no
// border; the size the template gives is only what ResizeParentToFit aims at.
#pragma once

#include "fw/frame.h"

#include <windows.h>

namespace fw {

class FormView : public View {
public:
    // resources: the module holding the template; null for the program's.
    explicit FormView(UINT templateId, HINSTANCE resources = nullptr)
        : templateId_(templateId), resources_(resources) {}
    // The window goes first, without calling back into a half-destroyed object.
    ~FormView() override;

    // Makes the dialog as the pane's child with the pane's id, at rc, shown.
    bool CreateView(HWND parent, UINT id, const RECT& rc) override;

    UINT TemplateId() const noexcept { return templateId_; }
    // The template's size in pixels, as the dialog manager made it.
    SIZE FormSize() const noexcept { return formSize_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }

    // Makes the parent frame as much smaller (and, unless shrinkOnly, larger)
    // as the view's client area differs from the form's size.
    void ResizeParentToFit(bool shrinkOnly);

private:
    static INT_PTR CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HINSTANCE resources_;
    SIZE formSize_{};
};

}  // namespace fw
