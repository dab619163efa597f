#include "AdBannerCtrl.h"

#include "resource.h"

#include "fw/handles.h"

#include <vector>

namespace {

// Our own library and interface ids (see AdBanner.idl).
constexpr GUID kLibId = {0xAFE423CD, 0x17C3, 0x45AC, {0xA9, 0x79, 0xDC, 0x40, 0x20, 0xE9, 0xE5, 0xA7}};
constexpr IID kDispIid = {0xBC08B8B2, 0x2F5E, 0x43D1, {0xB6, 0x22, 0x26, 0xC6, 0x4D, 0xD8, 0x27, 0x7E}};
constexpr IID kEventsIid = {0xC8458974, 0x3BFD, 0x4A28, {0xB0, 0x47, 0xB1, 0x9D, 0x36, 0x91, 0xD2, 0x73}};

constexpr DWORD kMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
                              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

// Appends count bytes of the stream to bytes; false when the stream has fewer.
bool ReadBytes(IStream* stream, std::vector<uint8_t>& bytes, ULONG count) {
    const size_t start = bytes.size();
    bytes.resize(start + count);
    ULONG got = 0;
    return count == 0 || (SUCCEEDED(stream->Read(bytes.data() + start, count, &got)) && got == count);
}

// The length word just read, at the end of bytes.
uint32_t LastLength(const std::vector<uint8_t>& bytes) {
    const size_t n = bytes.size();
    return bytes[n - 4] | (bytes[n - 3] << 8) | (bytes[n - 2] << 16) | (static_cast<uint32_t>(bytes[n - 1]) << 24);
}

}  // namespace

const fw::AxControlInfo& CAdBannerCtrl::Info() {
    static const fw::AxControlInfo info{adbanner::kClassId, kLibId,       1,           0,  kDispIid,
                                        kEventsIid,         IDS_ADBANNER, kMiscStatus, {}, nullptr};
    return info;
}

const fw::ControlClassInfo& CAdBannerCtrl::Registration() {
    static const fw::ControlClassInfo info{
        adbanner::kClassId, "AdBannerStandIn.Banner.1", IDS_ADBANNER, 0, kMiscStatus, kLibId, 1, 0, false, ""};
    return info;
}

CAdBannerCtrl::CAdBannerCtrl() : AxControl(Info()) {}

STDMETHODIMP CAdBannerCtrl::Load(LPSTREAM stream) {
    return fw::ComGuard([&]() -> HRESULT {
        if (!stream) return E_POINTER;
        // Only our part is read, so whatever the vendor stored after it stays in the stream.
        std::vector<uint8_t> bytes;
        bool whole = ReadBytes(stream, bytes, 12);
        if (whole && LastLength(bytes) <= adbanner::kMaxTextBytes)
            whole = ReadBytes(stream, bytes, LastLength(bytes) + 4);
        else
            whole = false;
        if (whole && LastLength(bytes) <= adbanner::kMaxTextBytes)
            whole = ReadBytes(stream, bytes, LastLength(bytes));
        else
            whole = false;
        const auto data = whole ? adbanner::Decode(bytes.data(), bytes.size()) : std::nullopt;
        if (!data) {
            AppendBannerLog("load|refused");
            return E_FAIL;
        }
        data_ = *data;
        SIZEL extent{data_.extentX, data_.extentY};
        SetExtent(DVASPECT_CONTENT, &extent);
        AppendBannerLog("load|extent=" + std::to_string(data_.extentX) + "x" + std::to_string(data_.extentY) +
                        "|product=" + adbanner::Narrow(data_.productName) +
                        "|key=" + adbanner::Narrow(data_.applicationKey));
        if (hwnd()) ::InvalidateRect(hwnd(), nullptr, TRUE);
        return S_OK;
    });
}

STDMETHODIMP CAdBannerCtrl::Save(LPSTREAM stream, BOOL) {
    return fw::ComGuard([&]() -> HRESULT {
        if (!stream) return E_POINTER;
        SIZEL extent{};
        GetExtent(DVASPECT_CONTENT, &extent);
        adbanner::InitialData data = data_;
        data.extentX = extent.cx;
        data.extentY = extent.cy;
        const std::vector<uint8_t> bytes = adbanner::Encode(data);
        ULONG written = 0;
        const HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
        if (FAILED(hr)) return hr;
        return written == bytes.size() ? S_OK : STG_E_MEDIUMFULL;
    });
}

STDMETHODIMP CAdBannerCtrl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = adbanner::Encode(data_).size();
    return S_OK;
}

STDMETHODIMP CAdBannerCtrl::InitNew() {
    return fw::ComGuard([&]() -> HRESULT {
        data_ = adbanner::InitialData{};
        AppendBannerLog("initnew");
        return AxControl::InitNew();
    });
}

LRESULT CAdBannerCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        fw::PaintDc dc(hwnd());
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        OnDraw(dc.get(), client);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return TRUE;
    return AxControl::HandleMessage(msg, wParam, lParam);
}

void CAdBannerCtrl::OnDraw(HDC dc, const RECT& bounds) {
    // A plain card: a light face, a dark frame, and the product it serves.
    fw::Brush face(::CreateSolidBrush(RGB(255, 244, 200)));
    ::FillRect(dc, &bounds, face.get());
    fw::Brush frame(::CreateSolidBrush(RGB(120, 90, 20)));
    ::FrameRect(dc, &bounds, frame.get());
    const std::string text =
        "Ad banner stand-in for " +
        (data_.productName.empty() ? std::string("(no product)") : adbanner::Narrow(data_.productName));
    RECT r = bounds;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(60, 40, 0));
    fw::SelectObjectGuard font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void AppendBannerLog(const std::string& line) {
    const std::string path = Environment("ADBANNER_STANDIN_LOG");
    if (path.empty()) return;
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}
