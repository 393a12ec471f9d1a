// The dock bars: rows of docked toolbars, their layout passes, docking at a point and the frame's
// layout around them.
#include "DockBar.h"

#include "BarDragTracker.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "ToolBar.h"

#include <BufferDC.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CXTPDockBar, CWnd)

BEGIN_MESSAGE_MAP(CXTPDockBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_PAINT()
ON_MESSAGE(WM_PRINT, OnPrint)
ON_WM_ERASEBKGND()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

// One bar of a row while the row is laid out, in row coordinates (x along the row, y across it).
struct CXTPDockBar::DockInfo {
  CXTPToolBar* pBar;
  CRect rc;
  int nRequestedLeft;
  int nIndex;
  int nMinLength;
  int nTotalMinBefore;
  BOOL bPushed;
  DWORD dwMode;
};

CXTPDockBar::CXTPDockBar(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {
  m_arrBars.Add(nullptr);
}

CXTPDockBar::~CXTPDockBar() {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i] != nullptr && m_arrBars[i]->m_pDockBar == this) m_arrBars[i]->m_pDockBar = nullptr;
  }
  if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CXTPDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & 0x40FFFF;
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  return CWnd::CreateEx(0, lpszClass, nullptr, (dwStyle & ~0x40FFFFu) | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

XTPBarPosition CXTPDockBar::GetDockSide() const {
  if (m_dwStyle & (CBRS_ALIGN_TOP | 0x0800)) return xtpBarTop;
  if (m_dwStyle & (CBRS_ALIGN_BOTTOM | 0x0200)) return xtpBarBottom;
  if (m_dwStyle & (CBRS_ALIGN_LEFT | 0x0400)) return xtpBarLeft;
  return xtpBarRight;
}

DWORD CXTPDockBar::AdjustMode(BOOL bHorz, CXTPToolBar* pBar) const {
  const DWORD dwFlags = pBar->GetFlags();
  DWORD dwMode = bHorz ? LM_HORZDOCK | LM_HORZ : LM_VERTDOCK;
  if (dwFlags & xtpFlagStretched) dwMode |= LM_STRETCH;
  if (dwFlags & xtpFlagHideWrap) {
    const BOOL bFullCustomize = m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeMode() &&
                                !m_pCommandBars->IsQuickCustomizeMode();
    if (!bFullCustomize) dwMode |= LM_HIDEWRAP;
  }
  return dwMode;
}

int CXTPDockBar::FindBar(CXTPToolBar* pBar, int nPosExclude) const {
  for (int i = 0; i < GetEntryCount(); ++i) {
    if (m_arrBars[i] == pBar && i != nPosExclude) return i;
  }
  return -1;
}

BOOL CXTPDockBar::RemoveBar(CXTPToolBar* pBar, int nPosExclude) {
  const int nPos = FindBar(pBar, nPosExclude);
  if (nPos <= 0) return 0;
  m_arrBars.RemoveAt(nPos);
  // A row left empty has a row break on both sides: one of them goes.
  if (nPos < GetEntryCount() && m_arrBars[nPos] == nullptr && m_arrBars[nPos - 1] == nullptr)
    m_arrBars.RemoveAt(nPos);
  if (FindBar(pBar) == -1 && pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  if (m_pCommandBars != nullptr) m_pCommandBars->RecalcFrameLayout(TRUE);
  return 0;
}

void CXTPDockBar::InsertEntry(int nIndex, CXTPToolBar* pBar) {
  nIndex = std::max(1, std::min(nIndex, GetEntryCount()));
  m_arrBars.InsertAt(nIndex, pBar);
}

void CXTPDockBar::NormalizeRows() {
  for (int i = GetEntryCount() - 1; i > 0; --i) {
    if (m_arrBars[i] == nullptr && m_arrBars[i - 1] == nullptr) m_arrBars.RemoveAt(i);
  }
  if (GetEntryCount() == 0 || m_arrBars[0] != nullptr)
    m_arrBars.InsertAt(0, static_cast<CXTPToolBar*>(nullptr));
  if (m_arrBars[GetEntryCount() - 1] != nullptr) m_arrBars.Add(nullptr);
}

void CXTPDockBar::GetRowBars(int nPos, CArray<CXTPToolBar*, CXTPToolBar*>& arrBars) const {
  arrBars.RemoveAll();
  if (nPos < 0 || nPos >= GetEntryCount()) return;
  int nStart = nPos;
  while (nStart > 0 && m_arrBars[nStart - 1] != nullptr) nStart--;
  if (m_arrBars[nStart] == nullptr) nStart++;
  const BOOL bHorz = IsHorizontal();
  std::vector<CXTPToolBar*> arrRow;
  for (int i = nStart; i < GetEntryCount() && m_arrBars[i] != nullptr; ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    if (pBar->IsVisible() && pBar->GetSafeHwnd() != nullptr) arrRow.push_back(pBar);
  }
  std::stable_sort(arrRow.begin(), arrRow.end(), [bHorz](CXTPToolBar* a, CXTPToolBar* b) {
    CRect ra, rb;
    a->GetWindowRect(&ra);
    b->GetWindowRect(&rb);
    return bHorz ? ra.left < rb.left : ra.top < rb.top;
  });
  for (CXTPToolBar* pBar : arrRow) arrBars.Add(pBar);
}

// ---- Docking -----------------------------------------------------------------------------------------

void CXTPDockBar::DockBar(CXTPToolBar* pBar, LPCRECT lpRect) {
  const int nOldPos = FindBar(pBar);
  if (nOldPos != -1) {
    if (lpRect == nullptr) return;
    CRect rcWindow;
    if (pBar->GetSafeHwnd() != nullptr) pBar->GetWindowRect(&rcWindow);
    if (rcWindow == *lpRect) return;
  }
  const BOOL bHorz = IsHorizontal();
  int nNewPos = -1;
  if (lpRect != nullptr) {
    CRect rc = *lpRect;
    ScreenToClient(&rc);
    const CPoint ptCenter = rc.CenterPoint();
    const int nCoord = bHorz ? ptCenter.y : ptCenter.x;
    int nPrevFar = INT_MIN;
    int i = 1;
    while (i < GetEntryCount() && nNewPos == -1) {
      const int nRowStart = i;
      int nFar = INT_MIN;
      BOOL bVisible = FALSE;
      for (; i < GetEntryCount() && m_arrBars[i] != nullptr; ++i) {
        CXTPToolBar* pRowBar = m_arrBars[i];
        if (pRowBar == pBar || !pRowBar->IsVisible() || pRowBar->GetSafeHwnd() == nullptr) continue;
        CRect rcBar;
        pRowBar->GetWindowRect(&rcBar);
        ScreenToClient(&rcBar);
        nFar = std::max(nFar, static_cast<int>(bHorz ? rcBar.bottom : rcBar.right));
        bVisible = TRUE;
      }
      if (bVisible) {
        if (nCoord == nPrevFar) {
          // Exactly on the boundary between two rows: a new row opens there.
          m_arrBars.InsertAt(nRowStart, static_cast<CXTPToolBar*>(nullptr));
          m_arrBars.InsertAt(nRowStart, pBar);
          nNewPos = nRowStart;
        } else if (nFar > nCoord) {
          m_arrBars.InsertAt(nRowStart, pBar);
          nNewPos = nRowStart;
        }
        nPrevFar = nFar;
      }
      ++i;
    }
    if (nNewPos == -1) {
      m_arrBars.Add(pBar);
      m_arrBars.Add(nullptr);
      nNewPos = GetEntryCount() - 2;
    }
    if (CXTPBarDragTracker* pTracker = pBar->GetDragTracker()) pTracker->m_rectMRUDockPos = rc;
  } else {
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    nNewPos = GetEntryCount() - 2;
    if (CXTPBarDragTracker* pTracker = pBar->GetDragTracker()) pTracker->m_rectMRUDockPos.SetRectEmpty();
  }

  if (pBar->GetSafeHwnd() != nullptr && pBar->GetParent() != this) pBar->SetParent(this);
  if (nOldPos != -1) {
    RemoveBar(pBar, nNewPos);
  } else if (pBar->m_pDockBar != nullptr && pBar->m_pDockBar != this) {
    pBar->m_pDockBar->RemoveBar(pBar);
  }
  pBar->m_pDockBar = this;
  SeparateStretchedBars();
  if (m_pCommandBars != nullptr) m_pCommandBars->RecalcFrameLayout(TRUE);
}

void CXTPDockBar::SeparateStretchedBars() {
  for (int i = 1; i < GetEntryCount(); ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    if (pBar == nullptr || !(pBar->GetFlags() & xtpFlagStretched)) continue;
    if (m_arrBars[i - 1] != nullptr) {
      m_arrBars.InsertAt(i, static_cast<CXTPToolBar*>(nullptr));
      ++i;
    }
    if (i + 1 < GetEntryCount() && m_arrBars[i + 1] != nullptr)
      m_arrBars.InsertAt(i + 1, static_cast<CXTPToolBar*>(nullptr));
  }
}

// ---- Layout ------------------------------------------------------------------------------------------

int CXTPDockBar::AdjustRow(CArray<CXTPToolBar*, CXTPToolBar*>& arrRow, CPoint pt, int nLength, BOOL bHorz,
                           HDWP hdwp, CXTPToolBar** ppOverflow) {
  *ppOverflow = nullptr;
  const int nCount = static_cast<int>(arrRow.GetSize());
  if (nCount == 0) return 0;
  const int nRowOffset = bHorz ? pt.y : pt.x;
  std::vector<DockInfo> arrInfo;
  arrInfo.reserve(nCount);
  for (int i = 0; i < nCount; ++i) {
    CXTPToolBar* pBar = arrRow[i];
    DockInfo info = {};
    info.pBar = pBar;
    info.dwMode = AdjustMode(bHorz, pBar);
    CSize sz = pBar->CalcDockingLayout(nLength, info.dwMode);
    if (!bHorz) sz = CSize(sz.cy, sz.cx);
    const CXTPBarDragTracker* pTracker = pBar->GetDragTracker();
    const CRect rcMRU = pTracker != nullptr ? pTracker->m_rectMRUDockPos : CRect(0, 0, 0, 0);
    info.nRequestedLeft = bHorz ? rcMRU.left : rcMRU.top;
    info.rc.SetRect(info.nRequestedLeft, nRowOffset, info.nRequestedLeft + sz.cx, nRowOffset + sz.cy);
    info.nIndex = i;
    arrInfo.push_back(info);
  }
  std::stable_sort(arrInfo.begin(), arrInfo.end(),
                   [](const DockInfo& a, const DockInfo& b) { return a.rc.left < b.rc.left; });

  // Forward: a bar that overlaps the one before it moves right when it comes later in the row or the
  // one before was itself moved.
  int nBoundary = 0;
  for (int k = 0; k < nCount; ++k) {
    DockInfo& info = arrInfo[k];
    if (info.rc.left < nBoundary &&
        (k == 0 || info.nIndex > arrInfo[k - 1].nIndex || arrInfo[k - 1].bPushed)) {
      info.rc.OffsetRect(nBoundary - info.rc.left, 0);
      info.bPushed = TRUE;
    }
    nBoundary = info.rc.right;
  }
  // Backward: a bar that passes the end, or the one after it, moves left.
  nBoundary = nLength;
  for (int k = nCount - 1; k >= 0; --k) {
    DockInfo& info = arrInfo[k];
    if (info.rc.right > nBoundary &&
        (k == nCount - 1 || arrInfo[k + 1].nIndex < info.nIndex || arrInfo[k + 1].bPushed)) {
      info.rc.OffsetRect(nBoundary - info.rc.right, 0);
      info.bPushed = TRUE;
    }
    nBoundary = info.rc.left;
  }
  // Forward again: nothing may overlap.
  nBoundary = 0;
  for (int k = 0; k < nCount; ++k) {
    DockInfo& info = arrInfo[k];
    if (info.rc.left < nBoundary) info.rc.OffsetRect(nBoundary - info.rc.left, 0);
    nBoundary = info.rc.right;
  }

  if (arrInfo[nCount - 1].rc.right > nLength) {
    int nTotalMin = 0;
    for (int k = 0; k < nCount; ++k) {
      DockInfo& info = arrInfo[k];
      if (info.dwMode & LM_HIDEWRAP) {
        CSize szMin = info.pBar->CalcDockingLayout(1, info.dwMode);
        info.nMinLength = bHorz ? szMin.cx : szMin.cy;
      } else {
        info.nMinLength = nLength;
      }
      info.nTotalMinBefore = nTotalMin;
      nTotalMin += info.nMinLength;
    }
    int e = nLength;
    for (int k = nCount - 1; k >= 0; --k) {
      DockInfo& info = arrInfo[k];
      int nLeft = std::min(info.nRequestedLeft, static_cast<int>(info.rc.left));
      nLeft = std::max(nLeft, e - info.rc.Width());
      nLeft = std::max(nLeft, info.nTotalMinBefore);
      nLeft = std::min(nLeft, e - info.nMinLength);
      if ((e - nLeft < info.nMinLength || nLeft < info.nTotalMinBefore) && nCount > 1) {
        *ppOverflow = arrInfo[nCount - 1].pBar;
        return 0;
      }
      info.rc.left = std::max(nLeft, 0);
      info.rc.right = e;
      e = info.rc.left;
    }
  }

  int nThickness = 0;
  for (int k = 0; k < nCount; ++k) {
    DockInfo& info = arrInfo[k];
    CSize sz = info.pBar->CalcDockingLayout(info.rc.Width(), info.dwMode);
    nThickness = std::max(nThickness, static_cast<int>(bHorz ? sz.cy : sz.cx));
  }
  for (int k = 0; k < nCount; ++k) {
    DockInfo& info = arrInfo[k];
    int nLeft = info.rc.left, nRight = info.rc.right;
    DWORD dwMode = info.dwMode | LM_COMMIT;
    if (info.pBar->GetFlags() & xtpFlagStretchedShared) {
      nRight = k + 1 < nCount ? arrInfo[k + 1].rc.left : nLength;
      nLeft = std::min(k > 0 ? static_cast<int>(arrInfo[k - 1].rc.right) : 0, nLeft);
      dwMode |= LM_STRETCH;
    }
    CSize sz = info.pBar->CalcDockingLayout(nRight - nLeft, dwMode, nThickness);
    CRect rcBar = bHorz ? CRect(CPoint(nLeft, nRowOffset), sz) : CRect(CPoint(nRowOffset, nLeft), sz);
    if (hdwp != nullptr && info.pBar->GetSafeHwnd() != nullptr) {
      ::DeferWindowPos(hdwp, info.pBar->GetSafeHwnd(), nullptr, rcBar.left, rcBar.top, rcBar.Width(),
                       rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      info.pBar->Invalidate(FALSE);
    }
    if (CXTPBarDragTracker* pTracker = info.pBar->GetDragTracker()) pTracker->m_uMRUDockID = GetDockSide();
  }
  return nThickness;
}

int CXTPDockBar::AdjustRowWithOverflow(CArray<CXTPToolBar*, CXTPToolBar*>& arrRow, CPoint pt, int nLength,
                                       BOOL bHorz, HDWP hdwp) {
  int nTotal = 0;
  CArray<CXTPToolBar*, CXTPToolBar*> arrSetAside;
  for (int nPasses = 0; nPasses < 4096; ++nPasses) {
    CXTPToolBar* pOverflow = nullptr;
    const int nThickness = AdjustRow(arrRow, pt, nLength, bHorz, hdwp, &pOverflow);
    if (pOverflow == nullptr) {
      nTotal += nThickness;
      if (bHorz) {
        pt.y += nThickness;
      } else {
        pt.x += nThickness;
      }
      if (arrSetAside.GetSize() == 0) break;
      arrRow.Copy(arrSetAside);
      arrSetAside.RemoveAll();
      continue;
    }
    for (INT_PTR i = 0; i < arrRow.GetSize(); ++i) {
      if (arrRow[i] == pOverflow) {
        arrRow.RemoveAt(i);
        break;
      }
    }
    arrSetAside.InsertAt(0, pOverflow);
  }
  return nTotal;
}

CSize CXTPDockBar::CalcDockingLayout(int nLength, DWORD dwMode, HDWP hdwp) {
  UNUSED(dwMode & 0);
  const BOOL bHorz = IsHorizontal();
  CSize sizeResult((dwMode & LM_STRETCH) && bHorz ? 32767 : 0, (dwMode & LM_STRETCH) && !bHorz ? 32767 : 0);
  HDWP hdwpBars = hdwp != nullptr ? ::BeginDeferWindowPos(GetEntryCount()) : nullptr;
  int nOffset = 0;
  CArray<CXTPToolBar*, CXTPToolBar*> arrRow;
  for (int i = 0; i < GetEntryCount(); ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    if (pBar != nullptr) {
      if (pBar->IsVisible() && pBar->GetSafeHwnd() != nullptr) arrRow.Add(pBar);
      continue;
    }
    if (arrRow.GetSize() == 0) continue;
    const CPoint pt = bHorz ? CPoint(0, nOffset) : CPoint(nOffset, 0);
    nOffset += AdjustRowWithOverflow(arrRow, pt, nLength, bHorz, hdwpBars);
    if (bHorz) {
      sizeResult.cy = std::max(sizeResult.cy, static_cast<LONG>(nOffset));
    } else {
      sizeResult.cx = std::max(sizeResult.cx, static_cast<LONG>(nOffset));
    }
    arrRow.RemoveAll();
  }
  if (hdwpBars != nullptr) ::EndDeferWindowPos(hdwpBars);
  return sizeResult;
}

LRESULT CXTPDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!IsWindowVisible()) return 0;
  const XTPBarPosition position = GetDockSide();
  const BOOL bHorz = position == xtpBarTop || position == xtpBarBottom;
  DWORD dwMode;
  if ((m_dwStyle & 0x04) && (m_dwStyle & 0x01)) {
    dwMode = lpLayout->bStretch ? 7 : 6;
  } else {
    dwMode = (bHorz ? LM_HORZDOCK | LM_HORZ : LM_VERTDOCK) | (lpLayout->bStretch ? LM_STRETCH : 0);
  }
  CRect rcFree = lpLayout->rect;
  const int nLength = bHorz ? rcFree.Width() : rcFree.Height();
  CSize size = CalcDockingLayout(nLength, dwMode, lpLayout->hDWP);
  if (bHorz) {
    size.cy = std::max(size.cy, static_cast<LONG>(m_nMinThickness));
  } else {
    size.cx = std::max(size.cx, static_cast<LONG>(m_nMinThickness));
  }
  size.cx = std::min(size.cx, static_cast<LONG>(rcFree.Width()));
  size.cy = std::min(size.cy, static_cast<LONG>(rcFree.Height()));
  CRect rc = rcFree;
  switch (position) {
    case xtpBarTop:
      rc.bottom = rc.top + size.cy;
      lpLayout->rect.top += size.cy;
      break;
    case xtpBarBottom:
      rc.top = rc.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
      break;
    case xtpBarLeft:
      rc.right = rc.left + size.cx;
      lpLayout->rect.left += size.cx;
      break;
    default:
      rc.left = rc.right - size.cx;
      lpLayout->rect.right -= size.cx;
      break;
  }
  if (bHorz) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
  }
  if (lpLayout->hDWP != nullptr)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, rc.left, rc.top, rc.Width(),
                                      rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate(FALSE);
  return 0;
}

// ---- Painting and mouse ------------------------------------------------------------------------------

void CXTPDockBar::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC memDC(dc.GetSafeHdc(), rcClient);
  CXTPBarTheme* pTheme =
      m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : CXTPBarTheme::GetTheme();
  pTheme->FillDockBar(&memDC, this);
}

LRESULT CXTPDockBar::OnPrint(WPARAM wParam, LPARAM lParam) {
  CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  CXTPBarTheme* pTheme =
      m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : CXTPBarTheme::GetTheme();
  pTheme->FillDockBar(pDC, this);
  if (lParam & PRF_CHILDREN) {
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(hWndChild)) continue;
      CRect rc;
      ::GetWindowRect(hWndChild, &rc);
      ScreenToClient(&rc);
      const int nSaved = pDC->SaveDC();
      pDC->SetViewportOrg(rc.left, rc.top);
      ::SendMessage(hWndChild, WM_PRINT, wParam, lParam);
      pDC->RestoreDC(nSaved);
    }
  }
  return 0;
}

BOOL CXTPDockBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPDockBar::OnRButtonDown(UINT, CPoint point) {
  if (m_pCommandBars == nullptr) return;
  ClientToScreen(&point);
  m_pCommandBars->ContextMenu(reinterpret_cast<WPARAM>(this), point.x, point.y);
}
