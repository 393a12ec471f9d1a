// The tabbed workspace over an MDI client: mapping the children to tab groups, laying the groups out,
// painting the strips and splitters, the workspace commands and the splitter drag.
#include "TabClientWnd.h"

#include "BufferDC.h"
#include "SplitTracker.h"
#include "TabShapeSet.h"

#include <ToolkitResource.h>
#include <windowsx.h>
// windowsx.h names message crackers after CWnd members.
#undef SubclassWindow

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CXTPTabClientWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTPTabClientWnd, CWnd)
ON_COMMAND_RANGE(XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_NEWVERTICAL, OnWorkspaceCommand)
ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_NEWVERTICAL,
                           OnUpdateWorkspaceCommand)
END_MESSAGE_MAP()

namespace {

// The frame parts a child loses while it is a tab: caption, sizing border, minimize and maximize boxes.
constexpr DWORD kChildFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

// ---- Groups ------------------------------------------------------------------------------------------

void CXTPTabClientWnd::CGroup::Reposition() {
  if (m_pClient->GetSafeHwnd() == nullptr || m_pClient->m_bRefreshing || m_rcGroup.IsRectEmpty()) return;
  CClientDC dc(m_pClient);
  GetPaintManager()->RepositionTabControl(this, &dc, m_rcGroup);
  RedrawControl();
}

void CXTPTabClientWnd::CGroup::RedrawControl() {
  if (m_pClient->GetSafeHwnd() != nullptr) m_pClient->InvalidateRect(m_rcGroup, FALSE);
}

BOOL CXTPTabClientWnd::CGroup::DrawItemIcon(CDC*, CPoint, CXTPTabManagerItem*, BOOL, CSize) { return FALSE; }

void CXTPTabClientWnd::CGroup::OnItemClick(CXTPTabManagerItem* pItem) {
  if (pItem == nullptr || m_pClient->m_pFrame == nullptr) return;
  HWND hWnd = pItem->GetHandle();
  if (hWnd != nullptr && ::IsWindow(hWnd)) m_pClient->m_pFrame->MDIActivate(CWnd::FromHandle(hWnd));
  SetSelectedItem(pItem);
}

// ---- Attaching ---------------------------------------------------------------------------------------

CXTPTabClientWnd::CXTPTabClientWnd() {
  m_pPaintManager = new CXTPTabPainter();
  m_hCursorHoriz = ::LoadCursor(nullptr, IDC_SIZENS);
  m_hCursorVert = ::LoadCursor(nullptr, IDC_SIZEWE);
}

CXTPTabClientWnd::~CXTPTabClientWnd() {
  if (m_hWnd != nullptr) Detach();
  for (INT_PTR i = 0; i < m_arrGroups.GetSize(); ++i) delete m_arrGroups[i];
  m_arrGroups.RemoveAll();
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  m_pPaintManager = nullptr;
}

BOOL CXTPTabClientWnd::Attach(CMDIFrameWnd* pFrame) {
  if (pFrame == nullptr || m_hWnd != nullptr || pFrame->m_hWndMDIClient == nullptr) return FALSE;
  if (!SubclassWindow(pFrame->m_hWndMDIClient)) return FALSE;
  m_pFrame = pFrame;
  m_bEnabled = TRUE;
  ModifyStyle(0, WS_CLIPCHILDREN);
  if (m_bShowTabs) {
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
      if (::GetWindow(h, GW_OWNER) == nullptr) StripChildFrame(h);
    }
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
  Refresh(TRUE);
  return TRUE;
}

void CXTPTabClientWnd::Detach() {
  if (m_hWnd == nullptr) return;
  const BOOL bWasShown = m_bShowTabs;
  m_bShowTabs = FALSE;
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (!bWasShown || ::GetWindow(h, GW_OWNER) != nullptr) continue;
    ::SetWindowLongPtr(h, GWL_STYLE, ::GetWindowLongPtr(h, GWL_STYLE) | kChildFrameStyles);
    ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  for (INT_PTR i = 0; i < m_arrGroups.GetSize(); ++i) delete m_arrGroups[i];
  m_arrGroups.RemoveAll();
  m_pActiveGroup = nullptr;
  m_bEnabled = FALSE;
  const HWND hWnd = UnsubclassWindow();
  ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ::InvalidateRect(hWnd, nullptr, TRUE);
  m_bShowTabs = bWasShown;
  m_pFrame = nullptr;
}

void CXTPTabClientWnd::ShowWorkspace(BOOL bShow) {
  if (m_bShowTabs == bShow) return;
  if (m_hWnd == nullptr) {
    m_bShowTabs = bShow;
    return;
  }
  CMDIFrameWnd* pFrame = m_pFrame;
  Detach();
  m_bShowTabs = bShow;
  if (bShow) Attach(pFrame);
}

void CXTPTabClientWnd::StripChildFrame(HWND hWndChild) const {
  ::SetWindowLongPtr(hWndChild, GWL_STYLE,
                     ::GetWindowLongPtr(hWndChild, GWL_STYLE) & ~static_cast<LONG_PTR>(kChildFrameStyles));
  ::SetWindowLongPtr(hWndChild, GWL_EXSTYLE,
                     ::GetWindowLongPtr(hWndChild, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  ::SetWindowPos(hWndChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- Rebuilding --------------------------------------------------------------------------------------

void CXTPTabClientWnd::Refresh(BOOL bRecalcFrame) {
  if (!m_bEnabled || m_bRefreshing) return;
  UpdateContents();
  m_bRefreshing = TRUE;
  if (GetGroupCount() > 0) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    for (int i = 0; i < GetGroupCount(); ++i) m_arrGroups[i]->TrackMouse(m_hWnd, pt);
  } else {
    Invalidate(FALSE);
  }
  if (bRecalcFrame) {
    if (m_bShowTabs) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER);
    if (m_pFrame != nullptr) m_pFrame->RecalcLayout();
  }
  m_bRefreshing = FALSE;
}

HWND CXTPTabClientWnd::GetActiveChild() const {
  return m_hWnd != nullptr ? reinterpret_cast<HWND>(::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

CXTPTabClientWnd::CGroup* CXTPTabClientWnd::GetGroup(int nGroup) const {
  return nGroup >= 0 && nGroup < GetGroupCount() ? m_arrGroups[nGroup] : nullptr;
}

CXTPTabClientWnd::CGroup* CXTPTabClientWnd::GetActiveGroup() const { return m_pActiveGroup; }

CXTPTabManagerItem* CXTPTabClientWnd::FindTabOfWindow(HWND hWnd) const {
  if (hWnd == nullptr) return nullptr;
  for (int i = 0; i < GetGroupCount(); ++i) {
    CGroup* pGroup = m_arrGroups[i];
    for (int j = 0; j < pGroup->GetItemCount(); ++j) {
      if (pGroup->GetItem(j)->GetHandle() == hWnd) return pGroup->GetItem(j);
    }
  }
  return nullptr;
}

CXTPTabClientWnd::CGroup* CXTPTabClientWnd::FindGroupOfItem(CXTPTabManagerItem* pItem, int* pnIndex) const {
  for (int i = 0; pItem != nullptr && i < GetGroupCount(); ++i) {
    if (pItem->GetTabManager() == m_arrGroups[i]) {
      if (pnIndex != nullptr) *pnIndex = i;
      return m_arrGroups[i];
    }
  }
  if (pnIndex != nullptr) *pnIndex = -1;
  return nullptr;
}

void CXTPTabClientWnd::UpdateContents() {
  if (m_hWnd == nullptr || !m_bShowTabs) return;
  const BOOL bWasRefreshing = m_bRefreshing;
  m_bRefreshing = TRUE;
  // The children from the bottom of the z-order up, which is the order they were made in.
  std::vector<HWND> arrChildren;
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (::GetWindow(h, GW_OWNER) == nullptr) arrChildren.insert(arrChildren.begin(), h);
  }
  for (int i = 0; i < GetGroupCount(); ++i) {
    CGroup* pGroup = m_arrGroups[i];
    for (int j = pGroup->GetItemCount() - 1; j >= 0; --j) {
      HWND h = pGroup->GetItem(j)->GetHandle();
      if (std::find(arrChildren.begin(), arrChildren.end(), h) == arrChildren.end()) pGroup->DeleteItem(j);
    }
  }
  const HWND hActive = GetActiveChild();
  CGroup* pTarget = FindGroupOfItem(FindTabOfWindow(hActive));
  if (pTarget == nullptr) pTarget = m_pActiveGroup;
  for (HWND h : arrChildren) {
    CXTPTabManagerItem* pItem = FindTabOfWindow(h);
    if (pItem == nullptr) {
      if (pTarget == nullptr) {
        if (GetGroupCount() == 0) {
          CGroup* pGroup = new CGroup(this);
          CRect rc;
          GetClientRect(&rc);
          pGroup->m_dSize = m_bHorizontalGroups ? rc.Height() : rc.Width();
          m_arrGroups.Add(pGroup);
        }
        pTarget = m_arrGroups[0];
      }
      pItem = pTarget->InsertItem(-1, nullptr);
      pItem->SetHandle(h);
      m_bItemsChanged = TRUE;
    }
    CString strTitle;
    const int nLength = ::GetWindowTextLength(h);
    ::GetWindowText(h, strTitle.GetBuffer(nLength + 1), nLength + 1);
    strTitle.ReleaseBuffer();
    pItem->SetCaption(strTitle);
  }
  // A group that lost its last tab goes; its room goes to the others.
  for (int i = GetGroupCount() - 1; i >= 0; --i) {
    if (m_arrGroups[i]->GetItemCount() > 0) continue;
    if (m_pActiveGroup == m_arrGroups[i]) m_pActiveGroup = nullptr;
    delete m_arrGroups[i];
    m_arrGroups.RemoveAt(i);
    m_bGroupsChanged = TRUE;
  }
  CXTPTabManagerItem* pActiveItem = FindTabOfWindow(hActive);
  m_pActiveGroup = FindGroupOfItem(pActiveItem);
  if (m_pActiveGroup == nullptr && GetGroupCount() > 0) m_pActiveGroup = m_arrGroups[0];
  for (int i = 0; i < GetGroupCount(); ++i) {
    CGroup* pGroup = m_arrGroups[i];
    if (pGroup == m_pActiveGroup && pActiveItem != nullptr) pGroup->SetSelectedItem(pActiveItem);
    if (pGroup->GetSelectedItem() == nullptr) pGroup->SetSelectedItem(pGroup->GetItem(0));
    pGroup->SetActive(pGroup == m_pActiveGroup);
  }
  RepositionGroups();
  m_bRefreshing = bWasRefreshing;
}

void CXTPTabClientWnd::RepositionGroups() {
  CRect rcClient;
  GetClientRect(&rcClient);
  const int nCount = GetGroupCount();
  if (nCount == 0) return;
  const BOOL bHorz = m_bHorizontalGroups;
  const int nStart = bHorz ? rcClient.top : rcClient.left;
  const int nEnd = bHorz ? rcClient.bottom : rcClient.right;
  const int nAvail = std::max(0, nEnd - nStart - m_nSplitterSize * (nCount - 1));
  double dSum = 0;
  for (int i = 0; i < nCount; ++i) dSum += std::max(0.0, m_arrGroups[i]->m_dSize);
  int nPos = nStart;
  CClientDC dc(this);
  for (int i = 0; i < nCount; ++i) {
    CGroup* pGroup = m_arrGroups[i];
    int nExtent;
    if (i == nCount - 1) {
      nExtent = std::max(0, nEnd - nPos);
    } else if (dSum > 0) {
      nExtent = static_cast<int>(nAvail * std::max(0.0, pGroup->m_dSize) / dSum);
    } else {
      nExtent = nAvail / nCount;
    }
    const int nSplitter = i == nCount - 1 ? 0 : m_nSplitterSize;
    if (bHorz) {
      pGroup->m_rcGroup.SetRect(rcClient.left, nPos, rcClient.right, nPos + nExtent);
      pGroup->m_rcSplitter.SetRect(rcClient.left, nPos + nExtent, rcClient.right, nPos + nExtent + nSplitter);
    } else {
      pGroup->m_rcGroup.SetRect(nPos, rcClient.top, nPos + nExtent, rcClient.bottom);
      pGroup->m_rcSplitter.SetRect(nPos + nExtent, rcClient.top, nPos + nExtent + nSplitter, rcClient.bottom);
    }
    nPos += nExtent + nSplitter;
    // A group squeezed to nothing has no strip to lay out or draw.
    if (pGroup->m_rcGroup.IsRectEmpty()) continue;
    m_pPaintManager->RepositionTabControl(pGroup, &dc, pGroup->m_rcGroup);
    CRect rcPage(pGroup->m_rcGroup);
    m_pPaintManager->AdjustClientRect(pGroup, rcPage);
    for (int j = 0; j < pGroup->GetItemCount(); ++j) {
      CXTPTabManagerItem* pItem = pGroup->GetItem(j);
      if (pItem == pGroup->GetSelectedItem() || pItem->GetHandle() == nullptr) continue;
      ::SetWindowPos(pItem->GetHandle(), nullptr, rcPage.left, rcPage.top, rcPage.Width(), rcPage.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The tabs of a group share one page; the selected one lies on top of the others.
    if (CXTPTabManagerItem* pSelected = pGroup->GetSelectedItem()) {
      ::SetWindowPos(pSelected->GetHandle(), HWND_TOP, rcPage.left, rcPage.top, rcPage.Width(),
                     rcPage.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
  }
  Invalidate(FALSE);
}

// ---- Workspace actions -------------------------------------------------------------------------------

void CXTPTabClientWnd::ActivateNeighbour(CXTPTabManagerItem* pItem) {
  CGroup* pGroup = FindGroupOfItem(pItem);
  if (pGroup == nullptr || m_pFrame == nullptr) return;
  const int nIndex = pItem->GetIndex();
  CXTPTabManagerItem* pNext = pGroup->GetItem(nIndex + 1);
  if (pNext == nullptr) pNext = pGroup->GetItem(nIndex - 1);
  if (pNext == nullptr || pNext->GetHandle() == nullptr) return;
  m_pFrame->MDIActivate(CWnd::FromHandle(pNext->GetHandle()));
}

BOOL CXTPTabClientWnd::IsWorkspaceActionEnabled(UINT nID) const {
  int nGroup = -1;
  CGroup* pGroup = FindGroupOfItem(FindTabOfWindow(GetActiveChild()), &nGroup);
  if (pGroup == nullptr) return FALSE;
  const int nCount = GetGroupCount();
  switch (nID) {
    case XTP_ID_WORKSPACE_MOVEPREVIOUS:
      return nGroup > 0;
    case XTP_ID_WORKSPACE_MOVENEXT:
      return nGroup < nCount - 1;
    case XTP_ID_WORKSPACE_NEWHORIZONTAL:
      return pGroup->GetItemCount() > 1 && (nCount == 1 || m_bHorizontalGroups);
    case XTP_ID_WORKSPACE_NEWVERTICAL:
      return pGroup->GetItemCount() > 1 && (nCount == 1 || !m_bHorizontalGroups);
    default:
      return FALSE;
  }
}

void CXTPTabClientWnd::MoveItem(CXTPTabManagerItem* pItem, CGroup* pTarget) {
  CGroup* pSource = FindGroupOfItem(pItem);
  if (pSource == nullptr || pTarget == nullptr || pSource == pTarget) return;
  // The item object travels with its reference; the target's insert would give it a new colour.
  const COLORREF clrItem = pItem->GetColor();
  pItem->InternalAddRef();
  pSource->DeleteItem(pItem->GetIndex());
  pTarget->InsertItem(-1, pItem);
  pItem->SetColor(clrItem);
  pTarget->SetSelectedItem(pItem);
  m_pActiveGroup = pTarget;
}

void CXTPTabClientWnd::DoWorkspaceAction(UINT nID) {
  if (!IsWorkspaceActionEnabled(nID)) return;
  int nGroup = -1;
  CXTPTabManagerItem* pItem = FindTabOfWindow(GetActiveChild());
  CGroup* pGroup = FindGroupOfItem(pItem, &nGroup);
  switch (nID) {
    case XTP_ID_WORKSPACE_MOVEPREVIOUS:
      MoveItem(pItem, m_arrGroups[nGroup - 1]);
      break;
    case XTP_ID_WORKSPACE_MOVENEXT:
      MoveItem(pItem, m_arrGroups[nGroup + 1]);
      break;
    default: {
      const BOOL bHorz = nID == XTP_ID_WORKSPACE_NEWHORIZONTAL;
      // A single group measures itself along the direction the new split takes.
      if (GetGroupCount() == 1)
        pGroup->m_dSize = bHorz ? pGroup->m_rcGroup.Height() : pGroup->m_rcGroup.Width();
      CGroup* pNew = new CGroup(this);
      pNew->m_dSize = std::max(0.0, (pGroup->m_dSize - m_nSplitterSize) / 2);
      pGroup->m_dSize = std::max(0.0, pGroup->m_dSize - pNew->m_dSize - m_nSplitterSize);
      m_arrGroups.InsertAt(nGroup + 1, pNew);
      m_bHorizontalGroups = bHorz;
      MoveItem(pItem, pNew);
      break;
    }
  }
  m_bItemsChanged = TRUE;
  UpdateContents();
}

void CXTPTabClientWnd::OnWorkspaceCommand(UINT nID) { DoWorkspaceAction(nID); }

void CXTPTabClientWnd::OnUpdateWorkspaceCommand(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsWorkspaceActionEnabled(pCmdUI->m_nID));
}

// ---- Splitters ---------------------------------------------------------------------------------------

void CXTPTabClientWnd::SplitSizes(double& dSizeA, double& dSizeB, int nSplitterSize, int nPosition,
                                  int nUnionStart, int nUnionLength, BOOL bRightToLeft) {
  const double dTotal = dSizeA + dSizeB + nSplitterSize;
  if (nUnionLength <= 0) {
    dSizeA = 0;
  } else {
    const int nOffset = bRightToLeft ? nUnionLength - (nPosition - nUnionStart) : nPosition - nUnionStart;
    dSizeA = dTotal * nOffset / nUnionLength;
  }
  dSizeA = std::min(std::max(0.0, dSizeA), std::max(0.0, dTotal - nSplitterSize));
  dSizeB = std::max(0.0, dTotal - dSizeA - nSplitterSize);
}

void CXTPTabClientWnd::ApplySplitterPosition(int nGroup, int nPosition) {
  CGroup* pA = m_arrGroups[nGroup];
  CGroup* pB = m_arrGroups[nGroup + 1];
  CRect rcUnion;
  rcUnion.UnionRect(pA->m_rcGroup, pB->m_rcGroup);
  const BOOL bRTL = !m_bHorizontalGroups && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  SplitSizes(pA->m_dSize, pB->m_dSize, m_nSplitterSize, nPosition,
             m_bHorizontalGroups ? rcUnion.top : rcUnion.left,
             m_bHorizontalGroups ? rcUnion.Height() : rcUnion.Width(), bRTL);
  const BOOL bWasRefreshing = m_bRefreshing;
  m_bRefreshing = TRUE;
  RepositionGroups();
  m_bRefreshing = bWasRefreshing;
}

void CXTPTabClientWnd::TrackGroupSplitter(int nGroup, CPoint point) {
  if (nGroup < 0 || nGroup >= GetGroupCount() - 1) return;
  const BOOL bHorz = m_bHorizontalGroups;
  for (int i = 0; i < GetGroupCount(); ++i) {
    const CRect& rc = m_arrGroups[i]->m_rcGroup;
    m_arrGroups[i]->m_dSize = bHorz ? rc.Height() : rc.Width();
  }
  CRect rcUnion;
  rcUnion.UnionRect(m_arrGroups[nGroup]->m_rcGroup, m_arrGroups[nGroup + 1]->m_rcGroup);
  if (!m_bLiveTracking) {
    CRect rcTracker = m_arrGroups[nGroup]->m_rcSplitter;
    CRect rcAvail = rcUnion;
    if (bHorz) {
      rcAvail.bottom -= m_nSplitterSize;
    } else {
      rcAvail.right -= m_nSplitterSize;
    }
    ClientToScreen(&rcTracker);
    ClientToScreen(&rcAvail);
    CPoint pt = point;
    ClientToScreen(&pt);
    CXTPSplitTracker tracker;
    if (tracker.Track(this, rcAvail, rcTracker, pt, !bHorz)) {
      ScreenToClient(&rcTracker);
      ApplySplitterPosition(nGroup, bHorz ? rcTracker.top : rcTracker.left);
    }
    return;
  }
  // The loop holds the window by its handle: a dispatched message may destroy it, and with it this
  // object, and the loop then ends without touching either.
  const HWND hWnd = m_hWnd;
  ::SetCapture(hWnd);
  const int nOffset = bHorz ? m_arrGroups[nGroup]->m_rcSplitter.top - point.y
                            : m_arrGroups[nGroup]->m_rcSplitter.left - point.x;
  int nLast = bHorz ? point.y : point.x;
  while (::GetCapture() == hWnd) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    if (!::IsWindow(hWnd)) return;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt;
      ::GetCursorPos(&pt);
      ScreenToClient(&pt);
      pt.x = std::max(rcUnion.left, std::min(pt.x, rcUnion.right));
      pt.y = std::max(rcUnion.top, std::min(pt.y, rcUnion.bottom));
      const int nPos = bHorz ? pt.y : pt.x;
      if (nPos != nLast) {
        nLast = nPos;
        ApplySplitterPosition(nGroup, nPos + nOffset);
        UpdateWindow();
      }
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    if (!::IsWindow(hWnd)) return;
  }
  if (::GetCapture() == hWnd) ::ReleaseCapture();
}

int CXTPTabClientWnd::HitTestSplitter(CPoint point) const {
  for (int i = 0; i < GetGroupCount() - 1; ++i) {
    if (m_arrGroups[i]->m_rcSplitter.PtInRect(point)) return i;
  }
  return -1;
}

CXTPTabClientWnd::CGroup* CXTPTabClientWnd::HitTestGroup(CPoint point) const {
  for (int i = 0; i < GetGroupCount(); ++i) {
    if (m_arrGroups[i]->m_rcGroup.PtInRect(point)) return m_arrGroups[i];
  }
  return nullptr;
}

// ---- Painting ----------------------------------------------------------------------------------------

void CXTPTabClientWnd::PaintWorkspace(CDC* pDC) {
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC dc(pDC->GetSafeHdc(), rcClient);
  dc.FillSolidRect(rcClient, ::GetSysColor(COLOR_APPWORKSPACE));
  for (int i = GetGroupCount() - 1; i >= 0; --i) {
    if (!m_arrGroups[i]->m_rcGroup.IsRectEmpty())
      m_pPaintManager->DrawTabControl(m_arrGroups[i], &dc, m_arrGroups[i]->m_rcGroup);
  }
  for (int i = 0; i < GetGroupCount(); ++i) {
    CRect rc = m_arrGroups[i]->m_rcSplitter;
    if (!rc.IsRectEmpty())
      m_pPaintManager->GetShapeSet()->DrawClientFrame(&dc, rc, m_bHorizontalGroups ? 3 : 2);
  }
}

void CXTPTabClientWnd::OnClientDraw(CDC*) {}

// ---- Messages ----------------------------------------------------------------------------------------

LRESULT CXTPTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MDIACTIVATE) {
    if (m_bShowTabs || m_bLockActivate) {
      const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
      OnMDIActivated(lResult);
      UpdateContents();
      return lResult;
    }
    SetRedraw(FALSE);
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    SetRedraw(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    UpdateContents();
    return lResult;
  }
  if (message == WM_MDICREATE) {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    if (m_bShowTabs && lResult != 0) StripChildFrame(reinterpret_cast<HWND>(lResult));
    UpdateContents();
    return lResult;
  }
  if (message == WM_MDIDESTROY) {
    if (m_bShowTabs && !m_bLockActivate) {
      const HWND hClosing = reinterpret_cast<HWND>(wParam);
      if (hClosing == GetActiveChild()) ActivateNeighbour(FindTabOfWindow(hClosing));
    }
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    UpdateContents();
    return lResult;
  }
  if (message == WM_SIZE) {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    m_bGroupsChanged = TRUE;
    UpdateContents();
    return lResult;
  }
  if (message == WM_IDLEUPDATECMDUI) {
    m_bItemsChanged = FALSE;
    m_bGroupsChanged = FALSE;
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    UpdateContents();
    return lResult;
  }
  if (!m_bShowTabs) {
    if (message == WM_PAINT && GetGroupCount() == 0) {
      const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
      CClientDC dc(this);
      OnClientDraw(&dc);
      return lResult;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      PaintWorkspace(&dc);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_NCCALCSIZE: {
      const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
      CRect rc(*reinterpret_cast<RECT*>(lParam));
      m_pPaintManager->GetShapeSet()->DrawClientFrame(nullptr, rc, 1);
      *reinterpret_cast<RECT*>(lParam) = rc;
      return lResult;
    }
    case WM_NCPAINT: {
      CWindowDC dc(this);
      CRect rc;
      GetWindowRect(&rc);
      rc.OffsetRect(-rc.TopLeft());
      m_pPaintManager->GetShapeSet()->DrawClientFrame(&dc, rc, 0);
      return 0;
    }
    case WM_NCACTIVATE:
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      const int nSplitter = HitTestSplitter(point);
      if (nSplitter != -1) {
        TrackGroupSplitter(nSplitter, point);
        return 0;
      }
      CGroup* pGroup = HitTestGroup(point);
      if (pGroup == nullptr) break;
      if (pGroup != m_pActiveGroup && pGroup->GetSelectedItem() != nullptr && m_pFrame != nullptr) {
        m_pFrame->MDIActivate(CWnd::FromHandle(pGroup->GetSelectedItem()->GetHandle()));
      }
      pGroup->PerformClick(m_hWnd, point);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      for (int i = 0; i < GetGroupCount(); ++i) m_arrGroups[i]->TrackMouse(m_hWnd, point);
      break;
    }
    case WM_MOUSELEAVE:
      for (int i = 0; i < GetGroupCount(); ++i) m_arrGroups[i]->TrackMouse(m_hWnd, CPoint(-1, -1));
      return 0;
    case WM_SYSCOLORCHANGE:
      m_pPaintManager->RefreshMetrics();
      Refresh(TRUE);
      break;
    case WM_SETCURSOR: {
      CPoint pt;
      ::GetCursorPos(&pt);
      ScreenToClient(&pt);
      if (HitTestSplitter(pt) != -1) {
        ::SetCursor(m_bHorizontalGroups ? m_hCursorHoriz : m_hCursorVert);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
