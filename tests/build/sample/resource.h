// Resource ids of the build check's sample program.
#pragma once

#define IDI_SAMPLE 101
#define IDR_SAMPLE_MENU 102
#define IDD_SAMPLE 103
#define IDS_SAMPLE_TITLE 104
#define IDC_SAMPLE_TEXT 1001
#define ID_SAMPLE_EXIT 40001
