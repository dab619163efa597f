// A stand-in for the manager program, for the browser's tests. Copied into a
// test's program folder as VessaMgr.exe:
// - started with any other arguments, it appends one line with its exact
//   arguments to "manager.log" beside itself and ends;
// - started with "-standin-serve <event prefix>", it serves the manager's
//   automation object: it registers "Nimb.Document" (the ProgID and the
//   running object), keeps a hidden window titled "Vessa Manager", appends
//   one line per call to "calls.log" beside itself ("RefreshNimbTree",
//   "SetFocusOnLinkItem|<path>", "ShowManager", which also shows the window),
//   sets "<prefix>.ready" once it is found, and on "<prefix>.quit" revokes
//   and disconnects its object and ends cleanly.
#include "fw/com_registration.h"
#include "fw/command_line.h"
#include "fw/dispatch_object.h"
#include "fw/file.h"
#include "fw/handles.h"

#include <windows.h>

#include <string>

namespace {

constexpr char kServeSwitch[] = "-standin-serve ";
constexpr CLSID kAutomationClsid = {0x2a29e765, 0x84c5, 0x11d4, {0xa2, 0xe3, 0xfc, 0x9b, 0x3f, 0x57, 0x7f, 0x54}};

std::string Folder() {
    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    return fw::FolderOf(self);
}

void AppendLine(const std::string& file, const std::string& text) {
    const std::string line = text + "\r\n";
    fw::FileHandle log(::CreateFileA((Folder() + "\\" + file).c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (log) ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

class Document : public fw::DispatchObject {
public:
    explicit Document(HWND window) {
        AddMethod(1, L"SetFocusOnLinkItem", 1, [](const fw::DispArgs& args, fw::Variant*) {
            std::string path;
            if (const HRESULT hr = args.StringArgument(0, &path); FAILED(hr)) return hr;
            AppendLine("calls.log", "SetFocusOnLinkItem|" + path);
            return S_OK;
        });
        AddMethod(2, L"ShowManager", 0, [window](const fw::DispArgs&, fw::Variant*) {
            AppendLine("calls.log", "ShowManager");
            ::ShowWindow(window, SW_SHOWNOACTIVATE);
            return S_OK;
        });
        AddMethod(3, L"RefreshNimbTree", 0, [](const fw::DispArgs&, fw::Variant*) {
            AppendLine("calls.log", "RefreshNimbTree");
            return S_OK;
        });
    }
};

int Serve(const std::string& prefix) {
    fw::OleApartment ole;
    if (!ole) return 2;
    fw::Handle ready(::CreateEventA(nullptr, TRUE, FALSE, (prefix + ".ready").c_str()));
    fw::Handle quit(::CreateEventA(nullptr, TRUE, FALSE, (prefix + ".quit").c_str()));
    if (!ready || !quit) return 3;
    HWND window = ::CreateWindowExA(0, "STATIC", "Vessa Manager", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (!window) return 4;
    if (FAILED(fw::RegisterServerClass({kAutomationClsid, "Nimb.Document", "Nimb Document"}, fw::RunningProgramPath())))
        return 5;
    fw::ComPtr<Document> document = fw::MakeCom<Document>(window);
    {
        fw::ActiveObjectRegistration running;
        if (FAILED(running.Register(static_cast<IDispatch*>(document.get()), kAutomationClsid))) return 6;
        ::SetEvent(ready.get());
        HANDLE waits[] = {quit.get()};
        for (;;) {
            const DWORD got = ::MsgWaitForMultipleObjects(1, waits, FALSE, INFINITE, QS_ALLINPUT);
            if (got == WAIT_OBJECT_0) break;
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
    // Clients still holding the object get an error from their next call.
    ::CoDisconnectObject(static_cast<IDispatch*>(document.get()), 0);
    document.reset();
    ::DestroyWindow(window);
    return 0;
}

}  // namespace

int main() {
    const std::string arguments = fw::CommandLineArguments(::GetCommandLineA());
    if (arguments.rfind(kServeSwitch, 0) == 0) return Serve(arguments.substr(sizeof(kServeSwitch) - 1));
    AppendLine("manager.log", arguments);
    return 0;
}
