// A small control on the framework's control side: an owner-drawn button
// that counts its clicks (reflected BN_CLICKED) and fires Clicked, with two
// persistent properties and a property page.
#pragma once

#include "fw/ax_control.h"
#include "fw/property_page.h"

namespace testctl {

extern const CLSID kClsid;
extern const CLSID kPageClsid;
extern const IID kDispIid;
extern const IID kEventsIid;
extern const GUID kLibId;

enum : DISPID { kValue = 1, kFlag = 2, kAdd = 3, kEcho = 4, kClicks = 5 };
enum : DISPID { kClicked = 1 };

class TestControl final : public fw::AxControl {
public:
    TestControl();
    int drawn = 0;  // reflected WM_DRAWITEM requests

protected:
    void PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DoPropExchange(fw::PropExchange& px) override;

private:
    int32_t value_ = 7;
    BOOL flag_ = FALSE;
    short clicks_ = 0;
};

class TestPage final : public fw::PropertyPage {
public:
    TestPage();
};

// Registers both classes' factories for the caller's life.
class Registration {
public:
    Registration();
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    DWORD control_ = 0, page_ = 0;
};

}  // namespace testctl
