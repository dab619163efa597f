#include "combo_test_util.h"

#include "fw/com.h"
#include "fw/handles.h"
#include "testsupport/child_process.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace combotest {

std::string OcxPath() {
    return testsupport::TestBinaryFolder() + "\\ZYLCOMBO.OCX";
}

DWORD RegSvr32(bool unregister) {
    return testsupport::RegSvr32(OcxPath(), unregister);
}

namespace {

class Registered : public ::testing::Environment {
public:
    void SetUp() override {
        ole_ = std::make_unique<fw::OleApartment>();
        ASSERT_EQ(RegSvr32(false), 0u) << "the library registers itself";
    }
    void TearDown() override {
        RegSvr32(true);
        ole_.reset();
    }

private:
    std::unique_ptr<fw::OleApartment> ole_;
};

}  // namespace

void RegisterForTests() {
    ::testing::AddGlobalTestEnvironment(new Registered);
}

Container::Container() {
    RegisterClass("comboTestHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    Window::Create("comboTestHost", "ZylCombo container", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, 420, 320, nullptr);
    // Shown without activation: under Xvfb destroying an active window is slow.
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

Container::~Container() {
    disp_.Release();
    ax_.Destroy();
}

HRESULT Container::Create(const fw::AxSetup& setup, RECT rect) {
    const HRESULT hr = ax_.Create(kControlClsid, hwnd(), rect, setup);
    if (SUCCEEDED(hr)) disp_.Attach(ax_.Dispatch());
    return hr;
}

HWND Container::Combo() const {
    return ::GetWindow(Reflector(), GW_CHILD);
}

fw::Variant Container::Call(DISPID id, std::initializer_list<fw::Variant> args) const {
    fw::DispResult r = disp_.Call(id, args);
    EXPECT_EQ(r.hr, S_OK) << "dispid " << id;
    return std::move(r.value);
}

std::string Container::Text(DISPID id, std::initializer_list<fw::Variant> args) const {
    fw::Variant v = Call(id, args);
    EXPECT_EQ(v.vt(), VT_BSTR) << "dispid " << id;
    return v.ToString();
}

long Container::Long(DISPID id, std::initializer_list<fw::Variant> args) const {
    return Call(id, args).ToLong(-999);
}

bool Container::Bool(DISPID id, std::initializer_list<fw::Variant> args) const {
    fw::Variant v = Call(id, args);
    EXPECT_EQ(v.vt(), VT_BOOL) << "dispid " << id;
    return v.ToBool();
}

}  // namespace combotest
