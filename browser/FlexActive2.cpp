#include "FlexActive2.h"

#include "AdClient.h"
#include "AppConstants.h"

#include "adbanner/AdBannerData.h"

namespace {

// 468 x 60 pixels.
constexpr int32_t kExtentX = 12383;
constexpr int32_t kExtentY = 1588;

fw::AxSetup Setup() {
    fw::AxSetup setup;
    setup.initialData = CFlexActive2::InitialData();
    return setup;
}

}  // namespace

const CLSID& CFlexActive2::ClassId() {
    return adbanner::kClassId;
}

fw::ComPtr<IStream> CFlexActive2::InitialData() {
    const std::vector<uint8_t> bytes = adbanner::Encode(
        {kExtentX, kExtentY, adbanner::Widen(AppConstants::kProductName), adbanner::Widen(kAdApplicationKey)});
    fw::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return {};
    ULONG written = 0;
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size())
        return {};
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

HRESULT CFlexActive2::Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, UINT id) {
    const HRESULT hr = fw::AxWindow::Create(ClassId(), parent, rect, id, style, Setup());
    if (SUCCEEDED(hr) && windowName) ::SetWindowTextA(hwnd(), windowName);
    return hr;
}

HRESULT CFlexActive2::CreateInPlaceOf(HWND dialog, int id) {
    return fw::AxWindow::CreateInPlaceOf(dialog, id, ClassId(), Setup());
}
