// Resource and control ids of the browser program; read by the resource
// compiler too, so only preprocessor lines.
#pragma once

// The controls a skin drives.
#include "SkinControlIds.h"

#define IDS_OLE_INIT_FAILED 100
#define IDD_LAUNCHER 99
#define IDD_NIMBBROWSER_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_POPUP_MENU 135
#define IDI_FOLDER 153
#define IDI_GROUP 154
#define IDI_LINK 155
#define IDC_HAND_CURSOR 265

#define IDC_EXPLORER 1000
#define IDC_ADDRESS 1005
#define IDC_STATIC_1006 1006
#define IDC_STATUS 1007
#define IDC_OFFLINE_PICTURE 1047
#define IDC_SECURE_PICTURE 1048
#define IDC_ONLINE_PICTURE 1049
#define IDC_NOTSECURE_PICTURE 1050
#define IDC_BANNER 1055

#define ID_MENU_CLOSE 31029
#define ID_MENU_DUMMY 31032
