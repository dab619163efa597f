// Helpers of the manager's tests: the program's registry keys cleared for a
// test, a temporary program folder, and a driver thread that acts on a
// dialog of this process as a user would.
#pragma once

#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace mgrtest {

inline constexpr char kAppRoot[] = "SOFTWARE\\Corvane Global";
inline constexpr char kOptionsKey[] = "SOFTWARE\\Corvane Global\\Vessa\\Options";
inline constexpr char kAppSettingsKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings";
inline constexpr char kRectKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa Manager";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The class entries an ordinary start writes: the ProgID, the document's and the automation class.
inline constexpr char kProgIdKey[] = "Software\\Classes\\Nimb.Document";
inline constexpr char kDocumentClassKey[] = "Software\\Classes\\CLSID\\{2A29E745-84C5-11D4-A2E3-FC9B3F577F54}";
inline constexpr char kAutomationClassKey[] = "Software\\Classes\\CLSID\\{2A29E765-84C5-11D4-A2E3-FC9B3F577F54}";

// The registry as on a fresh machine (the Run key saved and put back; no
// class entries naming a program folder that the test deletes).
struct FreshRegistry {
    testsupport::ScratchKey app{HKEY_LOCAL_MACHINE, kAppRoot};
    regtest::SavedKey run{HKEY_LOCAL_MACHINE, kRunKey};
    testsupport::ScratchKey progId{HKEY_LOCAL_MACHINE, kProgIdKey};
    testsupport::ScratchKey documentClass{HKEY_LOCAL_MACHINE, kDocumentClassKey};
    testsupport::ScratchKey automationClass{HKEY_LOCAL_MACHINE, kAutomationClassKey};
};

// A visible dialog of this process with this caption, or null after the time-out.
HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 20000);

// Runs steps on another thread once a dialog with the caption shows; the
// steps get its handle. Join() waits for them.
class DialogDriver {
public:
    DialogDriver(std::string caption, std::function<void(HWND)> steps);
    ~DialogDriver();
    void Join();
    bool Found() const { return found_; }

private:
    std::thread thread_;
    bool found_ = false;
};

bool IsChecked(HWND dialog, int id);
// Clicks a control as the mouse would (its state changes, its parent hears).
void Click(HWND dialog, int id);

// Clicks a control whose click opens a message box; answers the box with OK
// and returns its text (empty when none came).
std::string ClickAnsweringBox(HWND dialog, int id);

// The stored "Options" DWORD, or nothing.
std::optional<DWORD> OptionValue(const char* name);

}  // namespace mgrtest
