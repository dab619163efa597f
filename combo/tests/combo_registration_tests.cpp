// Black-box: ZYLCOMBO.OCX registers and unregisters itself through regsvr32.
#include "combo_test_util.h"

#include "fw/com.h"
#include "fw/com_registration.h"
#include "fw/registry.h"

#include <ole2.h>
#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace combotest;

const std::string kClasses = "Software\\Classes\\";

std::optional<std::string> Stored(const std::string& path, const char* name = nullptr) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, kClasses + path, KEY_READ);
    if (!key) return std::nullopt;
    return fw::ReadString(key.get(), name);
}

bool Exists(const std::string& path) {
    return static_cast<bool>(fw::OpenKey(HKEY_LOCAL_MACHINE, kClasses + path, KEY_READ));
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The registry names the library by its path, however the system spells it.
bool SamePath(const std::optional<std::string>& stored, const std::string& path) {
    if (!stored) return false;
    std::string s = Lower(*stored);
    if (s.rfind("\\\\?\\", 0) == 0) s = s.substr(4);
    return s == Lower(path);
}

class ComboRegistration : public ::testing::Test {
protected:
    void SetUp() override { RegSvr32(true); }
    void TearDown() override { RegSvr32(true); }

    const std::string control = "CLSID\\" + fw::GuidText(kControlClsid);
    const std::string page = "CLSID\\" + fw::GuidText(kPageClsid);
    const std::string typeLib = "TypeLib\\" + fw::GuidText(kLibId);
};

TEST_F(ComboRegistration, RegistersTheControlThePageAndTheTypeLibrary) {
    ASSERT_FALSE(Exists(control));
    ASSERT_EQ(RegSvr32(false), 0u);
    const std::string ocx = OcxPath();
    const struct {
        std::string path;
        std::optional<std::string> value;
    } entries[] = {
        {control, "ZylCombo Control"},
        {control + "\\ProgID", "ZYLCOMBO.ZylComboCtrl.1"},
        {control + "\\ToolboxBitmap32", std::nullopt},  // checked below
        {control + "\\MiscStatus\\1", "131473"},
        {control + "\\TypeLib", "{0F3550B0-3B6A-11D0-BA1F-027CFC000000}"},
        {control + "\\Version", "1.0"},
        {control + "\\Control", ""},
        {"ZYLCOMBO.ZylComboCtrl.1", "ZylCombo Control"},
        {"ZYLCOMBO.ZylComboCtrl.1\\CLSID", "{0F3550B3-3B6A-11D0-BA1F-027CFC000000}"},
        {page, "ZylCombo Property Page"},
        {typeLib + "\\1.0", "ZylCombo OLE Control module"},
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(e.path);
        ASSERT_TRUE(Exists(e.path));
        if (e.value) {
            EXPECT_EQ(Stored(e.path), e.value);
        }
    }
    EXPECT_TRUE(SamePath(Stored(control + "\\InprocServer32"), ocx));
    EXPECT_TRUE(SamePath(Stored(page + "\\InprocServer32"), ocx));
    EXPECT_EQ(Lower(Stored(control + "\\ToolboxBitmap32").value_or("")), Lower(ocx + ", 1"));
    // Flags 0: no threading model, not insertable.
    fw::RegKey server = fw::OpenKey(HKEY_LOCAL_MACHINE, kClasses + control + "\\InprocServer32", KEY_READ);
    EXPECT_FALSE(fw::ValueExists(server.get(), "ThreadingModel"));
    EXPECT_FALSE(Exists(control + "\\Insertable"));

    DWORD misc = 0;
    ASSERT_EQ(::OleRegGetMiscStatus(kControlClsid, DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 0x20191u);

    fw::ComPtr<ITypeLib> lib;
    ASSERT_EQ(::LoadRegTypeLib(kLibId, 1, 0, 0, lib.put()), S_OK) << "the type library is found by its id";
}

TEST_F(ComboRegistration, UnregisteringRemovesEverythingAndASecondTimeSucceedsToo) {
    ASSERT_EQ(RegSvr32(false), 0u);
    ASSERT_EQ(RegSvr32(true), 0u);
    for (const std::string& path : {control, page, std::string("ZYLCOMBO.ZylComboCtrl.1"), typeLib + "\\1.0"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Exists(path));
    }
    fw::ComPtr<ITypeLib> lib;
    EXPECT_NE(::LoadRegTypeLib(kLibId, 1, 0, 0, lib.put()), S_OK);
    EXPECT_EQ(RegSvr32(true), 0u) << "an unregistered library unregisters cleanly";
    EXPECT_EQ(RegSvr32(false), 0u) << "and registers again";
    EXPECT_TRUE(Exists(control));
}

}  // namespace
