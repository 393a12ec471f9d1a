// Resource ids of the window-layer tests.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_NAME 1000
#define IDC_FLAG 1001
#define IDC_NUMBER 1002
