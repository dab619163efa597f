// CZylComboPropPage: the control's one property page, "General", over
// dialog 100; it has nothing to edit.
#pragma once

#include "fw/property_page.h"

class CZylComboPropPage final : public fw::PropertyPage {
public:
    CZylComboPropPage();
};
