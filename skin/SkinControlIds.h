// Control ids of the browser window's controls that a skin drives; read by
// the resource compiler too, so only #define lines. The browser's resource.h
// includes them; the table that ties them to skin names is SkinControls.h.
#pragma once

#define IDC_MENU 1004
#define IDC_GO 1008
#define IDC_CLOSE 1014
#define IDC_TITLE 1015
#define IDC_MINIMIZE 1017
#define IDC_WORKOFFLINE 1025
#define IDC_EDITSOURCE 1026
#define IDC_PRINT 1027
#define IDC_FAVORITES 1028
#define IDC_PASTE 1029
#define IDC_COPY 1030
#define IDC_CUT 1031
#define IDC_HOME 1032
#define IDC_REFRESH 1033
#define IDC_STOP 1034
#define IDC_BACK 1035
#define IDC_FORWARD 1036
#define IDC_SKINLIBRARY 1037
#define IDC_INVOKEMANAGER 1038
#define IDC_ANIMATOR 1051
