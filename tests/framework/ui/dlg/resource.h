#pragma once
#define IDD_MAIN 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_ENABLED 1003
#define IDC_KIND 1004
