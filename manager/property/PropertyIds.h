// Dialog and control ids of the property pane's pages; read by the resource compiler too.
#pragma once

#define IDD_LINK_OPTIONS 136
#define IDD_FONT_COLOR_OPTIONS 139
#define IDD_SKIN_OPTIONS 232

// The tab control that holds the pages.
#define IDC_PROPERTY_TABS 1112

// The link page.
#define IDC_LINK_TITLE 1002
#define IDC_LINK_ADDRESS 1003
#define IDC_LINK_COMMENTS 1004
#define IDC_REFRESH_SPIN 1006
#define IDC_SEPARATE_BROWSER 1007
#define IDC_REFRESH_MINUTES 1008
#define IDC_REFRESH_ON 1015
#define IDC_TITLE_LABEL 1021
#define IDC_ADDRESS_LABEL 1022
#define IDC_COMMENTS_LABEL 1023
#define IDC_REFRESH_LABEL 1024
#define IDC_MINUTES_LABEL 1025
