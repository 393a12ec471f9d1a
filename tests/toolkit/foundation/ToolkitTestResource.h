// Ids of the resources the foundation tests load: through the resource manager, and the pictures of
// the image-manager tests (made by images/make_test_images.py).
#pragma once

#define IDS_TEST_MESSAGE 9500
#define IDR_TEST_TOOLBAR 9501
#define IDR_TEST_SHORT_TOOLBAR 9502
#define IDR_TEST_MENU 9503
#define IDD_TEST_DIALOG 9504
#define IDB_TEST_STRIP24 9505
#define IDB_TEST_STRIP32 9506
#define IDI_TEST_ICONS 9507
#define IDB_TEST_MISSING 9598
#define IDS_TEST_MISSING 9599
