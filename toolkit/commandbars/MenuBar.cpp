// The menu bar: a toolbar of type 0 filled from a menu resource, which takes the menu away from the frame.
#include "MenuBar.h"

#include "CommandBars.h"

#include <PropExchange.h>

IMPLEMENT_SERIAL(CXTPMenuBar, CXTPToolBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPMenuBar::CXTPMenuBar() { m_barType = xtpBarTypeMenuBar; }

CXTPMenuBar::~CXTPMenuBar() {
  if (m_bOwnMenuDefault && m_hMenuDefault != nullptr && ::IsMenu(m_hMenuDefault))
    ::DestroyMenu(m_hMenuDefault);
}

BOOL CXTPMenuBar::LoadMenuBar(UINT nIDResource) {
  if (nIDResource != 0) {
    CMenu menu;
    if (!menu.LoadMenu(nIDResource)) return FALSE;
    if (!LoadMenu(&menu, TRUE)) return FALSE;
    m_nIDResource = m_nIDResourceCurrent = nIDResource;
  }
  CWnd* pSite = GetOwnerSite();
  if (pSite->GetSafeHwnd() != nullptr) {
    HMENU hMenu = ::GetMenu(pSite->GetSafeHwnd());
    if (hMenu != nullptr) {
      // A frame destroys its own default menu; any other menu taken from the site is ours to destroy.
      CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
      m_hMenuDefault = hMenu;
      m_bOwnMenuDefault = pFrame == nullptr || pFrame->m_hMenuDefault != hMenu;
      ::SetMenu(pSite->GetSafeHwnd(), nullptr);
    }
  }
  return TRUE;
}

void CXTPMenuBar::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPToolBar::DoPropExchange(pPX);
  long nResourceId = static_cast<long>(m_nIDResource);
  PropExchangeLong(pPX, _T("ResourceId"), nResourceId, 0);
  if (pPX->IsStoring()) {
    pPX->WriteCount(0);
    return;
  }
  m_nIDResource = static_cast<UINT>(nResourceId);
  if (pPX->GetSchema() < 5) return;
  // Document menus of a multi-document frame: read so the archive stays in step, then dropped, since
  // this frame shows one menu.
  const DWORD dwCount = pPX->ReadCount();
  for (DWORD i = 0; i < dwCount; ++i) {
    CString strSection;
    strSection.Format(_T("%s%i"), _T("MDIMenu"), static_cast<int>(i));
    CXTPPropExchangeSection sec(pPX, strSection);
    long nId = 0;
    PropExchangeLong(sec, _T("Id"), nId, 0);
    CXTPControls* pControls = new CXTPControls;
    pControls->SetCommandBars(m_pCommandBars);
    try {
      pControls->DoPropExchange(sec);
    } catch (...) {
      pControls->InternalRelease();
      throw;
    }
    pControls->InternalRelease();
  }
}

void CXTPMenuBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPToolBar::CopyBarProperties(pSource, bRecursive);
  if (CXTPMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CXTPMenuBar, pSource)) m_nIDResource = pMenuBar->m_nIDResource;
}

CXTPCommandBar* CXTPMenuBar::CreateCopy(BOOL bRecursive) {
  CXTPMenuBar* pBar = new CXTPMenuBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

// The menu resource comes back after the user confirms; that comes with the rest of the menu bar.
void CXTPMenuBar::ResetToolBar() {}
