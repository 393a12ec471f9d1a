// Ids of the resources the foundation tests load through the resource manager.
#pragma once

#define IDS_TEST_MESSAGE 9500
#define IDR_TEST_TOOLBAR 9501
#define IDR_TEST_SHORT_TOOLBAR 9502
#define IDR_TEST_MENU 9503
#define IDD_TEST_DIALOG 9504
#define IDS_TEST_MISSING 9599
