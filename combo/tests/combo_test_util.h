// Shared by the ZYLCOMBO.OCX tests: the control's identities and dispatch
// ids as a host knows them, the library beside the test program, and a
// container window hosting the control with the framework's ActiveX host.
#pragma once

#include "fw/activex.h"
#include "fw/dispatch.h"
#include "fw/window.h"

#include <windows.h>

#include <string>

namespace combotest {

// {0F3550B3-3B6A-11D0-BA1F-027CFC000000} and the rest of the family.
inline constexpr GUID MakeId(unsigned char last) {
    return {0x0f3550b0u + last, 0x3b6a, 0x11d0, {0xba, 0x1f, 0x02, 0x7c, 0xfc, 0x00, 0x00, 0x00}};
}
inline constexpr GUID kLibId = MakeId(0);
inline constexpr IID kDispIid = MakeId(1);
inline constexpr IID kEventsIid = MakeId(2);
inline constexpr CLSID kControlClsid = MakeId(3);
inline constexpr CLSID kPageClsid = MakeId(4);

enum Dispid : DISPID {
    kSort = 1,
    kGetText = 2,
    kCount = 3,
    kGetTextForIndex = 4,
    kSetCurSel = 5,
    kAddTunes = 6,
    kIsComboForWQX = 7,
    kAddFonts = 8,
    kAddFontSizes = 9,
    kAddFontColors = 10,
    kEnableControl = 11,
    kGetColorRefName = 12,
    kGetColorRefForName = 13,
    kRefresh = -550,
    kAboutBox = -552,
};
enum Event : DISPID { kCloseUp = 1, kDropDown = 2 };

// The library, in the test program's folder.
std::string OcxPath();
// "regsvr32.exe /s [/u] <OcxPath()>"'s exit code.
DWORD RegSvr32(bool unregister);

// Registers the library for the whole test program (and the OLE apartment of the main thread).
void RegisterForTests();

// A visible top-level window holding one ZylCombo control.
class Container : public fw::Window {
public:
    Container();
    ~Container() override;
    HRESULT Create(const fw::AxSetup& setup = {}, RECT rect = {10, 10, 210, 210});

    fw::AxHost& ax() { return ax_; }
    const fw::DispatchDriver& disp() const { return disp_; }
    // The combo box itself: the reflector's child.
    HWND Combo() const;
    HWND Reflector() const { return ax_.ControlWindow(); }

    fw::Variant Call(DISPID id, std::initializer_list<fw::Variant> args = {}) const;
    std::string Text(DISPID id, std::initializer_list<fw::Variant> args = {}) const;
    long Long(DISPID id, std::initializer_list<fw::Variant> args = {}) const;
    bool Bool(DISPID id, std::initializer_list<fw::Variant> args = {}) const;

private:
    fw::AxHost ax_;
    fw::DispatchDriver disp_;
};

}  // namespace combotest
