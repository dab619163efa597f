#pragma once
#define IDD_TEST_DIALOG 100
#define IDC_ACT 1001
#define IDC_OWNERDRAW 1002
#define IDC_EDIT 1003
