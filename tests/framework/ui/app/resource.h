// Resource ids of the framework test program.
#pragma once

#define IDR_MAINMENU 100
#define ID_ACTION 40001
#define IDC_DRAWN 1001
