// The main window's skin buttons: the default lines, the special and ordinary
// buttons of the current skin, and the palette messages.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"
#include "SkinResources.h"

namespace {

constexpr size_t kPaletteButtonCount = CountSkinControls(IsPaletteSkinButton);
constexpr auto kPaletteButtons = SkinControlIds<kPaletteButtonCount>(IsPaletteSkinButton);

// Loads a button's pictures from the skin's files, else its default resource.
void LoadButtonPictures(CSkinButton& button, const std::string& path1, const std::string& path2, UINT defaultId,
                        UINT defaultId2, int frames, int fps) {
    const bool fromFile = !IsNullBitmap(path1);
    if (!fromFile || button.LoadBitmapsFromFile(path1, IsNullBitmap(path2) ? std::string() : path2, frames, fps) != 0)
        button.LoadBitmaps(defaultId, defaultId2, frames, fps);
}

}  // namespace

CSkinButton& CNimbBrowserDlg::Button(int controlId) {
    const size_t index = SkinControlIndex(controlId);
    return index < buttons_.size() ? buttons_[index] : buttons_.back();
}

void CNimbBrowserDlg::FillDefaultButtonList() {
    defaultButtonLines_.assign(AppConstants::kDefaultButtonLines.begin(), AppConstants::kDefaultButtonLines.end());
}

ErrorCode CNimbBrowserDlg::SetupBitmapButtons(const CSkinFile& skin) {
    for (CSkinButton* button : liveButtons_)
        if (button->hwnd()) ::ShowWindow(button->hwnd(), SW_HIDE);
    liveButtons_.clear();

    const ErrorCode special = ReadSpecialButtons(skin);
    if (special != 0 && !skin.IsBuiltIn()) return special;
    std::vector<std::unique_ptr<CSkinButton>> descriptors;
    ReadButtonInfo(skin, &descriptors);
    ApplyButtonInfo(descriptors);
    return kErrNone;
}

ErrorCode CNimbBrowserDlg::ReadSpecialButtons(const CSkinFile& skin) {
    const std::string& folder = skin.Folder();
    for (size_t i = 0; i < kSpecialButtonCount; ++i) {
        const SkinControl& info = GetSpecialButtonInfo(static_cast<SpecialButton>(i));
        const std::string line = skin.SpecialLine(info.special);
        if (line.empty()) return info.missingCode;
        CSkinButton& button = Button(info.controlId);
        button.SetName(info.name);
        switch (info.special) {
        case SpecialButton::kAnimator: {
            const SkinAnimatorLine a = ParseAnimatorLine(line, folder);
            button.SetRect(a.rect);
            button.SetBitmap1Path(a.bitmap);
            button.SetBitmap2Path("NULL");
            button.SetLayoutFlag(a.flag);
            LoadButtonPictures(button, a.bitmap, "NULL", info.defaultBitmap, 0, a.frames, a.framesPerSecond);
            break;
        }
        case SpecialButton::kGo: {
            const SkinGoLine g = ParseGoLine(line, folder);
            button.SetTooltip(g.tooltip);
            button.SetBitmap1Path(g.bitmap1);
            button.SetBitmap2Path(g.bitmap2);
            LoadButtonPictures(button, g.bitmap1, g.bitmap2, info.defaultBitmap, info.defaultBitmap, 1, 5);
            break;
        }
        default: {
            const SkinButtonLine b = ParseSpecialButtonLine(line, folder);
            button.SetRect(b.rect);
            button.SetTooltip(b.tooltip);
            button.SetBitmap1Path(b.bitmap1);
            button.SetBitmap2Path(b.bitmap2);
            button.SetLayoutFlag(b.flag);
            LoadButtonPictures(button, b.bitmap1, b.bitmap2, info.defaultBitmap, info.defaultBitmap, 1, 5);
            break;
        }
        }
        if (info.special != SpecialButton::kGo) liveButtons_.push_back(&button);
    }
    return kErrNone;
}

void CNimbBrowserDlg::ReadButtonInfo(const CSkinFile& skin,
                                     std::vector<std::unique_ptr<CSkinButton>>* descriptors) {
    const int count = skin.ButtonLineCount();
    for (int i = 1; i <= count; ++i) {
        const std::string line = skin.IsBuiltIn() ? (i <= static_cast<int>(defaultButtonLines_.size())
                                                         ? defaultButtonLines_[static_cast<size_t>(i - 1)]
                                                         : std::string())
                                                  : skin.ButtonLine(i);
        if (line.empty()) continue;
        const SkinButtonLine b = ParseButtonLine(line, skin.Folder());
        auto descriptor = std::make_unique<CSkinButton>();
        descriptor->SetName(b.name);
        descriptor->SetRect(b.rect);
        descriptor->SetTooltip(b.tooltip);
        descriptor->SetBitmap1Path(b.bitmap1);
        descriptor->SetBitmap2Path(b.bitmap2);
        descriptor->SetLayoutFlag(b.flag);
        descriptors->push_back(std::move(descriptor));
    }
}

void CNimbBrowserDlg::ApplyButtonInfo(const std::vector<std::unique_ptr<CSkinButton>>& descriptors) {
    for (const auto& descriptor : descriptors) {
        const SkinControl* info = FindOrdinaryButton(descriptor->Name());
        if (!info) continue;
        CSkinButton& button = Button(info->controlId);
        button.CopySkinInfo(*descriptor);
        LoadButtonPictures(button, descriptor->Bitmap1Path(), descriptor->Bitmap2Path(),
                           static_cast<UINT>(info->defaultBitmap), static_cast<UINT>(info->defaultBitmap), 1, 5);
        liveButtons_.push_back(&button);
    }
}

void CNimbBrowserDlg::RealizeSkinPalette() {
    if (const CDibBitmap* background = skin_.Background()) {
        fw::WindowDc dc(hwnd());
        HPALETTE old = background->SelectPalette(dc.get(), false);
        if (old) {
            ::SelectPalette(dc.get(), old, FALSE);
            ::RealizePalette(dc.get());
        }
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

namespace {
void InvalidatePaletteButtons(HWND dialog, bool withMenu) {
    for (int id : kPaletteButtons) ::InvalidateRect(::GetDlgItem(dialog, id), nullptr, TRUE);
    if (withMenu) ::InvalidateRect(::GetDlgItem(dialog, IDC_MENU), nullptr, TRUE);
}
}  // namespace

bool CNimbBrowserDlg::HandlePaletteMessage(UINT msg, WPARAM wParam, LRESULT* result) {
    if (msg == WM_QUERYNEWPALETTE) {
        RealizeSkinPalette();
        InvalidatePaletteButtons(hwnd(), false);
        Button(IDC_MENU).RealizePalette();
        *result = FALSE;
        return true;
    }
    if (msg == WM_PALETTECHANGED) {
        // A change this window made itself is answered by nothing, else realising
        // again would change the palette again, without end.
        if (reinterpret_cast<HWND>(wParam) != hwnd()) {
            InvalidatePaletteButtons(hwnd(), true);
            RealizeSkinPalette();
        }
        *result = 0;
        return true;
    }
    return false;
}

void CNimbBrowserDlg::BindButtons() {
    for (size_t i = 0; i < kSkinControls.size(); ++i) buttons_[i].Subclass(Item(kSkinControls[i].controlId));
}
