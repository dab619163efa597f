// Resources of the skin button tests.
#pragma once

#define IDD_SKIN_BUTTONS 100
#define IDC_TEST_BACK 1035
#define IDC_TEST_ANIMATOR 1041
#define IDC_TEST_PLAIN 1050
// An RT_BITMAP resource with a 12-byte core header: loadable, but no colour table to read.
#define IDB_TEST_CORE_HEADER 5001
// The program's button cursor.
#define IDC_TEST_BUTTON_CURSOR 265
