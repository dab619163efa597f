// A static text control that behaves like a link: hand cursor, underlined
// blue text, and a click that opens a web or mail address through the shell.
// The static needs SS_NOTIFY to receive clicks.
#pragma once

#include "fw/handles.h"
#include "fw/window.h"

#include <windows.h>

#include <string>

class CHyperLink : public fw::Window {
public:
    enum LinkType : int { kNone = 0, kMail = 1, kWeb = 2, kUnchanged = 4 };

    void SetLink(int type, const std::string& target, const std::string& subject, int helpContext);

    // Gives the control an underlined "MS Sans Serif" font of the point size
    // (made once per size and resolution, owned by the control), selects it
    // into dc and sets dc's text colour to blue.
    void CreateLinkFont(HDC dc, int pointSize);

    // For the owner's control-colour handler: sets the text colour when
    // window is this control and returns the previous one, else 0.
    COLORREF CtlColorForward(HDC dc, HWND window, COLORREF colour) const;

    // The address a click opens for a link type; empty for types that open nothing.
    static std::string BuildAddress(int type, const std::string& target, const std::string& subject);

    int Type() const { return type_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Opens an address through the shell; true on success.
    virtual bool OpenAddress(const std::string& address);

private:
    LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);

    int type_ = kNone;
    std::string target_;
    std::string subject_;
    int helpContext_ = 0;
    fw::Font font_;
    int fontHeight_ = 0;
};

// A bitmap that draws itself with one colour left transparent.
class CTransparentBitmap {
public:
    CTransparentBitmap() = default;
    explicit CTransparentBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}

    bool LoadBitmap(UINT resourceId);
    void Attach(HBITMAP bitmap) { bitmap_.reset(bitmap); }
    HBITMAP get() const { return bitmap_.get(); }

    // Draws the whole bitmap with its top-left corner at (x, y); pixels of the
    // transparent colour leave dc's content showing. dc is written once.
    virtual void DrawTransparentBitmap(HDC dc, int x, int y, COLORREF transparent) const;
    virtual ~CTransparentBitmap() = default;

private:
    fw::Bitmap bitmap_;
};
