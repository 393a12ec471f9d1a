// Resource ids of Brindle Launcher.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_LAUNCHER_DIALOG 102
#define IDR_MAINFRAME 128

// System-menu command of the About box; the low four bits stay free for the system's own use.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
