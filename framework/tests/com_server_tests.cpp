// The registry entries and running registration of a class a program serves.
#include "fw/command_line.h"
#include "fw/com_registration.h"
#include "fw/dispatch_object.h"
#include "fw/registry.h"

#include "testsupport/registry_scratch.h"

#include <gtest/gtest.h>

namespace {

// {6E0C2B52-3B7A-4C55-9A8B-0F1E2D3C4B5A} and {6E0C2B53-...}
constexpr CLSID kFirst = {0x6e0c2b52, 0x3b7a, 0x4c55, {0x9a, 0x8b, 0x0f, 0x1e, 0x2d, 0x3c, 0x4b, 0x5a}};
constexpr CLSID kSecond = {0x6e0c2b53, 0x3b7a, 0x4c55, {0x9a, 0x8b, 0x0f, 0x1e, 0x2d, 0x3c, 0x4b, 0x5a}};
constexpr char kProgId[] = "FwTests.ServerClass";

std::optional<std::string> Default(const std::string& path) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + path, KEY_READ);
    if (!key) return std::nullopt;
    return fw::ReadString(key.get(), nullptr);
}

class ServerClassRegistry : public ::testing::Test {
protected:
    testsupport::ScratchKey progId{HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + kProgId};
    testsupport::ScratchKey first{HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\" + fw::GuidText(kFirst)};
    testsupport::ScratchKey second{HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\" + fw::GuidText(kSecond)};
    fw::OleApartment ole;
};

TEST_F(ServerClassRegistry, EntriesNameTheProgramAndTheLastClassOwnsTheProgId) {
    const std::string a = fw::GuidText(kFirst), b = fw::GuidText(kSecond);
    ASSERT_EQ(fw::RegisterServerClass({kFirst, kProgId, "First Type"}, "C:\\Program Files\\A\\a.exe"), S_OK);
    EXPECT_EQ(Default("CLSID\\" + a), "First Type");
    EXPECT_EQ(Default("CLSID\\" + a + "\\LocalServer32"), "\"C:\\Program Files\\A\\a.exe\"");
    EXPECT_EQ(Default("CLSID\\" + a + "\\ProgID"), kProgId);
    EXPECT_EQ(Default(kProgId), "First Type");
    EXPECT_EQ(Default(std::string(kProgId) + "\\CLSID"), a);
    auto found = fw::ClassIdOfProgId(kProgId);
    ASSERT_TRUE(found);
    EXPECT_TRUE(*found == kFirst) << "COM reads the machine's classes";

    // The same ProgID written for a second class names that class from then on.
    ASSERT_EQ(fw::RegisterServerClass({kSecond, kProgId, "Second Type"}, "C:\\B\\b.exe"), S_OK);
    found = fw::ClassIdOfProgId(kProgId);
    ASSERT_TRUE(found);
    EXPECT_TRUE(*found == kSecond);

    // Removing the first class leaves the ProgID the second one took.
    EXPECT_EQ(fw::UnregisterServerClass({kFirst, kProgId, "First Type"}), S_OK);
    EXPECT_FALSE(Default("CLSID\\" + a));
    EXPECT_EQ(Default(std::string(kProgId) + "\\CLSID"), b);
    EXPECT_EQ(fw::UnregisterServerClass({kSecond, kProgId, "Second Type"}), S_OK);
    EXPECT_FALSE(Default(kProgId));
    EXPECT_FALSE(fw::ClassIdOfProgId(kProgId));
    EXPECT_EQ(fw::UnregisterServerClass({kSecond, kProgId, "Second Type"}), S_OK) << "already gone";
}

TEST_F(ServerClassRegistry, ServerClassServesWhileRegisteredAndWritesTheRunningProgram) {
    int created = 0;
    fw::ServerClass server({kFirst, kProgId, "First Type"}, [&]() -> fw::ComPtr<IUnknown> {
        ++created;
        return fw::MakeCom<fw::DispatchObject>().As<IUnknown>();
    });
    EXPECT_FALSE(server.IsRunning());
    // No entries yet: COM can only find the running factory, never start this program.
    ASSERT_EQ(server.RegisterRunning(), S_OK);
    EXPECT_TRUE(server.IsRunning());
    fw::ComPtr<IDispatch> object;
    ASSERT_EQ(::CoCreateInstance(kFirst, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.put_void()), S_OK);
    EXPECT_EQ(created, 1);
    object.reset();
    server.Revoke();
    EXPECT_FALSE(server.IsRunning());
    EXPECT_TRUE(FAILED(::CoCreateInstance(kFirst, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.put_void())));

    ASSERT_EQ(server.UpdateRegistry(), S_OK);
    std::string quoted = "\"";  // appended: GCC 12 warns falsely on a literal plus a returned string
    quoted += fw::RunningProgramPath();
    quoted += '"';
    EXPECT_EQ(Default("CLSID\\" + fw::GuidText(kFirst) + "\\LocalServer32"), quoted);
    EXPECT_EQ(Default(std::string(kProgId) + "\\CLSID"), fw::GuidText(kFirst));
}

TEST(ComStartSwitch, EmbeddingOrAutomationAfterMinusOrSlashInAnyCase) {
    const struct {
        const char* arguments;
        bool com;
    } cases[] = {
        {"-Embedding", true}, {"/embedding", true},   {"-AUTOMATION", true},  {"/Automation  ", true},
        {"Embedding", false}, {"-Embeddings", false}, {"--Embedding", false}, {"-Embedding x", false},
        {"", false},          {"-", false},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::IsComStartSwitch(c.arguments), c.com) << '"' << c.arguments << '"';
}

}  // namespace
