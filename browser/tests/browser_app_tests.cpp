#include "NimbBrowserApp.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "RegSettings.h"

#include "fw/command_line.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"
#include "browser_test_util.h"

#include <gtest/gtest.h>

namespace {

using testsupport::ScratchKey;
using testsupport::TempProgramFolder;

TEST(StartCommand, CommandLineRules) {
    struct Case {
        const char* line;
        StartCommand::Kind kind;
        const char* text;
    } cases[] = {
        {"", StartCommand::kEmpty, ""},
        {"-f C:\\App\\Links\\0.vsl", StartCommand::kLinkFile, "C:\\App\\Links\\0.vsl"},
        {"-F   C:\\App\\Links\\A B\\0.vsl", StartCommand::kLinkFile, "C:\\App\\Links\\A B\\0.vsl"},
        {"-fC:\\x.vsl", StartCommand::kLinkFile, "C:\\x.vsl"},
        {"http://host/page", StartCommand::kAddress, "http://host/page"},
        {"\"http://host/a b\"", StartCommand::kAddress, "http://host/a b"},
        {"\"\"", StartCommand::kAddress, ""},
        {"\"http://host/open", StartCommand::kAddress, "\"http://host/open"},
        {"http://host/x\"", StartCommand::kAddress, "http://host/x\""},
        {"-Embedding", StartCommand::kEmpty, ""},
        {"/Automation", StartCommand::kEmpty, ""},
        {"-embedding ", StartCommand::kEmpty, ""},
        {"-Embeddingx", StartCommand::kAddress, "-Embeddingx"},
    };
    for (const auto& c : cases) {
        const StartCommand command = ParseStartCommand(c.line);
        EXPECT_EQ(command.kind, c.kind) << c.line;
        EXPECT_EQ(command.text, c.text) << c.line;
    }
}

TEST(StartCommand, ArgumentsFollowTheProgramPath) {
    EXPECT_EQ(fw::CommandLineArguments("\"C:\\Program Files\\Vessa.exe\" -f C:\\x.vsl"), "-f C:\\x.vsl");
    EXPECT_EQ(fw::CommandLineArguments("C:\\App\\Vessa.exe   http://a/"), "http://a/");
    EXPECT_EQ(fw::CommandLineArguments("Vessa.exe"), "");
}

TEST(BrowserApp, EmptyLineTakesTheStartPageAndTheDefaultSkin) {
    TempProgramFolder dir;
    ScratchKey app(HKEY_LOCAL_MACHINE, browsertest::kAppRoot);
    CRegSettings reg;
    std::string start;
    reg.GetStartPage(&start);

    CNimbBrowserApp browser("", dir.Path());
    browser.LoadSettings();
    EXPECT_FALSE(browser.LinkFileMode());
    EXPECT_EQ(browser.StartRecord().link.address, start);
    EXPECT_EQ(browser.StartRecord().link.windowRect, URLRect{});
    EXPECT_EQ(browser.StartRecord().skinName, "vessa");
    std::string skin;
    EXPECT_EQ(reg.GetDefaultSkin(&skin), kErrNone) << "the missing value is written back";
    EXPECT_EQ(skin, "vessa");

    ASSERT_EQ(reg.SetDefaultSkin("Ocean"), kErrNone);
    CNimbBrowserApp second("http://host/", dir.Path());
    second.LoadSettings();
    EXPECT_EQ(second.StartRecord().skinName, "ocean") << "skin names are used in lower case";
    EXPECT_EQ(second.StartRecord().link.address, "http://host/");
}

TEST(BrowserApp, LinkFileLoadsTheWholeRecord) {
    TempProgramFolder dir;
    ScratchKey app(HKEY_LOCAL_MACHINE, browsertest::kAppRoot);
    CLinkStore store(dir.Path());
    CURLObject record;
    record.link.address = "http://linked/";
    record.link.windowRect = URLRect{10, 20, 810, 620};
    record.skinName = "ocean";
    std::string name;
    ASSERT_EQ(store.AddURLObject("Work", record, &name), kErrNone);

    CNimbBrowserApp browser("-F " + dir.Path() + "\\Links\\Work\\" + name, dir.Path());
    browser.LoadSettings();
    EXPECT_TRUE(browser.LinkFileMode());
    EXPECT_EQ(browser.StartRecord().link.address, "http://linked/");
    EXPECT_EQ(browser.StartRecord().link.windowRect, (URLRect{10, 20, 810, 620}));
    EXPECT_EQ(browser.StartRecord().skinName, "ocean");

    // An unreadable link file leaves the record as it stood.
    CNimbBrowserApp missing("-f " + dir.Path() + "\\Links\\nothing.vsl", dir.Path());
    missing.LoadSettings();
    EXPECT_TRUE(missing.LinkFileMode());
    EXPECT_EQ(missing.StartRecord().link.address, CURLObject().link.address);
}

}  // namespace
