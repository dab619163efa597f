#include "PropertyView.h"

#include "ErrorCodes.h"
#include "ErrorHandler.h"
#include "LinkStore.h"
#include "PropertyIds.h"
#include "StringUtil.h"
#include "resource.h"

#include <commctrl.h>

#include <charconv>
#include <climits>

namespace {

// Posted by a save that changed a title: the tree items are renamed after the message that saved.
constexpr UINT kRetitleItems = WM_APP + 0x22;

bool IsClipboardCommand(UINT id) {
    return id == ID_EDIT_CUT || id == ID_EDIT_COPY || id == ID_EDIT_PASTE;
}

}  // namespace

CPropertyView::CPropertyView(CNimbDoc& document) : document_(document) {}

CPropertyView::~CPropertyView() {
    pages_.Clear();
}

LRESULT CPropertyView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            if (Default(msg, wParam, lParam) == -1) return -1;
            return OnCreate();
        case WM_SIZE:
            if (tabs_.hwnd())
                ::SetWindowPos(tabs_.hwnd(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                               SWP_NOZORDER | SWP_NOACTIVATE);
            // Item 0's rectangle follows the control's size.
            pages_.PlaceCurrent();
            return 0;
        case WM_SETFOCUS: {
            const LRESULT r = View::HandleMessage(msg, wParam, lParam);
            pages_.ShowCurrent(true);
            return r;
        }
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->hwndFrom == tabs_.hwnd() && hdr->code == TCN_SELCHANGING) {
                pages_.HideCurrent();
                return FALSE;
            }
            if (hdr->hwndFrom == tabs_.hwnd() && hdr->code == TCN_SELCHANGE) {
                pages_.ShowCurrent(true);
                if (pages_.Current() == fontPage_.get()) fontPage_->OnShown();
                return 0;
            }
            break;
        }
        case kRetitleItems:
            RetitleSavedLinks();
            return 0;
        case WM_DESTROY:
            pages_.Clear();
            document_.SetPropertyPane(nullptr);
            break;
        default:
            break;
    }
    return View::HandleMessage(msg, wParam, lParam);
}

int CPropertyView::OnCreate() {
    if (!tabs_.CreateTabs(hwnd(), IDC_PROPERTY_TABS)) return -1;
    pages_.Attach(tabs_.hwnd());
    linkPage_ = std::make_unique<CURLOptionsDlg>(&document_);
    skinPage_ = std::make_unique<CSkinOptionsDlg>(&document_, document_.ProgramFolder());
    fontPage_ = std::make_unique<CFontColorOptionsDlg>(&document_.ErrorHandler());
    if (!pages_.AddPage(*linkPage_) || !pages_.AddPage(*skinPage_) || !pages_.AddPage(*fontPage_)) return -1;
    linkPage_->SetEditFocusHandler([this] { BecomeActive(); });
    // The tree keeps the focus at start-up: the first page is shown without taking it.
    pages_.ShowCurrent(false);
    shown_ = linkPage_->Values();
    shownSkin_ = skinPage_->GetSelectedSkin();
    shownFont_ = fontPage_->Values();
    document_.SetPropertyPane(this);
    return 0;
}

void CPropertyView::BecomeActive() {
    if (fw::FrameWindow* frame = ParentFrame()) frame->SetActiveView(this);
}

void CPropertyView::EnablePages(int reset, int enable, int kind, int titleEnable) {
    linkPage_->EnableControls(reset != 0, enable != 0);
    if (kind == TreeKind::kTemplate) linkPage_->EnableAddress(titleEnable != 0);
    skinPage_->EnableControls(reset != 0, enable != 0);
    fontPage_->EnableControls(enable != 0);
    if (reset) {
        shown_ = linkPage_->Values();
        shownSkin_ = skinPage_->GetSelectedSkin();
    }
}

int CPropertyView::ShowLinkProperties(const CURLEntry&, const CURLObject& record) {
    FillLinkPage(record, document_.Kind());
    FillSkinPage(record);
    FillFontPage(record);
    return kErrNone;
}

int CPropertyView::SavePagesToLink(const CURLEntryList& selection, std::vector<CURLObject>& records) {
    if (records.empty()) return kErrOpenResourceFile;
    CURLObject& first = records.front();
    // The selection may be moving away (a click on the tree): every item of the link takes the title.
    if (ReadLinkPage(first) && !selection.empty()) {
        retitled_.emplace_back(selection.front(), first.link.title);
        ::PostMessageA(hwnd(), kRetitleItems, 0, 0);
    }
    ReadSkinPage(first);
    ReadFontPage(first);
    return kErrNone;
}

void CPropertyView::FillLinkPage(const CURLObject& record, int kind) {
    CURLOptionsDlg& page = *linkPage_;
    page.SetTitle(record.link.title);
    page.SetAddress(kind == TreeKind::kTemplate ? std::string() : record.link.address);
    page.SetComments(record.link.comments);
    page.SetSeparateBrowser(record.options.separateBrowser != 0, document_.Kind() != TreeKind::kMember);
    page.SetRefresh(record.link.refreshEnabled != 0, static_cast<std::uint32_t>(record.link.refreshInterval) / 60u);
    page.ValuesReplaced();
    shown_ = page.Values();
}

bool CPropertyView::ReadLinkPage(CURLObject& record) {
    const LinkPageValues now = linkPage_->Values();
    const bool retitled = now.title != shown_.title;
    if (retitled) record.link.title = now.title;
    if (document_.Kind() == TreeKind::kTemplate)
        record.link.address.clear();
    else if (now.address != shown_.address)
        record.link.address = now.address;
    if (now.comments != shown_.comments) record.link.comments = now.comments;
    if (now.separateBrowser != shown_.separateBrowser) record.options.separateBrowser = now.separateBrowser ? 1 : 0;
    if (now.refresh != shown_.refresh) record.link.refreshEnabled = now.refresh ? 1 : 0;
    if (now.minutes != shown_.minutes) {
        unsigned minutes = 0;
        linkPage_->GetRefresh(&minutes);
        const long long seconds = static_cast<long long>(minutes) * 60;
        record.link.refreshInterval = static_cast<std::int32_t>(seconds > INT_MAX ? INT_MAX : seconds);
    }
    // What is read back now is what the record holds from here on.
    shown_ = now;
    return retitled;
}

void CPropertyView::RetitleSavedLinks() {
    auto pending = std::move(retitled_);
    retitled_.clear();
    for (const auto& [entry, title] : pending) document_.OnLinkRetitled(entry, title);
}

void CPropertyView::FillSkinPage(const CURLObject& record) {
    skinPage_->SelectSkin(record.skinName);
    shownSkin_ = skinPage_->GetSelectedSkin();
}

void CPropertyView::ReadSkinPage(CURLObject& record) {
    // A skin the list cannot show (a folder gone) stays stored until another is chosen.
    const std::string skin = skinPage_->GetSelectedSkin();
    if (!EqualsNoCase(skin, shownSkin_)) record.skinName = skin;
    shownSkin_ = skin;
}

void CPropertyView::FillFontPage(const CURLObject& record) {
    CFontColorOptionsDlg& page = *fontPage_;
    if (!page.HasControls()) return;
    page.SetFontName(record.font.faceName);
    page.SetFontSize(record.font.sizeCode);
    page.SetUseWindowsColors(record.font.useWindowsColors != 0);
    page.SetColor(IDC_TEXT_COLOR, record.font.textColor);
    page.SetColor(IDC_BACKGROUND_COLOR, record.font.backgroundColor);
    page.SetUseHoverColor(record.colors.useHoverColor != 0);
    page.SetColor(IDC_HOVER_COLOR, record.colors.hoverColor);
    page.SetColor(IDC_VISITED_COLOR, record.colors.visitedColor);
    page.SetColor(IDC_UNVISITED_COLOR, record.colors.unvisitedColor);
    shownFont_ = page.Values();
}

void CPropertyView::ReadFontPage(CURLObject& record) {
    if (!fontPage_->HasControls()) return;
    const FontPageValues now = fontPage_->Values();
    const FontPageValues& was = shownFont_;
    // An empty or unchanged list keeps the stored value: no other link's value leaks in.
    if (now.size && now.size != was.size) record.font.sizeCode = *now.size;
    if (now.face && now.face != was.face) record.font.faceName = *now.face;
    if (now.useWindowsColors != was.useWindowsColors) record.font.useWindowsColors = now.useWindowsColors ? 1 : 0;
    if (now.text && now.text != was.text) record.font.textColor = *now.text;
    if (now.background && now.background != was.background) record.font.backgroundColor = *now.background;
    if (now.useHover != was.useHover) record.colors.useHoverColor = now.useHover ? 1 : 0;
    if (now.hover && now.hover != was.hover) record.colors.hoverColor = *now.hover;
    if (now.visited && now.visited != was.visited) record.colors.visitedColor = *now.visited;
    if (now.unvisited && now.unvisited != was.unvisited) record.colors.unvisitedColor = *now.unvisited;
    shownFont_ = now;
}

bool CPropertyView::LaunchEnabled(const CNimbDoc& document) {
    const int kind = document.Kind();
    // The tree's rule: a link, a member, or a group with members; never the template.
    return kind == TreeKind::kLink || kind == TreeKind::kMember ||
           (kind == TreeKind::kGroup && !document.Selection().empty());
}

void CPropertyView::Launch() {
    if (LaunchEnabled(document_)) document_.SaveAndLaunch();
}

bool CPropertyView::UpdateCommand(fw::CommandUI& ui) {
    const UINT id = ui.Id();
    if (id == ID_LAUNCH || id == ID_LAUNCH_BUTTON) {
        ui.Enable(LaunchEnabled(document_));
        return true;
    }
    if (!IsClipboardCommand(id)) return false;
    const CURLOptionsDlg& page = *linkPage_;
    if (id == ID_EDIT_PASTE)
        ui.Enable(page.HasFocusedEdit() && ::IsClipboardFormatAvailable(CF_TEXT));
    else
        ui.Enable(page.HasFocusedEdit() && page.HasSelection());
    return true;
}

bool CPropertyView::HandleCommand(UINT id) {
    if (id == ID_LAUNCH || id == ID_LAUNCH_BUTTON) {
        Launch();
        return true;
    }
    if (!IsClipboardCommand(id)) return false;
    HWND edit = linkPage_->FocusedEdit();
    if (!edit) return true;
    const UINT msg = id == ID_EDIT_CUT ? WM_CUT : id == ID_EDIT_COPY ? WM_COPY : WM_PASTE;
    ::SendMessageA(edit, msg, 0, 0);
    return true;
}
