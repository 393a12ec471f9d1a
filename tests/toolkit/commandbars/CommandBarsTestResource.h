// Ids of the command-bar tests' resources and commands.
#pragma once

#define IDR_TEST_MENU 9600
#define IDR_TEST_TOOLBAR 9601
#define IDR_TEST_SUBMENU 9602
#define IDR_TEST_SELF_MENU 9603
#define IDR_TEST_TOOLBAR_GROUPS 9604

// Commands of the test frame; ID_TEST_DELETE_SELF removes the control that runs it.
#define ID_TEST_FIRST 1000
#define ID_TEST_OPEN 1001
#define ID_TEST_SAVE 1002
#define ID_TEST_CUT 1003
#define ID_TEST_COPY 1004
#define ID_TEST_PASTE 1005
#define ID_TEST_ABOUT 1006
#define ID_TEST_ITEM_A 1010
#define ID_TEST_ITEM_B 1011
#define ID_TEST_DELETE_SELF 1050
#define ID_TEST_LAST 1099

// The status bar's key indicators (the framework's ids) and a string-less id.
#define IDS_TEST_INDICATOR_CAPS 0xE701
#define IDS_TEST_INDICATOR_NUM 0xE702
#define IDS_TEST_INDICATOR_SCRL 0xE703
