// CAdBannerCtrl: our stand-in for the ad vendor's banner control. It shows
// no ads: it takes its initial data (extent, product name, application key),
// writes down what it received to the file named by ADBANNER_STANDIN_LOG, and
// paints a 468 x 60 placeholder with the product name.
#pragma once

#include "adbanner/AdBannerData.h"

#include "fw/ax_control.h"
#include "fw/com_registration.h"

#include <string>

class CAdBannerCtrl final : public fw::AxControl {
public:
    CAdBannerCtrl();

    static const fw::AxControlInfo& Info();
    static const fw::ControlClassInfo& Registration();

    const adbanner::InitialData& Data() const noexcept { return data_; }

    // IPersistStreamInit: the initial data in the shared stream format.
    using fw::AxControl::Load;
    using fw::AxControl::Save;
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDraw(HDC dc, const RECT& bounds) override;

private:
    adbanner::InitialData data_;
};

// Appends one line to the stand-in's log, when ADBANNER_STANDIN_LOG names one.
void AppendBannerLog(const std::string& line);
