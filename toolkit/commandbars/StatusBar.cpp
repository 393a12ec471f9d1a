// The status bar: panes as objects of their own over the common status control, their widths and the
// control's parts, pane texts and styles, painting through the theme, tool tips, the message pane's
// window text and the idle-time update of the indicators.
#include "StatusBar.h"

#include "BarTheme.h"
#include "CommandBars.h"

#include <BufferDC.h>
#include <ImageManager.h>
#include <ImageManagerIcon.h>
#include <ScopedFont.h>
#include <TipSettings.h>

IMPLEMENT_DYNCREATE(CXTPStatusBarPane, CCmdTarget)
IMPLEMENT_DYNCREATE(CXTPStatusBar, CControlBar)
IMPLEMENT_DYNCREATE(CXTPStatusBarPaneWnd, CWnd)

namespace {

// The major version of the system, the low byte of GetVersion.
int SystemMajorVersion() { return static_cast<int>(LOBYTE(LOWORD(::GetVersion()))); }

BOOL IsParentMaximized(const CWnd* pBar) {
  CWnd* pParent = pBar->GetParent();
  return pParent != nullptr && pParent->IsZoomed();
}

}  // namespace

// ---- Pane --------------------------------------------------------------------------------------------

CXTPStatusBarPane::CXTPStatusBarPane() = default;

CXTPStatusBarPane::~CXTPStatusBarPane() {
  if (m_hWndChild != nullptr && ::IsWindow(m_hWndChild)) {
    CWnd* pChild = CWnd::FromHandlePermanent(m_hWndChild);
    ::DestroyWindow(m_hWndChild);
    if (m_bAutoDeleteWnd) delete pChild;
  }
  m_hWndChild = nullptr;
}

CFont* CXTPStatusBarPane::GetTextFont() {
  if (m_fontText.GetSafeHandle() != nullptr) return &m_fontText;
  return m_pStatusBar != nullptr ? m_pStatusBar->GetBarFont()
                                 : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

CXTPImageManagerIcon* CXTPStatusBarPane::GetImage() {
  if (m_nIconId == -1 || m_pStatusBar == nullptr) return nullptr;
  CXTPImageManager* pImageManager = m_pStatusBar->GetImageManager();
  return pImageManager != nullptr ? pImageManager->GetImage(static_cast<UINT>(m_nIconId), 0) : nullptr;
}

void CXTPStatusBarPane::Draw(CDC* pDC, CRect rcItem) {
  CXTPBarTheme* pTheme = m_pStatusBar != nullptr ? m_pStatusBar->GetPaintManager() : CXTPBarTheme::GetTheme();
  if (pTheme != nullptr) pTheme->DrawStatusBarPaneEntry(pDC, rcItem, this);
}

void CXTPStatusBarPane::SetVisible(BOOL bVisible) {
  if (m_bVisible == bVisible) return;
  m_bVisible = bVisible;
  if (m_pStatusBar != nullptr && m_pStatusBar->GetSafeHwnd() != nullptr) {
    if (m_hWndChild != nullptr) ::ShowWindow(m_hWndChild, bVisible ? SW_SHOWNA : SW_HIDE);
    m_nFlags |= xtpPaneTextPending;
    m_pStatusBar->UpdateAllPanes(TRUE, TRUE);
    m_pStatusBar->Invalidate(FALSE);
  }
}

void CXTPStatusBarPane::SetTextColor(COLORREF clrText) {
  m_clrText = clrText;
  if (m_pStatusBar != nullptr && m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->Invalidate(FALSE);
}

void CXTPStatusBarPane::SetBackgroundColor(COLORREF clrBackground) {
  m_clrBackground = clrBackground;
  if (m_pStatusBar != nullptr && m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->Invalidate(FALSE);
}

void CXTPStatusBarPane::SetTextAlignment(int nAlignment) {
  m_nAlignment = nAlignment;
  if (m_pStatusBar != nullptr && m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->Invalidate(FALSE);
}

void CXTPStatusBarPane::SetIconId(int nIconId) {
  m_nIconId = nIconId;
  if (m_pStatusBar == nullptr) return;
  m_cxText = m_pStatusBar->CalcPaneWidth(this);
  if (m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CXTPStatusBarPane::SetTextFont(const LOGFONT* pLogFont) {
  m_fontText.DeleteObject();
  if (pLogFont != nullptr) m_fontText.CreateFontIndirect(pLogFont);
  if (m_pStatusBar == nullptr) return;
  m_cxText = m_pStatusBar->CalcPaneWidth(this);
  if (m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CXTPStatusBarPane::SetChildWindow(CWnd* pWnd, BOOL bAutoDelete) {
  m_hWndChild = pWnd->GetSafeHwnd();
  m_bAutoDeleteWnd = bAutoDelete;
  if (m_pStatusBar != nullptr && m_pStatusBar->GetSafeHwnd() != nullptr)
    m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

// ---- Bar ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPStatusBar, CControlBar)
ON_WM_NCHITTEST()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_NCCALCSIZE()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CXTPStatusBar::CXTPStatusBar() {
  NONCLIENTMETRICS ncm = {};
  ncm.cbSize = sizeof(ncm);
  if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
    m_fontBar.CreateFontIndirect(&ncm.lfStatusFont);
  m_cyTopBorder = 2;
  if (SystemMajorVersion() > 3) {
    m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = 0;
  } else {
    m_cxLeftBorder = m_cxRightBorder = 2;
    m_cyBottomBorder = 1;
  }
  m_pToolTipContext = new CXTPTipSettings;
}

CXTPStatusBar::~CXTPStatusBar() {
  for (INT_PTR i = 0; i < m_arrPanes.GetSize(); ++i) {
    m_arrPanes[i]->m_pStatusBar = nullptr;
    m_arrPanes[i]->InternalRelease();
  }
  m_arrPanes.RemoveAll();
  if (m_pToolTipContext != nullptr) m_pToolTipContext->InternalRelease();
  m_pToolTipContext = nullptr;
}

BOOL CXTPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CXTPStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr) return FALSE;
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD dwWindowStyle =
      (dwStyle & 0xFFBF0000) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  if (pParentWnd->GetStyle() & WS_THICKFRAME) dwWindowStyle |= SBARS_SIZEGRIP;
  dwWindowStyle |= dwCtrlStyle;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CXTPStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
  if (SystemMajorVersion() > 3 && (m_dwStyle & 0xFF00) == (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
    m_dwStyle &= ~0x0F80u;
  return CControlBar::PreCreateWindow(cs);
}

int CXTPStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CControlBar::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_fontBar.GetSafeHandle() != nullptr) SetFont(&m_fontBar, FALSE);
  SendMessage(SB_SETMINHEIGHT, 20, 0);
  return 0;
}

CXTPBarTheme* CXTPStatusBar::GetPaintManager() const {
  if (!m_bUsePaintTheme) return nullptr;
  return m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : CXTPBarTheme::GetTheme();
}

CXTPImageManager* CXTPStatusBar::GetImageManager() const {
  CXTPImageManager* pImageManager = m_pCommandBars != nullptr ? m_pCommandBars->GetImageManager() : nullptr;
  return pImageManager != nullptr ? pImageManager : XTPImageManager();
}

void CXTPStatusBar::SetUsePaintTheme(BOOL bUse) {
  m_bUsePaintTheme = bUse;
  if (m_hWnd != nullptr) Invalidate(TRUE);
}

// ---- Panes -------------------------------------------------------------------------------------------

int CXTPStatusBar::CalcPaneWidth(CXTPStatusBarPane* pPane) {
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pPane->GetTextFont());
  int cx = pPane->m_strText.IsEmpty() ? 0 : dc.GetTextExtent(pPane->m_strText).cx;
  if (CXTPImageManagerIcon* pImage = pPane->GetImage()) cx += pImage->GetWidth() + (cx > 0 ? 2 : 0);
  return cx;
}

BOOL CXTPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  RemoveAll();
  BOOL bResult = TRUE;
  if (lpIDArray != nullptr) {
    for (int i = 0; i < nIDCount; ++i) {
      CXTPStatusBarPane* pPane = new CXTPStatusBarPane;
      m_arrPanes.Add(pPane);
      pPane->m_pStatusBar = this;
      pPane->m_nID = lpIDArray[i];
      pPane->m_nFlags |= CXTPStatusBarPane::xtpPaneTextPending;
      if (pPane->m_nID != 0) {
        if (!pPane->m_strText.LoadString(pPane->m_nID)) {
          bResult = FALSE;
          break;
        }
        pPane->m_cxText = CalcPaneWidth(pPane);
      } else {
        pPane->m_cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
        if (i == 0) pPane->m_nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
      }
    }
  }
  UpdateAllPanes(TRUE, TRUE);
  return bResult;
}

void CXTPStatusBar::RemoveAll() {
  CArray<CXTPStatusBarPane*, CXTPStatusBarPane*> arrPanes;
  arrPanes.Copy(m_arrPanes);
  m_arrPanes.RemoveAll();
  for (INT_PTR i = 0; i < arrPanes.GetSize(); ++i) {
    arrPanes[i]->m_pStatusBar = nullptr;
    arrPanes[i]->InternalRelease();
  }
  UpdateAllPanes(TRUE, TRUE);
}

CXTPStatusBarPane* CXTPStatusBar::GetPane(int nIndex) const {
  return nIndex >= 0 && nIndex < GetPaneCount() ? m_arrPanes[nIndex] : nullptr;
}

int CXTPStatusBar::GetVisiblePaneCount() const {
  int nCount = 0;
  for (INT_PTR i = 0; i < m_arrPanes.GetSize(); ++i) {
    if (m_arrPanes[i]->m_bVisible) nCount++;
  }
  return nCount;
}

int CXTPStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < GetPaneCount(); ++i) {
    if (m_arrPanes[i]->m_nID == nIDFind) return i;
  }
  return -1;
}

UINT CXTPStatusBar::GetItemID(int nIndex) const {
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  return pPane != nullptr ? pPane->m_nID : 0;
}

UINT CXTPStatusBar::GetPaneStyle(int nIndex) const {
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  return pPane != nullptr ? pPane->m_nStyle : 0;
}

CString CXTPStatusBar::GetPaneText(int nIndex) const {
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  return pPane != nullptr ? pPane->m_strText : CString();
}

void CXTPStatusBar::GetBorders(int& cxHorz, int& cyVert, int& cxBetween) const {
  int arrBorders[3] = {0, 0, 0};
  if (m_hWnd != nullptr) ::SendMessage(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(arrBorders));
  cxHorz = arrBorders[0];
  cyVert = arrBorders[1];
  cxBetween = arrBorders[2];
}

void CXTPStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (m_hWnd == nullptr) return;
  if (bUpdateRects) {
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CalcInsideRect(rect, TRUE);
    int cxHorz = 0, cyVert = 0, cxBetween = 0;
    GetBorders(cxHorz, cyVert, cxBetween);

    int nExtra = rect.Width() + cxBetween;
    int nStretchy = 0, nVisible = 0;
    for (int i = 0; i < GetPaneCount(); ++i) {
      CXTPStatusBarPane* pPane = m_arrPanes[i];
      pPane->m_nIndex = i;
      if (!pPane->m_bVisible) continue;
      pPane->m_nVisibleIndex = nVisible++;
      if (pPane->m_nStyle & SBPS_STRETCH) nStretchy++;
      nExtra -= pPane->m_cxText + cxBetween + 6;
    }
    CArray<int, int> arrRights;
    int nRight = cxHorz;
    for (int i = 0; i < GetPaneCount(); ++i) {
      CXTPStatusBarPane* pPane = m_arrPanes[i];
      if (!pPane->m_bVisible) continue;
      nRight += pPane->m_cxText + 6;
      if ((pPane->m_nStyle & SBPS_STRETCH) && nExtra > 0 && nStretchy > 0) {
        const int nShare = nExtra / nStretchy;
        nRight += nShare;
        nExtra -= nShare;
        nStretchy--;
      }
      arrRights.Add(nRight);
      nRight += cxBetween;
    }
    if (arrRights.GetSize() > 0)
      ::SendMessage(m_hWnd, SB_SETPARTS, static_cast<WPARAM>(arrRights.GetSize()),
                    reinterpret_cast<LPARAM>(arrRights.GetData()));
    MoveChildWindows();
  }
  if (bUpdateText) {
    for (int i = 0; i < GetPaneCount(); ++i) {
      CXTPStatusBarPane* pPane = m_arrPanes[i];
      if (pPane->m_bVisible && (pPane->m_nFlags & CXTPStatusBarPane::xtpPaneTextPending))
        SetPaneText(i, pPane->m_strText, TRUE);
    }
  }
}

void CXTPStatusBar::MoveChildWindows() {
  for (int i = 0; i < GetPaneCount(); ++i) {
    CXTPStatusBarPane* pPane = m_arrPanes[i];
    if (pPane->m_hWndChild == nullptr || !::IsWindow(pPane->m_hWndChild)) continue;
    CRect rc;
    GetItemRect(i, &rc);
    if (!(pPane->m_nStyle & SBPS_NOBORDERS)) {
      const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
      rc.DeflateRect(cxEdge, cxEdge);
    }
    ::MoveWindow(pPane->m_hWndChild, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
  }
}

BOOL CXTPStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr) return FALSE;
  const CString strText = lpszNewText != nullptr ? lpszNewText : _T("");
  if (!(pPane->m_nFlags & CXTPStatusBarPane::xtpPaneTextPending) && pPane->m_strText == strText) return TRUE;
  pPane->m_strText = strText;
  if (!pPane->m_bVisible) return FALSE;
  if (bUpdate) {
    pPane->m_nFlags &= ~CXTPStatusBarPane::xtpPaneTextPending;
    if (m_hWnd != nullptr) {
      const WPARAM wParam = static_cast<WPARAM>(pPane->m_nVisibleIndex) | LOWORD(pPane->m_nStyle);
      LPCTSTR lpszText = (pPane->m_nStyle & SBPS_DISABLED) ? nullptr : static_cast<LPCTSTR>(pPane->m_strText);
      ::SendMessage(m_hWnd, SB_SETTEXT, wParam, reinterpret_cast<LPARAM>(lpszText));
      Invalidate(FALSE);
    }
  } else {
    pPane->m_nFlags |= CXTPStatusBarPane::xtpPaneTextPending;
  }
  return TRUE;
}

void CXTPStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr || pPane->m_nStyle == nStyle) return;
  if ((pPane->m_nStyle ^ nStyle) & SBPS_STRETCH) {
    pPane->m_nStyle = nStyle;
    UpdateAllPanes(TRUE, FALSE);
  }
  pPane->m_nStyle = nStyle;
  pPane->m_nFlags |= CXTPStatusBarPane::xtpPaneTextPending;
  SetPaneText(nIndex, pPane->m_strText, TRUE);
}

void CXTPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  CXTPStatusBarPane* pPane = GetPane(nIndex);
  if (pPane == nullptr || !pPane->m_bVisible || m_hWnd == nullptr) return;
  if (!::SendMessage(m_hWnd, SB_GETRECT, static_cast<WPARAM>(pPane->m_nVisibleIndex),
                     reinterpret_cast<LPARAM>(lpRect))) {
    ::SetRectEmpty(lpRect);
    return;
  }
  if (GetVisiblePaneCount() != pPane->m_nVisibleIndex + 1) return;
  // The last pane: a stretchy one reaches the right edge (short of the size grip), any other is as
  // wide as its content whatever the control says.
  if (pPane->m_nStyle & SBPS_STRETCH) {
    CRect rcClient;
    GetClientRect(&rcClient);
    lpRect->right = rcClient.right;
    if (HasSizeGrip()) lpRect->right -= ::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE);
  } else {
    lpRect->right = lpRect->left + pPane->m_cxText + 3 * ::GetSystemMetrics(SM_CXEDGE);
  }
}

CXTPStatusBarPane* CXTPStatusBar::HitTest(CPoint pt, CRect* lpRect) const {
  for (int i = 0; i < GetPaneCount(); ++i) {
    if (!m_arrPanes[i]->m_bVisible) continue;
    CRect rc;
    GetItemRect(i, &rc);
    if (!rc.PtInRect(pt)) continue;
    if (lpRect != nullptr) *lpRect = rc;
    return m_arrPanes[i];
  }
  return nullptr;
}

// ---- Layout ------------------------------------------------------------------------------------------

void CXTPStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  CControlBar::CalcInsideRect(rect, bHorz);
  if (HasSizeGrip() && !IsParentMaximized(this)) {
    int cxHorz = 0, cyVert = 0, cxBetween = 0;
    GetBorders(cxHorz, cyVert, cxBetween);
    rect.right -= cxHorz + ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER);
  }
}

CSize CXTPStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  TEXTMETRIC tm = {};
  {
    CXTPScopedFont font(&dc, &m_fontBar);
    dc.GetTextMetrics(&tm);
  }
  int cxHorz = 0, cyVert = 0, cxBetween = 0;
  GetBorders(cxHorz, cyVert, cxBetween);
  CRect rcInside(0, 0, 0, 0);
  CalcInsideRect(rcInside, bHorz);
  int cy = tm.tmHeight - tm.tmInternalLeading - 1 + 2 * (::GetSystemMetrics(SM_CYBORDER) + cyVert) -
           rcInside.Height();
  cy = std::max(cy, m_nMinHeight);
  return CSize(32767, cy);
}

void CXTPStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if (((dwOldStyle ^ dwNewStyle) & 0x0F00) && m_hWnd != nullptr)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// ---- Painting ----------------------------------------------------------------------------------------

void CXTPStatusBar::UpdatePendingTexts() {
  for (int i = 0; i < GetPaneCount(); ++i) {
    CXTPStatusBarPane* pPane = m_arrPanes[i];
    if (pPane->m_bVisible && (pPane->m_nFlags & CXTPStatusBarPane::xtpPaneTextPending))
      SetPaneText(i, pPane->m_strText, TRUE);
  }
}

void CXTPStatusBar::OnPaint() {
  UpdatePendingTexts();
  CXTPBarTheme* pTheme = GetPaintManager();
  if (pTheme == nullptr) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC memDC(dc.GetSafeHdc(), rcClient);
  pTheme->FillStatusBar(&memDC, this);
  const int nVisible = GetVisiblePaneCount();
  for (int i = 0; i < GetPaneCount(); ++i) {
    CXTPStatusBarPane* pPane = m_arrPanes[i];
    if (!pPane->m_bVisible) continue;
    CRect rcItem;
    GetItemRect(i, &rcItem);
    if (!(pPane->m_nStyle & SBPS_NOBORDERS))
      pTheme->DrawStatusBarPaneBorder(&memDC, rcItem, pPane->m_nVisibleIndex == nVisible - 1);
    DrawPaneEntry(&memDC, i, rcItem);
  }
  CWnd* pParent = GetParent();
  if (pParent != nullptr && (pParent->GetStyle() & WS_THICKFRAME) && HasSizeGrip() && !pParent->IsZoomed())
    DrawStretch(&memDC, rcClient);
}

void CXTPStatusBar::DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem) {
  if (CXTPStatusBarPane* pPane = GetPane(nIndex)) pPane->Draw(pDC, rcItem);
}

void CXTPStatusBar::DrawStretch(CDC* pDC, CRect& rcClient) {
  if (CXTPBarTheme* pTheme = GetPaintManager()) pTheme->DrawStatusBarGripper(pDC, rcClient);
}

BOOL CXTPStatusBar::OnEraseBkgnd(CDC*) {
  if (GetPaintManager() != nullptr) return TRUE;
  return static_cast<BOOL>(Default());
}

void CXTPStatusBar::OnNcPaint() { EraseNonClient(); }

void CXTPStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  // The control-bar borders, the top one less the 2 pixels the status control draws itself.
  CRect rect(0, 0, 0, 0);
  CControlBar::CalcInsideRect(rect, TRUE);
  lpncsp->rgrc[0].left += rect.left;
  lpncsp->rgrc[0].top += rect.top - 2;
  lpncsp->rgrc[0].right += rect.right;
  lpncsp->rgrc[0].bottom += rect.bottom;
}

LRESULT CXTPStatusBar::OnNcHitTest(CPoint) {
  const LRESULT lResult = Default();
  return lResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void CXTPStatusBar::OnSize(UINT, int, int) {
  Default();
  UpdateAllPanes(TRUE, FALSE);
  Invalidate(FALSE);
}

void CXTPStatusBar::OnWindowPosChanging(LPWINDOWPOS lpWndPos) {
  // The framework's bar handling would make room for borders the status control draws itself.
  const DWORD dwStyle = m_dwStyle;
  m_dwStyle &= ~0x0F00u;
  CControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = dwStyle;
}

// ---- The message pane's window text -------------------------------------------------------------------

LRESULT CXTPStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  const int nIndex = CommandToIndex(0);
  if (nIndex < 0) return -1;
  return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam), TRUE) ? 0 : -1;
}

LRESULT CXTPStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  const int nMax = static_cast<int>(wParam);
  LPTSTR lpszDest = reinterpret_cast<LPTSTR>(lParam);
  if (nMax <= 0 || lpszDest == nullptr) return 0;
  const int nIndex = CommandToIndex(0);
  const CString strText = nIndex >= 0 ? m_arrPanes[nIndex]->m_strText : CString();
  const int nCopy = std::min(nMax - 1, strText.GetLength());
  memcpy(lpszDest, static_cast<LPCTSTR>(strText), static_cast<size_t>(nCopy) * sizeof(TCHAR));
  lpszDest[nCopy] = 0;
  // The count of characters copied, without the terminating zero, as WM_GETTEXT reports it.
  return nCopy;
}

LRESULT CXTPStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  const int nIndex = CommandToIndex(0);
  return nIndex >= 0 ? m_arrPanes[nIndex]->m_strText.GetLength() : 0;
}

LRESULT CXTPStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  const LRESULT lResult = Default();
  m_nMinHeight = static_cast<int>(wParam);
  return lResult;
}

// ---- Tips and messages -------------------------------------------------------------------------------

BOOL CXTPStatusBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (m_pToolTipContext != nullptr && m_hWnd != nullptr)
    m_pToolTipContext->RelayEvent(this, message, wParam, lParam);
  return CControlBar::OnWndMsg(message, wParam, lParam, pResult);
}

INT_PTR CXTPStatusBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  const INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
  if (nHit != -1) return nHit;
  CRect rc;
  CXTPStatusBarPane* pPane = HitTest(point, &rc);
  if (pPane == nullptr || pPane->m_strToolTip.IsEmpty()) return -1;
  if (pTI != nullptr) CXTPTipSettings::FillToolInfo(pTI, m_hWnd, rc, pPane->m_nID, pPane->m_strToolTip);
  return static_cast<INT_PTR>(pPane->m_nID);
}

// ---- Idle update -------------------------------------------------------------------------------------

LRESULT CXTPStatusBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  // The framework's delayed show or hide.
  if (m_nStateFlags & (delayHide | delayShow)) {
    const BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    UINT nFlags = 0;
    if ((m_nStateFlags & delayHide) && bVisible) nFlags = SWP_HIDEWINDOW;
    if ((m_nStateFlags & delayShow) && !bVisible) nFlags = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayHide | delayShow);
    if (nFlags != 0)
      SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if ((GetStyle() & WS_VISIBLE) && (m_pDockBar == nullptr || m_pDockBar->IsWindowVisible())) {
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = DYNAMIC_DOWNCAST(CFrameWnd, pOwner);
    if (pTarget == nullptr) pTarget = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (pTarget != nullptr) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
  }
  return 0;
}

void CXTPStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CXTPStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetPaneCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    CXTPStatusBarPane* pPane = GetPane(static_cast<int>(state.m_nIndex));
    if (pPane == nullptr) break;
    state.m_nID = pPane->m_nID;
    // The bar's own handlers first, then the frame's route.
    if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- Command-update object ---------------------------------------------------------------------------

void CXTPStatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  CXTPStatusBar* pBar = static_cast<CXTPStatusBar*>(m_pOther);
  const int nIndex = static_cast<int>(m_nIndex);
  const UINT nOld = pBar->GetPaneStyle(nIndex);
  UINT nNew = nOld & ~SBPS_DISABLED;
  if (!bOn) nNew |= SBPS_DISABLED;
  pBar->SetPaneStyle(nIndex, nNew);
}

void CXTPStatusCmdUI::SetCheck(int nCheck) {
  CXTPStatusBar* pBar = static_cast<CXTPStatusBar*>(m_pOther);
  const int nIndex = static_cast<int>(m_nIndex);
  const UINT nOld = pBar->GetPaneStyle(nIndex);
  UINT nNew = nOld & ~SBPS_POPOUT;
  if (nCheck != 0) nNew |= SBPS_POPOUT;
  pBar->SetPaneStyle(nIndex, nNew);
}

void CXTPStatusCmdUI::SetText(LPCTSTR lpszText) {
  static_cast<CXTPStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText, TRUE);
}

// ---- Pane window -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPStatusBarPaneWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CXTPStatusBarPaneWnd::Create(LPCTSTR lpszCaption, CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_BYTEALIGNCLIENT, nullptr, nullptr, nullptr);
  if (!CWnd::Create(lpszClass, lpszCaption, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  m_strCaption = lpszCaption != nullptr ? lpszCaption : _T("");
  return TRUE;
}

void CXTPStatusBarPaneWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC memDC(dc.GetSafeHdc(), rcClient);
  memDC.FillSolidRect(rcClient, GetXtremeColor(COLOR_BTNFACE));
  DrawContent(&memDC, rcClient);
}

BOOL CXTPStatusBarPaneWnd::OnEraseBkgnd(CDC*) { return TRUE; }
