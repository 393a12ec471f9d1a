// Popup menus of the dialog controls.
#include "ToolkitPopupMenu.h"

UINT AFXAPI TrackToolkitPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner,
                                  UINT /*nIDToolBar*/) {
  if (hMenu == nullptr) return 0;
  return static_cast<UINT>(::TrackPopupMenu(hMenu, nFlags, x, y, 0, pWndOwner->GetSafeHwnd(), nullptr));
}
