// The dialog controls' popup menus shown as popup bars: registered with the foundation when the
// command bars are part of the program.
#include "BarTheme.h"
#include "CommandBars.h"
#include "PopupBar.h"

#include <ImageManager.h>
#include <ToolkitPopupMenu.h>

namespace {

UINT AFXAPI TrackMenuOnPopupBar(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWndOwner, UINT nIDToolBar) {
  if (!CXTPBarTheme::IsThemeSet()) CXTPBarTheme::SetTheme(xtpThemeThreeD);
  if (!CXTPBarTheme::IsThemeSet())
    return static_cast<UINT>(::TrackPopupMenu(hMenu, nFlags, x, y, 0, pWndOwner->GetSafeHwnd(), nullptr));
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(nullptr);
  if (nIDToolBar > 0) {
    CXTPImageManager* pImageManager = new CXTPImageManager;
    pImageManager->SetIconsFromToolBar(nIDToolBar);
    pPopup->AssignImageSet(pImageManager);
  }
  if (!pPopup->LoadMenu(CMenu::FromHandle(hMenu))) {
    pPopup->InternalRelease();
    return 0;
  }
  const UINT nResult =
      CXTPCommandBars::TrackPopup(nullptr, pPopup, nFlags | TPM_NONOTIFY, x, y, nullptr, pWndOwner);
  pPopup->InternalRelease();
  return nResult;
}

// Registers the tracker when the program starts; the library is always linked whole.
struct PopupMenuTrackerRegistration {
  PopupMenuTrackerRegistration() { XTPSetPopupMenuTracker(TrackMenuOnPopupBar); }
};
const PopupMenuTrackerRegistration g_registration;

}  // namespace
