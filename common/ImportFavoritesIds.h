// Template and control ids of the favorites import dialog, the browser's and
// the manager's; read by the resource compiler too, so only preprocessor lines.
// A program's .rc defines IMPORT_ID(name) as one of the two sets and includes
// ImportFavoritesDlg.rc.
#pragma once

#define IMPORT_BROWSER_TEMPLATE 138
#define IMPORT_BROWSER_PROGRESS 1020
#define IMPORT_BROWSER_DESCRIPTION 1003
#define IMPORT_BROWSER_LINK 1021
#define IMPORT_BROWSER_FOLDER 1022
#define IMPORT_BROWSER_IMPORT 1023
#define IMPORT_BROWSER_CANCEL 1024
#define IMPORT_BROWSER_CHANGE 1056
#define IMPORT_BROWSER_PATH 1057
#define IMPORT_BROWSER_BROWSE 1058
#define IMPORT_BROWSER_ICON 1059

#define IMPORT_MANAGER_TEMPLATE 203
#define IMPORT_MANAGER_PROGRESS 1026
#define IMPORT_MANAGER_DESCRIPTION 1032
#define IMPORT_MANAGER_LINK 1033
#define IMPORT_MANAGER_FOLDER 1034
#define IMPORT_MANAGER_IMPORT 1036
#define IMPORT_MANAGER_CANCEL 1037
#define IMPORT_MANAGER_CHANGE 1071
#define IMPORT_MANAGER_PATH 1072
#define IMPORT_MANAGER_BROWSE 1073
#define IMPORT_MANAGER_ICON 1074
