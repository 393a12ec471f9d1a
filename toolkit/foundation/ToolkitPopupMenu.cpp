// Popup menus of the dialog controls.
#include "ToolkitPopupMenu.h"

namespace {

PFNXTPTRACKPOPUPMENU g_pfnTrackPopupMenu = nullptr;

}  // namespace

void AFXAPI XTPSetPopupMenuTracker(PFNXTPTRACKPOPUPMENU pfnTrack) { g_pfnTrackPopupMenu = pfnTrack; }

UINT AFXAPI TrackToolkitPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner, UINT nIDToolBar) {
  if (hMenu == nullptr) return 0;
  if (g_pfnTrackPopupMenu != nullptr) return g_pfnTrackPopupMenu(hMenu, nFlags, x, y, pWndOwner, nIDToolBar);
  return static_cast<UINT>(::TrackPopupMenu(hMenu, nFlags, x, y, 0, pWndOwner->GetSafeHwnd(), nullptr));
}
