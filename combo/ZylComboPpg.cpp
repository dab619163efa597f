#include "ZylComboPpg.h"

#include "resource.h"

CZylComboPropPage::CZylComboPropPage() : PropertyPage(IDD_PROPPAGE_ZYLCOMBO, IDS_ZYLCOMBO_PPG_CAPTION) {}
