// Resource and command ids of the manager; read by the resource compiler too.
#pragma once

// Menu, accelerators, frame icon and document string; the tray icon too.
#define IDR_MAINFRAME 128
// The popup the tray menus and the tree's menu start from, and its placeholder.
#define IDR_POPUP_MENU 134
#define ID_POPUP_PLACEHOLDER 32771

#define IDD_TRAY 101
#define IDD_DESKTOP 102
// The drop menu of a right drag.
#define ID_MOVE_HERE 105
#define ID_COPY_HERE 106
#define ID_DROP_CANCEL 107
#define IDD_LAUNCHER 204
#define IDD_STARTUP_OPTIONS 220
#define IDD_CONFIRM 230
#define IDD_ABOUTBOX 243

// Toolbar strips (bitmaps) and the About picture.
#define IDB_TOOLBAR_SMALL 185
#define IDB_TOOLBAR_LARGE 187
#define IDB_ABOUT 241
// The desktop pane's screen picture and the built-in background of its miniatures.
#define IDB_DESKTOP 130
#define IDB_MINI_BACKGROUND 240
// Hot toolbar icons, small and large, in button order.
#define IDI_SMALL_ADDLINK 185
#define IDI_SMALL_ADDFOLDER 194
#define IDI_SMALL_LAUNCH 195
#define IDI_SMALL_CUT 196
#define IDI_SMALL_COPY 197
#define IDI_SMALL_PASTE 198
#define IDI_SMALL_DELETE 200
#define IDI_SMALL_HELP 222
#define IDI_LARGE_ADDLINK 186
#define IDI_LARGE_ADDFOLDER 187
#define IDI_LARGE_LAUNCH 193
#define IDI_LARGE_CUT 188
#define IDI_LARGE_COPY 189
#define IDI_LARGE_PASTE 190
#define IDI_LARGE_DELETE 192
#define IDI_LARGE_HELP 221
// The tree's item pictures.
#define IDI_TREE_GROUPS 144
#define IDI_TREE_FOLDER 146
#define IDI_TREE_LINKS 147
#define IDI_TREE_LINK 148
#define IDI_TREE_OPEN 149
#define IDI_TREE_CUT_FOLDER 223
#define IDI_TREE_CUT_OPEN 224
#define IDI_TREE_CUT_LINK 225
#define IDI_TREE_TEMPLATE 237
#define IDI_TREE_TEMPLATES 238
// The confirmation dialog's icon is the large Delete picture.
#define IDI_CONFIRM 192

// Large toolbar labels.
#define IDS_LABEL_ADDLINK 129
#define IDS_LABEL_ADDFOLDER 130
#define IDS_LABEL_LAUNCH 131
#define IDS_LABEL_DELETE 132
#define IDS_LABEL_HELP 133
#define IDS_LABEL_CUT 134
#define IDS_LABEL_COPY 135
#define IDS_LABEL_PASTE 136

// Controls.
#define IDC_DESKTOP_PICTURE 1000
#define IDC_HIDE_PROGRAM 1038
#define IDC_DONT_SHOW_AGAIN 1038
#define IDC_REMOVE_ICON 1041
#define IDC_RUN_AT_STARTUP 1045
#define IDC_CONFIRM_TEXT 1061
#define IDC_ABOUT_PICTURE 1067
#define IDC_ABOUT_VERSION 1068

// Commands.
#define ID_LAUNCH_BUTTON 1070
#define ID_ADD_LINK 32772
#define ID_ADD_FOLDER 32773
#define ID_DELETE_LINK 32774
#define ID_DELETE_FOLDER 32775
#define ID_LAUNCH 32776
#define ID_TOOLBAR_SMALL 32780
#define ID_TOOLBAR_LARGE 32781
#define ID_HELP_GUIDE 32783
#define ID_QUICK_START 32784
#define ID_OPTIONS 32787
#define ID_IMPORT 32788
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_EDIT_DELETE 57647
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_STATUS_BAR 59393

// Framework strings: the idle prompt and the key panes.
#define IDS_IDLE_MESSAGE 0xE001
#define IDS_INDICATOR_CAPS 0xE701
#define IDS_INDICATOR_NUM 0xE702
#define IDS_INDICATOR_SCRL 0xE703
