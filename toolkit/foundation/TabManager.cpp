// The tab manager: items, selection, scrolling, hit testing, keys and the reorder loop.
#include "TabManager.h"

#include <windowsx.h>

#include <vector>

#include "TabPainter.h"
#include "TabShapeSet.h"
#include "TipSettings.h"

namespace {

// The automatic item colours, in the order their numbers run.
const COLORREF kAutomaticColors[8] = {RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159),
                                      RGB(240, 158, 159), RGB(186, 166, 225), RGB(154, 191, 180),
                                      RGB(247, 182, 131), RGB(216, 171, 192)};

}  // namespace

CXTPTabManager::CXTPTabManager() : m_szNormal(70, 18), m_szMin(0, 0), m_szMax(0, 0) {
  m_rcHeaderRect.SetRectEmpty();
  m_rcControl.SetRectEmpty();
  m_rcClient.SetRectEmpty();
  m_arrNavigateButtons.Add(new CXTPTabScrollButtonBack(this));
  m_arrNavigateButtons.Add(new CXTPTabScrollButtonForward(this));
  m_arrNavigateButtons.Add(new CXTPTabScrollButtonClose(this));
  m_arrRows.assign(1, ROW{0, -1});
}

CXTPTabManager::~CXTPTabManager() {
  m_pSelected = nullptr;
  m_pHighlighted = nullptr;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
    m_arrItems[i]->m_pTabManager = nullptr;
    m_arrItems[i]->InternalRelease();
  }
  m_arrItems.RemoveAll();
  for (INT_PTR i = 0; i < m_arrNavigateButtons.GetSize(); ++i) delete m_arrNavigateButtons[i];
  m_arrNavigateButtons.RemoveAll();
}

void CXTPTabManager::Refresh() { Reposition(); }

CString CXTPTabManager::GetItemCaption(const CXTPTabManagerItem* pItem) const { return pItem->m_strCaption; }

DWORD_PTR CXTPTabManager::GetItemData(const CXTPTabManagerItem* pItem) const { return pItem->m_dwData; }

COLORREF CXTPTabManager::GetItemColor(const CXTPTabManagerItem* pItem) const {
  const COLORREF clr = pItem->m_clrItem;
  if (clr >= xtpTabColorAutomatic && clr < xtpTabColorAutomatic + 8)
    return kAutomaticColors[clr - xtpTabColorAutomatic];
  return clr;
}

CString CXTPTabManager::GetItemTooltip(const CXTPTabManagerItem* pItem) const { return pItem->m_strToolTip; }

void CXTPTabManager::OnItemsChanged() {
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) m_arrItems[i]->m_nIndex = static_cast<int>(i);
  Reposition();
}

void CXTPTabManager::SetSelectedItem(CXTPTabManagerItem* pItem) {
  if (pItem == m_pSelected) return;
  m_pSelected = pItem;
  Reposition();
  EnsureVisible(pItem);
}

void CXTPTabManager::OnNavigateItem(CXTPTabManagerItem* pItem) {
  if (pItem != nullptr) OnItemClick(pItem);
}

void CXTPTabManager::GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const {
  if (pszNormal != nullptr) *pszNormal = m_szNormal;
  if (pszMin != nullptr) *pszMin = m_szMin;
  if (pszMax != nullptr) *pszMax = m_szMax;
}

void CXTPTabManager::SetItemMetrics(CSize szNormal, CSize szMin, CSize szMax) {
  m_szNormal = szNormal;
  m_szMin = szMin;
  m_szMax = szMax;
  Reposition();
}

void CXTPTabManager::SetPaintManager(CXTPTabPainter* /*pPaintManager*/) {}

BOOL CXTPTabManager::IsAllowReorder() const { return m_bAllowReorder; }

void CXTPTabManager::SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }

BOOL CXTPTabManager::IsDrawClientFrame() const {
  const CXTPTabPainter* pPainter = GetPaintManager();
  return pPainter != nullptr && pPainter->m_bClientFrame;
}

int CXTPTabManager::GetPosition() const {
  const CXTPTabPainter* pPainter = GetPaintManager();
  return pPainter != nullptr ? pPainter->m_nPosition : xtpTabPositionTop;
}

int CXTPTabManager::GetLayout() const {
  const CXTPTabPainter* pPainter = GetPaintManager();
  return pPainter != nullptr ? pPainter->m_nLayout : xtpTabLayoutAutoSize;
}

BOOL CXTPTabManager::IsVerticalPosition() const {
  const int nPosition = GetPosition();
  return nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight;
}

void CXTPTabManager::OnScroll(bool bForward) {
  SetScrollOffset(bForward ? m_nScrollDelta - m_nScrollStep : m_nScrollDelta + m_nScrollStep);
}

BOOL CXTPTabManager::IsNavigateButtonVisible(CXTPTabScrollButton* pButton) {
  if (pButton->GetKind() == xtpTabNavigateButtonClose)
    return m_pSelected != nullptr && m_pSelected->m_bClosable;
  return TRUE;
}

void CXTPTabManager::OnItemClick(CXTPTabManagerItem* pItem) { SetSelectedItem(pItem); }

void CXTPTabManager::OnNavigateButton(int /*nKind*/) {}

BOOL CXTPTabManager::IsMouseTrackingSuspended() const { return FALSE; }

BOOL CXTPTabManager::HasFocus() const { return FALSE; }

void CXTPTabManager::SetActive(BOOL bActive) {
  if (m_bActive == bActive) return;
  m_bActive = bActive;
  RedrawControl();
}

// ---- items --------------------------------------------------------------------------------------

CXTPTabManagerItem* CXTPTabManager::InsertItem(int nItem, CXTPTabManagerItem* pItem) {
  if (pItem == nullptr) pItem = new CXTPTabManagerItem();
  pItem->m_pTabManager = this;
  if (nItem < 0 || nItem > GetItemCount()) nItem = GetItemCount();
  m_arrItems.InsertAt(nItem, pItem);
  CXTPTabPainter* pPainter = GetPaintManager();
  const int nCounter = pPainter != nullptr ? pPainter->m_nColorCounter++ : 0;
  pItem->m_clrItem = xtpTabColorAutomatic + static_cast<COLORREF>(nCounter % 8);
  OnItemsChanged();
  return pItem;
}

BOOL CXTPTabManager::DeleteItem(int nItem) {
  if (nItem < 0 || nItem >= GetItemCount()) return FALSE;
  CXTPTabManagerItem* pItem = m_arrItems[nItem];
  m_arrItems.RemoveAt(nItem);
  if (m_pHighlighted == pItem) m_pHighlighted = nullptr;
  // The item is released only after the selection has moved on, so that the host compares and hides
  // against a live item and nothing keeps pointing at it.
  if (m_pSelected == pItem) {
    SetCurSel(nItem);
    if (m_pSelected == pItem) m_pSelected = nullptr;
  }
  pItem->m_pTabManager = nullptr;
  pItem->InternalRelease();
  OnItemsChanged();
  return TRUE;
}

void CXTPTabManager::SetCurSel(int nIndex) {
  const int nCount = GetItemCount();
  if (nCount == 0) {
    SetSelectedItem(nullptr);
    return;
  }
  if (nIndex < 0) nIndex = 0;
  if (nIndex > nCount - 1) nIndex = nCount - 1;
  SetSelectedItem(m_arrItems[nIndex]);
}

int CXTPTabManager::GetCurSel() const {
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
    if (m_arrItems[i] == m_pSelected) return static_cast<int>(i);
  }
  return -1;
}

CXTPTabManagerItem* CXTPTabManager::GetItem(int nIndex) const {
  return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[nIndex] : nullptr;
}

CXTPTabManagerItem* CXTPTabManager::FindNextItem(int nIndex, int nStep) const {
  for (nIndex += nStep; nIndex >= 0 && nIndex < GetItemCount(); nIndex += nStep) {
    CXTPTabManagerItem* pItem = m_arrItems[nIndex];
    if (pItem->m_bVisible && pItem->m_bEnabled) return pItem;
  }
  return nullptr;
}

CXTPTabScrollButton* CXTPTabManager::GetNavigateButton(int nKind) const {
  return nKind >= 0 && nKind < m_arrNavigateButtons.GetSize() ? m_arrNavigateButtons[nKind] : nullptr;
}

void CXTPTabManager::SetRowCount(int nRows) {
  if (static_cast<int>(m_arrRows.size()) != nRows) m_arrRows.assign(nRows, ROW{0, -1});
}

// ---- scrolling and layout values -----------------------------------------------------------------

void CXTPTabManager::SetScrollOffset(int nScrollOffset) {
  if (nScrollOffset > 0) nScrollOffset = 0;
  if (nScrollOffset == m_nScrollDelta) return;
  m_nScrollDelta = nScrollOffset;
  Reposition();
}

void CXTPTabManager::EnsureVisible(CXTPTabManagerItem* pItem) {
  CXTPTabPainter* pPainter = GetPaintManager();
  if (pItem != nullptr && pPainter != nullptr) pPainter->EnsureVisible(this, pItem);
}

void CXTPTabManager::SetPosition(int nPosition) {
  CXTPTabPainter* pPainter = GetPaintManager();
  if (pPainter != nullptr) pPainter->m_nPosition = nPosition;
  Reposition();
}

int CXTPTabManager::GetItemsLength() const {
  if (GetLayout() == xtpTabLayoutRotated) {
    const CXTPTabPainter* pPainter = GetPaintManager();
    return GetItemCount() * pPainter->GetShapeSet()->GetButtonHeight(this);
  }
  int nLength = 0;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) nLength += m_arrItems[i]->m_nLength;
  return nLength;
}

// ---- mouse ---------------------------------------------------------------------------------------

CXTPTabManagerItem* CXTPTabManager::HitTest(CPoint point) const {
  if (!m_rcControl.PtInRect(point)) return nullptr;
  if (!m_rcHeaderRect.IsRectEmpty() && !m_rcHeaderRect.PtInRect(point)) return nullptr;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
    CXTPTabManagerItem* pItem = m_arrItems[i];
    if (pItem->m_rcItem.PtInRect(point) && pItem->m_bEnabled && pItem->m_bVisible) return pItem;
  }
  return nullptr;
}

BOOL CXTPTabManager::PerformClick(HWND hWnd, CPoint point, BOOL bButtonsOnly) {
  for (INT_PTR i = 0; i < m_arrNavigateButtons.GetSize(); ++i) {
    CXTPTabScrollButton* pButton = m_arrNavigateButtons[i];
    if (pButton->IsVisible() && pButton->GetRect().PtInRect(point)) {
      pButton->TrackClick(hWnd, point);
      return TRUE;
    }
  }
  if (bButtonsOnly) return FALSE;
  CXTPTabManagerItem* pItem = HitTest(point);
  if (pItem == nullptr) return FALSE;
  if (IsAllowReorder())
    ReorderDrag(hWnd, point, pItem);
  else
    OnItemClick(pItem);
  return TRUE;
}

void CXTPTabManager::TrackMouse(HWND hWnd, CPoint point) {
  if (!::IsWindow(hWnd) || IsMouseTrackingSuspended()) return;
  BOOL bTrackLeave = FALSE;
  const CXTPTabPainter* pPainter = GetPaintManager();
  if (pPainter != nullptr && pPainter->m_bHotTracking) {
    CXTPTabManagerItem* pHot = HitTest(point);
    if (pHot != m_pHighlighted) {
      m_pHighlighted = pHot;
      RedrawControl();
      bTrackLeave = pHot != nullptr;
    }
  }
  for (INT_PTR i = 0; i < m_arrNavigateButtons.GetSize(); ++i) {
    CXTPTabScrollButton* pButton = m_arrNavigateButtons[i];
    const BOOL bWasHot = pButton->IsHighlighted();
    pButton->PerformMouseMove(hWnd, point);
    // A button that lights up needs the leave notice too, or it stays lit when the mouse goes.
    if (!bWasHot && pButton->IsHighlighted()) bTrackLeave = TRUE;
  }
  if (bTrackLeave) {
    TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
    ::TrackMouseEvent(&tme);
  }
}

INT_PTR CXTPTabManager::FillToolTip(CWnd* pWnd, CPoint point, TOOLINFO* pToolInfo) {
  CXTPTabManagerItem* pItem = HitTest(point);
  const CXTPTabPainter* pPainter = GetPaintManager();
  if (pItem == nullptr || pPainter == nullptr || pPainter->m_nToolTipMode == 0) return -1;
  if (pPainter->m_nToolTipMode == 2 && pItem->m_nLength >= pItem->m_nIdealLength) return -1;
  const CString strTip = GetItemTooltip(pItem);
  if (strTip.IsEmpty()) return -1;
  CXTPTipSettings::FillToolInfo(pToolInfo, pWnd->GetSafeHwnd(), pItem->m_rcItem,
                                static_cast<UINT_PTR>(pItem->m_nIndex), strTip, GetItemCaption(pItem),
                                strTip);
  return pItem->m_nIndex;
}

void CXTPTabManager::ReorderDrag(HWND hWnd, CPoint point, CXTPTabManagerItem* pItem) {
  // Both items are held for the loop: a dispatched message may delete them from the list.
  CXTPTabManagerItem* pSelected = m_pSelected;
  if (pSelected != nullptr) pSelected->InternalAddRef();
  pItem->InternalAddRef();

  m_pSelected = pItem;
  const CXTPTabPainter* pPainter = GetPaintManager();
  if (pPainter != nullptr && pPainter->m_bHotTracking) m_pHighlighted = pItem;
  Reposition();
  std::vector<CRect> arrSlots;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) arrSlots.push_back(m_arrItems[i]->m_rcItem);

  ::SetCapture(hWnd);
  CPoint ptLast = point;
  BOOL bQuit = FALSE;
  int nQuitCode = 0;
  // A dispatched message may destroy the window, and with it this manager: the loop then ends and
  // only lets go of the items it holds.
  BOOL bWindowGone = FALSE;
  while (::GetCapture() == hWnd) {
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      bQuit = msg.message == WM_QUIT;
      nQuitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (msg.message == WM_CANCELMODE || msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) break;
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) break;
      continue;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWnd) {
      ptLast = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      const int nCurrent = pItem->m_pTabManager == this ? pItem->m_nIndex : -1;
      if (nCurrent < 0) break;
      for (int i = 0; i < static_cast<int>(arrSlots.size()) && i < GetItemCount(); ++i) {
        if (i == nCurrent || !arrSlots[i].PtInRect(ptLast)) continue;
        m_arrItems[nCurrent] = m_arrItems[i];
        m_arrItems[i] = pItem;
        OnItemsChanged();
        break;
      }
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    if (!::IsWindow(hWnd)) {
      bWindowGone = TRUE;
      break;
    }
  }
  if (bWindowGone) {
    if (pSelected != nullptr) pSelected->InternalRelease();
    pItem->InternalRelease();
    return;
  }
  if (::GetCapture() == hWnd) ::ReleaseCapture();

  TrackMouse(hWnd, ptLast);
  m_pSelected = pSelected != nullptr && pSelected->m_pTabManager == this ? pSelected : nullptr;
  if (pItem->m_pTabManager == this) OnItemClick(pItem);
  if (pSelected != nullptr) pSelected->InternalRelease();
  pItem->InternalRelease();
  // The application's quit request was taken off the queue here; it must still reach its loop.
  if (bQuit) ::PostQuitMessage(nQuitCode);
}

// ---- keys ----------------------------------------------------------------------------------------

BOOL CXTPTabManager::OnKeyDown(HWND hWnd, UINT nChar) {
  const int nCount = GetItemCount();
  if (nCount == 0) return FALSE;
  if (hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
    if (nChar == VK_LEFT)
      nChar = VK_RIGHT;
    else if (nChar == VK_RIGHT)
      nChar = VK_LEFT;
  }
  const BOOL bVertical = IsVerticalPosition();
  const int nSelected = GetCurSel();
  switch (nChar) {
    case VK_HOME:
      OnNavigateItem(FindNextItem(-1, +1));
      return TRUE;
    case VK_END:
      OnNavigateItem(FindNextItem(nCount, -1));
      return TRUE;
    case VK_LEFT:
    case VK_UP:
      if ((nChar == VK_UP) == bVertical && nSelected > 0) OnNavigateItem(FindNextItem(nSelected, -1));
      return TRUE;
    case VK_RIGHT:
    case VK_DOWN:
      if ((nChar == VK_DOWN) == bVertical && nSelected < nCount - 1)
        OnNavigateItem(FindNextItem(nSelected, +1));
      return TRUE;
    default:
      return FALSE;
  }
}
