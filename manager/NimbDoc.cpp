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
    if (desktop_) ReportError(desktop_->ShowBrowser(nullptr, nullptr, 0, 1), "CNimbDoc::OnTreeCtrlLClick()");
    if (property_) property_->EnablePages(1, 0, kind, 1);
    m_selection = entries;
    // A box of a report may let another selection in: these entries go on being shown.
    const CURLEntryList shown = m_selection;
    if (kind == TreeKind::kLink || kind == TreeKind::kMember || kind == TreeKind::kTemplate) {
        const std::vector<Stored> stored = Load(shown);
        ShowNimbBrowsers(shown, stored);
        ShowURLProperties(shown, stored, kind);
    } else if (kind == TreeKind::kGroup) {
        s_bSkipNextSave = true;
        ShowNimbBrowsers(shown, Load(shown));
    }
}

std::vector<CNimbDoc::Stored> CNimbDoc::Load(const CURLEntryList& entries) const {
    std::vector<Stored> stored(entries.size());
    if (!desktop_ && !property_) return stored;
    const CLinkStore store(ProgramFolder());
    for (size_t i = 0; i < entries.size(); ++i) stored[i].code = store.LoadURLObject(entries[i], &stored[i].record);
    return stored;
}

void CNimbDoc::ShowNimbBrowsers(const CURLEntryList& entries, const std::vector<Stored>& stored) {
    if (!desktop_) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int code = stored[i].code != kErrNone ? stored[i].code
                                                    : desktop_->ShowBrowser(&entries[i], stored[i].record.get(), 1,
                                                                            m_nKind == TreeKind::kGroup ? 0 : 1);
        ReportError(code, "CNimbDoc::ShowNimbBrowsers()");
    }
}

void CNimbDoc::ShowURLProperties(const CURLEntryList& entries, const std::vector<Stored>& stored, int kind) {
    if (!property_) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        const CURLObject* record = stored[i].record.get();
        // The default template's title is not edited.
        const bool isDefault = kind == TreeKind::kTemplate && stored[i].code == kErrNone && record &&
                               fw::EqualsAsciiNoCase(record->link.title, "Default Template");
        property_->EnablePages(1, 1, kind, isDefault ? 0 : 1);
        if (stored[i].code != kErrNone)
            ReportError(stored[i].code, "CNimbDoc::ShowURLProperties()");
        else if (record)
            ReportError(property_->ShowLinkProperties(entries[i], *record), "CNimbDoc::ShowURLProperties()");
    }
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
