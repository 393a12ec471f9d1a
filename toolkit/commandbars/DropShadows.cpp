// The drop shadows of popups and controls: when they are cast, where each strip goes, how strips of
// neighbouring popups join, and what they keep clear of.
#include "DropShadows.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "Control.h"
#include "DropShadowWnd.h"

CXTPDropShadows::CXTPDropShadows() {
  if (HMODULE hUser = ::GetModuleHandle(_T("USER32"))) {
    m_pfnUpdateLayeredWindow = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "UpdateLayeredWindow")));
  }
  m_bLayered = m_pfnUpdateLayeredWindow != nullptr;
}

CXTPDropShadows* PASCAL CXTPDropShadows::GetInstance() {
  static CXTPDropShadows shadows;
  return &shadows;
}

void CXTPDropShadows::AddShadow(CXTPCommandBar* pBar, LPCRECT lprcExclude) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || pBar->IsBarCustomizeMode()) return;
  if (!pBar->GetPaintManager()->IsFlat()) {
    BOOL bSystemShadow = FALSE;
    ::SystemParametersInfo(SPI_GETDROPSHADOW, 0, &bSystemShadow, 0);
    if (!m_bLayered || !bSystemShadow) return;
  }
  CRect rc;
  pBar->GetWindowRect(&rc);
  CreateShadow(CXTPDropShadowWnd::xtpShadowBottom, rc, lprcExclude, pBar);
  CreateShadow(CXTPDropShadowWnd::xtpShadowRight, rc, lprcExclude, pBar);
}

void CXTPDropShadows::AddControlShadow(CXTPControl* pControl) {
  CXTPCommandBar* pParent = pControl != nullptr ? pControl->GetParent() : nullptr;
  if (pParent == nullptr || pParent->GetSafeHwnd() == nullptr || pControl->IsCustomizeMode()) return;
  if (!pControl->GetPaintManager()->IsFlat()) return;
  CXTPCommandBar* pOwner = pControl->GetCommandBar();
  if (pOwner == nullptr || pOwner->GetSafeHwnd() == nullptr) return;
  CRect rc = pControl->GetRect();
  pParent->ClientToScreen(&rc);
  CreateShadow(CXTPDropShadowWnd::xtpShadowBottom, rc, nullptr, pOwner);
  CreateShadow(CXTPDropShadowWnd::xtpShadowRight, rc, nullptr, pOwner);
}

void CXTPDropShadows::RemoveShadows(CXTPCommandBar* pBar) {
  if (pBar == nullptr) return;
  for (INT_PTR i = m_arrShadows.GetSize() - 1; i >= 0; --i) {
    if (i < m_arrShadows.GetSize() && m_arrShadows[i]->GetOwnerBar() == pBar) DestroyShadow(m_arrShadows[i]);
  }
}

CXTPDropShadowWnd* CXTPDropShadows::CreateShadow(int nOrientation, CRect rc, LPCRECT lprcExclude,
                                                 CXTPCommandBar* pOwnerBar) {
  if (pOwnerBar == nullptr || pOwnerBar->GetSafeHwnd() == nullptr) return nullptr;
  CXTPBarTheme* pTheme = pOwnerBar->GetPaintManager();
  if (!pTheme->IsShadowsEnabled()) return nullptr;
  const BOOL bFlat = pTheme->IsFlat();
  CXTPDropShadowWnd* pShadow = new CXTPDropShadowWnd(nOrientation, bFlat, pOwnerBar);
  if (!pShadow->CreateShadowWindow(pOwnerBar->GetOwnerSite(), m_bLayered)) {
    delete pShadow;
    return nullptr;
  }
  ::SetWindowRgn(pShadow->GetSafeHwnd(), nullptr, FALSE);
  const int s = GetThickness();
  CRect rcStrip = pShadow->IsBottom() ? CRect(rc.left + s, rc.bottom, rc.right + s, rc.bottom + s)
                                      : CRect(rc.right, rc.top + s, rc.right + s, rc.bottom);
  const UINT nMoveFlags = SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  pShadow->SetWindowPos(nullptr, rcStrip.left, rcStrip.top, rcStrip.Width(), rcStrip.Height(), nMoveFlags);

  // Strips of another popup's shadow that meet this one at a corner join it.
  for (INT_PTR i = 0; i < m_arrShadows.GetSize(); ++i) {
    CXTPDropShadowWnd* pOther = m_arrShadows[i];
    if (pOther->IsBottom() == pShadow->IsBottom() || pOther->GetSafeHwnd() == nullptr) continue;
    CRect rcOther;
    pOther->GetWindowRect(&rcOther);
    if (pShadow->IsBottom()) {
      if (rcOther.right == rcStrip.left + 1 && rcOther.top < rcStrip.top && rcStrip.bottom < rcOther.bottom)
        rcStrip.left = rcStrip.left + 2 * (rcOther.left - rcOther.right) - 1;
    } else if (rcOther.bottom == rcStrip.top + 1 && rcOther.left < rcStrip.right &&
               rcStrip.right < rcOther.right) {
      rcStrip.top = rcStrip.top + 2 * (rcOther.top - rcOther.bottom);
    }
  }
  pShadow->SetWindowPos(nullptr, rcStrip.left, rcStrip.top, rcStrip.Width(), rcStrip.Height(), nMoveFlags);
  m_arrShadows.Add(pShadow);

  if (bFlat && lprcExclude != nullptr) pShadow->ExcludeRect(*lprcExclude);
  // No strip covers a popup that casts shadows.
  for (INT_PTR i = 0; i < m_arrShadows.GetSize(); ++i) {
    CXTPCommandBar* pBar = m_arrShadows[i]->GetOwnerBar();
    if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) continue;
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    pShadow->ExcludeRect(rcBar);
  }
  pShadow->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  CXTPWindowSubclassHooks::GetInstance()->AddSink(pOwnerBar->GetSafeHwnd(), pShadow);
  return pShadow;
}

void CXTPDropShadows::DestroyShadow(CXTPDropShadowWnd* pShadow) {
  if (pShadow == nullptr) return;
  if (pShadow->GetSafeHwnd() != nullptr) pShadow->ShowWindow(SW_HIDE);
  if (CXTPCommandBar* pOwner = pShadow->GetOwnerBar()) {
    if (pOwner->GetSafeHwnd() != nullptr)
      CXTPWindowSubclassHooks::GetInstance()->RemoveSink(pOwner->GetSafeHwnd(), pShadow);
  }
  CXTPWindowSubclassHooks::GetInstance()->RemoveSinkEverywhere(pShadow);
  pShadow->SetOwnerBar(nullptr);
  for (INT_PTR i = m_arrShadows.GetSize() - 1; i >= 0; --i) {
    if (m_arrShadows[i] == pShadow) m_arrShadows.RemoveAt(i);
  }
  if (pShadow->GetSafeHwnd() != nullptr) pShadow->DestroyWindow();
  delete pShadow;
}
