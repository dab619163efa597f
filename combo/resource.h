// Resource ids of ZYLCOMBO.OCX.
#pragma once

#define IDS_ZYLCOMBO 1      // user type name of the control
#define IDS_ZYLCOMBO_PPG 2  // user type name of the property page
#define IDS_ZYLCOMBO_PPG_CAPTION 100
#define IDB_ZYLCOMBO 1  // toolbox bitmap, 16 x 15
#define IDD_ABOUTBOX_ZYLCOMBO 1
#define IDD_PROPPAGE_ZYLCOMBO 100
#define IDI_ABOUTDLL 1
#define IDB_FONT_GLYPH 201  // the TrueType mark, 18 x 14
#define IDB_SWATCH_RED 204  // swatches 204 to 219, 28 x 13
#define IDB_KEYBOARD 220    // 16 x 16
#define IDB_SPEAKER 221     // 16 x 16
