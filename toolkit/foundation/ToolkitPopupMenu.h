// The one place where the toolkit's dialog controls show a popup menu. With the command bars linked
// into the program, the menu shows as the command bars' popup bar (which registers itself here);
// without them, through the system's menu tracking. Callers pass what the popup bar needs (the
// toolbar whose images the items show) either way.
#pragma once

#include <afxwin.h>

// The chosen command with TPM_RETURNCMD, else non-zero when the menu was shown.
UINT AFXAPI TrackToolkitPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner,
                                  UINT nIDToolBar = 0);

// How a library that draws popup menus of its own shows them; NULL returns to the system's menus.
typedef UINT(AFXAPI* PFNXTPTRACKPOPUPMENU)(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner,
                                           UINT nIDToolBar);
void AFXAPI XTPSetPopupMenuTracker(PFNXTPTRACKPOPUPMENU pfnTrack);
