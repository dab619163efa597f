// The real VessaMgr.exe started in a browser's program folder, for the tests
// of what the browser asks of a running manager through "Nimb.Document".
#pragma once

#include "NimbDocDriver.h"

#include "fw/com.h"
#include "fw/com_object.h"
#include "fw/com_registration.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/running_program.h"
#include "testsupport/temp_program_folder.h"

#include <string>

namespace browsertest {

class RealManager {
public:
    // Copies the real manager over the folder's stand-in and starts it; the
    // class entries its ordinary start writes are removed again afterwards.
    explicit RealManager(const testsupport::TempProgramFolder& dir)
        : program_(CopiedManager(dir), "", dir.Path()), boxes_(program_.id()) {
        // Whatever fails, the manager ends by its real exit (timer 50): a
        // killed one would leave its running object registered.
        program_.SetCloseRequest([](HWND frame) { ::PostMessageA(frame, WM_TIMER, 50, 0); });
    }

    // Its frame once it serves its automation object; null when it does not.
    HWND WaitUntilServing() {
        if (!program_.started()) return nullptr;
        HWND frame = program_.WaitForWindow([](HWND wnd) { return testsupport::TextOf(wnd) == "Vessa Manager"; });
        if (!frame) return nullptr;
        const bool serving = testsupport::PumpUntil(
            [] { return static_cast<bool>(fw::GetActiveObjectOf(NimbDocIds::kAutomationClsid)); }, 20000);
        return serving ? frame : nullptr;
    }

    // The boxes the manager showed, answered as planned.
    testsupport::BoxAnswerer& Boxes() { return boxes_; }
    // Ends it by its real exit; its exit code.
    int Close() { return program_.Close(); }

private:
    static std::string CopiedManager(const testsupport::TempProgramFolder& dir) {
        dir.CopyProgram("VessaMgr.exe");
        return dir / "VessaMgr.exe";
    }

    fw::ComApartment com_;  // to see the manager's running object
    testsupport::ScratchKey progId_{HKEY_LOCAL_MACHINE, "Software\\Classes\\Nimb.Document"};
    testsupport::ScratchKey automation_{HKEY_LOCAL_MACHINE,
                                        "Software\\Classes\\CLSID\\" + fw::GuidText(NimbDocIds::kAutomationClsid)};
    testsupport::ScratchKey document_{HKEY_LOCAL_MACHINE,
                                      "Software\\Classes\\CLSID\\{2A29E745-84C5-11D4-A2E3-FC9B3F577F54}"};
    testsupport::RunningProgram program_;
    testsupport::BoxAnswerer boxes_;
};

}  // namespace browsertest
