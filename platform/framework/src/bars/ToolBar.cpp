// Toolbars and rebars as control bars.
#include "afxwin.h"
#include "afxcmn.h"
#include "framework/ToolBar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CReBar, CControlBar)

namespace {
// The control's own styles every bar needs: the frame, not the control, decides size and place.
constexpr DWORD kBarCtrlStyles = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
constexpr int kGripperWidth = 7;

void EnsureCommonControls(DWORD dwICC) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), dwICC};
  ::InitCommonControlsEx(&icc);
}
}  // namespace

// ---- CToolBar ----------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_NCCALCSIZE()
ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CToolBar::CToolBar() : m_hbmImageWell(nullptr), m_sizeButton(23, 22), m_sizeImage(16, 15) {
  m_cxLeftBorder = 4;
  m_cxRightBorder = 4;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 2;
}

CToolBar::~CToolBar() {
  if (m_hWnd != nullptr) DestroyWindow();
  if (m_hbmImageWell != nullptr) ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle,
                  CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr) return FALSE;
  EnsureCommonControls(ICC_BAR_CLASSES);
  SetBorders(rcBorders);
  m_dwStyle = dwStyle & CBRS_ALL;
  if (m_dwStyle & CBRS_TOOLTIPS) dwCtrlStyle |= TBSTYLE_TOOLTIPS;
  DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | kBarCtrlStyles | WS_CHILD;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::CreateEx(0, TOOLBARCLASSNAME, nullptr, dwWndStyle, rect, pParentWnd, nID)) return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SetSizes(m_sizeButton, m_sizeImage);
  return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  // The control needs 7 by 6 pixels around an image; smaller buttons are grown to fit.
  m_sizeButton =
      CSize(std::max<LONG>(sizeButton.cx, sizeImage.cx + 7), std::max<LONG>(sizeButton.cy, sizeImage.cy + 6));
  m_sizeImage = sizeImage;
  if (m_hWnd == nullptr) return;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(m_sizeImage.cx, m_sizeImage.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(m_sizeButton.cx, m_sizeButton.cy));
  Invalidate();
}

void CToolBar::SetHeight(int cyHeight) {
  int nTop = std::max(0, (cyHeight - static_cast<int>(m_sizeButton.cy)) / 2);
  m_cyTopBorder = nTop;
  m_cyBottomBorder = std::max(0, cyHeight - static_cast<int>(m_sizeButton.cy) - nTop);
  Invalidate();
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  if (m_hWnd == nullptr || nIDCount < 0) return FALSE;
  while (SendMessage(TB_DELETEBUTTON, 0) != 0) {
  }
  m_nCount = 0;
  int iImage = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON button = {};
    button.fsState = TBSTATE_ENABLED;
    if (lpIDArray == nullptr) {
      button.fsStyle = TBSTYLE_SEP;
    } else if (lpIDArray[i] == 0) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = 6;  // separator width
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.idCommand = static_cast<int>(lpIDArray[i]);
      button.iBitmap = iImage++;
    }
    if (!SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
    ++m_nCount;
  }
  return TRUE;
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  HBITMAP hbm =
      static_cast<HBITMAP>(::LoadImage(hInst, lpszResourceName, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  if (hbm == nullptr) return FALSE;
  return SetBitmap(hbm);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
  if (m_hWnd == nullptr || hbmImageWell == nullptr) return FALSE;
  BITMAP bm = {};
  if (::GetObject(hbmImageWell, sizeof(bm), &bm) == 0 || m_sizeImage.cx <= 0) return FALSE;
  TBADDBITMAP tbab = {nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
  int nImages = bm.bmWidth / m_sizeImage.cx;
  if (m_hbmImageWell != nullptr) {
    TBREPLACEBITMAP tbrb = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                            reinterpret_cast<UINT_PTR>(hbmImageWell), nImages};
    if (!SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&tbrb))) return FALSE;
    ::DeleteObject(m_hbmImageWell);
  } else if (SendMessage(TB_ADDBITMAP, nImages, reinterpret_cast<LPARAM>(&tbab)) == -1) {
    return FALSE;
  }
  m_hbmImageWell = hbmImageWell;
  Invalidate();
  return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
  if (m_hWnd == nullptr) return -1;
  return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind));
}

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return 0;
  return (button.fsStyle & TBSTYLE_SEP) ? 0 : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect))) ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return 0;
  // TBBS_DISABLED is the control's "enabled" bit, inverted.
  return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return;
  BYTE fsStyle = LOBYTE(LOWORD(nStyle));
  BYTE fsState = static_cast<BYTE>(LOBYTE(HIWORD(nStyle)) ^ TBSTATE_ENABLED);
  if (button.fsStyle == fsStyle && button.fsState == fsState) return;
  TBBUTTONINFO info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
  info.fsStyle = fsStyle;
  info.fsState = fsState;
  SendMessage(TB_SETBUTTONINFO, nIndex, reinterpret_cast<LPARAM>(&info));
  // A changed wrap changes the bar's size.
  if (((button.fsState ^ fsState) & TBSTATE_WRAP) != 0) {
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != nullptr) pFrame->DelayRecalcLayout();
  }
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) {
    nID = 0;
    nStyle = 0;
    iImage = 0;
    return;
  }
  nID = static_cast<UINT>(button.idCommand);
  nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
  iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  TBBUTTONINFO info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_COMMAND | TBIF_IMAGE | TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
  info.idCommand = static_cast<int>(nID);
  info.iImage = iImage;
  info.fsStyle = LOBYTE(LOWORD(nStyle));
  info.fsState = static_cast<BYTE>(LOBYTE(HIWORD(nStyle)) ^ TBSTATE_ENABLED);
  SendMessage(TB_SETBUTTONINFO, nIndex, reinterpret_cast<LPARAM>(&info));
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
  TBBUTTONINFO info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
  info.pszText = const_cast<LPTSTR>(lpszText != nullptr ? lpszText : L"");
  return SendMessage(TB_SETBUTTONINFO, nIndex, reinterpret_cast<LPARAM>(&info)) != 0;
}

CString CToolBar::GetButtonText(int nIndex) const {
  TCHAR szText[260] = {};
  TBBUTTONINFO info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
  info.pszText = szText;
  info.cchText = 259;
  if (SendMessage(TB_GETBUTTONINFO, nIndex, reinterpret_cast<LPARAM>(&info)) == -1) return CString();
  return CString(szText);
}

CSize CToolBar::CalcLayout(DWORD dwMode, int /*nLength*/) {
  BOOL bHorz = (dwMode & LM_HORZ) != 0;
  CRect rectItems(0, 0, 0, 0);
  int nCount = m_hWnd != nullptr ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
  for (int i = 0; i < nCount; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (button.fsState & TBSTATE_HIDDEN) continue;
    CRect rect;
    GetItemRect(i, &rect);
    rectItems.UnionRect(&rectItems, &rect);
  }
  CSize size(rectItems.right, rectItems.bottom);
  if (size.cy == 0) size.cy = m_sizeButton.cy;
  if (size.cx == 0) size.cx = m_sizeButton.cx;
  // The borders and gripper lie outside the control's client area.
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRect(rectInside, bHorz);
  size.cx -= rectInside.Width();
  size.cy -= rectInside.Height();
  if (dwMode & LM_STRETCH) {
    if (bHorz) {
      size.cx = 32767;
    } else {
      size.cy = 32767;
    }
  }
  return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  DWORD dwMode = bStretch ? LM_STRETCH : 0;
  if (bHorz) dwMode |= LM_HORZ | LM_HORZDOCK;
  return CalcLayout(dwMode);
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if ((dwMode & LM_HORZDOCK) || (dwMode & LM_VERTDOCK) || nLength == -1) {
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
  }
  return CalcLayout(dwMode, nLength);
}

void CToolCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
  UINT nNewStyle = pToolBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~TBBS_DISABLED;
  if (!bOn) nNewStyle |= TBBS_DISABLED;
  pToolBar->SetButtonStyle(static_cast<int>(m_nIndex), nNewStyle);
}

void CToolCmdUI::SetCheck(int nCheck) {
  CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
  UINT nNewStyle =
      pToolBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
  if (nCheck == 1) nNewStyle |= TBBS_CHECKED;
  if (nCheck == 2) nNewStyle |= TBBS_INDETERMINATE;
  pToolBar->SetButtonStyle(static_cast<int>(m_nIndex), nNewStyle | TBBS_CHECKBOX);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CToolCmdUI state;
  state.m_pOther = this;
  int nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  state.m_nIndexMax = static_cast<UINT>(nCount);
  for (int i = 0; i < nCount; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (button.fsStyle & TBSTYLE_SEP) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(button.idCommand);
    // The framework's own commands (0xF000 and up) are never disabled for lack of a handler.
    state.DoUpdate(pTarget, bDisableIfNoHndler && state.m_nID < 0xF000);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS) {
    ModifyStyle(dwNewStyle & CBRS_TOOLTIPS ? 0 : TBSTYLE_TOOLTIPS,
                dwNewStyle & CBRS_TOOLTIPS ? TBSTYLE_TOOLTIPS : 0);
  }
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  int nHit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  if (nHit < 0) return -1;
  UINT nID = GetItemID(nHit);
  if (nID == 0) return -1;
  if (pTI != nullptr && pTI->cbSize >= offsetof(TOOLINFO, lParam)) {
    pTI->hwnd = m_hWnd;
    GetItemRect(nHit, &pTI->rect);
    pTI->uId = nID;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
  }
  return static_cast<INT_PTR>(nID);
}

// The control paints its buttons itself; the bar only adds borders and gripper outside them.
void CToolBar::OnPaint() { Default(); }
BOOL CToolBar::OnEraseBkgnd(CDC* pDC) {
  UNUSED(pDC);
  return static_cast<BOOL>(Default());
}

void CToolBar::OnNcPaint() {
  EraseNonClient();
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER) {
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    DrawGripper(&dc, rectWindow);
  }
}

void CToolBar::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
  Default();
  CRect rect(0, 0, 0, 0);
  CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  lpncsp->rgrc[0].left += rect.left;
  lpncsp->rgrc[0].top += rect.top;
  lpncsp->rgrc[0].right += rect.right;
  lpncsp->rgrc[0].bottom += rect.bottom;
}

void CToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  Default();
  // New borders take effect through a fresh non-client calculation.
  if (!(lpWndPos->flags & SWP_NOSIZE)) lpWndPos->flags |= SWP_FRAMECHANGED;
}

// ---- CReBar ------------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CReBar, CControlBar)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

CReBar::CReBar() { SetBorders(0, 0, 0, 0); }

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr) return FALSE;
  EnsureCommonControls(ICC_COOL_CLASSES | ICC_BAR_CLASSES);
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | kBarCtrlStyles | WS_CHILD;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::CreateEx(0, REBARCLASSNAME, nullptr, dwWndStyle, rect, pParentWnd, nID)) return FALSE;
  REBARINFO rbi = {sizeof(rbi), 0, nullptr};
  SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&rbi));
  return TRUE;
}

BOOL CReBar::AddBarImpl(CWnd* pBar, REBARBANDINFO& rbbi) {
  if (m_hWnd == nullptr || pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return FALSE;
  pBar->SetParent(this);
  CSize size;
  if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
    CControlBar* pControlBar = static_cast<CControlBar*>(pBar);
    // A bar inside a band draws no borders of its own.
    pControlBar->SetBarStyle(pControlBar->GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
    size = pControlBar->CalcFixedLayout(FALSE, (pControlBar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0);
  } else {
    CRect rect;
    pBar->GetWindowRect(&rect);
    size = rect.Size();
  }
  rbbi.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
  rbbi.hwndChild = pBar->m_hWnd;
  rbbi.cxMinChild = size.cx;
  rbbi.cyMinChild = size.cy;
  rbbi.cx = size.cx;
  rbbi.wID = static_cast<UINT>(pBar->GetDlgCtrlID());
  if (!SendMessage(RB_INSERTBAND, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rbbi))) return FALSE;
  CFrameWnd* pFrame = GetDockingFrame();
  if (pFrame != nullptr) pFrame->RecalcLayout();
  return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle) {
  REBARBANDINFO rbbi = {};
  rbbi.cbSize = sizeof(rbbi);
  rbbi.fStyle = dwStyle;
  if (pszText != nullptr) {
    rbbi.fMask |= RBBIM_TEXT;
    rbbi.lpText = const_cast<LPTSTR>(pszText);
  }
  if (pbmp != nullptr && pbmp->GetSafeHandle() != nullptr) {
    rbbi.fMask |= RBBIM_BACKGROUND;
    rbbi.hbmBack = static_cast<HBITMAP>(pbmp->GetSafeHandle());
  }
  return AddBarImpl(pBar, rbbi);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText, DWORD dwStyle) {
  REBARBANDINFO rbbi = {};
  rbbi.cbSize = sizeof(rbbi);
  rbbi.fStyle = dwStyle;
  rbbi.fMask = RBBIM_COLORS;
  rbbi.clrFore = clrFore;
  rbbi.clrBack = clrBack;
  if (pszText != nullptr) {
    rbbi.fMask |= RBBIM_TEXT;
    rbbi.lpText = const_cast<LPTSTR>(pszText);
  }
  return AddBarImpl(pBar, rbbi);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size(0, 0);
  if (m_hWnd != nullptr) {
    int nHeight = static_cast<int>(SendMessage(RB_GETBARHEIGHT));
    CRect rect;
    GetWindowRect(&rect);
    size = bHorz ? CSize(rect.Width(), nHeight) : CSize(nHeight, rect.Height());
  }
  if (bStretch) {
    if (bHorz) {
      size.cx = 32767;
    } else {
      size.cy = 32767;
    }
  }
  return size;
}

CSize CReBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode) {
  return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CReBar::OnPaint() { Default(); }
BOOL CReBar::OnEraseBkgnd(CDC* pDC) {
  UNUSED(pDC);
  return static_cast<BOOL>(Default());
}

void CReBar::OnHeightChange(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  CFrameWnd* pFrame = GetDockingFrame();
  if (pFrame != nullptr) pFrame->DelayRecalcLayout();
  *pResult = 0;
}
