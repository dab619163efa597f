// One miniature browser window of the desktop pane: a captioned, sizable
// child drawn with its link's skin (the transparent colour turned into the
// desktop's teal, the page area white), which the user drags and sizes to
// choose where the link's browser window opens.
#pragma once

#include "LinkStore.h"

#include "fw/frame.h"
#include "fw/handles.h"
#include "fw/window.h"

#include <windows.h>

#include <string>

class CMiniBrowserWnd : public fw::Window {
public:
    static constexpr char kClassName[] = "VessaMgr.MiniBrowser";
    static constexpr char kTitle[] = "Vessa Browser";
    // Redraw on size, own and parent DC, no Close: 0x2A3.
    static constexpr UINT kClassStyle = CS_HREDRAW | CS_VREDRAW | CS_OWNDC | CS_PARENTDC | CS_NOCLOSE;
    static constexpr DWORD kStyle = WS_CHILD | WS_CAPTION | WS_THICKFRAME;  // 0x40C40000
    // The frame and caption the image is laid out for: 4 pixels a side, 19 for the caption.
    static constexpr int kFrame = 4;
    static constexpr int kCaption = 19;
    static constexpr int kExtraWidth = 2 * kFrame;              // 8
    static constexpr int kExtraHeight = 2 * kFrame + kCaption;  // 27
    // The teal of the desktop picture, where a skin is transparent.
    static constexpr COLORREF kDesktopTeal = RGB(0, 130, 123);
    // The built-in skin as the miniature draws it.
    static constexpr RECT kBuiltInViewer{66, 18, 741, 434};
    static constexpr COLORREF kBuiltInTransparent = RGB(255, 0, 0);
    static constexpr int kBuiltInWidth = 794;
    static constexpr int kBuiltInHeight = 568;

    // Registers the window class (once).
    // view: the desktop pane, its parent, made the active view by a press on the miniature.
    CMiniBrowserWnd(fw::View& view, std::string programFolder);
    ~CMiniBrowserWnd() override;

    // Takes the link record's rectangle and skin and makes the hidden
    // window; 0, or 13 when the window cannot be made.
    int MakeFor(const CURLEntry& entry, const CURLObject& record);

    // Sizes the image to a window of width x height (the window just placed).
    void PrepareImage(int width, int height);
    // Loads the skin's image at the drawn size: 0 or the change's failure (none).
    void ReloadSkin(const std::string& skin);

    // The skin's background at width x height: the built-in picture when the
    // skin is "vessa", missing, refuses its file or has no usable design size.
    fw::Bitmap LoadSkinBitmap(const std::string& skin, int width, int height);
    // Turns the transparent colour into teal and fills the viewer white, on
    // the image selected into dc.
    void BuildSkinMask(HDC dc);

    // VIEWER: x, y, w, h as a rectangle, never clamped.
    static RECT ParseViewerRect(const std::string& text);
    // TRANSPARENTCOLOR: r, g, b, each modulo 256.
    static COLORREF ParseRgb(const std::string& text);

    const RECT& PlacementRect() const { return placement_; }
    const RECT& WriteBackRect() const { return writeBack_; }
    const CURLEntry& Entry() const { return entry_; }
    bool Moved() const { return moved_; }
    const std::string& SkinName() const { return skin_; }
    bool BuiltIn() const { return builtIn_ != 0; }
    SIZE SourceSize() const { return SIZE{sourceWidth_, sourceHeight_}; }
    SIZE DrawnSize() const { return SIZE{drawnWidth_, drawnHeight_}; }
    HDC ImageDc() const { return memDc_.get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnNcLButtonDown(WPARAM hit, LPARAM point);
    // Puts an image into the memory DC, masked; the old image goes.
    void UseImage(fw::Bitmap image);

    fw::View& view_;
    std::string programFolder_;
    RECT placement_{};
    RECT writeBack_{};
    CURLEntry entry_;
    bool moved_ = false;
    fw::MemoryDc memDc_;
    fw::Bitmap image_;
    HGDIOBJ previousBitmap_ = nullptr;  // the memory DC's own, put back before the DC goes
    std::string skin_;
    int builtIn_ = 1;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int drawnWidth_ = 0;
    int drawnHeight_ = 0;
};
