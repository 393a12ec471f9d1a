// Resource ids of Brindle for PST to NSF (the main program). The numbers are the program's own and
// stay as they are.
#pragma once

#define IDD_TEMPLATE_DLG 238
#define IDC_TEMPLATE_LIST 1009

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
