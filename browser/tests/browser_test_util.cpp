#include "browser_test_util.h"

#include "RegSettings.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace browsertest {

std::string InstallSkin(const testsupport::TempProgramFolder& program, const std::string& fixture,
                        const std::string& name, const std::vector<std::pair<const char*, const char*>>& removedKeys) {
    const std::string fixtures = testsupport::TestBinaryFolder() + "\\browser_fixtures";
    program.MakeFolder("Skins\\" + name);
    const std::string folder = program / ("Skins\\" + name);
    const std::string ini = folder + "\\Data.ini";
    if (!::CopyFileA((fixtures + "\\" + fixture + "\\Data.ini").c_str(), ini.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy fixture " << fixture;
    if (!::CopyFileA((fixtures + "\\background.bmp").c_str(), (folder + "\\background.bmp").c_str(), FALSE))
        ADD_FAILURE() << "cannot copy the background";
    for (const auto& [section, key] : removedKeys) ::WritePrivateProfileStringA(section, key, nullptr, ini.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush the profile cache
    return ini;
}

void InProcessBrowser::Start(const std::string& commandLine) {
    app = std::make_unique<CNimbBrowserApp>(commandLine, dir.Path());
    app->ErrorHandler().CreateLog(dir.Path());
    app->LoadSettings();
    dlg = std::make_unique<CNimbBrowserDlg>(app->StartState(), app->ErrorHandler());
    if (!dlg->CreateModeless(nullptr)) ADD_FAILURE() << "the main window was not created";
    // The page control comes with the first navigation, posted at the end of start-up.
    if (!testsupport::PumpUntil([this] { return dlg->Browser().host().IsCreated(); }, 10000))
        ADD_FAILURE() << "the page control was not created";
    if (!testsupport::PumpPosted()) ADD_FAILURE() << "what the start-up left queued was not dispatched";
}

bool SkipDefaultBrowserQuestion() {
    CRegSettings().SetCheckDefaultBrowser(0);
    return true;
}

BrowserFolder::BrowserFolder(const char* program, Question question) {
    if (question == Question::kSkip) SkipDefaultBrowserQuestion();
    if (program) dir.CopyProgramAs("Vessa.exe", program);
}

bool IsBrowserWindow(HWND wnd) {
    return ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_ADDRESS) && ::GetDlgItem(wnd, IDC_STATUS) &&
           ::GetDlgItem(wnd, IDC_MENU);
}

void PressClose(HWND wnd) {
    ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(wnd, IDC_CLOSE)));
}

BrowserProgram::BrowserProgram(const testsupport::TempProgramFolder& dir, const std::string& arguments,
                               const std::string& program)
    : RunningProgram(dir / program, arguments, dir.Path()) {
    if (!started()) ADD_FAILURE() << "cannot start " << (dir / program) << " (error " << startError() << ")";
    SetCloseRequest(PressClose);
}

RECT ClientRectIn(HWND parent, HWND child) {
    RECT rc = fw::ScreenRectOf(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace browsertest
