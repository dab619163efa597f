#include "LinkLauncher.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "FolderUtil.h"
#include "ProgramStart.h"
#include "RegSettings.h"

#include "fw/com.h"
#include "fw/msgbox.h"

#include <objbase.h>
#include <shellapi.h>

#include <mutex>

namespace {

// Requests of one program run one at a time: each saves and restores the
// user's settings around its own links, so no request restores another's.
std::mutex& LaunchQueue() {
    static std::mutex queue;
    return queue;
}

constexpr int kPollWaitMs = 100;
constexpr int kPauseAfterLinkMs = 4000;

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

}  // namespace

ErrorCode SaveBrowserSettings(PageSettings* saved) {
    CRegSettings reg;
    auto read = [](int rc, std::string& value, const char* fallback) {
        if (rc != kErrNone) value = fallback;
    };
    read(reg.GetIEFontName(&saved->fontName), saved->fontName, "Times New Roman");
    if (reg.GetIEFontSize(&saved->fontSize) != kErrNone) saved->fontSize = 2;
    read(reg.GetUseDlgBoxColors(&saved->dlgBoxColors), saved->dlgBoxColors, "no");
    read(reg.GetBackgroundColor(&saved->background), saved->background, "192,192,192");
    read(reg.GetTextColor(&saved->text), saved->text, "0,0,0");
    read(reg.GetAnchorColorHover(&saved->hover), saved->hover, "255,0,0");
    read(reg.GetUseAnchorHoverColor(&saved->useHover), saved->useHover, "no");
    read(reg.GetAnchorColorVisited(&saved->visited), saved->visited, "128,0,128");
    read(reg.GetAnchorColor(&saved->anchor), saved->anchor, "0,0,255");
    return kErrNone;
}

namespace {

ErrorCode WritePageSettings(const PageSettings& s) {
    CRegSettings reg;
    ErrorCode rc = kErrNone;
    // The first failure ends the write, leaving the later values as they were.
    (rc = reg.SetIEFontName(s.fontName)) || (rc = reg.SetIEFontSize(s.fontSize)) ||
        (rc = reg.SetUseDlgBoxColors(s.dlgBoxColors)) || (rc = reg.SetBackgroundColor(s.background)) ||
        (rc = reg.SetTextColor(s.text)) || (rc = reg.SetAnchorColorHover(s.hover)) ||
        (rc = reg.SetUseAnchorHoverColor(s.useHover)) || (rc = reg.SetAnchorColorVisited(s.visited)) ||
        (rc = reg.SetAnchorColor(s.anchor));
    return rc;
}

}  // namespace

PageSettings GetLinkPageSettings(const CURLObject& record) {
    PageSettings s;
    s.fontName = record.font.faceName;
    // Codes 101 to 105 give sizes 0 to 4; anything else the medium size.
    const int code = record.font.sizeCode;
    s.fontSize = code >= 101 && code <= 105 ? code - 101 : 2;
    s.dlgBoxColors = YesNo(record.font.useWindowsColors != 0);
    s.background = ColorToString(record.font.backgroundColor);
    s.text = ColorToString(record.font.textColor);
    s.hover = ColorToString(record.colors.hoverColor);
    s.useHover = YesNo(record.colors.useHoverColor == 1);
    s.visited = ColorToString(record.colors.visitedColor);
    s.anchor = ColorToString(record.colors.unvisitedColor);
    return s;
}

ErrorCode ApplyLinkSettings(const CLinkStore& store, const CURLEntry& entry) {
    std::unique_ptr<CURLObject> record;
    if (const ErrorCode rc = store.LoadURLObject(entry, &record); rc != kErrNone) return rc;
    return WritePageSettings(GetLinkPageSettings(*record));
}

ErrorCode RestoreBrowserSettings(const PageSettings& saved) {
    if (saved.text.empty()) return kErrNone;  // nothing was saved
    return WritePageSettings(saved);
}

int WaitForBrowserID(DWORD first, int limit, const std::function<DWORD()>& read,
                     const std::function<void(DWORD)>& sleep) {
    int reads = 0;
    for (;;) {
        const DWORD current = read();
        if (++reads > limit) break;
        sleep(kPollWaitMs);
        if (static_cast<int32_t>(current) > static_cast<int32_t>(first)) break;
    }
    return reads;
}

void LaunchThreadProc(LaunchJob job) {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) return;  // WM_QUIT first: nothing is launched
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (msg.message == kLaunchStartMessage && msg.hwnd == nullptr) break;
    }

    // ShellExecute may use COM on this thread.
    const fw::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    std::lock_guard turn(LaunchQueue());
    const CLinkStore store(job.folder);
    PageSettings saved;
    SaveBrowserSettings(&saved);

    for (const CURLEntry& entry : job.entries) {
        ApplyLinkSettings(store, entry);
        CURLEntry link = entry;
        link.kind = CURLEntry::kLink;
        const std::string path = store.EntryPath(link);

        DWORD first = 0;
        CRegSettings().GetBrowserID(&first);
        // The browser's parser takes the rest of the line as the path: no quotes.
        const std::string parameters = "-f " + path;
        const INT_PTR started = StartFolderProgram(job.folder, AppConstants::kBrowserExe, parameters);
        if (started == SE_ERR_FNF) {
            // The rest of the request would fail the same way: one box for it all.
            fw::ShowMessageBox(AppConstants::kBrowserMissingText, MB_OK);
            break;
        }
        if (started <= 32) continue;  // no browser will ever raise the counter

        WaitForBrowserID(
            first, job.pollLimit,
            [] {
                DWORD id = 0;
                CRegSettings().GetBrowserID(&id);
                return id;
            },
            [](DWORD ms) { ::Sleep(ms); });
        ::Sleep(kPauseAfterLinkMs);
    }
    RestoreBrowserSettings(saved);
}

CLinkLauncherDlg::CLinkLauncherDlg(HWND parent, UINT templateId, int pollLimit, CFavoritesHost* host)
    : fw::Dialog(templateId), pollLimit_(pollLimit), host_(host) {
    CFolderUtil::GetProgramFolder(&programFolder_);
    if (host_) {
        const UINT ids[] = {kLinkIconResource, kFolderIconResource, kGroupIconResource};
        for (size_t i = 0; i < icons_.size(); ++i)
            icons_[i].reset(static_cast<HICON>(
                ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ids[i]), IMAGE_ICON, 16, 16, 0)));
        UseProgramFolder(programFolder_);
    }
    if (CreateModeless(parent)) {
        ::ShowWindow(hwnd(), SW_HIDE);
        ::UpdateWindow(hwnd());
    }
}

CLinkLauncherDlg::~CLinkLauncherDlg() = default;

fw::Handle CLinkLauncherDlg::Launch(const CURLEntryList& entries) { return Launch(programFolder_, entries); }

fw::Handle CLinkLauncherDlg::Launch(const std::string& programFolder, const CURLEntryList& entries) {
    LaunchJob job{programFolder, entries, pollLimit_};
    lastThread_ = fw::Thread::StartWithQueue([job = std::move(job)]() mutable { LaunchThreadProc(std::move(job)); });
    if (!lastThread_) return {};
    lastThread_.Post(kLaunchStartMessage);
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), lastThread_.Handle(), ::GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE,
                      0);
    return fw::Handle(copy);
}
