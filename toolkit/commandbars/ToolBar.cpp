// The toolbar: loading from a toolbar resource, docked and floating sizes with the expand and close
// buttons, the expand popup and the "Add or Remove Buttons" list, reset, its floating window and its
// activation, the drag tracker's mouse entry points, visibility, tool tips and print preview.
#include "ToolBar.h"

#include "AcceleratorManager.h"
#include "BarDragTracker.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "DockBar.h"
#include "PopupBar.h"
#include "StoredValues.h"

#include <PropExchange.h>
#include <ResourceSource.h>
#include <ScopedFont.h>
#include <TipSettings.h>
#include <ToolkitResource.h>

IMPLEMENT_SERIAL(CXTPToolBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarExpandPopup, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarCloseButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPToolBarButtonEntry, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPToolBar, CXTPCommandBar)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_WM_MOUSEACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_NCCREATE()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_WM_SETCURSOR()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// Control flags of the toolbar's own buttons: skipped by keyboard navigation or placed leftwards,
// never updated by the command-UI pass, never dragged.
const DWORD kExpandButtonFlags = 28;
const DWORD kCloseButtonFlags = 26;

// Whether a control stands for the same command as another: same id, same type.
BOOL IsSameCommand(CXTPControl* pA, CXTPControl* pB) {
  return pA->GetID() == pB->GetID() && pA->GetType() == pB->GetType();
}

int FindSameCommand(CXTPControls* pControls, CXTPControl* pControl, int nFrom) {
  for (int i = nFrom; i < pControls->GetCount(); ++i) {
    if (IsSameCommand(pControls->GetAt(i), pControl)) return i;
  }
  return -1;
}

// The style of a floating bar's window: a popup that keeps in step with its frame's activation. The
// system menu shows nowhere on a window without a caption, but with it the display's window manager
// takes the bar for a window of its own that belongs to the frame, stacked above the frame and below
// the frame's dialogs, rather than for a menu that stays above every window.
const DWORD kFloatingStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MFS_SYNCACTIVE | WS_SYSMENU;

BOOL IsShowExpandButtonAlways(CXTPCommandBars* pCommandBars) {
  return pCommandBars == nullptr || pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways;
}

}  // namespace

CXTPToolBar::CXTPToolBar() {
  m_bCloseable = TRUE;
  m_dwStyle = CBRS_GRIPPER;
}

CXTPToolBar::~CXTPToolBar() {
  delete m_pDockContext;
  m_pDockContext = nullptr;
}

void CXTPToolBar::EnableDocking(DWORD dwFlags) {
  if (m_pDockContext == nullptr) m_pDockContext = new CXTPBarDragTracker(this);
  m_dwFlags = dwFlags;
}

BOOL CXTPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadImages) {
  m_nBarID = nIDResource;
  if (!CXTPCommandBar::LoadToolBar(nIDResource, bLoadImages)) return FALSE;
  m_pControls->SnapshotOriginal();
  return TRUE;
}

void CXTPToolBar::SetVisible(BOOL bVisible) {
  if (m_bVisible == bVisible) return;
  InternalAddRef();
  if (!bVisible) EnterTracking(0);
  m_bVisible = bVisible;
  if (m_hWnd != nullptr) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars != nullptr) {
    if (m_pDockBar != nullptr) pCommandBars->RecalcFrameLayout();
    if (CWnd* pSite = pCommandBars->GetSite()) {
      if (pSite->GetSafeHwnd() != nullptr)
        pSite->SendMessage(XTP_WM_TOOLBARVISIBLECHANGED, reinterpret_cast<WPARAM>(this), bVisible);
    }
    if (!bVisible && m_bTearOff) pCommandBars->Remove(this);
  }
  InternalRelease();
}

BOOL CXTPToolBar::SetPosition(XTPBarPosition barPosition) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars == nullptr) return FALSE;
  switch (barPosition) {
    case xtpBarTop:
    case xtpBarBottom:
    case xtpBarLeft:
    case xtpBarRight:
      return pCommandBars->DockCommandBar(this, barPosition);
    case xtpBarFloating:
      if (!pCommandBars->FloatCommandBar(this)) return FALSE;
      OnRecalcLayout();
      return TRUE;
    default:
      return FALSE;
  }
}

void CXTPToolBar::OnRecalcLayout() {
  if (m_barPosition == xtpBarFloating) {
    if (m_hWnd == nullptr) return;
    const CSize sz = CalcDynamicLayout(-1, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
    SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    return;
  }
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->RecalcFrameLayout();
}

void CXTPToolBar::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  PropExchangeStoredBool(pPX, _T("BuiltIn"), m_bBuiltIn, TRUE);
  PropExchangeStoredBool(pPX, _T("TearOff"), m_bTearOff, FALSE);
  if (pPX->GetSchema() > 6) PropExchangeStoredBool(pPX, _T("Closeable"), m_bCloseable, TRUE);
  if (pPX->GetSchema() > 7)
    PropExchangeStoredBool(pPX, _T("ContextMenuPresent"), m_bContextMenuPresent, TRUE);
}

// ---- The toolbar's own buttons -----------------------------------------------------------------------

CXTPControl* CXTPToolBar::GetExpandButton(BOOL bCreate) {
  CXTPControl* pControl = m_pControls->FindControl(XTP_ID_TOOLBAR_EXPAND);
  if (pControl != nullptr || !bCreate) return pControl;
  pControl = m_pControls->AddControl(new CXTPToolBarExpandPopup, XTP_ID_TOOLBAR_EXPAND, nullptr, -1, TRUE);
  pControl->SetFlags(kExpandButtonFlags);
  return pControl;
}

CXTPControl* CXTPToolBar::GetCloseButton(BOOL bCreate) {
  CXTPControl* pControl = m_pControls->FindControl(XTP_ID_TOOLBAR_HIDE);
  if (pControl != nullptr || !bCreate) return pControl;
  pControl = m_pControls->AddControl(new CXTPToolBarCloseButton, XTP_ID_TOOLBAR_HIDE, nullptr, -1, TRUE);
  pControl->SetFlags(kCloseButtonFlags);
  return pControl;
}

// ---- Sizes -------------------------------------------------------------------------------------------

CRect CXTPToolBar::GetDockingBorders(CDC* pDC) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CRect rcBorders = pTheme->GetCommandBarBorders(this);
  if (m_dwStyle & CBRS_GRIPPER) {
    const CSize szGripper = pTheme->DrawCommandBarGripper(pDC, this, FALSE);
    rcBorders.left += szGripper.cx;
    rcBorders.top += szGripper.cy;
  }
  return rcBorders;
}

CSize CXTPToolBar::CalcLayout(DWORD dwMode, int nLength, int nMinExtent) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  return m_pControls->Layout(&dc, nLength, dwMode, GetDockingBorders(&dc), nMinExtent);
}

CSize CXTPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  CRect rcBorders = GetDockingBorders(&dc);
  CXTPCommandBars* pCommandBars = GetCommandBars();

  if (CXTPControl* pClose = GetCloseButton(FALSE))
    pClose->SetHideFlags(pClose->GetHideFlags() | xtpHideGeneric);
  CXTPControl* pExpand = nullptr;
  if (m_bShowExpandButton && pCommandBars != nullptr) {
    pExpand = GetExpandButton(TRUE);
    pExpand->SetHideFlags(pExpand->GetHideFlags() | xtpHideGeneric);
    if (!IsShowExpandButtonAlways(pCommandBars)) {
      const BOOL bHorzDock = (dwMode & LM_HORZDOCK) != 0;
      if (!(dwMode & LM_COMMIT)) {
        CSize sz = m_pControls->Layout(&dc, nLength, dwMode, rcBorders, nWidth);
        if (m_pControls->GetVisibleCount(FALSE) > 1) {
          const CSize szShortest = m_pControls->Layout(&dc, 1, dwMode, rcBorders, nWidth);
          if (bHorzDock) {
            sz.cx = std::max(sz.cx, szShortest.cx + 11);
          } else {
            sz.cy = std::max(sz.cy, szShortest.cy + 11);
          }
        }
        return sz;
      }
      const CSize sz = m_pControls->Layout(&dc, nLength, dwMode, rcBorders, nWidth);
      BOOL bWrapped = FALSE;
      for (int i = 0; i < m_pControls->GetCount() && !bWrapped; ++i)
        bWrapped = (m_pControls->GetAt(i)->GetHideFlags() & xtpHideWrap) != 0;
      if (!bWrapped) return sz;
    }
    // Room for the expand button at the end of the row.
    if (dwMode & LM_HORZDOCK) {
      rcBorders.right += 11;
    } else {
      rcBorders.bottom += 11;
    }
  }
  const CSize sz = m_pControls->Layout(&dc, nLength, dwMode, rcBorders, nWidth);
  if (pExpand != nullptr) {
    pExpand->SetHideFlags(pExpand->GetHideFlags() & ~static_cast<DWORD>(xtpHideGeneric));
    pTheme->DrawSymbol(&dc, xtpSymbolExpandButton, pExpand, this, FALSE, FALSE, sz);
  }
  return sz;
}

CSize CXTPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  CXTPCommandBars* pCommandBars = GetCommandBars();
  const int h = pTheme->DrawCommandBarGripper(&dc, this, FALSE).cy;

  CXTPControl* pClose = (m_barType != xtpBarTypeMenuBar && m_bCloseable) ? GetCloseButton(TRUE) : nullptr;
  CXTPControl* pExpand = (m_bShowExpandButton && pCommandBars != nullptr) ? GetExpandButton(TRUE) : nullptr;
  if (pClose != nullptr) pClose->SetHideFlags(pClose->GetHideFlags() | xtpHideGeneric);
  if (pExpand != nullptr) pExpand->SetHideFlags(pExpand->GetHideFlags() | xtpHideGeneric);
  const CSize sz = m_pControls->Layout(&dc, nLength, dwMode, CRect(3, h + 4, 3, 3));

  // The caption buttons, right to left.
  int x = sz.cx - 3;
  if (pClose != nullptr) {
    pClose->SetHideFlags(pClose->GetHideFlags() & ~static_cast<DWORD>(xtpHideGeneric));
    pClose->SetRect(CRect(x - h, 3, x, h + 3));
    x -= h;
  }
  if (pExpand != nullptr && x - h > 0 && IsShowExpandButtonAlways(pCommandBars)) {
    pExpand->SetHideFlags(pExpand->GetHideFlags() & ~static_cast<DWORD>(xtpHideGeneric));
    pExpand->SetRect(CRect(x - h, 3, x, h + 3));
  }
  return sz;
}

LRESULT CXTPToolBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (lpLayout == nullptr || !m_bVisible || m_hWnd == nullptr) return 0;
  DWORD dwMode = (m_dwFlags & xtpFlagStretched) ? 0x4B : 0x4A;
  if (m_dwFlags & xtpFlagHideWrap) dwMode |= LM_HIDEWRAP;
  if (lpLayout->hDWP == nullptr) dwMode &= ~static_cast<DWORD>(LM_COMMIT);
  CRect rcFree(lpLayout->rect);
  CSize sz = CalcDockingLayout(rcFree.Width(), dwMode);
  sz.cx = std::min(sz.cx, static_cast<LONG>(rcFree.Width()));
  sz.cy = std::min(sz.cy, static_cast<LONG>(rcFree.Height()));
  lpLayout->rect.top += sz.cy;
  lpLayout->sizeTotal.cy += sz.cy;
  lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, sz.cx);
  if (lpLayout->hDWP != nullptr) {
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, rcFree.left, rcFree.top, sz.cx, sz.cy,
                                      SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_dwIdleFlags &= ~xtpIdleRedraw;
  if (m_nLockRedraw <= 0) Invalidate(FALSE);
  return 0;
}

void CXTPToolBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPCommandBar::CopyBarProperties(pSource, bRecursive);
  if (CXTPToolBar* pToolBar = DYNAMIC_DOWNCAST(CXTPToolBar, pSource)) {
    m_bBuiltIn = pToolBar->m_bBuiltIn;
    m_bTearOff = pToolBar->m_bTearOff;
    m_bCloseable = pToolBar->m_bCloseable;
  }
}

CXTPCommandBar* CXTPToolBar::CreateCopy(BOOL bRecursive) {
  CXTPToolBar* pBar = new CXTPToolBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

// ---- Reset and the "Add or Remove Buttons" list -------------------------------------------------------

void CXTPToolBar::ResetToolBar() {
  if (!m_bBuiltIn || m_nBarID == 0 || !IsCustomizable()) return;
  CString strFormat, strMessage;
  GetToolkitResourceManager()->LoadString(strFormat, XTP_IDS_CONFIRM_RESET);
  strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
  CWnd* pSite = GetOwnerSite();
  if (::MessageBox(pSite->GetSafeHwnd(), strMessage, AfxGetAppName(), MB_OKCANCEL | MB_ICONWARNING) != IDOK)
    return;
  InternalAddRef();
  if (CXTPControls* pOriginal = m_pControls->GetOriginalControls()) {
    pOriginal->InternalAddRef();
    SetPopuped(-1);
    SetSelected(-1);
    m_pControls->RemoveAll();
    for (int i = 0; i < pOriginal->GetCount(); ++i) {
      CXTPControl* pControl = pOriginal->GetAt(i);
      if (!pControl->IsTemporary()) m_pControls->AddClone(pControl, -1, TRUE);
    }
    pOriginal->InternalRelease();
  } else {
    LoadToolBar(m_nBarID, FALSE);
  }
  OnUpdateCmdUI(TRUE);
  DelayLayout();
  OnRecalcLayout();
  InternalRelease();
}

void CXTPToolBar::MergeReferenceControls() {
  CXTPControls* pOriginal = m_pControls->GetOriginalControls();
  CXTPControls* pCopy = pOriginal != nullptr ? pOriginal->Duplicate(TRUE) : new CXTPControls;
  for (int i = m_pControls->GetCount() - 1; i >= 0; --i) {
    CXTPControl* pControl = m_pControls->GetAt(i);
    if (!(pControl->GetHideFlags() & xtpHideCustomize)) continue;
    if (m_nSelected >= i) m_nSelected = m_nSelected == i ? -1 : m_nSelected - 1;
    if (m_nPopuped >= i) m_nPopuped = m_nPopuped == i ? -1 : m_nPopuped - 1;
    m_pControls->RemoveAt(i);
  }
  int i = 0;
  for (int nGuard = 0; nGuard < 100000; ++nGuard) {
    // Reference controls the bar lacks from here on come in before the live control at i.
    while (pCopy->GetCount() > 0 && FindSameCommand(m_pControls, pCopy->GetAt(0), i) == -1) {
      CXTPControl* pAdded = m_pControls->AddClone(pCopy->GetAt(0), i, TRUE);
      pAdded->SetHideFlags(pAdded->GetHideFlags() | xtpHideCustomize);
      pCopy->RemoveAt(0);
      ++i;
    }
    if (i >= m_pControls->GetCount()) break;
    const int nFound = FindSameCommand(pCopy, m_pControls->GetAt(i), 0);
    if (nFound != -1) pCopy->RemoveAt(nFound);
    ++i;
  }
  pCopy->InternalRelease();
}

void CXTPToolBar::FillAddRemoveButtonsList(CXTPPopupBar* pPopup) {
  if (pPopup == nullptr) return;
  MergeReferenceControls();
  CXTPControls* pOriginal = m_pControls->GetOriginalControls();
  CXTPCommandBars* pCommandBars = GetCommandBars();
  CXTPControls* pList = pPopup->GetControls();
  for (int i = 0; i < m_pControls->GetCount(); ++i) {
    CXTPControl* pControl = m_pControls->GetAt(i);
    const int nId = pControl->GetID();
    if (nId == XTP_ID_TOOLBAR_EXPAND || nId == XTP_ID_TOOLBAR_HIDE) continue;
    if (pControl->GetHideFlags() & (xtpHideGeneric | xtpHideDocTemplate)) continue;
    if (pControl->GetFlags() & xtpFlagNoMovable) continue;
    CXTPToolBarButtonEntry* pEntry = new CXTPToolBarButtonEntry;
    pList->AddControl(pEntry, 0);
    pEntry->SetTarget(this, pControl);
    pEntry->SetCaption(pControl->GetCaption());
    const XTPControlType type = pControl->GetType();
    int nIconId =
        (type >= xtpControlButton && type <= xtpControlSplitButtonPopup && pControl->GetCustomIconId() > 0)
            ? pControl->GetCustomIconId()
        : pControl->GetIconId() > 0 ? pControl->GetIconId()
                                    : nId;
    pEntry->SetIconId(nIconId);
    CString strShortcut;
    if (pCommandBars != nullptr && pCommandBars->GetShortcutManager()->GetShortcutText(nId, strShortcut))
      pEntry->SetShortcutText(strShortcut);
    pEntry->SetEnabled(pOriginal != nullptr && FindSameCommand(pOriginal, pControl, 0) != -1);
    pEntry->SetChecked(!(pControl->GetHideFlags() & xtpHideCustomize));
  }
  if (pOriginal != nullptr && !m_bTearOff && m_bBuiltIn) {
    CXTPToolBarButtonEntry* pReset = new CXTPToolBarButtonEntry;
    pList->AddControl(pReset, 0);
    pReset->SetTarget(this, nullptr);
    CString strReset;
    GetToolkitResourceManager()->LoadString(strReset, XTP_IDS_RESET_TOOLBAR);
    pReset->SetCaption(strReset);
    pReset->SetCloseSubMenuOnClick(TRUE);
    pReset->SetBeginGroup(TRUE);
  }
}

// ---- Floating window ---------------------------------------------------------------------------------

BOOL CXTPToolBar::CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating) {
  if (m_hWnd == nullptr) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    CXTPCommandBars* pCommandBars = GetCommandBars();
    const DWORD dwExStyle = pCommandBars != nullptr && pCommandBars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    CPoint pt(100, 100);
    if (m_pDockContext != nullptr &&
        (m_pDockContext->m_ptMRUFloatPos.x != 0 || m_pDockContext->m_ptMRUFloatPos.y != 0))
      pt = m_pDockContext->m_ptMRUFloatPos;
    CWnd* pOwner = pParentWnd != nullptr ? pParentWnd->GetTopLevelParent() : nullptr;
    if (pOwner == nullptr) pOwner = pParentWnd;
    if (!CreateEx(dwExStyle, lpszClass, m_strTitle, kFloatingStyle, pt.x, pt.y, 0, 0, pOwner->GetSafeHwnd(),
                  nullptr))
      return FALSE;
    m_bVisible = TRUE;
    ShowWindow(SW_SHOWNA);
  }
  if (bFloating) {
    if (GetStyle() & WS_CHILD) {
      ::SetParent(m_hWnd, nullptr);
      ModifyStyle(WS_CHILD, kFloatingStyle);
    }
    CWnd* pOwner = pParentWnd != nullptr ? pParentWnd->GetTopLevelParent() : nullptr;
    if (pOwner == nullptr) pOwner = pParentWnd;
    ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pOwner->GetSafeHwnd()));
  } else {
    if (GetStyle() & WS_POPUP) ModifyStyle(WS_POPUP | MFS_SYNCACTIVE | WS_SYSMENU, WS_CHILD);
    if (pParentWnd != nullptr && ::GetParent(m_hWnd) != pParentWnd->GetSafeHwnd())
      ::SetParent(m_hWnd, pParentWnd->GetSafeHwnd());
  }
  return TRUE;
}

void PASCAL CXTPToolBar::SyncActivationOnCreate(CWnd* pWnd) {
  if (!(pWnd->GetStyle() & MFS_SYNCACTIVE)) return;
  HWND hWndTop = ::GetAncestor(pWnd->GetSafeHwnd(), GA_ROOTOWNER);
  HWND hWndForeground = ::GetForegroundWindow();
  BOOL bActive = hWndTop != nullptr && hWndForeground == hWndTop;
  if (!bActive && hWndTop != nullptr && hWndForeground != nullptr &&
      ::GetLastActivePopup(hWndTop) == hWndForeground &&
      ::SendMessage(hWndForeground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0) {
    bActive = TRUE;
  }
  pWnd->SendMessage(WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE, 0);
}

BOOL CXTPToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!CXTPCommandBar::OnNcCreate(lpCreateStruct)) return FALSE;
  SyncActivationOnCreate(this);
  return TRUE;
}

LRESULT CXTPToolBar::OnFloatStatus(WPARAM wParam, LPARAM) {
  const LRESULT lResult = ((GetStyle() & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE)) ? 1 : 0;
  if (m_barPosition != xtpBarFloating || !m_bVisible || m_hWnd == nullptr) return lResult;
  CXTPCommandBars* pCommandBars = GetCommandBars();
  const BOOL bSync = pCommandBars == nullptr || pCommandBars->GetCommandBarsOptions()->bSyncFloatingBars;
  const UINT nFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (bSync && (wParam & (FS_ACTIVATE | FS_DEACTIVATE))) {
    HWND hWndTop = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    HWND hWndForeground = ::GetForegroundWindow();
    const BOOL bOwnerActive = hWndTop != nullptr && ::GetLastActivePopup(hWndTop) == hWndForeground;
    if ((wParam & FS_DEACTIVATE) && !bOwnerActive) {
      SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | SWP_HIDEWINDOW);
    } else if ((wParam & FS_ACTIVATE) && !IsWindowVisible() && bOwnerActive && hWndForeground != nullptr &&
               ::IsWindowVisible(hWndForeground) && !::IsIconic(hWndForeground)) {
      SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | SWP_SHOWWINDOW);
    }
  }
  if (wParam & (FS_SHOW | FS_HIDE))
    SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  const BOOL bEnable = (wParam & FS_ENABLE) != 0;
  if ((wParam & (FS_ENABLE | FS_DISABLE)) && (IsWindowEnabled() != FALSE) != bEnable) {
    EnableWindow(bEnable);
    // Disabled, the bar shows its caption inactive and its buttons greyed.
    Invalidate(FALSE);
  }
  return lResult;
}

BOOL CXTPToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // A press on a floating bar that a modal window keeps disabled does nothing, but a window manager
  // raises the bar on it: the frame puts the windows it owns back in their order, the one it waits
  // for on top.
  const BOOL bPress = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
  if (static_cast<short>(nHitTest) == HTERROR && bPress && m_barPosition == xtpBarFloating &&
      m_hWnd != nullptr) {
    CWnd* pTop = CWnd::FromHandlePermanent(::GetAncestor(m_hWnd, GA_ROOTOWNER));
    if (pTop != nullptr && pTop->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
      static_cast<CFrameWnd*>(pTop)->PostKeepOwnedWindowsAbove();
  }
  return CXTPCommandBar::OnSetCursor(pWnd, nHitTest, message);
}

void CXTPToolBar::SetShowTextBelowIcons(int nMode) {
  m_nTextBelowIcons = nMode;
  DelayLayout();
  OnRecalcLayout();
}

void CXTPToolBar::OnSetPreviewMode(BOOL bPreview) {
  if (bPreview == m_bPreviewMode) return;
  m_bPreviewMode = bPreview;
  if (bPreview) {
    m_bPreviewVisible = m_bVisible;
    if (m_bVisible && m_hWnd != nullptr) ShowWindow(SW_HIDE);
  } else if (m_bPreviewVisible && m_hWnd != nullptr) {
    ShowWindow(SW_SHOWNA);
    if (m_barType == xtpBarTypeMenuBar) {
      if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetOwnerSite())) pFrame->RecalcLayout(FALSE);
    }
  }
}

// ---- Keys, focus and tips ----------------------------------------------------------------------------

int CXTPToolBar::OnKeyNavigate(UINT nChar) {
  if (m_pDockContext == nullptr && nChar == VK_TAB && m_hWnd != nullptr) {
    if (CWnd* pParent = GetParent()) {
      CWnd* pNext = pParent->GetNextDlgTabItem(this, ::GetKeyState(VK_SHIFT) < 0);
      if (pNext != nullptr && pNext != this) {
        pNext->SetFocus();
        EnterTracking(0);
        return 1;
      }
    }
  }
  return CXTPCommandBar::OnKeyNavigate(nChar);
}

void CXTPToolBar::OnSetFocus(CWnd* pOldWnd) {
  if (m_hwndCaret == nullptr && pOldWnd != nullptr) m_hwndCaret = pOldWnd->GetSafeHwnd();
  CXTPCommandBar::OnSetFocus(pOldWnd);
  if (m_pDockContext == nullptr) EnterTracking(1, TRUE, TRUE);
}

INT_PTR CXTPToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  return BarToolHitTest(this, point, pTI);
}

INT_PTR PASCAL CXTPToolBar::BarToolHitTest(const CXTPCommandBar* pBar, CPoint point, TOOLINFO* pTI) {
  if (pBar->IsTrackingMode() == 2 && pBar->GetPosition() != xtpBarPopup) return -1;
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  if (pState->m_nModalCounter > 0 || pState->IsTrackingOther(pBar)) return -1;
  CXTPCommandBars* pCommandBars = pBar->FindOwnerCommandBars();
  if (pCommandBars != nullptr && !pCommandBars->GetCommandBarsOptions()->bToolBarScreenTips) return -1;
  CXTPControl* pControl = pBar->GetControls()->HitTest(point);
  if (pControl == nullptr) return -1;
  // Popups show tips only for controls that ask for them.
  if (pBar->GetType() == xtpBarTypePopup && !(pControl->GetFlags() & xtpFlagShowPopupBarTip)) return -1;
  CString strTip = pControl->GetTooltip();
  if (strTip.IsEmpty()) return -1;
  CString strDescription = pControl->GetDescription();
  if (pCommandBars != nullptr && pCommandBars->GetCommandBarsOptions()->bToolBarAccelTips) {
    CString strShortcut = pControl->GetShortcutText();
    if (strShortcut.IsEmpty())
      pCommandBars->GetShortcutManager()->GetShortcutText(pControl->GetID(), strShortcut);
    if (!strShortcut.IsEmpty()) {
      strTip += _T(" (") + strShortcut + _T(")");
      if (!strDescription.IsEmpty()) strDescription += _T(" (") + strShortcut + _T(")");
    }
  }
  const int nId = pControl->GetID();
  // A tip with a title line shows the tip as its title and the description below it.
  if (pTI != nullptr) {
    CXTPTipSettings::FillToolInfo(pTI, pBar->GetSafeHwnd(), pControl->GetRect(), nId, strTip, strTip,
                                  strDescription);
    // Under the pointer the tip would lie over the button's own caption (drawn under its icon or
    // beside it): a bar's tip goes centred below the button. A menu's keeps to the pointer.
    if (pBar->GetType() != xtpBarTypePopup) pTI->uFlags |= TTF_CENTERTIP;
  }
  return nId != 0 ? nId : -1;
}

// ---- Mouse -------------------------------------------------------------------------------------------

void CXTPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_barPosition == xtpBarFloating)
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (m_pControls->HitTest(point) != nullptr) {
    CXTPCommandBar::OnLButtonDown(nFlags, point);
    return;
  }
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
  if (m_pDockContext != nullptr && (m_dwFlags & (xtpFlagAlignAny | xtpFlagFloating)) &&
      !IsBarCustomizeMode()) {
    ClientToScreen(&point);
    m_pDockContext->StartMove(point);
  }
}

void CXTPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pControls->HitTest(point) == nullptr && m_pDockContext != nullptr) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CXTPCommandBar::OnLButtonDblClk(nFlags, point);
}

void CXTPToolBar::OnRButtonDown(UINT nFlags, CPoint point) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars == nullptr || IsBarCustomizeMode()) {
    CXTPCommandBar::OnRButtonDown(nFlags, point);
    return;
  }
  EnterTracking(0);
  SetSelected(-1);
  Invalidate(FALSE);
  ClientToScreen(&point);
  pCommandBars->ContextMenu(reinterpret_cast<WPARAM>(this), point.x, point.y);
}

LRESULT CXTPToolBar::OnNcHitTest(CPoint point) {
  if (m_barPosition == xtpBarFloating) {
    CRect rc;
    GetWindowRect(&rc);
    rc.DeflateRect(3, 3);
    if (point.y < rc.top) return HTTOP;
    if (point.y >= rc.bottom) return HTBOTTOM;
    if (point.x < rc.left) return HTLEFT;
    if (point.x >= rc.right) return HTRIGHT;
  }
  return CXTPCommandBar::OnNcHitTest(point);
}

void CXTPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (m_pDockContext != nullptr && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    if (CWnd* pTop = GetTopLevelParent()) pTop->SetActiveWindow();
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
    m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
    return;
  }
  CXTPCommandBar::OnNcLButtonDown(nHitTest, point);
}

int CXTPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  if (m_barPosition == xtpBarFloating || IsBarCustomizeMode()) return MA_NOACTIVATE;
  // A focus inside a mini-frame window of the foreground application keeps it.
  CWnd* pFocus = CWnd::GetFocus();
  for (CWnd* pWnd = pFocus; pWnd != nullptr; pWnd = pWnd->GetParent()) {
    if (pWnd->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) return MA_NOACTIVATE;
  }
  return CXTPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CXTPToolBar::OnNcActivate(BOOL bActive) {
  // The caption never shows as active.
  if (bActive) return TRUE;
  return CXTPCommandBar::OnNcActivate(bActive);
}

// ---- Expand button -----------------------------------------------------------------------------------

CXTPToolBarExpandPopup::CXTPToolBarExpandPopup() { m_controlType = xtpControlButtonPopup; }

void CXTPToolBarExpandPopup::SetRect(CRect rcControl) {
  CXTPControlPopup::SetRect(rcControl);
  m_bHiddenControls = FALSE;
  if (m_pParent == nullptr) return;
  for (int i = 0; i < m_pParent->GetControlCount() && !m_bHiddenControls; ++i)
    m_bHiddenControls = m_pParent->GetControl(i)->GetHideFlags() == xtpHideWrap;
}

void CXTPToolBarExpandPopup::Draw(CDC* pDC) {
  if (m_pParent == nullptr) return;
  const int nKind =
      m_pParent->GetPosition() == xtpBarFloating ? xtpSymbolCaptionOptions : xtpSymbolExpandButton;
  GetPaintManager()->DrawSymbol(pDC, nKind, this, m_pParent, TRUE, m_bHiddenControls);
}

BOOL CXTPToolBarExpandPopup::SetPopuped(BOOL bPopuped) {
  CXTPToolBar* pToolBar = DYNAMIC_DOWNCAST(CXTPToolBar, m_pParent);
  if (!bPopuped || pToolBar == nullptr) {
    const BOOL bResult = CXTPControlPopup::SetPopuped(bPopuped);
    DelayRedrawParent();
    return bResult;
  }
  CXTPCommandBars* pCommandBars = GetCommandBars();
  SetCommandBar(static_cast<CXTPCommandBar*>(nullptr));
  CXTPPopupBar* pPopup = nullptr;
  CWnd* pSite = pToolBar->GetOwnerSite();
  if (pSite->GetSafeHwnd() != nullptr) {
    XTP_COMMANDBARS_CREATEBAR cs = {};
    cs.bExpandBar = TRUE;
    if (pSite->SendMessage(XTP_WM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs)) != 0 &&
        cs.pCommandBar != nullptr) {
      pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, cs.pCommandBar);
    }
  }
  if (pPopup == nullptr) pPopup = CXTPPopupToolBar::CreatePopupToolBar(pCommandBars);
  if (!pToolBar->IsDialogBar()) pPopup->SetCustomizable(FALSE);
  if (pCommandBars != nullptr) {
    pCommandBars->AddHiddenRowControls(pToolBar, pPopup);
    if (pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways || pCommandBars->IsCustomizable()) {
      const BOOL bGroup = pPopup->GetControlCount() > 1;
      CXTPControl* pAddRemove = pPopup->GetControls()->Add(xtpControlPopup, 0);
      CString strCaption;
      GetToolkitResourceManager()->LoadString(strCaption, XTP_IDS_ADD_OR_REMOVE);
      pAddRemove->SetCaption(strCaption);
      pAddRemove->SetBeginGroup(bGroup);
      if (CXTPPopupBar* pSub = DYNAMIC_DOWNCAST(CXTPPopupBar, pAddRemove->GetCommandBar()))
        pCommandBars->AddRemoveButtonsPopup(pToolBar, pSub);
    }
  }
  SetCommandBar(pPopup);
  pPopup->InternalRelease();
  const BOOL bResult = CXTPControlPopup::SetPopuped(TRUE);
  DelayRedrawParent();
  return bResult;
}

// ---- Close button ------------------------------------------------------------------------------------

CXTPToolBarCloseButton::CXTPToolBarCloseButton() = default;

void CXTPToolBarCloseButton::OnExecute() {
  if (m_pParent != nullptr) m_pParent->SetVisible(FALSE);
}

void CXTPToolBarCloseButton::Draw(CDC* pDC) {
  if (m_pParent != nullptr)
    GetPaintManager()->DrawSymbol(pDC, xtpSymbolCaptionClose, this, m_pParent, TRUE, FALSE);
}

// ---- "Add or Remove Buttons" entries -----------------------------------------------------------------

CXTPToolBarButtonEntry::CXTPToolBarButtonEntry() {
  m_dwFlags = xtpFlagManualUpdate;
  m_bCloseSubMenuOnClick = FALSE;
}

CXTPToolBarButtonEntry::~CXTPToolBarButtonEntry() { SetTarget(nullptr, nullptr); }

void CXTPToolBarButtonEntry::SetTarget(CXTPToolBar* pToolBar, CXTPControl* pControl) {
  if (pToolBar != nullptr) pToolBar->InternalAddRef();
  if (pControl != nullptr) pControl->InternalAddRef();
  if (m_pToolBar != nullptr) m_pToolBar->InternalRelease();
  if (m_pTarget != nullptr) m_pTarget->InternalRelease();
  m_pToolBar = pToolBar;
  m_pTarget = pControl;
}

void CXTPToolBarButtonEntry::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControlButton::Copy(pControl, bRecursive);
  if (CXTPToolBarButtonEntry* pEntry = DYNAMIC_DOWNCAST(CXTPToolBarButtonEntry, pControl))
    SetTarget(pEntry->m_pToolBar, pEntry->m_pTarget);
}

void CXTPToolBarButtonEntry::OnExecute() {
  CXTPToolBar* pToolBar = m_pToolBar;
  if (pToolBar == nullptr) return;
  pToolBar->InternalAddRef();
  InternalAddRef();
  if (m_pTarget == nullptr) {
    // "Reset": the menus close, then the bar asks and resets.
    if (CXTPCommandBars* pCommandBars = pToolBar->GetCommandBars()) pCommandBars->ClosePopups();
    pToolBar->ResetToolBar();
  } else {
    if (CXTPCommandBars* pCommandBars = pToolBar->GetCommandBars())
      pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
    m_pTarget->SetHideFlags(m_pTarget->GetHideFlags() ^ xtpHideCustomize);
    SetChecked(!(m_pTarget->GetHideFlags() & xtpHideCustomize));
    pToolBar->DelayLayout();
    pToolBar->OnRecalcLayout();
    if (m_pParent != nullptr) m_pParent->InvalidateChain();
  }
  InternalRelease();
  pToolBar->InternalRelease();
}
