// The About box: the logo on white, the version and the maker's links.
#pragma once

#include "HyperLink.h"

#include "fw/dialog.h"
#include "fw/handles.h"

#include <windows.h>

inline constexpr UINT kAboutTemplate = 184;
inline constexpr UINT kAboutLogo = 185;
inline constexpr int kAboutLogoFrame = 1054;
inline constexpr int kAboutProduct = 1053;
inline constexpr int kAboutHomeLink = 1064;
inline constexpr int kAboutMailLink = 1065;

class CBrowserAboutDlg : public fw::Dialog {
public:
    CBrowserAboutDlg();
    // Whether the logo resource was found.
    bool HasLogo() const { return logo_.get() != nullptr; }

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    CTransparentBitmap logo_;
    fw::Brush white_;
    CHyperLink home_;
    CHyperLink mail_;
};
