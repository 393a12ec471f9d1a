// Resource ids of the window-layer tests.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_NAME 1000
#define IDC_FLAG 1001
#define IDC_NUMBER 1002

#define IDR_TESTDOC 200
#define ID_DOC_COMMAND 40100
#define ID_VIEW_COMMAND 40101
#define ID_UNHANDLED_COMMAND 40102
