// The owner-drawn picture button of the browser window: one frame of a
// picture strip (frames side by side, rows normal / focused / pressed) in the
// row of the button's state, an optional animation on a timer, a tooltip, its
// own cursor, and a hot mark while the pointer is over it.
//
// The button is bound to a dialog's BS_OWNERDRAW control with Subclass();
// the dialog reflects WM_DRAWITEM back as fw::kReflectedDrawItem. An object
// that is never bound serves as a descriptor: it only carries the name,
// rectangle, tooltip, bitmap paths and layout flag of a skin's line.
//
// Tooltip relaying: mouse messages are relayed to the tooltip from the
// button's own message handling (TTM_RELAYEVENT), so no message-loop hook is
// needed.
#pragma once

#include "ErrorCodes.h"

#include "DibBitmap.h"

#include "fw/window.h"

#include <windows.h>

#include <memory>
#include <string>

class CSkinButton : public fw::Window {
public:
    static constexpr UINT_PTR kAnimationTimer = 512;
    static constexpr UINT kCursorResource = 265;
    // The animation period is kept within these bounds whatever the skin says.
    static constexpr UINT kMinTimerPeriod = 10;
    static constexpr UINT kMaxTimerPeriod = 10000;

    CSkinButton();
    ~CSkinButton() override;

    // The skin line's values (a descriptor's, or the live button's copy).
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    const RECT& Rect() const { return rect_; }
    void SetRect(const RECT& rect) { rect_ = rect; }
    const std::string& Tooltip() const { return tooltip_; }
    void SetTooltip(const std::string& tooltip) { tooltip_ = tooltip; }
    const std::string& Bitmap1Path() const { return bitmap1Path_; }
    void SetBitmap1Path(const std::string& path) { bitmap1Path_ = path; }
    const std::string& Bitmap2Path() const { return bitmap2Path_; }
    void SetBitmap2Path(const std::string& path) { bitmap2Path_ = path; }
    int LayoutFlag() const { return layoutFlag_; }
    void SetLayoutFlag(int flag) { layoutFlag_ = flag; }
    // Name, rectangle, tooltip, both paths and flag from a descriptor.
    void CopySkinInfo(const CSkinButton& descriptor);

    // Resource bitmaps of the program: 0, 36 (a resource cannot be found or
    // loaded) or 44 (loaded, but its colour table could not be read). id2 of
    // 0 keeps the current bitmap 2.
    ErrorCode LoadBitmaps(UINT id1, UINT id2, int frames, int framesPerSecond);
    // Bitmap files: 0, 45 (a file cannot be opened or loaded) or 44. An empty
    // path2 or "NULL" keeps the current bitmap 2.
    ErrorCode LoadBitmapsFromFile(const std::string& path1, const std::string& path2, int frames, int framesPerSecond);
    // Frames of bitmap 1's strip (clamped to 1 .. its width) and the speed;
    // also takes the button's cursor.
    void SetMetrics(int frames, int framesPerSecond);

    // The module's cursor resource 265, or the system's hand when it has none.
    static HCURSOR LoadButtonCursor(HMODULE module);

    // 1 starts the animation (only with more than one frame), 0 stops it and
    // shows frame 0; any other value does nothing.
    void SetAnimation(int state);

    // Adds the button's tool on first use, sets its text and activates or
    // deactivates the tooltip. Nothing for an empty text or an unbound button.
    // The tooltip window itself is made when the mouse first comes to the
    // button: a window for each button at start-up costs the start its time.
    void SetTooltipText(const std::string& text, bool activate);

    // Realises the shown picture's palette on the button as a background
    // palette and repaints the button.
    void RealizePalette();

    // Paints one owner-draw request.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    // Set while the button holds the mouse capture because the pointer is over
    // it; cleared when the pointer leaves or the capture goes to another window.
    bool IsHot() const { return hot_ != 0; }
    int FrameIndex() const { return frameIndex_; }
    int Frames() const { return frames_; }
    int FramesPerSecond() const { return framesPerSecond_; }
    int FrameWidth() const { return frameWidth_; }
    int RowHeight() const { return rowHeight_; }
    UINT_PTR TimerId() const { return timerId_; }
    // The period the animation runs (or would run) at, in milliseconds.
    UINT TimerPeriod() const;
    HCURSOR Cursor() const { return cursor_; }
    HWND TooltipWindow() const { return tooltipWindow_.get(); }
    const CDibBitmap* Bitmap1() const { return bitmap1_.get(); }
    const CDibBitmap* Bitmap2() const { return bitmap2_.get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct WindowCloser {
        void operator()(HWND wnd) const noexcept;
    };

    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnTimer();
    void OnMouseMove(UINT flags, POINT point);
    void OnCaptureChanged(HWND gaining);
    void OnSize();
    void EnsureTooltip();
    void ApplyTooltipText();
    void RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam);
    void KillAnimationTimer();
    const CDibBitmap* ShownPicture() const;

    std::string name_;
    RECT rect_{};
    std::string tooltip_;
    std::string bitmap1Path_;
    std::string bitmap2Path_;
    int layoutFlag_ = 0;
    int hot_ = 0;
    std::unique_ptr<HWND__, WindowCloser> tooltipWindow_;
    std::string tipText_;  // the tool's text, given before or after the tooltip exists
    bool tipActive_ = false;
    std::unique_ptr<CDibBitmap> bitmap1_;
    std::unique_ptr<CDibBitmap> bitmap2_;
    UINT_PTR timerId_ = 0;
    int frameIndex_ = 0;
    int frames_ = 0;
    int framesPerSecond_ = 0;
    int frameWidth_ = 0;
    int rowHeight_ = 0;
    HCURSOR cursor_ = nullptr;  // shared cursor from LoadCursor: never destroyed
};
