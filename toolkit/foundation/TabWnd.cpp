// The tab window: pages shown and hidden with the selection, painting through the painter, mouse,
// keys, focus cues, icons from the image manager, tool tips and the drop target.
#include "TabWnd.h"

#include "BufferDC.h"
#include "ColorTable.h"
#include "ImageManager.h"
#include "TipSettings.h"

IMPLEMENT_DYNAMIC(CXTPTabWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTPTabWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_SYSCOLORCHANGE()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CXTPTabWnd::CXTPTabWnd() {
  m_pPaintManager = new CXTPTabPainter();
  m_pPaintManager->SetPlainColors(TRUE);
  // "&" in captions marks a mnemonic here.
  m_pPaintManager->m_bNoPrefix = FALSE;
  m_pImageManager = new CXTPImageManager();
  m_pDropTarget = new CTabDropTarget(this);
  m_pToolTipContext = new CXTPTipSettings();
  m_bAllowReorder = FALSE;
}

CXTPTabWnd::~CXTPTabWnd() {
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  m_pPaintManager = nullptr;
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  m_pImageManager = nullptr;
  if (m_pToolTipContext != nullptr) m_pToolTipContext->InternalRelease();
  m_pToolTipContext = nullptr;
  delete m_pDropTarget;
  m_pDropTarget = nullptr;
}

BOOL CXTPTabWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  LPCTSTR lpszClass = nullptr;
  try {
    lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
  } catch (CResourceException* e) {
    e->Delete();
    return FALSE;
  }
  if (!CWnd::Create(lpszClass, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;
  // Without OLE on this thread there is no drop target; the window works without one.
  m_pDropTarget->Register(this);
  return TRUE;
}

CXTPTabManagerItem* CXTPTabWnd::InsertItem(int nItem, LPCTSTR lpszItem, HWND hwndChild, int nImage) {
  CXTPTabManagerItem* pItem = CXTPTabManager::InsertItem(nItem, nullptr);
  pItem->SetCaption(lpszItem);
  pItem->SetHandle(hwndChild);
  pItem->SetImageIndex(nImage);
  Reposition();
  if (hwndChild != nullptr) ::ShowWindow(hwndChild, SW_HIDE);
  if (nItem == 0) SetCurSel(0);
  return pItem;
}

void CXTPTabWnd::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  Reposition();
}

LRESULT CXTPTabWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pToolTipContext != nullptr) m_pToolTipContext->RelayEvent(this, message, wParam, lParam);
  return CWnd::WindowProc(message, wParam, lParam);
}

INT_PTR CXTPTabWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  return const_cast<CXTPTabWnd*>(this)->FillToolTip(const_cast<CXTPTabWnd*>(this), point, pTI);
}

// ---- the manager's operations ---------------------------------------------------------------------

void CXTPTabWnd::Reposition() {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || m_pPaintManager == nullptr) return;
  CRect rcClient;
  CWnd::GetClientRect(&rcClient);
  {
    CClientDC dc(this);
    m_pPaintManager->RepositionTabControl(this, &dc, rcClient);
  }
  if (m_hWndClient != nullptr && ::IsWindow(m_hWndClient)) {
    CRect rcPage(rcClient);
    m_pPaintManager->AdjustClientRect(this, rcPage);
    ::MoveWindow(m_hWndClient, rcPage.left, rcPage.top, rcPage.Width(), rcPage.Height(), TRUE);
  }
  Invalidate(FALSE);
}

void CXTPTabWnd::SetSelectedItem(CXTPTabManagerItem* pItem) {
  if (pItem != m_pSelected) {
    if (m_hWndClient != nullptr && ::IsWindow(m_hWndClient)) ::ShowWindow(m_hWndClient, SW_HIDE);
    m_hWndClient = pItem != nullptr ? pItem->GetHandle() : nullptr;
    if (m_hWndClient != nullptr && ::IsWindow(m_hWndClient)) ::ShowWindow(m_hWndClient, SW_SHOW);
  }
  CXTPTabManager::SetSelectedItem(pItem);

  if (m_hWnd == nullptr) return;
  CWnd* pOwner = GetOwner();
  if (pOwner == nullptr || !::IsWindow(pOwner->GetSafeHwnd())) return;
  NMHDR nmhdr = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(TCN_SELCHANGE)};
  pOwner->SendMessage(WM_NOTIFY, nmhdr.idFrom, reinterpret_cast<LPARAM>(&nmhdr));
}

BOOL CXTPTabWnd::IsFocusHiddenByParent() const {
  HWND hParent = ::GetParent(m_hWnd);
  return hParent != nullptr && (::SendMessageW(hParent, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void CXTPTabWnd::OnNavigateItem(CXTPTabManagerItem* pItem) {
  CXTPTabManager::OnNavigateItem(pItem);
  // The keyboard is in use: focus cues show from now on.
  if (m_hWnd != nullptr && IsFocusHiddenByParent())
    ::SendMessageW(::GetParent(m_hWnd), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void CXTPTabWnd::SetPaintManager(CXTPTabPainter* pPaintManager) {
  if (pPaintManager == nullptr) return;
  if (m_pPaintManager != nullptr && m_pPaintManager != pPaintManager) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
  m_pPaintManager->RefreshMetrics();
  Reposition();
}

void CXTPTabWnd::RedrawControl() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) Invalidate(FALSE);
}

BOOL CXTPTabWnd::DrawItemIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) {
  if (pItem == nullptr) return m_pPaintManager->m_bShowIcons;
  if (pItem->GetImageIndex() == -1 || !m_pPaintManager->m_bShowIcons || m_pImageManager == nullptr)
    return FALSE;
  CXTPImageManagerIcon* pIcon =
      m_pImageManager->GetImage(static_cast<UINT>(pItem->GetImageIndex()), szIcon.cx);
  if (pIcon == nullptr) return FALSE;
  if (!bDraw) return TRUE;
  if (!pItem->IsEnabled())
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(TRUE), szIcon);
  else if (pItem == m_pHighlighted)
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), szIcon);
  else if (pItem == m_pSelected)
    pIcon->Draw(pDC, pt, pIcon->GetCheckedIcon(), szIcon);
  else
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), szIcon);
  return TRUE;
}

void CXTPTabWnd::OnItemClick(CXTPTabManagerItem* pItem) {
  SetSelectedItem(pItem);
  if (m_hWndClient == nullptr || !::IsWindow(m_hWndClient) || !::IsWindowVisible(m_hWndClient)) return;
  HWND hFocus = ::GetFocus();
  if (hFocus == m_hWnd || hFocus == m_hWndClient || ::IsChild(m_hWndClient, hFocus)) return;
  HWND hFirst = ::GetNextDlgTabItem(m_hWndClient, nullptr, FALSE);
  ::SetFocus(hFirst != nullptr && ::IsChild(m_hWndClient, hFirst) ? hFirst : m_hWndClient);
}

void CXTPTabWnd::OnNavigateButton(int nKind) {
  if (nKind == xtpTabNavigateButtonClose && m_pSelected != nullptr) DeleteItem(GetCurSel());
}

BOOL CXTPTabWnd::HasFocus() const {
  return m_hWnd != nullptr && (GetStyle() & WS_TABSTOP) && ::GetFocus() == m_hWnd && !IsFocusHiddenByParent();
}

// ---- messages --------------------------------------------------------------------------------------

BOOL CXTPTabWnd::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTPTabWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  CWnd::GetClientRect(&rcClient);
  CXTPBufferDC buffer(dc.GetSafeHdc(), rcClient);
  m_pPaintManager->DrawTabControl(this, &buffer, rcClient);
}

void CXTPTabWnd::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
  Default();
  Reposition();
}

void CXTPTabWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
  if ((GetStyle() & WS_TABSTOP) && m_pSelected != nullptr && HitTest(point) == m_pSelected) SetFocus();
  PerformClick(m_hWnd, point, FALSE);
}

void CXTPTabWnd::OnSysColorChange() {
  Default();
  RefreshColorTable();
  m_pPaintManager->RefreshMetrics();
  Reposition();
}

void CXTPTabWnd::OnMouseMove(UINT /*nFlags*/, CPoint point) {
  TrackMouse(m_hWnd, point);
  Default();
}

void CXTPTabWnd::OnMouseLeave() { TrackMouse(m_hWnd, CPoint(-1, -1)); }

void CXTPTabWnd::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  OnKeyDown(m_hWnd, nChar);
  Default();
}

UINT CXTPTabWnd::OnGetDlgCode() {
  return ::GetFocus() == m_hWnd ? DLGC_WANTARROWS : static_cast<UINT>(Default());
}

void CXTPTabWnd::OnSetFocus(CWnd* /*pOldWnd*/) {
  Default();
  Invalidate(FALSE);
}

void CXTPTabWnd::OnKillFocus(CWnd* /*pNewWnd*/) {
  Default();
  Invalidate(FALSE);
}

DROPEFFECT CXTPTabWnd::CTabDropTarget::OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/,
                                                  DWORD /*dwKeyState*/, CPoint point) {
  if (m_pTabWnd->GetPaintManager()->m_bSelectOnDragOver) {
    CXTPTabManagerItem* pItem = m_pTabWnd->HitTest(point);
    if (pItem != nullptr && pItem != m_pTabWnd->GetSelectedItem()) m_pTabWnd->SetSelectedItem(pItem);
  }
  return DROPEFFECT_NONE;
}
