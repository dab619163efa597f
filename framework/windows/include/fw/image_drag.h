// The system's one image drag (ImageList_BeginDrag and its partners) owned as
// an object: ended, left and its image list destroyed when the owner goes.
#pragma once

#include "fw/ui_handles.h"

#include <windows.h>

namespace fw {

class ImageDrag {
public:
    ImageDrag() = default;
    ~ImageDrag() { End(); }
    ImageDrag(const ImageDrag&) = delete;
    ImageDrag& operator=(const ImageDrag&) = delete;

    // Drags image 0 of images (hot spot 0,0) over window, shown at a point
    // of its client area; false, with nothing begun, when the list is empty
    // or another image drag is under way.
    bool Begin(ImageList images, HWND window, POINT client);
    // Moves the image to a point of the window's client area.
    void Move(POINT client) const;
    // Hides and shows the image around a repaint of the window below it.
    void Show(bool show) const;
    // Leaves the window and ends the drag; nothing when none is under way.
    void End();

    bool Active() const noexcept { return window_ != nullptr; }

private:
    // The drag functions place the image relative to the window's corner, not its client area.
    POINT WindowPoint(POINT client) const;

    ImageList images_;
    HWND window_ = nullptr;
};

// A drag image of a tree item: its picture and its text on the tree's own
// colours, drawn here since a tree control may give an empty one.
ImageList MakeTreeItemDragImage(HWND tree, HTREEITEM item);

}  // namespace fw
