#include "ErrorCodes.h"
#include "RegSettings.h"
#include "testsupport/reg_test_util.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using namespace regtest;

const std::string kClients = "Software\\Clients";
const std::string kClasses = "Software\\CLASSES\\";

TEST(MailClient, CommandKeyDependsOnTheClientName) {
    struct Case {
        const char* client;
        const char* commandKey;  // below the client's key
        int code;
    } cases[] = {
        {"Hotmail", "\\shell\\open\\command", kErrNone},
        {"HOTMAIL", "\\shell\\open\\command", kErrNone},
        {"Outlook Express", "\\Protocols\\mailto\\shell\\open\\command", kErrNone},
        {"Outlook Express", "\\shell\\open\\command", kErrSettingsRead},
        {"hotmail", "\\Protocols\\mailto\\shell\\open\\command", kErrSettingsRead},
    };
    for (const auto& c : cases) {
        SavedKey clients(HKEY_LOCAL_MACHINE, kClients);
        const std::string mail = kClients + "\\Mail";
        PutString(HKEY_LOCAL_MACHINE, mail, "", c.client);
        PutString(HKEY_LOCAL_MACHINE, mail + "\\" + c.client + c.commandKey, "", "\"C:\\Mail\\mail.exe\" /new");
        std::string command = "previous";
        EXPECT_EQ(CRegSettings().GetMailClientCommand(&command), c.code) << c.client << c.commandKey;
        EXPECT_EQ(command, c.code == kErrNone ? "\"C:\\Mail\\mail.exe\" /new" : "previous") << c.client << c.commandKey;
    }
}

TEST(MailClient, MissingNamesAndContacts) {
    SavedKey clients(HKEY_LOCAL_MACHINE, kClients);
    CRegSettings settings;
    std::string command = "previous";
    EXPECT_EQ(settings.GetMailClientCommand(&command), kErrSettingsRead) << "no mail client";
    EXPECT_EQ(settings.GetContactsClientCommand(&command), kErrSettingsRead) << "no contacts client";
    PutString(HKEY_LOCAL_MACHINE, kClients + "\\Mail", "", "");
    EXPECT_EQ(settings.GetMailClientCommand(&command), kErrSettingsRead) << "empty client name";
    EXPECT_EQ(command, "previous");

    // The contacts client's command is always on its own key, whatever its name.
    const std::string contacts = kClients + "\\Contacts";
    for (const char* name : {"Address Book", "hotmail"}) {
        PutString(HKEY_LOCAL_MACHINE, contacts, "", name);
        PutString(HKEY_LOCAL_MACHINE, contacts + "\\" + name + "\\shell\\open\\command", "", name);
        PutString(HKEY_LOCAL_MACHINE, contacts + "\\" + name + "\\Protocols\\mailto\\shell\\open\\command", "",
                  "wrong");
        EXPECT_EQ(settings.GetContactsClientCommand(&command), kErrNone) << name;
        EXPECT_EQ(command, name);
    }
}

// The web classes belong to the system: saved, cleared, and put back.
class Associations : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* cls : {"http", "https", "ftp", "htmlfile", "giffile", "jpegfile", ".htm", ".html"})
            saved_.push_back(std::make_unique<SavedKey>(HKEY_LOCAL_MACHINE, kClasses + cls));
    }
    std::vector<std::unique_ptr<SavedKey>> saved_;
};

TEST_F(Associations, MakeDefaultBrowserThenIsDefaultBrowser) {
    CRegSettings settings("C:\\Program Files\\Vessa");
    const std::string command = "\"C:\\Program Files\\Vessa\\Vessa.exe\" %1";
    EXPECT_EQ(settings.BrowserOpenCommand(), command);
    bool isDefault = true;
    EXPECT_EQ(settings.IsDefaultBrowser(&isDefault), kErrSettingsRead) << "no http class";
    EXPECT_TRUE(isDefault) << "left unchanged";

    PutString(HKEY_LOCAL_MACHINE, kClasses + "http\\shell\\open\\command", "", "\"C:\\other.exe\" \"%1\"");
    EXPECT_EQ(settings.IsDefaultBrowser(&isDefault), kErrNone);
    EXPECT_FALSE(isDefault);

    // What the writer must remove.
    for (const char* key : {"http\\shell\\open\\ddeexec", "https\\shell\\open\\ddeexec", "ftp\\shell\\open\\ddeexec",
                            "htmlfile\\shell\\open\\ddeexec", "htmlfile\\shell\\opennew\\ddeexec",
                            "giffile\\shell\\open\\ddeexec", "jpegfile\\shell\\open\\ddeexec"})
        PutString(HKEY_LOCAL_MACHINE, kClasses + key, "", "\"file:%1\",,-1,,,,,");
    for (const char* cls : {"giffile", "jpegfile"})
        PutString(HKEY_LOCAL_MACHINE, kClasses + cls + "\\shell\\open\\command", "command", "installer data");

    EXPECT_EQ(settings.MakeDefaultBrowser(), kErrNone);
    EXPECT_EQ(settings.IsDefaultBrowser(&isDefault), kErrNone);
    EXPECT_TRUE(isDefault);

    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string icon = std::string(system) + "\\Vessa.ico,0";
    for (const char* cls : {"http", "https", "ftp", "htmlfile", "giffile", "jpegfile"}) {
        EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, kClasses + cls + "\\DefaultIcon", ""), icon) << cls;
        EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, kClasses + cls + "\\shell\\open\\command", ""), command) << cls;
        EXPECT_FALSE(ValuePresent(HKEY_LOCAL_MACHINE, kClasses + cls + "\\shell\\open\\ddeexec", "")) << cls;
    }
    EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, kClasses + "htmlfile\\shell\\opennew\\command", ""), command);
    EXPECT_FALSE(ValuePresent(HKEY_LOCAL_MACHINE, kClasses + "htmlfile\\shell\\opennew\\ddeexec", ""));
    for (const char* cls : {"giffile", "jpegfile"})
        EXPECT_FALSE(ValuePresent(HKEY_LOCAL_MACHINE, kClasses + cls + "\\shell\\open\\command", "command")) << cls;
    for (const char* ext : {".htm", ".html"})
        EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, kClasses + ext, ""), "htmlfile") << ext;

    // The shell compares commands without regard to case, and so does the test.
    std::string upper = command;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    PutString(HKEY_LOCAL_MACHINE, kClasses + "http\\shell\\open\\command", "", upper);
    EXPECT_EQ(settings.IsDefaultBrowser(&isDefault), kErrNone);
    EXPECT_TRUE(isDefault);

    CRegSettings elsewhere("C:\\Other");
    EXPECT_EQ(elsewhere.IsDefaultBrowser(&isDefault), kErrNone);
    EXPECT_FALSE(isDefault) << "another folder's browser";
}

TEST_F(Associations, RunningProgramsCommandByDefault) {
    CRegSettings settings;
    const std::string folder = testsupport::TestBinaryFolder();
    EXPECT_EQ(settings.BrowserOpenCommand(), std::string("\"").append(folder).append("\\Vessa.exe\" %1"));
    EXPECT_EQ(settings.MakeDefaultBrowser(), kErrNone);
    bool isDefault = false;
    EXPECT_EQ(settings.IsDefaultBrowser(&isDefault), kErrNone);
    EXPECT_TRUE(isDefault);
}

TEST(CheckAssociations, WritesYesOrNoForTheDefaultUser) {
    const std::string key = ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main";
    SavedKey saved(HKEY_USERS, key);
    CRegSettings settings;
    EXPECT_EQ(settings.SetCheckAssociations(false), kErrNone) << "creates the key";
    EXPECT_EQ(StoredString(HKEY_USERS, key, "Check_Associations"), "no");
    EXPECT_EQ(settings.SetCheckAssociations(true), kErrNone);
    EXPECT_EQ(StoredString(HKEY_USERS, key, "Check_Associations"), "yes");
}

}  // namespace
