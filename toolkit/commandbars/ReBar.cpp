// The rebar of toolbars: adding and removing bands, keeping their sizes in step with the toolbars and
// painting through one buffer so that the bands do not flicker while they move.
#include "ReBar.h"

#include "DockBar.h"
#include "ToolBar.h"

#include <BufferDC.h>

IMPLEMENT_DYNCREATE(CXTPReBar, CReBar)

BEGIN_MESSAGE_MAP(CXTPReBar, CReBar)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnChildSize)
END_MESSAGE_MAP()

BOOL CXTPReBar::AddToolBar(CXTPToolBar* pToolBar, DWORD dwStyle) {
  if (m_hWnd == nullptr || pToolBar == nullptr || pToolBar->GetSafeHwnd() == nullptr) return FALSE;
  const CSize sz = pToolBar->CalcDockingLayout(32000, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
  pToolBar->MoveWindow(0, 0, sz.cx, sz.cy);
  if (CXTPDockBar* pDockBar = pToolBar->GetDockBar()) {
    pDockBar->RemoveCommandBar(pToolBar);
    pToolBar->SetDockBar(nullptr);
    pToolBar->EnableDocking(0);
    pToolBar->SetBarStyle(pToolBar->GetBarStyle() & ~CBRS_GRIPPER);
  }
  if (!AddBar(pToolBar, nullptr, nullptr, dwStyle)) return FALSE;
  REBARBANDINFO rbbi = {};
  rbbi.cbSize = sizeof(rbbi);
  rbbi.fMask = RBBIM_ID;
  rbbi.wID = pToolBar->GetBarID();
  SendMessage(RB_SETBANDINFO, static_cast<WPARAM>(GetBandCount() - 1), reinterpret_cast<LPARAM>(&rbbi));
  return TRUE;
}

int CXTPReBar::RemoveToolBar(CXTPToolBar* pToolBar) {
  const int nBand = FindBand(pToolBar);
  if (nBand != -1) SendMessage(RB_DELETEBAND, static_cast<WPARAM>(nBand));
  return nBand;
}

int CXTPReBar::FindBand(CXTPToolBar* pToolBar) const {
  for (int i = GetBandCount() - 1; i >= 0; --i) {
    if (GetBandBar(i) == pToolBar) return i;
  }
  return -1;
}

CXTPToolBar* CXTPReBar::GetBandBar(int nBand) const {
  if (m_hWnd == nullptr || nBand < 0 || nBand >= GetBandCount()) return nullptr;
  REBARBANDINFO rbbi = {};
  rbbi.cbSize = sizeof(rbbi);
  rbbi.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE;
  if (!::SendMessage(m_hWnd, RB_GETBANDINFO, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&rbbi)))
    return nullptr;
  return DYNAMIC_DOWNCAST(CXTPToolBar, CWnd::FromHandlePermanent(rbbi.hwndChild));
}

int CXTPReBar::GetBandCount() const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessage(m_hWnd, RB_GETBANDCOUNT, 0, 0)) : 0;
}

CSize CXTPReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  const CSize sz = CReBar::CalcFixedLayout(bStretch, bHorz);
  if (m_hWnd == nullptr) return sz;
  Invalidate(FALSE);
  for (int i = GetBandCount() - 1; i >= 0; --i) {
    CXTPToolBar* pToolBar = GetBandBar(i);
    if (pToolBar == nullptr) continue;
    const CSize szMin = pToolBar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK);
    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    // The menu bar stretches over its band; other toolbars keep their own width and hide what does not
    // fit behind their expand button.
    const DWORD dwMode = pToolBar->GetType() == xtpBarTypeMenuBar
                             ? LM_STRETCH | LM_HORZ | LM_HORZDOCK | LM_COMMIT
                             : LM_HORZ | LM_HORZDOCK | LM_COMMIT | 0x80;
    const CSize szFull = pToolBar->CalcDockingLayout(rcBar.Width(), dwMode);
    REBARBANDINFO rbbi = {};
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
    rbbi.cxMinChild = static_cast<UINT>(szMin.cx);
    rbbi.cyMinChild = static_cast<UINT>(szFull.cy);
    rbbi.cxIdeal = static_cast<UINT>(szFull.cx);
    SendMessage(RB_SETBANDINFO, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rbbi));
    pToolBar->Invalidate(FALSE);
  }
  return sz;
}

void CXTPReBar::OnPaint() {
  CPaintDC dcPaint(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC dc(dcPaint.GetSafeHdc(), rcClient);
  dc.FillSolidRect(rcClient, ::GetSysColor(COLOR_BTNFACE));
  DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

BOOL CXTPReBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPReBar::OnChildSize(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame == nullptr) return;
  if (pFrame->IsInRecalcLayout()) {
    pFrame->DelayRecalcLayout();
  } else {
    pFrame->RecalcLayout();
  }
}
