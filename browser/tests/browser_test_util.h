// Shared pieces of the browser tests: fixture skins in a program folder, a
// bounded message pump, the program folder of a test, the real main window
// run in-process, and the real program started from outside.
#pragma once

#include "NimbBrowserApp.h"
#include "NimbBrowserDlg.h"

#include "testsupport/pump.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/running_program.h"
#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace browsertest {

// Copies a fixture skin (skin/tests/fixtures/<fixture>) with the
// built-in background into Skins\<name>, then deletes the given
// section/key pairs from its Data.ini. Returns the Data.ini path.
std::string InstallSkin(const testsupport::TempProgramFolder& program, const std::string& fixture,
                        const std::string& name,
                        const std::vector<std::pair<const char*, const char*>>& removedKeys = {});

// The programs' registry root, cleared for one test.
inline constexpr char kAppRoot[] = "SOFTWARE\\Corvane Global";

// Wine's browser is never the default browser: a browser started on a
// fresh registry asks to become it. Tests of anything else switch the
// question off, after clearing the registry root. Always true.
bool SkipDefaultBrowserQuestion();

// A test's program folder on a cleared registry root, with the default-browser
// question switched off unless the test asks for it. The program, when named,
// is the real Vessa.exe copied in under that name (twad.dll comes with it).
struct BrowserFolder {
    enum class Question { kSkip, kAsk };
    explicit BrowserFolder(const char* program = "Vessa.exe", Question question = Question::kSkip);

    testsupport::TempProgramFolder dir;
    testsupport::ScratchKey registry{HKEY_LOCAL_MACHINE, kAppRoot};
};

// A browser main window (visible, with the address box, the status line and the MENU button).
bool IsBrowserWindow(HWND wnd);
// The CLOSE button's command, posted to a browser window.
void PressClose(HWND wnd);

// The real browser program of a folder, started with an exact command line
// from that folder; closed with its CLOSE button when the test leaves it running.
class BrowserProgram : public testsupport::RunningProgram {
public:
    BrowserProgram(const testsupport::TempProgramFolder& dir, const std::string& arguments,
                   const std::string& program = "Vessa.exe");
    // Its main window, once shown.
    HWND WaitForWindow(DWORD timeoutMs = 30000) { return RunningProgram::WaitForWindow(IsBrowserWindow, timeoutMs); }
};

// The real main window, created in-process for a command line.
struct InProcessBrowser : BrowserFolder {
    std::unique_ptr<CNimbBrowserApp> app;
    std::unique_ptr<CNimbBrowserDlg> dlg;

    // prepare runs after the folder exists and before the window is made.
    template <typename Prepare>
    InProcessBrowser(const std::string& commandLine, Prepare prepare) : BrowserFolder(nullptr) {
        prepare(*this);
        Start(commandLine);
    }
    explicit InProcessBrowser(const std::string& commandLine = "") : BrowserFolder(nullptr) { Start(commandLine); }

private:
    void Start(const std::string& commandLine);
};

RECT ClientRectIn(HWND parent, HWND child);  // child's rectangle in parent's client coordinates

}  // namespace browsertest
