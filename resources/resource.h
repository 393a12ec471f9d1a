// Resource ids of Brindle for PST to NSF (the main program). The numbers are the program's own and
// stay as they are.
#pragma once

// The main frame's toolbar pictures (32 x 32, 24 bits on magenta), given to the image manager for
// commands 32771-32775.
#define IDB_TOOLBAR_HOMEPAGE 223
#define IDB_TOOLBAR_EXPORT 229
#define IDB_TOOLBAR_HELP 230
#define IDB_TOOLBAR_SELECT_FILE 232

#define IDD_TEMPLATE_DLG 238
#define IDC_TEMPLATE_LIST 1009

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
