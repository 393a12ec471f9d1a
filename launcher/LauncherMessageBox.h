// The launcher's one way of telling the user something: a message box with the product's caption.
#pragma once

#include <afx.h>

// MessageBoxW with no owner, the caption "Brindle for PST to NSF" and nType (MB_OK for every
// launcher message); returns the button pressed.
int LauncherMessageBox(CString strText, UINT nType);
