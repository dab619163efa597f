#include "NimbDoc.h"

#include "ErrorCodes.h"
#include "LinkLauncher.h"
#include "resource.h"

#include "fw/text.h"

bool CNimbDoc::s_bSkipNextSave = false;

namespace {

// The longest a closing manager waits for a launch to put the page settings back.
constexpr DWORD kLaunchWaitMs = 20000;

}  // namespace

CNimbDoc::CNimbDoc(CDocumentHost& host) : host_(host) {}

CNimbDoc::~CNimbDoc() = default;

void CNimbDoc::OnNewDocument() {
    if (!m_pLauncher)
        m_pLauncher = std::make_unique<CLinkLauncherDlg>(nullptr, kManagerLauncherTemplate, kManagerPollLimit);
}

void CNimbDoc::OnTreeCtrlLClick(int kind, const CURLEntryList& entries) {
    // The link shown so far is written back while the old kind still holds.
    if (s_bSkipNextSave)
        s_bSkipNextSave = false;
    else
        SaveURLObject();
    m_nKind = kind;
    if (desktop_) ReportError(desktop_->ShowBrowser(nullptr, 0, 1), "CNimbDoc::OnTreeCtrlLClick()");
    if (property_) property_->EnablePages(1, 0, kind, 1);
    m_selection = entries;
    if (kind == TreeKind::kLink || kind == TreeKind::kMember || kind == TreeKind::kTemplate) {
        ShowNimbBrowsers(m_selection);
        ShowURLProperties(m_selection, kind);
    } else if (kind == TreeKind::kGroup) {
        s_bSkipNextSave = true;
        ShowNimbBrowsers(m_selection);
    }
}

void CNimbDoc::ShowNimbBrowsers(const CURLEntryList& entries) {
    if (!desktop_) return;
    for (const CURLEntry& entry : entries)
        ReportError(desktop_->ShowBrowser(&entry, 1, m_nKind == TreeKind::kGroup ? 0 : 1),
                    "CNimbDoc::ShowNimbBrowsers()");
}

void CNimbDoc::ShowURLProperties(const CURLEntryList& entries, int kind) {
    if (!property_) return;
    for (const CURLEntry& entry : entries) {
        int titleEditable = 1;
        bool isDefault = false;
        if (kind == TreeKind::kTemplate && IsDefaultTemplate(entry, &isDefault) == kErrNone && isDefault)
            titleEditable = 0;
        property_->EnablePages(1, 1, kind, titleEditable);
        ReportError(property_->ShowLinkProperties(entry, ""), "CNimbDoc::ShowURLProperties()");
    }
}

int CNimbDoc::IsDefaultTemplate(const CURLEntry& entry, bool* result) const {
    std::unique_ptr<CURLObject> record;
    const int rc = CLinkStore(ProgramFolder()).LoadURLObject(entry, &record);
    if (rc != kErrNone) return rc;
    *result = record && fw::EqualsAsciiNoCase(record->link.title, "Default Template");
    return kErrNone;
}

void CNimbDoc::SaveURLObject() {
    if (m_selection.empty()) return;
    const CLinkStore store(ProgramFolder());
    const CURLEntry& first = m_selection.front();
    std::unique_ptr<CURLObject> stored;
    const int loaded = store.LoadURLObject(first, &stored);
    ReportError(loaded, "CNimbDoc::SaveURLObject()");
    if (!stored) return;
    // Every record starts as the stored one: what no pane shows is written back unchanged.
    std::vector<CURLObject> records(m_selection.size(), *stored);
    if (desktop_) ReportError(desktop_->SaveWindowRects(m_selection, records), "CNimbDoc::SaveURLObject()");
    if (property_) ReportError(property_->SavePagesToLink(m_selection, records), "CNimbDoc::SaveURLObject()");
    if (records.front().DiffersFrom(*stored))
        ReportError(store.SaveURLObject(first, records.front()), "CNimbDoc::SaveURLObject()");
}

void CNimbDoc::SaveIfEditable() {
    if (m_nKind != TreeKind::kFolder && m_nKind != TreeKind::kGroup) SaveURLObject();
}

void CNimbDoc::Launch(const CURLEntryList& entries, const char* label) {
    OnNewDocument();
    fw::Handle worker = m_pLauncher->Launch(ProgramFolder(), entries);
    (void)label;  // the launcher reports nothing itself: a thread that cannot start launches nothing
    if (!worker) return;
    std::erase_if(launches_, [](const fw::Handle& h) { return ::WaitForSingleObject(h.get(), 0) == WAIT_OBJECT_0; });
    launches_.push_back(std::move(worker));
}

void CNimbDoc::LaunchURL() {
    Launch(m_selection, "CNimbDoc::LaunchURL()");
}

void CNimbDoc::SaveAndLaunch() {
    SaveIfEditable();
    LaunchURL();
}

void CNimbDoc::LaunchURLFromTray(const CURLEntryList& entries) {
    Launch(entries, "CNimbDoc::LaunchURLFromTray()");
}

size_t CNimbDoc::RunningLaunches() {
    std::erase_if(launches_, [](const fw::Handle& h) { return ::WaitForSingleObject(h.get(), 0) == WAIT_OBJECT_0; });
    return launches_.size();
}

void CNimbDoc::OnChangeURLTitle(const std::string& title) {
    SaveIfEditable();
    if (tree_) ReportError(tree_->ChangeItemTitle(title), "CNimbDoc::OnChangeURLTitle()");
}

void CNimbDoc::OnLinkRetitled(const CURLEntry& entry, const std::string& title) {
    if (tree_) tree_->RetitleLink(entry, title);
}

void CNimbDoc::ReloadDesktopSkin(const std::string& skin) {
    if (desktop_) desktop_->ReloadSkin(skin);
}

void CNimbDoc::SetFocusOnLinkItem(const std::string& path) {
    if (tree_) tree_->SelectLinkByPath(path);
}

void CNimbDoc::RefreshNimbTree() {
    // A stale selection must not be written over a file the rebuild renumbers.
    ClearSelection();
    if (tree_) tree_->RefreshTree();
}

void CNimbDoc::OnCloseDocument() {
    for (const fw::Handle& worker : launches_) ::WaitForSingleObject(worker.get(), kLaunchWaitMs);
    launches_.clear();
}
