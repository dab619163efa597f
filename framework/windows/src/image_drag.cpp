#include "fw/image_drag.h"

#include "fw/handles.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

namespace fw {

POINT ImageDrag::WindowPoint(POINT client) const {
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    POINT origin{0, 0};
    ::ClientToScreen(window_, &origin);
    return {client.x + origin.x - frame.left, client.y + origin.y - frame.top};
}

bool ImageDrag::Begin(ImageList images, HWND window, POINT client) {
    End();
    if (!images || ::ImageList_GetImageCount(images.get()) < 1 || !window) return false;
    if (!::ImageList_BeginDrag(images.get(), 0, 0, 0)) return false;
    images_ = std::move(images);
    window_ = window;
    const POINT at = WindowPoint(client);
    ::ImageList_DragEnter(window_, at.x, at.y);
    ::ImageList_DragShowNolock(TRUE);
    return true;
}

void ImageDrag::Move(POINT client) const {
    if (!window_) return;
    const POINT at = WindowPoint(client);
    ::ImageList_DragMove(at.x, at.y);
}

void ImageDrag::Show(bool show) const {
    if (window_) ::ImageList_DragShowNolock(show ? TRUE : FALSE);
}

void ImageDrag::End() {
    if (!window_) return;
    ::ImageList_DragLeave(window_);
    ::ImageList_EndDrag();
    window_ = nullptr;
    images_.reset();
}

ImageList MakeTreeItemDragImage(HWND tree, HTREEITEM item) {
    char text[260] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_IMAGE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof(text);
    if (!item || !::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    HIMAGELIST pictures = TreeView_GetImageList(tree, TVSIL_NORMAL);
    int iconW = 0, iconH = 0;
    if (pictures) ::ImageList_GetIconSize(pictures, &iconW, &iconH);

    WindowDc screen(tree);
    MemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!dc) return {};
    // The tree's font without smoothing: smoothed edges would blend with the mask colour.
    HFONT treeFont = reinterpret_cast<HFONT>(::SendMessageA(tree, WM_GETFONT, 0, 0));
    LOGFONTA look{};
    ::GetObjectA(treeFont ? static_cast<HGDIOBJ>(treeFont) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(look), &look);
    look.lfQuality = NONANTIALIASED_QUALITY;
    Font font(::CreateFontIndirectA(&look));
    SelectObjectGuard fontGuard(dc.get(), font ? static_cast<HGDIOBJ>(font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    const int length = static_cast<int>(std::char_traits<char>::length(text));
    ::GetTextExtentPoint32A(dc.get(), text, length, &extent);
    constexpr int kGap = 3;
    const int width = iconW + kGap + extent.cx + 2;
    const int height = std::max<int>(iconH, extent.cy);
    Bitmap picture(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!picture) return {};
    // The mask colour is one the text and icons never use.
    const COLORREF mask = RGB(255, 0, 255);
    {
        SelectObjectGuard bitmapGuard(dc.get(), picture.get());
        Brush background(::CreateSolidBrush(mask));
        const RECT all{0, 0, width, height};
        ::FillRect(dc.get(), &all, background.get());
        if (pictures) ::ImageList_Draw(pictures, tv.iImage, dc.get(), 0, (height - iconH) / 2, ILD_TRANSPARENT);
        ::SetBkMode(dc.get(), TRANSPARENT);
        ::SetTextColor(dc.get(), ::GetSysColor(COLOR_WINDOWTEXT));
        ::TextOutA(dc.get(), iconW + kGap, (height - extent.cy) / 2, text, length);
    }
    ImageList images(::ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0));
    if (!images || ::ImageList_AddMasked(images.get(), picture.get(), mask) < 0) return {};
    return images;
}

}  // namespace fw
