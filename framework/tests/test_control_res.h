#pragma once
#define IDS_TEST_CONTROL 1
#define IDS_TEST_PAGE_TITLE 2
#define IDD_TEST_PAGE 100
#define IDC_PAGE_TEXT 1001
