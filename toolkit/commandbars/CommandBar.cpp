// The command bar base: tracking, selection and open popups, hot tracking and clicks, keyboard
// navigation and mnemonics, command-state updates, status texts, painting, customize drops, the stored
// record and accessibility.
#include "CommandBar.h"

#include "AcceleratorManager.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "ControlPopup.h"
#include "CustomizeDragSource.h"
#include "CustomizeSheet.h"
#include "PopupBar.h"
#include "StoredValues.h"
#include "ToolBar.h"

#include <BufferDC.h>
#include <DrawHelpers.h>
#include <ImageManager.h>
#include <PropExchange.h>
#include <ResourceSource.h>
#include <ScopedFont.h>
#include <TipSettings.h>

#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPCommandBar, CWnd, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace {

// The command-update object of bars: its operations act on the control at m_nIndex of the bar.
class CXTPControlCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    CXTPControl* pControl = CXTPControl::GetControlFromCmdUI(this);
    if (pControl == nullptr) return;
    pControl->SetEnabled(bOn);
    if (!bOn && pControl->GetChecked()) pControl->SetChecked(FALSE);
  }
  void SetCheck(int nCheck) override {
    if (CXTPControl* pControl = CXTPControl::GetControlFromCmdUI(this)) pControl->SetChecked(nCheck != 0);
  }
  void SetText(LPCTSTR lpszText) override {
    if (CXTPControl* pControl = CXTPControl::GetControlFromCmdUI(this)) pControl->SetCaption(lpszText);
  }
};

BOOL IsPopupType(XTPControlType type) {
  return type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup;
}

// The bars whose popups are being relinked, so that a stored popup cannot adopt its own chain.
CArray<CXTPCommandBar*, CXTPCommandBar*> g_arrRestoreChain;

}  // namespace

BEGIN_MESSAGE_MAP(CXTPCommandBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_NCMOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_ERASEBKGND()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

CXTPCommandBar::CXTPCommandBar() {
  InterlockedIncrement(&XTPGetLiveObjectCounts()->nCommandBars);
  m_pControls = new CXTPControls;
  m_pControls->SetParent(this);
}

CXTPCommandBar::~CXTPCommandBar() {
  if (m_bTracking) {
    CXTPBarMouseTracker::GetThreadState()->UntrackBar(this);
    CXTPBarKeyboardHook::GetThreadState()->RemoveSink(this);
    m_bTracking = 0;
  }
  CXTPBarMouseTracker::GetThreadState()->OnBarDestroyed(this);
  if (m_hWnd != nullptr) CWnd::DestroyWindow();
  CXTPControls* pControls = m_pControls;
  m_pControls = nullptr;
  pControls->SetParent(nullptr);
  pControls->InternalRelease();
  AssignPaintTheme(nullptr);
  AssignImageSet(nullptr);
  SetToolTipContext(nullptr);
  InterlockedDecrement(&XTPGetLiveObjectCounts()->nCommandBars);
}

void CXTPCommandBar::OnFinalRelease() {
  if (m_hWnd != nullptr) {
    // The destruction's own messages take and give back references without a second final release.
    m_bFinalRelease = TRUE;
    m_dwRef = 1;
    DestroyWindow();
    m_dwRef = 0;
  }
  delete this;
}

LRESULT CXTPCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_bFinalRelease || m_dwRef <= 0) return CWnd::WindowProc(message, wParam, lParam);
  InternalAddRef();
  LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
  InternalRelease();
  return lResult;
}

BOOL CXTPCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  RelayToolTipMessage(message, wParam, lParam);
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CXTPCommandBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CXTPCommandBar::SetControls(CXTPControls* pControls) {
  if (pControls == nullptr || pControls == m_pControls) return;
  CXTPControls* pOld = m_pControls;
  m_nSelected = m_nPopuped = -1;
  m_pControls = pControls;
  m_pControls->SetParent(this);
  pOld->SetParent(nullptr);
  pOld->InternalRelease();
  DelayLayout();
}

void CXTPCommandBar::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  if (m_hWnd != nullptr) SetWindowText(lpszTitle);
}

void CXTPCommandBar::UnlockRedraw() {
  if (m_nLockRedraw > 0) m_nLockRedraw--;
  if (m_nLockRedraw == 0) Redraw();
}

void CXTPCommandBar::Redraw() {
  m_dwIdleFlags &= ~xtpIdleRedraw;
  if (m_nLockRedraw <= 0 && m_hWnd != nullptr) Invalidate(FALSE);
}

void CXTPCommandBar::DelayLayout() { m_dwIdleFlags |= xtpIdleLayout; }

BOOL CXTPCommandBar::IsLayoutRTL() const {
  return m_hWnd != nullptr && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

BOOL CXTPCommandBar::IsHorizontalLayout() const {
  return m_barPosition == xtpBarTop || m_barPosition == xtpBarBottom || m_barPosition == xtpBarFloating ||
         (m_barPosition == xtpBarPopup && m_barType == xtpBarTypeNormal);
}

CXTPCommandBars* CXTPCommandBar::FindOwnerCommandBars() const {
  int nDepth = 0;
  for (const CXTPCommandBar* pBar = this; pBar != nullptr && nDepth <= XTP_MAX_POPUP_DEPTH;
       pBar = pBar->GetParentCommandBar(), ++nDepth) {
    if (pBar->m_pCommandBars != nullptr) return pBar->m_pCommandBars;
  }
  return nullptr;
}

CXTPCommandBar* CXTPCommandBar::GetRootBar() const {
  const CXTPCommandBar* pBar = this;
  for (int nDepth = 0; nDepth <= XTP_MAX_POPUP_DEPTH; ++nDepth) {
    CXTPCommandBar* pParent = pBar->GetParentCommandBar();
    if (pParent == nullptr) break;
    pBar = pParent;
  }
  return const_cast<CXTPCommandBar*>(pBar);
}

CWnd* CXTPCommandBar::GetOwnerSite() const {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars != nullptr && pCommandBars->GetSite() != nullptr) return pCommandBars->GetSite();
  CXTPCommandBar* pRoot = GetRootBar();
  if (pRoot->m_pOwner != nullptr) return pRoot->m_pOwner;
  if (pRoot->m_hWnd != nullptr) {
    if (CWnd* pParent = pRoot->GetParent()) return pParent;
  }
  return AfxGetMainWnd();
}

CWnd* CXTPCommandBar::GetCommandTarget() const {
  CXTPCommandBar* pRoot = GetRootBar();
  return pRoot->m_pCommandTarget != nullptr ? pRoot->m_pCommandTarget : GetOwnerSite();
}

BOOL CXTPCommandBar::IsBarCustomizeMode() const {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  return pCommandBars != nullptr && pCommandBars->IsCustomizeMode();
}

void CXTPCommandBar::InvalidateChain() {
  int nDepth = 0;
  for (CXTPCommandBar* pBar = this; pBar != nullptr && nDepth <= XTP_MAX_POPUP_DEPTH;
       pBar = pBar->GetParentCommandBar(), ++nDepth) {
    if (pBar->m_hWnd != nullptr) pBar->Invalidate(FALSE);
  }
}

void CXTPCommandBar::AssignPaintTheme(CXTPBarTheme* pTheme) {
  XTPReplaceHeld(m_pPaintManager, pTheme, FALSE);
}

CXTPBarTheme* CXTPCommandBar::ResolvePaintTheme() const {
  if (m_pPaintManager != nullptr) return m_pPaintManager;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars != nullptr) return pCommandBars->GetPaintManager();
  CXTPCommandBar* pRoot = GetRootBar();
  if (pRoot->m_pPaintManager != nullptr) return pRoot->m_pPaintManager;
  return CXTPBarTheme::GetTheme();
}

BOOL CXTPCommandBar::IsKeyboardCuesVisible() const {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  return pCommandBars == nullptr || pCommandBars->IsKeyboardCuesVisible();
}

BOOL CXTPCommandBar::IsTextBelowIcons() const {
  if (m_nTextBelowIcons != 2) return m_nTextBelowIcons != 0;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  return pCommandBars != nullptr && pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons;
}

CSize CXTPCommandBar::GetIconSize() const {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr) return m_szIcons.cx > 0 ? m_szIcons : CSize(16, 16);
  CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
  if (m_barType == xtpBarTypePopup) return m_szIcons.cx > 0 ? m_szIcons : pOptions->szPopupIcons;
  const CSize szBase = m_szIcons.cx > 0           ? m_szIcons
                       : pOptions->szIcons.cx > 0 ? pOptions->szIcons
                                                  : CSize(16, 16);
  if (pOptions->bLargeIcons && m_szButtons.cx == 0 && m_szButtons.cy == 0)
    return pOptions->szLargeIcons.cx > 0 ? pOptions->szLargeIcons : CSize(szBase.cx * 2, szBase.cy * 2);
  return szBase;
}

CSize CXTPCommandBar::GetButtonSize() const {
  if (m_szButtons.cx != 0 || m_szButtons.cy != 0) return m_szButtons;
  const CSize szIcon = GetIconSize();
  return CSize(szIcon.cx + 7, szIcon.cy + 7);
}

// ---- Tracking and selection --------------------------------------------------------------------------

BOOL CXTPCommandBar::EnterTracking(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  if ((m_bTracking && nMode) || nMode == m_bTracking) {
    m_bTracking = nMode;
    return FALSE;
  }
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  InternalAddRef();
  if (nMode) {
    if (m_barType == xtpBarTypeMenuBar) {
      if (CWnd* pSite = GetOwnerSite())
        pSite->SendMessage(XTP_WM_MENUBARTRACKING, reinterpret_cast<WPARAM>(this), 0);
    }
    pState->m_bMouseTracking = !bSelectFirst && !bKeyboard;
    if (bKeyboard) pState->m_bKeyboardMode = TRUE;
    if (m_bHideCaret) {
      HWND hWndFocus = ::GetFocus();
      m_hwndCaret = hWndFocus != nullptr ? hWndFocus : GetOwnerSite()->GetSafeHwnd();
      if (m_hwndCaret != nullptr) ::HideCaret(m_hwndCaret);
    }
    m_bTracking = nMode;
    pState->TrackBar(this);
    CXTPBarKeyboardHook::GetThreadState()->AddSink(this);
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (bSelectFirst) SetSelected(m_pControls->GetNextNavigable(-1, +1), TRUE);
  } else {
    m_bTracking = 0;
    pState->m_bMouseTracking = FALSE;
    pState->UntrackBar(this);
    CXTPBarKeyboardHook::GetThreadState()->RemoveSink(this);
    SetPopuped(-1);
    // The selection goes with the tracking, however the tracking ends (a key, a command, a click
    // elsewhere, the frame moved or left behind): only a control the mouse rests on stays hot, until
    // the mouse leaves it.
    if (bSelectFirst || m_bKeyboardSelect || !IsCursorOnSelected()) {
      SetSelected(-1);
    } else {
      pState->TrackMouseLeave(m_hWnd);
    }
    if (m_hwndCaret != nullptr) {
      ::ShowCaret(m_hwndCaret);
      m_hwndCaret = nullptr;
    }
    Redraw();
    if (pState->GetTrackedCount() == 0) pState->m_bKeyboardMode = FALSE;
    if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
      if (CWnd* pParent = GetParent()) {
        CWnd* pNext = pParent->GetNextDlgTabItem(this);
        if (pNext != nullptr && pNext != this) pNext->SetFocus();
      }
    }
    m_nLockRecurse = 0;
  }
  if (pCommandBars != nullptr) pCommandBars->UpdateKeyboardCues(nMode);
  InternalRelease();
  return TRUE;
}

BOOL CXTPCommandBar::IsCursorOnSelected() const {
  CXTPControl* pSelected = GetSelected();
  CPoint point;
  if (pSelected == nullptr || m_hWnd == nullptr || !IsWindowVisible() || !::GetCursorPos(&point))
    return FALSE;
  HWND hWndPoint = ::WindowFromPoint(point);
  if (hWndPoint != m_hWnd && !::IsChild(m_hWnd, hWndPoint)) return FALSE;
  // A bar of a window left behind, or disabled by a modal dialog, takes no hovering (popups excepted,
  // as in the hot tracking).
  if (m_barType != xtpBarTypePopup &&
      (!IsTopParentActive(m_hWnd) || !::IsWindowEnabled(::GetAncestor(m_hWnd, GA_ROOT))))
    return FALSE;
  ScreenToClient(&point);
  return pSelected->GetRect().PtInRect(point);
}

BOOL CXTPCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
  if (nSelected == m_nSelected || m_hWnd == nullptr) return FALSE;
  LockRedraw();
  CXTPControl* pOld = GetControl(m_nSelected);
  m_nSelected = nSelected;
  if (pOld != nullptr) pOld->OnSetSelected(0);
  if (nSelected == -1) {
    KillTimer(TID_HOVER);
  } else {
    if (m_bTracking)
      CXTPBarAccessibility::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nSelected + 1);
    if (CXTPControl* pNew = GetControl(nSelected)) pNew->OnSetSelected(bKeyboard ? 2 : 1);
    CXTPBarMouseTracker::GetThreadState()->m_pHotBar = this;
    if (!bKeyboard) SetTimer(TID_HOVER, 300, nullptr);
  }
  m_bKeyboardSelect = bKeyboard;
  UnlockRedraw();
  return TRUE;
}

BOOL CXTPCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard) {
  if (nPopuped == m_nPopuped) return FALSE;
  InternalAddRef();
  LockRedraw();
  CXTPControl* pOld = GetControl(m_nPopuped);
  m_nPopuped = -1;
  if (pOld != nullptr) pOld->SetPopuped(FALSE);
  BOOL bResult = TRUE;
  if (nPopuped != -1) {
    CXTPControl* pNew = GetControl(nPopuped);
    // A popup control of any type opens: the combo box (type 5) is one too.
    if (pNew == nullptr || !pNew->GetEnabled() || !pNew->IsKindOf(RUNTIME_CLASS(CXTPControlPopup))) {
      bResult = FALSE;
    } else {
      EnterTracking(2, FALSE);
      SetSelected(nPopuped, bKeyboard);
      m_nPopuped = nPopuped;
      m_bAnimateNextPopup = TRUE;
      if (!pNew->SetPopuped(TRUE)) {
        if (m_nPopuped == nPopuped) m_nPopuped = -1;
      } else {
        CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
        if (pCommandBars != nullptr && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay &&
            m_hWnd != nullptr)
          SetTimer(TID_EXPAND, 5000, nullptr);
      }
    }
  }
  UnlockRedraw();
  InternalRelease();
  return bResult;
}

// ---- Mouse -------------------------------------------------------------------------------------------

void CXTPCommandBar::OnMouseMove(UINT, CPoint point) {
  if (m_hWnd == nullptr) return;
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  if (pState->IsTrackingOther(this) || pState->m_nModalCounter > 0) return;
  if (!m_bTracking && !IsTopParentActive(m_hWnd) && m_barType != xtpBarTypePopup) return;
  if (IsBarCustomizeMode()) {
    CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
    if (CXTPControl* pDrag = pCommandBars != nullptr ? pCommandBars->GetDragControl() : nullptr) {
      if (pDrag->GetParent() == this) {
        pDrag->OnMouseMove(point);
        pDrag->OnCustomizeSetCursor(point);
      }
    }
    return;
  }
  int nCandidate = -1;
  if (m_bTracking && (m_barPosition != xtpBarPopup || GetPopupedControl() != nullptr || m_bKeyboardSelect))
    nCandidate = m_nSelected;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (pControl->IsVisible() && pControl->GetRect().PtInRect(point)) {
      nCandidate = i;
      pState->TrackMouseLeave(m_hWnd);
      pControl->OnMouseMove(point);
    }
  }
  SetSelected(nCandidate, FALSE);
}

void CXTPCommandBar::OnMouseLeave() {
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  if (pState->m_nModalCounter <= 0 && (!m_bTracking || (m_barType == xtpBarTypePopup && m_nPopuped == -1)) &&
      m_nLockRecurse == 0) {
    SetSelected(-1);
  }
}

void CXTPCommandBar::OnNcMouseMove(UINT nHitTest, CPoint point) {
  OnMouseLeave();
  CWnd::OnNcMouseMove(nHitTest, point);
}

void CXTPCommandBar::OnLButtonDown(UINT nFlags, CPoint point) {
  CXTPControl* pControl = m_pControls->HitTest(point);
  if (pControl == nullptr) {
    CWnd::OnLButtonDown(nFlags, point);
    return;
  }
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  const BOOL bCustomize = IsBarCustomizeMode();
  if (!bCustomize && m_barType == xtpBarTypeNormal && IsCustomizable() &&
      !(pControl->GetFlags() & xtpFlagNoMovable) && ::GetKeyState(VK_MENU) < 0 && pCommandBars != nullptr &&
      pCommandBars->IsCustomizable() && pCommandBars->GetCommandBarsOptions()->bAltDragCustomization) {
    pControl->InternalAddRef();
    pCommandBars->SetQuickCustomizeMode(TRUE);
    SetPopuped(-1);
    SetSelected(-1);
    pControl->OnCustomizeMouseDown(point);
    pCommandBars->SetQuickCustomizeMode(FALSE);
    pCommandBars->RecalcFrameLayout();
    pCommandBars->ClosePopups();
    pControl->InternalRelease();
    return;
  }
  if (!bCustomize || (IsCustomizable() && !(pControl->GetFlags() & xtpFlagNoMovable))) {
    pControl->InternalAddRef();
    pControl->OnClick(FALSE, point);
    pControl->InternalRelease();
  }
}

void CXTPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CXTPControl* pControl = IsBarCustomizeMode() ? nullptr : m_pControls->HitTest(point);
  if (pControl == nullptr) {
    CWnd::OnLButtonDblClk(nFlags, point);
    return;
  }
  pControl->InternalAddRef();
  pControl->OnLButtonDblClk(point);
  pControl->InternalRelease();
}

void CXTPCommandBar::OnLButtonUp(UINT nFlags, CPoint point) {
  CXTPControl* pControl = IsBarCustomizeMode() ? nullptr : m_pControls->HitTest(point);
  if (pControl == nullptr) {
    CWnd::OnLButtonUp(nFlags, point);
    return;
  }
  pControl->InternalAddRef();
  pControl->OnLButtonUp(point);
  pControl->InternalRelease();
}

void CXTPCommandBar::OnRButtonDown(UINT nFlags, CPoint point) {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (IsBarCustomizeMode() && IsCustomizable() && pCommandBars != nullptr) {
    CXTPControl* pControl = m_pControls->HitTest(point);
    if (pControl != nullptr && !(pControl->GetFlags() & xtpFlagNoMovable))
      pCommandBars->SetDragControl(pControl);
    CXTPCustomizeDragSource* pSource = pCommandBars->GetDragSource();
    if (CXTPCustomizeSheet* pSheet =
            DYNAMIC_DOWNCAST(CXTPCustomizeSheet, pSource != nullptr ? pSource->GetSheet() : nullptr)) {
      CPoint ptScreen = point;
      ClientToScreen(&ptScreen);
      pSheet->ContextMenu(ptScreen.x, ptScreen.y);
    }
    return;
  }
  CWnd::OnRButtonDown(nFlags, point);
}

void CXTPCommandBar::OnRButtonUp(UINT nFlags, CPoint point) {
  CXTPControl* pControl = IsBarCustomizeMode() ? nullptr : m_pControls->HitTest(point);
  if (pControl == nullptr) {
    CWnd::OnRButtonUp(nFlags, point);
    return;
  }
  pControl->InternalAddRef();
  CWnd* pSite = GetOwnerSite();
  CPoint ptScreen = point;
  if (pSite == nullptr || pSite->SendMessage(XTP_WM_CONTROLRBUTTONUP, reinterpret_cast<WPARAM>(&ptScreen),
                                             reinterpret_cast<LPARAM>(pControl)) != 1) {
    CXTPPopupBar* pRootPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, GetRootBar());
    if (pRootPopup != nullptr && pRootPopup->IsRightButtonSelect()) {
      pControl->OnLButtonUp(point);
    } else {
      pControl->OnRButtonUp(point);
    }
  }
  pControl->InternalRelease();
}

void CXTPCommandBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TID_HOVER) {
    if (m_nLockRecurse > 0) return;
    KillTimer(TID_HOVER);
    if (CXTPControl* pControl = GetSelected()) {
      pControl->InternalAddRef();
      pControl->OnMouseHover();
      pControl->InternalRelease();
    }
    return;
  }
  if (nIDEvent == TID_EXPAND) {
    if (m_nLockRecurse > 0) return;
    KillTimer(TID_EXPAND);
    CXTPControl* pPopuped = GetPopupedControl();
    if (pPopuped != nullptr && m_nPopuped == m_nSelected) {
      if (CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pPopuped->GetCommandBar()))
        pPopup->ExpandBar();
    }
    return;
  }
  CWnd::OnTimer(nIDEvent);
}

// ---- Painting ----------------------------------------------------------------------------------------

void CXTPCommandBar::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC memDC(dc.GetSafeHdc(), rcClient);
  DrawCommandBar(&memDC);
}

LRESULT CXTPCommandBar::OnPrintClient(WPARAM wParam, LPARAM) {
  if (CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam))) DrawCommandBar(pDC);
  return TRUE;
}

BOOL CXTPCommandBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPCommandBar::DrawCommandBar(CDC* pDC) {
  CXTPBarTheme* pTheme = GetPaintManager();
  pTheme->FillCommandBar(pDC, this);
  if (m_dwStyle & CBRS_GRIPPER) pTheme->DrawCommandBarGripper(pDC, this, TRUE);
  BOOL bFirst = TRUE;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->GetBeginGroup() && !bFirst) pTheme->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
    bFirst = FALSE;
    CXTPScopedFont font(pDC, pTheme->GetControlFont(this, pControl->GetDefaultItem()));
    pControl->Draw(pDC);
  }
  if (IsBarCustomizeMode()) {
    CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
    CXTPControl* pDrag = pCommandBars != nullptr ? pCommandBars->GetDragControl() : nullptr;
    if (pDrag != nullptr && pDrag->GetParent() == this && pDrag->IsVisible()) {
      CRect rc = pDrag->GetRect();
      pDC->Draw3dRect(rc, 0, 0);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(rc, 0, 0);
    }
    if (!m_rcMarker.IsRectEmpty()) DrawInsertionMark(pDC);
  }
}

void CXTPCommandBar::DrawInsertionMark(CDC* pDC) const {
  CBrush brush(GetXTPColor(COLOR_BTNFACE));
  CBrush* pOld = pDC->SelectObject(&brush);
  const CRect rc = m_rcMarker;
  if (m_bVerticalMarker) {
    // An I-beam standing upright: a stem between two bars across.
    pDC->PatBlt(rc.left + 2, rc.top, 2, rc.Height(), PATINVERT);
    pDC->PatBlt(rc.left, rc.top, 6, 2, PATINVERT);
    pDC->PatBlt(rc.left, rc.bottom - 2, 6, 2, PATINVERT);
  } else {
    pDC->PatBlt(rc.left, rc.top + 2, rc.Width(), 2, PATINVERT);
    pDC->PatBlt(rc.left, rc.top, 2, 6, PATINVERT);
    pDC->PatBlt(rc.right - 2, rc.top, 2, 6, PATINVERT);
  }
  pDC->SelectObject(pOld);
}

// ---- Hit testing, help and accessibility messages -----------------------------------------------------

static BOOL IsHelpMode(CWnd* pSite) {
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
  return pFrame != nullptr && pFrame->m_bHelpMode;
}

LRESULT CXTPCommandBar::OnNcHitTest(CPoint point) {
  if (IsHelpMode(GetOwnerSite())) {
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    CXTPControl* pControl = m_pControls->HitTest(ptClient);
    if (pControl != nullptr && IsPopupType(pControl->GetType()) && pControl->GetID() <= 0) return HTMENU;
    return HTCLIENT;
  }
  return CWnd::OnNcHitTest(point);
}

void CXTPCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (IsHelpMode(GetOwnerSite())) {
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    OnLButtonDown(0, ptClient);
    return;
  }
  CWnd::OnNcLButtonDown(nHitTest, point);
}

LRESULT CXTPCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (CXTPControl* pControl = m_pControls->HitTest(point))
    return static_cast<LRESULT>(pControl->GetID()) + 0x10000;
  const int nID = GetDlgCtrlID();
  return nID != 0 ? static_cast<LRESULT>(nID) + 0x50000 : 0;
}

LRESULT CXTPCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  OnUpdateCmdUI(static_cast<BOOL>(wParam));
  return 0;
}

LRESULT CXTPCommandBar::OnInitialUpdate(WPARAM, LPARAM) {
  OnUpdateCmdUI(TRUE);
  return 0;
}

LRESULT CXTPCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam) {
  const LONG nObject = static_cast<LONG>(lParam);
  if (nObject == OBJID_CLIENT || nObject == OBJID_MENU)
    return CXTPBarAccessibility::LresultFromObject(IID_IAccessible, wParam, GetAccessible());
  return Default();
}

int CXTPCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (m_barPosition != xtpBarListBox && pCommandBars != nullptr && pCommandBars->GetDragSource() != nullptr)
    pCommandBars->GetDragSource()->Register(this);
  if (pCommandBars != nullptr) SetToolTipContext(pCommandBars->GetToolTipContext());
  if (pCommandBars == nullptr && m_barType != xtpBarTypePopup) EnableToolTips(TRUE);
  return 0;
}

void CXTPCommandBar::OnDestroy() {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (m_barPosition != xtpBarListBox && pCommandBars != nullptr && pCommandBars->GetDragSource() != nullptr)
    pCommandBars->GetDragSource()->Unregister(this);
  if (m_bTracking) EnterTracking(0);
  CWnd::OnDestroy();
}

// ---- Keyboard ----------------------------------------------------------------------------------------

int CXTPCommandBar::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&) {
  if (nMessage != WM_KEYDOWN) return 0;
  return OnKeyNavigate(static_cast<UINT>(wParam));
}

TCHAR PASCAL CXTPCommandBar::GetMnemonic(const CString& strCaption, BOOL* pbImplicit) {
  *pbImplicit = FALSE;
  if (strCaption.IsEmpty()) return 0;
  const int nAmp = strCaption.Find(_T('&'));
  if (nAmp >= 0 && nAmp < strCaption.GetLength() - 1) return strCaption[nAmp + 1];
  *pbImplicit = TRUE;
  return strCaption[0];
}

int CXTPCommandBar::FindMnemonic(UINT nChar, BOOL* pbAmbiguous) const {
  *pbAmbiguous = FALSE;
  const int nCount = GetControlCount();
  int nExplicit = -1, nImplicit = -1;
  BOOL bExplicitAmbiguous = FALSE, bImplicitAmbiguous = FALSE;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  const BOOL bNoImplicit =
      pCommandBars != nullptr && (pCommandBars->GetCommandBarsOptions()->keyboardCuesUse & 4) != 0;
  for (int n = 1; n <= nCount; ++n) {
    const int i = (m_nSelected + n + nCount) % nCount;
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible() || !pControl->GetEnabled()) continue;
    CString strCaption = pControl->GetCaption();
    if (strCaption.IsEmpty()) continue;
    BOOL bImplicit = FALSE;
    const TCHAR chMnemonic = GetMnemonic(strCaption, &bImplicit);
    if (!CXTPAcceleratorManager::IsKeyForChar(nChar, chMnemonic)) continue;
    if (!bImplicit) {
      if (nExplicit == -1) {
        nExplicit = i;
      } else {
        bExplicitAmbiguous = TRUE;
      }
    } else if (!bNoImplicit && (m_barType == xtpBarTypeMenuBar || m_bTracking)) {
      if (nImplicit == -1) {
        nImplicit = i;
      } else {
        bImplicitAmbiguous = TRUE;
      }
    }
  }
  if (nExplicit != -1) {
    *pbAmbiguous = bExplicitAmbiguous;
    return nExplicit;
  }
  *pbAmbiguous = bImplicitAmbiguous;
  return nImplicit;
}

int CXTPCommandBar::OnKeyNavigate(UINT nChar) {
  if (IsBarCustomizeMode() || IsHelpMode(GetOwnerSite())) return 2;
  if (m_nLockRecurse > 0) return 1;
  CXTPControl* pSelected = GetSelected();
  if (pSelected != nullptr && pSelected->IsFocused()) {
    const int nResult = pSelected->OnHookKeyDown(nChar, 0);
    if (nResult == 1 || nResult == 2) return nResult;
  }
  InternalAddRef();
  if (CWnd* pSite = GetOwnerSite())
    pSite->SendMessage(XTP_WM_TRACKINGKEY, reinterpret_cast<WPARAM>(&nChar), reinterpret_cast<LPARAM>(this));
  int nResult = 1;
  if (m_hWnd == nullptr) {
    InternalRelease();
    return 1;
  }
  const BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
  const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  switch (nChar) {
    case VK_TAB: {
      CXTPCommandBar* pRoot = GetRootBar();
      if (bCtrl && pCommandBars != nullptr && pRoot->GetType() == xtpBarTypeNormal &&
          pCommandBars->TrackNextBar(pRoot, bShift ? -1 : +1)) {
        break;
      }
      ProcessSpecialKey(bShift ? 1 : 0);
      if (CXTPControl* pNew = GetSelected()) {
        if (pNew->IsFocusable()) pNew->SetFocused(TRUE);
      }
      break;
    }
    case VK_RETURN:
      ProcessSpecialKey(5);
      break;
    case VK_ESCAPE:
      ProcessSpecialKey(4);
      break;
    default: {
      HWND hWndFocus = ::GetFocus();
      if (hWndFocus != nullptr && ::IsChild(m_hWnd, hWndFocus)) {
        nResult = 2;
        break;
      }
      const BOOL bHorz = IsHorizontalLayout();
      const BOOL bRTL = IsLayoutRTL();
      int nCode = -1;
      switch (nChar) {
        case VK_END:
          nCode = 7;
          break;
        case VK_HOME:
          nCode = 6;
          break;
        case VK_LEFT:
          nCode = bHorz ? (bRTL ? 0 : 1) : (bRTL ? 3 : 2);
          break;
        case VK_UP:
          nCode = bHorz ? 2 : 1;
          break;
        case VK_RIGHT:
          nCode = bHorz ? (bRTL ? 1 : 0) : (bRTL ? 2 : 3);
          break;
        case VK_DOWN:
          nCode = bHorz ? 3 : 0;
          break;
        default:
          break;
      }
      // An arrow this bar does not take goes on to the bar tracked before it: Left and Right in a
      // drop-down that opens nothing reach the menu bar, which opens the menu beside.
      if (nCode != -1) {
        if (!ProcessSpecialKey(nCode)) nResult = 0;
        break;
      }
      if (::MapVirtualKey(nChar, MAPVK_VK_TO_CHAR) == 0) break;
      if (m_barType == xtpBarTypeNormal && pCommandBars != nullptr && pCommandBars->HandleMenuKey(nChar))
        break;
      if (!bCtrl) {
        BOOL bAmbiguous = FALSE;
        const int nFound = FindMnemonic(nChar, &bAmbiguous);
        if (nFound != -1) {
          SetSelected(nFound, TRUE);
          if (!bAmbiguous) {
            if (CXTPControl* pControl = GetControl(nFound)) {
              pControl->InternalAddRef();
              pControl->OnKeyboardActivate();
              pControl->InternalRelease();
            }
          }
          break;
        }
      }
      if (nChar != VK_SHIFT && nChar != VK_CONTROL) ::MessageBeep(0);
      break;
    }
  }
  InternalRelease();
  return nResult;
}

int CXTPCommandBar::ScanRows(int nDirection) {
  CXTPControl* pCurrent = GetSelected();
  if (pCurrent == nullptr) return m_pControls->GetNextNavigable(-1, nDirection);
  const int nCurrentTop = pCurrent->GetRowRect().top;
  const int nCurrentLeft = pCurrent->GetRect().left;
  int nCandidate = -1, nCandidateTop = 0;
  int i = m_nSelected;
  for (int nSteps = 0; nSteps < GetControlCount(); ++nSteps) {
    i = m_pControls->GetNextNavigable(i, nDirection);
    if (i == -1 || i == m_nSelected) break;
    CXTPControl* pControl = GetControl(i);
    const CRect rcRow = pControl->GetRowRect();
    if (rcRow.IsRectEmpty() || rcRow.top == nCurrentTop) continue;
    if (nCandidate == -1) {
      nCandidate = i;
      nCandidateTop = rcRow.top;
      continue;
    }
    if (rcRow.top != nCandidateTop) break;
    const int nLeft = pControl->GetRect().left;
    if (nLeft > GetControl(nCandidate)->GetRect().left && nLeft <= nCurrentLeft) {
      nCandidate = i;
    } else if (nLeft > nCurrentLeft) {
      break;
    }
  }
  return nCandidate;
}

BOOL CXTPCommandBar::ProcessSpecialKey(int nCode) {
  CXTPControl* pSelected = GetSelected();
  const BOOL bPopupToolBar = m_barPosition == xtpBarPopup && m_barType == xtpBarTypeNormal;
  if (bPopupToolBar && pSelected != nullptr && m_nPopuped == m_nSelected) {
    if (nCode == 0) return FALSE;
    if (nCode == 1) nCode = 2;
  }
  const BOOL bOpenable = pSelected != nullptr && pSelected->GetEnabled() && IsPopupType(pSelected->GetType());
  if (nCode == 2 && pSelected != nullptr && m_nPopuped == -1 &&
      (bPopupToolBar || GetParentCommandBar() == nullptr) && bOpenable) {
    nCode = 3;
  }
  if ((m_barPosition == xtpBarFloating || bPopupToolBar) && m_nPopuped == -1 && (nCode == 2 || nCode == 3) &&
      !bOpenable) {
    const int nFound = ScanRows(nCode == 2 ? -1 : +1);
    if (nFound != -1) SetSelected(nFound, TRUE);
    return TRUE;
  }
  switch (nCode) {
    case 0:
    case 1:
      SetSelected(m_pControls->GetNextNavigable(m_nSelected, nCode == 0 ? +1 : -1), TRUE);
      return TRUE;
    case 6:
      SetSelected(m_pControls->GetNextNavigable(-1, +1), TRUE);
      return TRUE;
    case 7:
      SetSelected(m_pControls->GetNextNavigable(-1, -1), TRUE);
      return TRUE;
    case 2:
      if (m_nPopuped != -1) {
        SetPopuped(-1);
        return TRUE;
      }
      return FALSE;
    case 3:
      if (pSelected == nullptr || !bOpenable) return FALSE;
      if (m_nPopuped != m_nSelected) {
        pSelected->SetPressed(TRUE);
        SetPopuped(m_nSelected, TRUE);
      }
      return TRUE;
    case 4: {
      CXTPCommandBar* pParent = GetParentCommandBar();
      if (pParent != nullptr) {
        const int nParentSelected = pParent->m_nSelected;
        pParent->InternalAddRef();
        pParent->SetPopuped(-1);
        pParent->EnterTracking(1, FALSE, TRUE);
        pParent->SetSelected(nParentSelected, TRUE);
        pParent->InternalRelease();
      } else {
        EnterTracking(0, TRUE);
      }
      return TRUE;
    }
    case 5:
      if (pSelected != nullptr) {
        pSelected->InternalAddRef();
        pSelected->OnKeyboardActivate();
        pSelected->InternalRelease();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- Command states and status texts -----------------------------------------------------------------

void CXTPCommandBar::UpdateDocTemplateControls() {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  const UINT nActive = pCommandBars != nullptr ? static_cast<UINT>(pCommandBars->GetActiveMenuId()) : 0;
  BOOL bChanged = FALSE;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    BOOL bValue = FALSE;
    BOOL bHide = (pControl->GetDocTemplatesAssigned().GetCount() > 0 &&
                  !pControl->GetDocTemplatesAssigned().Lookup(nActive, bValue)) ||
                 pControl->GetDocTemplatesExcluded().Lookup(nActive, bValue);
    const DWORD dwOld = pControl->GetHideFlags();
    const DWORD dwNew =
        bHide ? (dwOld | xtpHideDocTemplate) : (dwOld & ~static_cast<DWORD>(xtpHideDocTemplate));
    if (dwNew != dwOld) {
      pControl->SetHideFlags(dwNew);
      bChanged = TRUE;
    }
  }
  if (bChanged) m_dwIdleFlags |= xtpIdleLayout;
}

void CXTPCommandBar::OnUpdateCmdUI(BOOL bDisableIfNoHandler) {
  if (m_hWnd == nullptr || !IsWindowVisible()) return;
  InternalAddRef();
  UpdateDocTemplateControls();
  CWnd* pTarget = GetCommandTarget();
  const BOOL bReturnCmd = GetRootBar()->m_pReturnCmd != nullptr;
  const BOOL bCustomize = IsBarCustomizeMode();
  CXTPControlCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetControlCount());
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (pControl->GetPressed() == 2) {
      pControl->SetPressed(0);
      DelayRedraw();
    }
    if (bReturnCmd || (pControl->GetFlags() & xtpFlagManualUpdate)) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(pControl->GetID());
    if (OnCmdMsg(0, static_cast<int>(0xBD11FFFF), &state, nullptr)) continue;
    if (state.m_nID != 0 && OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
      continue;
    if (bCustomize) {
      pControl->SetEnabled(TRUE);
    } else if (pTarget != nullptr) {
      state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
    if (m_hWnd == nullptr) break;
  }
  if (m_hWnd != nullptr) {
    if (m_dwIdleFlags & xtpIdleRedraw) {
      Invalidate(FALSE);
      m_dwIdleFlags &= ~xtpIdleRedraw;
    }
    if (m_dwIdleFlags & xtpIdleLayout) {
      m_dwIdleFlags &= ~xtpIdleLayout;
      OnRecalcLayout();
    }
    if (pTarget != nullptr) UpdateDialogControls(pTarget, bDisableIfNoHandler);
  }
  InternalRelease();
}

void CXTPCommandBar::OnControlSelected(BOOL bSelected, CXTPControl* pControl) {
  if (CWnd* pSite = GetOwnerSite())
    pSite->SendMessage(XTP_WM_CONTROLSELECTED, bSelected ? reinterpret_cast<WPARAM>(pControl) : 0, 0);
  SetStatusText(bSelected && pControl != nullptr ? pControl->GetDescription() : CString());
}

void CXTPCommandBar::SetStatusText(const CString& strText) {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr || !pCommandBars->GetCommandBarsOptions()->bShowStatusBarTexts) return;
  CWnd* pSite = pCommandBars->GetSite();
  if (pSite->GetSafeHwnd() == nullptr) return;
  if (!strText.IsEmpty()) {
    pSite->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
  } else {
    pSite->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
  }
}

// ---- Menus and toolbar resources ---------------------------------------------------------------------

BOOL CXTPCommandBar::LoadMenu(CMenu* pMenu, BOOL bRemoveControls) {
  if (pMenu == nullptr || !::IsMenu(pMenu->GetSafeHmenu())) return FALSE;
  if (bRemoveControls) m_pControls->RemoveAll();
  BOOL bBeginGroup = FALSE;
  const int nCount = pMenu->GetMenuItemCount();
  for (int i = 0; i < nCount; ++i) {
    MENUITEMINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_TYPE;
    ::GetMenuItemInfo(pMenu->GetSafeHmenu(), static_cast<UINT>(i), TRUE, &info);
    if ((info.fType & MFT_SEPARATOR) || pMenu->GetMenuItemID(i) == 0) {
      bBeginGroup = TRUE;
      continue;
    }
    CXTPControl* pControl = m_pControls->ImportMenuItem(pMenu, i);
    if (pControl == nullptr) continue;
    if (bBeginGroup) pControl->SetBeginGroup(TRUE);
    bBeginGroup = FALSE;
    if (info.fState & MFS_CHECKED) pControl->SetChecked(TRUE);
    if (info.fState & (MFS_DISABLED | MFS_GRAYED)) pControl->SetEnabled(FALSE);
  }
  if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetOwnerSite()))
    pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
  return TRUE;
}

BOOL CXTPCommandBar::LoadToolBar(UINT nIDResource, BOOL bLoadImages) {
  m_pControls->RemoveAll();
  XT_TOOLBARDATA data;
  if (!GetToolkitResourceManager()->LoadToolBar(&data, nIDResource)) return FALSE;
  CWnd* pSite = GetOwnerSite();
  BOOL bBeginGroup = FALSE;
  for (INT_PTR i = 0; i < data.arrItems.GetSize(); ++i) {
    const int nId = static_cast<int>(data.arrItems[i]);
    if (nId == 0) {
      bBeginGroup = TRUE;
      continue;
    }
    XTP_COMMANDBARS_CREATECONTROL cs;
    cs.nID = nId;
    cs.pControl = nullptr;
    cs.bToolBar = TRUE;
    cs.nIndex = static_cast<int>(i);
    cs.pMenu = nullptr;
    cs.pCommandBar = this;
    cs.strCaption = m_strTitle;
    cs.controlType = xtpControlButton;
    cs.buttonStyle = xtpButtonAutomatic;
    if (pSite->GetSafeHwnd() != nullptr)
      pSite->SendMessage(XTP_WM_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
    CXTPControl* pControl = nullptr;
    if (cs.pControl != nullptr) {
      pControl = m_pControls->AddControl(cs.pControl, cs.nID);
    } else {
      pControl = m_pControls->Add(cs.controlType, cs.nID);
      pControl->SetStyle(cs.buttonStyle);
      pControl->DelayLayoutParent();
      if (cs.controlType == xtpControlPopup) pControl->SetIconId(cs.nID);
    }
    if (bBeginGroup) pControl->SetBeginGroup(TRUE);
    bBeginGroup = FALSE;
    if (pSite->GetSafeHwnd() != nullptr) {
      cs.pControl = pControl;
      pSite->SendMessage(XTP_WM_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
    }
  }
  BOOL bResult = TRUE;
  if (bLoadImages) bResult = LoadToolBarImages(nIDResource, data);
  return bResult;
}

// ---- Customize drag and drop -------------------------------------------------------------------------

CRect CXTPCommandBar::CalcInsertionMark(CPoint point, int* pnIndex, BOOL* pbAfter) const {
  const BOOL bVert =
      m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight || m_barType == xtpBarTypePopup;
  int nBest = -1, nBestDistance = INT_MAX;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible() || (pControl->GetFlags() & xtpFlagNoMovable)) continue;
    const CRect rc = pControl->GetRect();
    if (pControl->GetWrap()) {
      // A row entirely past the point ends the scan; a new row restarts the search.
      const CRect rcRow = pControl->GetRowRect();
      if (bVert ? rcRow.right < point.x : rcRow.top > point.y) break;
      nBest = -1;
      nBestDistance = INT_MAX;
    }
    const CPoint c = rc.CenterPoint();
    const int nDistance = bVert ? abs(c.y - point.y) : abs(c.x - point.x);
    if (nDistance < nBestDistance) {
      nBest = i;
      nBestDistance = nDistance;
    }
  }
  CRect rcClient(0, 0, 0, 0);
  if (m_hWnd != nullptr) GetClientRect(&rcClient);
  if (nBest == -1) {
    *pnIndex = -1;
    *pbAfter = TRUE;
    return CRect(rcClient.left + 2, rcClient.top + 2, rcClient.left + 8, rcClient.bottom - 2);
  }
  CXTPControl* pControl = GetControl(nBest);
  const CRect rc = pControl->GetRect();
  const CPoint c = rc.CenterPoint();
  const BOOL bAfter = bVert ? c.y < point.y : c.x < point.x;
  *pnIndex = nBest;
  *pbAfter = bAfter;
  CXTPControl* pNext = GetControl(nBest + 1);
  const BOOL bStraddle = bAfter && pNext != nullptr && !pNext->GetBeginGroup() && !pNext->GetWrap();
  if (!bVert) {
    const int x = bAfter ? rc.right - (bStraddle ? 3 : 6) : rc.left;
    return CRect(x, rc.top, x + 6, rc.bottom);
  }
  const int y = bAfter ? rc.bottom - (bStraddle ? 3 : 6) : rc.top;
  return CRect(rc.left, y, rc.right, y + 6);
}

CRect CXTPCommandBar::GetInsertionMark(BOOL* pbVertical) const {
  if (pbVertical != nullptr) *pbVertical = m_bVerticalMarker;
  return m_rcMarker;
}

void CXTPCommandBar::OnCustomizeDragEnter(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect) {
  m_rcMarker.SetRectEmpty();
  OnCustomizeDragOver(pDataObject, point, dropEffect);
}

void CXTPCommandBar::OnCustomizeDragLeave() {
  if (!m_rcMarker.IsRectEmpty()) {
    m_rcMarker.SetRectEmpty();
    if (m_hWnd != nullptr) Invalidate(FALSE);
  }
}

void CXTPCommandBar::OnCustomizeDragOver(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect) {
  if (!IsCustomizable() || m_hWnd == nullptr || !IsWindowVisible()) {
    dropEffect = DROPEFFECT_NONE;
    return;
  }
  CXTPControl* pHit = m_pControls->HitTest(point);
  if (pHit != nullptr) {
    if (m_barType != xtpBarTypePopup && pHit != GetPopupedControl()) {
      if (CXTPCommandBars* pCommandBars = FindOwnerCommandBars()) pCommandBars->ClosePopups();
    }
    pHit->OnCustomizeDragOver(pDataObject, point, dropEffect);
  }
  if (pDataObject != nullptr && !pDataObject->CanCustomizeDrop(this, point, dropEffect)) {
    dropEffect = DROPEFFECT_NONE;
    OnCustomizeDragLeave();
    return;
  }
  int nIndex = -1;
  BOOL bAfter = FALSE;
  CRect rcMarker = CalcInsertionMark(point, &nIndex, &bAfter);
  if (nIndex != -1 && GetControl(nIndex) == pDataObject) rcMarker.SetRectEmpty();
  m_bVerticalMarker =
      !(m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight || m_barType == xtpBarTypePopup);
  // The mark is kept even when it is empty: a drop onto the dragged control itself reads it.
  m_nMarkerIndex = nIndex;
  m_bMarkerAfter = bAfter;
  if (rcMarker != m_rcMarker) {
    m_rcMarker = rcMarker;
    Invalidate(FALSE);
  }
}

void CXTPCommandBar::OnCustomizeDrop(CXTPControl* pDataObject, DROPEFFECT& dropEffect, CPoint ptDrop,
                                     CPoint ptDrag) {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  int nIndex = m_nMarkerIndex;
  const BOOL bAfter = m_bMarkerAfter;
  CXTPControl* pMarked = GetControl(nIndex);
  if (pMarked != pDataObject && pDataObject != nullptr) {
    if (bAfter) nIndex++;
    if (nIndex < 0) nIndex = GetControlCount();
    SetPopuped(-1);
    SetSelected(-1);
    CXTPControl* pBefore = GetControl(nIndex);
    const BOOL bGroup = pBefore != nullptr && pBefore->GetBeginGroup();
    if (pBefore != nullptr) pBefore->SetBeginGroup(FALSE);
    CXTPControl* pCopy = m_pControls->AddClone(pDataObject, nIndex, TRUE);
    if (pCopy != nullptr) {
      pCopy->SetBeginGroup(bGroup);
      if (pCommandBars != nullptr) pCommandBars->SetDragControl(pCopy);
    }
  } else if (pDataObject != nullptr && (abs(ptDrop.x - ptDrag.x) > 4 || abs(ptDrop.y - ptDrag.y) > 4)) {
    pDataObject->SetBeginGroup(bAfter && nIndex > 0);
    dropEffect = 5;
  }
  OnRecalcLayout();
  m_rcMarker.SetRectEmpty();
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

// ---- Stored record, copies and bar lists --------------------------------------------------------------

namespace {

// Docking "Flags" a stored bar may carry: the toolbar's and the menu bar's own.
const DWORD kKnownBarFlags = 0x7F | 0x3700 | xtpFlagStretchedShared;
// A stored popup bar sits where its class's popups sit; any other bar is docked, floating or not placed
// (a damaged position docks it at the top).
XTPBarPosition StoredPosition(XTPBarPosition positionOfClass, long nPosition) {
  if (positionOfClass == xtpBarPopup || positionOfClass == xtpBarListBox) return positionOfClass;
  const BOOL bPlaced = (nPosition >= xtpBarTop && nPosition <= xtpBarFloating) || nPosition == xtpBarNone;
  return bPlaced ? static_cast<XTPBarPosition>(nPosition) : xtpBarTop;
}

}  // namespace

void CXTPCommandBar::DoPropExchange(CXTPPropExchange* pPX) {
  // A bar is loaded just after it was made from its stored class: its type and position are still the
  // class's own. Every class has one type, so the stored type is read but the class's kept.
  const XTPBarType typeOfClass = m_barType;
  const XTPBarPosition positionOfClass = m_barPosition;
  long nType = m_barType, nPosition = m_barPosition, nBarID = static_cast<long>(m_nBarID);
  DWORD dwFlags = m_dwFlags, dwStyle = m_dwStyle;
  long nMRUWidth = m_nMRUWidth;
  PropExchangeLong(pPX, _T("Type"), nType, xtpBarTypeNormal);
  PropExchangeLong(pPX, _T("Position"), nPosition, xtpBarTop);
  PropExchangeLong(pPX, _T("BarID"), nBarID, 0);
  PropExchangeStoredFlags(pPX, _T("Flags"), dwFlags, 0, kKnownBarFlags);
  PropExchangeStoredFlags(pPX, _T("Style"), dwStyle, 0, CBRS_ALL);
  PropExchangeStoredString(pPX, _T("Title"), m_strTitle, _T(""));
  PropExchangeStoredBool(pPX, _T("Customizable"), m_bCustomizable, TRUE);
  PropExchangeStoredLong(pPX, _T("MRUWidth"), nMRUWidth, 0x7FFF, 0, 0x7FFF);
  if (pPX->GetSchema() > 2) {
    SIZE szIcons = m_szIcons;
    PropExchangeStoredSize(pPX, _T("IconSize"), szIcons, 0, 0, 1, XTP_STORED_ICON_MAX, TRUE);
    m_szIcons = szIcons;
  }
  if (pPX->IsLoading()) {
    m_barType = typeOfClass;
    m_barPosition = StoredPosition(positionOfClass, nPosition);
    m_nBarID = static_cast<UINT>(nBarID);
    m_dwFlags = dwFlags;
    m_dwStyle = dwStyle;
    m_nMRUWidth = nMRUWidth;
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam =
        static_cast<XTP_COMMANDBARS_PROPEXCHANGE_PARAM*>(pPX->m_dwData);
    if (pParam != nullptr) m_pCommandBars = pParam->pCommandBars;
  }
  CXTPPropExchangeSection sec(pPX, _T("Controls"));
  if (pPX->IsLoading()) m_pControls->SetCommandBars(m_pCommandBars);
  m_pControls->DoPropExchange(sec);
}

void CXTPCommandBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  if (pSource == nullptr || pSource == this) return;
  m_barType = pSource->m_barType;
  m_barPosition = pSource->m_barPosition;
  m_nBarID = pSource->m_nBarID;
  m_dwFlags = pSource->m_dwFlags;
  m_dwStyle = pSource->m_dwStyle;
  m_strTitle = pSource->m_strTitle;
  m_bCustomizable = pSource->m_bCustomizable;
  m_nMRUWidth = pSource->m_nMRUWidth;
  m_szIcons = pSource->m_szIcons;
  m_dwBarState1 = pSource->m_dwBarState1;
  m_dwBarState2 = pSource->m_dwBarState2;
  m_pCommandBars = pSource->m_pCommandBars;
  CXTPControls* pControls = pSource->m_pControls->Duplicate(bRecursive);
  SetControls(pControls);
}

CXTPCommandBar* CXTPCommandBar::CreateCopy(BOOL bRecursive) {
  CXTPCommandBar* pBar = new CXTPCommandBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

int CXTPCommandBar::IsPointInBar(CPoint point, HWND hWndClicked) const {
  if (m_hWnd == nullptr) return -2;
  CRect rc;
  GetWindowRect(&rc);
  if (rc.PtInRect(point)) return 1;
  if (hWndClicked != nullptr && ::IsChild(m_hWnd, hWndClicked)) return 0;
  return -2;
}

void CXTPCommandBar::GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                                            XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam) {
  if (!pCommandBarList->Add(this)) return;
  if (!IsKindOf(RUNTIME_CLASS(CXTPToolBar)) && (m_nBarID == 0 || m_nBarID > 0xFFFFFF)) m_nBarID = nID++;
  auto addSubBars = [&](CXTPControls* pControls) {
    for (int i = 0; i < pControls->GetCount(); ++i) {
      CXTPCommandBar* pBar = pControls->GetAt(i)->GetCommandBar();
      if (pBar != nullptr) pBar->GenerateCommandBarList(nID, pCommandBarList, pParam);
    }
  };
  addSubBars(m_pControls);
  if ((pParam == nullptr || pParam->bSaveOriginalControls) && m_pControls->GetOriginalControls() != nullptr)
    addSubBars(m_pControls->GetOriginalControls());
}

void CXTPCommandBar::RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, int nDepth) {
  if (nDepth > XTP_MAX_POPUP_DEPTH) return;
  for (INT_PTR i = 0; i < g_arrRestoreChain.GetSize(); ++i) {
    if (g_arrRestoreChain[i] == this) return;
  }
  g_arrRestoreChain.Add(this);
  auto relink = [&](CXTPControls* pControls) {
    for (int i = 0; i < pControls->GetCount(); ++i) {
      CXTPControlPopup* pPopup = DYNAMIC_DOWNCAST(CXTPControlPopup, pControls->GetAt(i));
      if (pPopup == nullptr || pPopup->GetCommandBarId() == 0) continue;
      CXTPCommandBar* pBar = pCommandBarList->FindCommandBar(static_cast<UINT>(pPopup->GetCommandBarId()));
      if (pBar == nullptr || pBar->IsKindOf(RUNTIME_CLASS(CXTPToolBar))) continue;
      // A popup that names a bar of its own chain would make the menus refer to themselves.
      BOOL bInChain = FALSE;
      for (INT_PTR j = 0; j < g_arrRestoreChain.GetSize(); ++j) {
        if (g_arrRestoreChain[j] == pBar) bInChain = TRUE;
      }
      if (bInChain) continue;
      pPopup->SetCommandBar(pBar);
      pBar->m_pCommandBars = m_pCommandBars;
      pBar->RestoreCommandBarList(pCommandBarList, nDepth + 1);
    }
  };
  relink(m_pControls);
  if (m_pControls->GetOriginalControls() != nullptr) relink(m_pControls->GetOriginalControls());
  g_arrRestoreChain.RemoveAt(g_arrRestoreChain.GetSize() - 1);
}

// ---- Accessibility -----------------------------------------------------------------------------------

HRESULT CXTPCommandBar::GetAccessibleParent(IDispatch** ppdispParent) {
  if (ppdispParent == nullptr) return E_INVALIDARG;
  *ppdispParent = nullptr;
  CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, this);
  if (pPopup != nullptr && pPopup->GetControlPopup() != nullptr)
    return pPopup->GetControlPopup()->GetAccessible()->QueryInterface(IID_IDispatch,
                                                                      reinterpret_cast<void**>(ppdispParent));
  if (m_hWnd == nullptr) return S_FALSE;
  return CXTPBarAccessibility::AccessibleObjectFromWindow(::GetParent(m_hWnd),
                                                          static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                          reinterpret_cast<void**>(ppdispParent));
}

HRESULT CXTPCommandBar::GetAccessibleChildCount(long* pcountChildren) {
  if (pcountChildren == nullptr) return E_INVALIDARG;
  *pcountChildren = GetControlCount();
  return S_OK;
}

HRESULT CXTPCommandBar::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
  if (ppdispChild == nullptr) return E_INVALIDARG;
  *ppdispChild = nullptr;
  const long nChild = GetChildIdFromVariant(&varChild);
  CXTPControl* pControl = nChild > 0 ? GetControl(nChild - 1) : nullptr;
  if (pControl == nullptr) return E_INVALIDARG;
  return pControl->GetAccessible()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispChild));
}

HRESULT CXTPCommandBar::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
  if (pszName == nullptr) return E_INVALIDARG;
  const long nChild = GetChildIdFromVariant(&varChild);
  if (nChild == CHILDID_SELF) {
    *pszName = ::SysAllocString(m_strTitle);
    return S_OK;
  }
  CXTPControl* pControl = nChild > 0 ? GetControl(nChild - 1) : nullptr;
  if (pControl == nullptr) return E_INVALIDARG;
  return pControl->GetAccessibleName(varChild, pszName);
}

HRESULT CXTPCommandBar::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
  if (pvarRole == nullptr) return E_INVALIDARG;
  const long nChild = GetChildIdFromVariant(&varChild);
  if (nChild < 0) return E_INVALIDARG;
  ::VariantInit(pvarRole);
  pvarRole->vt = VT_I4;
  if (nChild == CHILDID_SELF) {
    pvarRole->lVal = m_barType == xtpBarTypeMenuBar  ? ROLE_SYSTEM_MENUBAR
                     : m_barType == xtpBarTypeNormal ? ROLE_SYSTEM_TOOLBAR
                                                     : ROLE_SYSTEM_MENUPOPUP;
  } else {
    pvarRole->lVal = ROLE_SYSTEM_MENUITEM;
  }
  return S_OK;
}

HRESULT CXTPCommandBar::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
  if (pvarState == nullptr) return E_INVALIDARG;
  const long nChild = GetChildIdFromVariant(&varChild);
  ::VariantInit(pvarState);
  pvarState->vt = VT_I4;
  if (nChild == CHILDID_SELF) {
    pvarState->lVal = (m_hWnd != nullptr && IsWindowVisible()) ? 0 : STATE_SYSTEM_INVISIBLE;
    return S_OK;
  }
  CXTPControl* pControl = nChild > 0 ? GetControl(nChild - 1) : nullptr;
  if (pControl == nullptr) return E_INVALIDARG;
  long lState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  if (nChild - 1 == m_nSelected)
    lState |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
  pvarState->lVal = lState;
  return S_OK;
}

HRESULT CXTPCommandBar::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                           VARIANT varChild) {
  if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr)
    return E_INVALIDARG;
  if (m_hWnd == nullptr) return S_FALSE;
  const long nChild = GetChildIdFromVariant(&varChild);
  CRect rc;
  if (nChild == CHILDID_SELF) {
    GetWindowRect(&rc);
  } else {
    CXTPControl* pControl = nChild > 0 ? GetControl(nChild - 1) : nullptr;
    if (pControl == nullptr) return E_INVALIDARG;
    rc = pControl->GetRect();
    ClientToScreen(&rc);
  }
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.Width();
  *pcyHeight = rc.Height();
  return S_OK;
}

HRESULT CXTPCommandBar::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarChild);
  if (m_hWnd == nullptr) return S_FALSE;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  CPoint pt(xLeft, yTop);
  if (!rcWindow.PtInRect(pt)) return S_FALSE;
  ScreenToClient(&pt);
  if (CXTPControl* pControl = m_pControls->HitTest(pt)) {
    pvarChild->vt = VT_DISPATCH;
    return pControl->GetAccessible()->QueryInterface(IID_IDispatch,
                                                     reinterpret_cast<void**>(&pvarChild->pdispVal));
  }
  pvarChild->vt = VT_I4;
  pvarChild->lVal = CHILDID_SELF;
  return S_OK;
}

// ---- Images and tips ---------------------------------------------------------------------------------

BOOL CXTPCommandBar::LoadToolBarImages(UINT nIDResource, const XT_TOOLBARDATA& data) {
  CArray<UINT, UINT> arrCommands;
  for (INT_PTR i = 0; i < data.arrItems.GetSize(); ++i) {
    if (data.arrItems[i] != 0) arrCommands.Add(data.arrItems[i]);
  }
  if (arrCommands.GetSize() == 0) return TRUE;
  const CSize szImage(data.wWidth, data.wHeight);
  if (!ResolveImageSet()->SetIconsFromBitmap(nIDResource, arrCommands.GetData(),
                                             static_cast<int>(arrCommands.GetSize()), szImage))
    return FALSE;
  if (data.wWidth != 16) m_szIcons = szImage;
  return TRUE;
}

void CXTPCommandBar::AssignImageSet(CXTPImageManager* pImageManager) {
  XTPReplaceHeld(m_pImageManager, pImageManager, FALSE);
}

CXTPImageManager* CXTPCommandBar::ResolveImageSet() const {
  if (m_pImageManager != nullptr) return m_pImageManager;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars != nullptr) return pCommandBars->GetImageManager();
  CXTPCommandBar* pRoot = GetRootBar();
  if (pRoot->m_pImageManager != nullptr) return pRoot->m_pImageManager;
  return XTPImageManager();
}

void CXTPCommandBar::SetToolTipContext(CXTPTipSettings* pTipSettings) {
  XTPReplaceHeld(m_pToolTipContext, pTipSettings, TRUE);
}

void CXTPCommandBar::RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pToolTipContext != nullptr && m_hWnd != nullptr)
    m_pToolTipContext->RelayEvent(this, message, wParam, lParam);
}
