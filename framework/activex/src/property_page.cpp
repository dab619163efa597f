#include "fw/property_page.h"
#include "fw/guard.h"

#include "fw/handles.h"

#include <cstring>
#include <string>

namespace fw {

namespace {

// A page dialog: Enter and Esc belong to the frame around it.
class PageDialog final : public Dialog {
public:
    using Dialog::Dialog;

protected:
    void OnOK() override {}
    void OnCancel() override {}
};

// Reads a template's words with bounds checks.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    WORD Word() {
        if (pos_ + 2 > size_) return ok_ = false, 0;
        WORD w;
        std::memcpy(&w, data_ + pos_, 2);
        pos_ += 2;
        return w;
    }
    DWORD Dword() {
        const DWORD lo = Word();
        return lo | (static_cast<DWORD>(Word()) << 16);
    }
    void Skip(size_t bytes) {
        if (pos_ + bytes > size_) ok_ = false;
        pos_ += bytes;
    }
    std::wstring String() {
        std::wstring s;
        for (WORD w = Word(); ok_ && w; w = Word()) s.push_back(static_cast<wchar_t>(w));
        return s;
    }
    // A name or an ordinal (menu, class).
    void SkipNameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xFFFF)
            Word();
        else if (first != 0)
            String();
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

SIZE DialogTemplateSize(HINSTANCE module, UINT templateId) {
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL loaded = res ? ::LoadResource(module, res) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data) return {0, 0};
    TemplateReader r(data, ::SizeofResource(module, res));
    const WORD version = r.Word(), signature = r.Word();
    const bool extended = version == 1 && signature == 0xFFFF;
    DWORD style = 0;
    if (extended) {
        r.Dword();  // help id
        r.Dword();  // extended style
        style = r.Dword();
    } else {
        style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
        r.Dword();  // extended style
    }
    r.Word();  // item count
    r.Word();  // x
    r.Word();  // y
    const short cx = static_cast<short>(r.Word()), cy = static_cast<short>(r.Word());
    r.SkipNameOrOrdinal();  // menu
    r.SkipNameOrOrdinal();  // class
    r.String();             // title
    if (!r.ok() || cx < 0 || cy < 0) return {0, 0};

    LONG baseX = LOWORD(::GetDialogBaseUnits()), baseY = HIWORD(::GetDialogBaseUnits());
    if (style & DS_SETFONT) {
        const WORD points = r.Word();
        if (extended) r.Skip(4);  // weight, italic, character set
        const std::wstring face = r.String();
        if (!r.ok()) return {0, 0};
        WindowDc screen(nullptr);
        LOGFONTW lf{};
        lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        face.copy(lf.lfFaceName, LF_FACESIZE - 1);
        Font font(::CreateFontIndirectW(&lf));
        if (font && screen) {
            SelectObjectGuard select(screen.get(), font.get());
            TEXTMETRICA tm{};
            SIZE ext{};
            // The system's own measure of a dialog font's average width.
            const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
            if (::GetTextMetricsA(screen.get(), &tm) && ::GetTextExtentPoint32A(screen.get(), letters, 52, &ext)) {
                baseX = (ext.cx / 26 + 1) / 2;
                baseY = tm.tmHeight;
            }
        }
    }
    return {::MulDiv(cx, baseX, 4), ::MulDiv(cy, baseY, 8)};
}

PropertyPage::~PropertyPage() {
    dialog_.reset();
}

std::unique_ptr<Dialog> PropertyPage::MakeDialog() {
    return std::make_unique<PageDialog>(dialogId_, ComModule::Get().instance());
}

void PropertyPage::SetDirty(bool dirty) {
    dirty_ = dirty;
    if (site_) site_->OnStatusChange(dirty ? PROPPAGESTATUS_DIRTY : PROPPAGESTATUS_CLEAN);
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
    if (site && site_) return E_UNEXPECTED;
    site_ = site;
    return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (dialog_) return E_UNEXPECTED;
    const HRESULT made = ComGuard(
        [&] {
            dialog_ = MakeDialog();
            return dialog_ && dialog_->CreateModeless(parent) ? S_OK : E_FAIL;
        },
        [](HRESULT) { return E_OUTOFMEMORY; });
    if (FAILED(made)) {
        dialog_.reset();
        return made;
    }
    ::SetWindowPos(dialog_->hwnd(), nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

STDMETHODIMP PropertyPage::Deactivate() {
    if (!dialog_) return E_UNEXPECTED;
    dialog_.reset();  // the dialog object destroys its window
    return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    return ComGuard([&] { return PageInfo(info); });
}

HRESULT PropertyPage::PageInfo(PROPPAGEINFO* info) {
    const std::wstring title = ToWide(ComModule::Get().LoadString(titleId_));
    const size_t bytes = (title.size() + 1) * sizeof(wchar_t);
    auto* text = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
    if (!text) return E_OUTOFMEMORY;
    std::memcpy(text, title.c_str(), bytes);
    info->pszTitle = text;
    info->size = DialogTemplateSize(ComModule::Get().instance(), dialogId_);
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    return ComGuard([&] {
        objects_.clear();
        for (ULONG i = 0; i < count; ++i) objects_.emplace_back(objects[i]);
        return S_OK;
    });
}

STDMETHODIMP PropertyPage::Show(UINT cmd) {
    if (!dialog_) return E_UNEXPECTED;
    ::ShowWindow(dialog_->hwnd(), static_cast<int>(cmd));
    return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!dialog_) return E_UNEXPECTED;
    ::MoveWindow(dialog_->hwnd(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP PropertyPage::Apply() {
    const HRESULT hr = ComGuard([&] { return OnApply(); }, [](HRESULT) { return E_UNEXPECTED; });
    if (SUCCEEDED(hr)) SetDirty(false);
    return hr;
}

STDMETHODIMP PropertyPage::TranslateAccelerator(MSG* msg) {
    if (!msg) return E_POINTER;
    return dialog_ && ::IsDialogMessageA(dialog_->hwnd(), msg) ? S_OK : S_FALSE;
}

}  // namespace fw
