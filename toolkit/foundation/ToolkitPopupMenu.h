// The one place where the toolkit's dialog controls show a popup menu. It shows the menu through
// the system's menu tracking until the command bars' popup bar takes over; callers pass what the
// popup bar needs (the toolbar whose images the items show) either way.
#pragma once

#include <afxwin.h>

// The chosen command with TPM_RETURNCMD, else non-zero when the menu was shown.
UINT AFXAPI TrackToolkitPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner,
                                  UINT nIDToolBar = 0);
