// The control base: captions and prompts, state, running commands, click tracking, customize drag and
// resize, the stored record and the accessibility answers.
#include "Control.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlPopup.h"
#include "Controls.h"
#include "CustomizeDragSource.h"
#include "MenuSoundPlayer.h"
#include "PopupBar.h"
#include "StoredValues.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPControl, CCmdTarget, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

XTPLiveObjectCounts* AFXAPI XTPGetLiveObjectCounts() {
  static XTPLiveObjectCounts counts = {0, 0, 0, 0, 0};
  return &counts;
}

CXTPControl::CXTPControl() { InterlockedIncrement(&XTPGetLiveObjectCounts()->nControls); }

CXTPControl::~CXTPControl() { InterlockedDecrement(&XTPGetLiveObjectCounts()->nControls); }

CString CXTPControl::GetTooltip(LPPOINT, LPRECT, int*) const { return m_strTooltipText; }

void CXTPControl::SetBeginGroup(BOOL bBeginGroup) {
  m_bBeginGroup = bBeginGroup;
  DelayLayoutParent();
}

BOOL CXTPControl::GetEnabled() const {
  if (!m_bEnabled) return FALSE;
  const HWND hWndBar = m_pParent != nullptr ? m_pParent->GetSafeHwnd() : nullptr;
  return hWndBar == nullptr || ::IsWindowEnabled(hWndBar);
}

void CXTPControl::SetEnabled(BOOL bEnabled) {
  if (m_bEnabled == bEnabled) return;
  m_bEnabled = bEnabled;
  DelayRedrawParent();
}

void CXTPControl::SetChecked(BOOL bChecked) {
  if (m_bChecked == bChecked) return;
  m_bChecked = bChecked;
  DelayRedrawParent();
}

void CXTPControl::SetIconId(int nId) {
  if (m_nIconId == nId) return;
  m_nIconId = nId;
  RedrawParent();
}

void CXTPControl::SetDefaultItem(BOOL bDefault) {
  if (m_bDefaultItem == bDefault) return;
  m_bDefaultItem = bDefault;
  DelayLayoutParent();
}

void CXTPControl::SetUsageMark(BOOL bMark) {
  m_bUsageMark = bMark;
  if (!bMark) m_dwHideFlags &= ~xtpHideExpand;
}

BOOL CXTPControl::IsCaptionVisible() {
  if (m_pParent != nullptr && m_pParent->GetType() == xtpBarTypePopup) return TRUE;
  if (GetCaption().IsEmpty()) return FALSE;
  switch (GetStyle()) {
    case xtpButtonCaption:
    case xtpButtonIconAndCaption:
      return TRUE;
    case xtpButtonIcon:
      return FALSE;
    default:
      break;
  }
  switch (m_controlType) {
    case xtpControlButton:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup:
      return GetImage(0) == nullptr;
    case xtpControlPopup:
    case xtpControlLabel:
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CXTPControl::IsEqual(CXTPControl* pOther) {
  if (pOther == nullptr) return FALSE;
  return GetStyle() == pOther->GetStyle() && m_controlType == pOther->m_controlType &&
         m_nId == pOther->m_nId && GetFlags() == pOther->GetFlags() &&
         m_bBeginGroup == pOther->m_bBeginGroup && GetImageId() == pOther->GetImageId() &&
         m_strCaption == pOther->m_strCaption && m_strTooltipText == pOther->m_strTooltipText &&
         m_strDescriptionText == pOther->m_strDescriptionText &&
         m_strCustomCaption == pOther->m_strCustomCaption &&
         m_buttonCustomStyle == pOther->m_buttonCustomStyle && m_strParameter == pOther->m_strParameter &&
         (m_dwHideFlags & xtpHideCustomize) == (pOther->m_dwHideFlags & xtpHideCustomize);
}

// Closes the open popups after a command was chosen: a popup opened by a nested TrackPopupMenu
// leaves tracking alone, otherwise every popup of the thread closes.
static void ClosePopupsAfterCommand(CXTPCommandBar* pRootBar, CXTPCommandBars* pCommandBars) {
  CXTPPopupBar* pRootPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pRootBar);
  if (pRootPopup != nullptr && pRootPopup->IsRecursePopup()) {
    pRootPopup->EnterTracking(0);
  } else if (pCommandBars != nullptr) {
    pCommandBars->ClosePopups();
  } else {
    CXTPBarMouseTracker::GetThreadState()->CloseAllTracked();
  }
}

// The command of a control that ran: the notification, then (unless it was taken) WM_COMMAND, both
// sent to the site; then the bar that stays open (when given) shows the new command states.
static void SendCommandToSite(CXTPControl* pControl, HWND hWndSite, int nId, CXTPCommandBar* pOpenBar) {
  if (nId != 0 && ::IsWindow(hWndSite)) {
    NMXTPCONTROL tagNMCONTROL = {};
    tagNMCONTROL.hdr.hwndFrom = nullptr;
    tagNMCONTROL.hdr.idFrom = static_cast<UINT_PTR>(nId);
    tagNMCONTROL.hdr.code = CBN_XTP_EXECUTE;
    tagNMCONTROL.pControl = pControl;
    if (::SendMessage(hWndSite, XTP_WM_COMMANDNOTIFY, static_cast<WPARAM>(nId),
                      reinterpret_cast<LPARAM>(&tagNMCONTROL)) == 0 &&
        ::IsWindow(hWndSite)) {
      ::SendMessage(hWndSite, WM_COMMAND, static_cast<WPARAM>(nId), 0);
    }
  }
  if (pOpenBar != nullptr && pOpenBar->GetSafeHwnd() != nullptr) {
    pOpenBar->OnUpdateCmdUI(TRUE);
    pOpenBar->Invalidate(FALSE);
  }
}

void CXTPControl::OnExecute() {
  CXTPMenuSoundPlayer::GetInstance()->Request(xtpMenuSoundCommand);
  m_bPressed = 2;

  // The command may delete this control or its bar: both stay alive until the sends are over.
  CXTPCommandBar* pParent = m_pParent;
  InternalAddRef();
  if (pParent != nullptr) pParent->InternalAddRef();

  CXTPCommandBar* pRootBar = pParent != nullptr ? pParent->GetRootBar() : nullptr;
  CWnd* pSite = pParent != nullptr ? pParent->GetOwnerSite() : nullptr;
  CXTPCommandBars* pCommandBars = pParent != nullptr ? pParent->FindOwnerCommandBars() : GetCommandBars();
  const int nId = m_nId;

  if (pRootBar != nullptr && pRootBar->GetReturnCmd() != nullptr) {
    UINT* pReturnCmd = pRootBar->GetReturnCmd();
    ClosePopupsAfterCommand(pRootBar, pCommandBars);
    *pReturnCmd = static_cast<UINT>(nId);
  } else {
    if (pCommandBars != nullptr) {
      if (nId != 0) pCommandBars->MarkCommandUsed(nId);
      CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pParent);
      if (pPopup != nullptr && pPopup->GetControlPopup() != nullptr &&
          pPopup->GetControlPopup()->GetID() != 0)
        pCommandBars->MarkCommandUsed(pPopup->GetControlPopup()->GetID());
    }
    const BOOL bClose = m_bCloseSubMenuOnClick;
    if (bClose) ClosePopupsAfterCommand(pRootBar, pCommandBars);
    HWND hWndSite = nId != 0 ? pSite->GetSafeHwnd() : nullptr;
    CXTPCommandBar* pOpenBar = bClose ? nullptr : pParent;
    // A command chosen by a key runs once that key has left the input queue: a dialog that it opens
    // would otherwise read the key again, and Enter would press its default button at once.
    InternalAddRef();
    if (pOpenBar != nullptr) pOpenBar->InternalAddRef();
    CXTPBarKeyboardHook::GetThreadState()->RunAfterKey([this, hWndSite, nId, pOpenBar] {
      SendCommandToSite(this, hWndSite, nId, pOpenBar);
      if (pOpenBar != nullptr) pOpenBar->InternalRelease();
      InternalRelease();
    });
  }

  if (pParent != nullptr) pParent->InternalRelease();
  InternalRelease();
}

CSize CXTPControl::GetSize(CDC* pDC) { return GetPaintManager()->DrawControl(pDC, this, FALSE); }

void CXTPControl::Draw(CDC* pDC) { GetPaintManager()->DrawControl(pDC, this, TRUE); }

namespace {

// Control "Flags" and "HideFlags" bits that a stored control may carry.
const DWORD kKnownControlFlags = 0x7F;
const DWORD kKnownHideFlags = 0x7F;

}  // namespace

void CXTPControl::DoPropExchange(CXTPPropExchange* pPX) {
  // A control is loaded just after it was made from its stored class, so its type is still the class's
  // own: a stored type is taken only when it is that type, or another popup type for a popup, so that
  // nothing treats a control as a class it is not.
  const XTPControlType typeOfClass = m_controlType;
  long nType = m_controlType, nId = m_nId, nIconId = m_nIconId, nTag = static_cast<long>(m_nTag);
  DWORD dwFlags = m_dwFlags, dwHideFlags = m_dwHideFlags;
  long nCustomIconId = m_nCustomIconId;
  PropExchangeLong(pPX, _T("Type"), nType, xtpControlButton);
  PropExchangeLong(pPX, _T("Id"), nId, -1);
  PropExchangeLong(pPX, _T("IconId"), nIconId, 0);
  PropExchangeStoredBool(pPX, _T("BeginGroup"), m_bBeginGroup, FALSE);
  PropExchangeLong(pPX, _T("Tag"), nTag, 0);
  PropExchangeStoredFlags(pPX, _T("Flags"), dwFlags, 0, kKnownControlFlags);
  PropExchangeStoredFlags(pPX, _T("HideFlags"), dwHideFlags, 0, kKnownHideFlags);
  PropExchangeStoredString(pPX, _T("Caption"), m_strCaption, _T(""));
  PropExchangeStoredString(pPX, _T("ShortcutText"), m_strShortcutText, _T(""));
  PropExchangeStoredString(pPX, _T("TooltipText"), m_strTooltipText, _T(""));
  PropExchangeStoredString(pPX, _T("DescriptionText"), m_strDescriptionText, _T(""));
  PropExchangeStoredString(pPX, _T("Parameter"), m_strParameter, _T(""));
  PropExchangeLong(pPX, _T("CustomIconId"), nCustomIconId, 0);
  PropExchangeStoredString(pPX, _T("CustomCaption"), m_strCustomCaption, _T(""));
  if (pPX->IsLoading()) {
    const XTPControlType typeStored = static_cast<XTPControlType>(nType);
    const BOOL bTypeOfClass =
        typeStored == typeOfClass || (IsPopupKind(typeOfClass) && IsPopupKind(typeStored));
    m_controlType = bTypeOfClass ? typeStored : typeOfClass;
    m_nId = nId;
    m_nIconId = nIconId;
    m_nTag = static_cast<DWORD_PTR>(static_cast<DWORD>(nTag));
    m_dwFlags = dwFlags;
    m_dwHideFlags = dwHideFlags;
    m_nCustomIconId = nCustomIconId;
  }
  if (pPX->GetSchema() > 1) PropExchangeStoredString(pPX, _T("Category"), m_strCategory, _T(""));
  if (m_nCustomIconId > 0) ExchangeCustomIcon(pPX);
  if (pPX->GetSchema() > 3) {
    const BOOL bAllSets = pPX->IsLoading() || !pPX->IsAllowDefaultValues();
    if (bAllSets || m_mapDocTemplatesExcluded.GetCount() > 0)
      PropExchangeSerialize(pPX, _T("DocTemplatesExcluded"), &m_mapDocTemplatesExcluded);
    if (bAllSets || m_mapDocTemplatesAssigned.GetCount() > 0)
      PropExchangeSerialize(pPX, _T("DocTemplatesAssigned"), &m_mapDocTemplatesAssigned);
    PropExchangeStoredBool(pPX, _T("DefaultItem"), m_bDefaultItem, FALSE);
  }
  if (pPX->GetSchema() > 6)
    PropExchangeStoredBool(pPX, _T("CloseSubMenuOnClick"), m_bCloseSubMenuOnClick, TRUE);
  if (pPX->GetSchema() > 7) {
    long nCustomStyle = m_buttonCustomStyle;
    PropExchangeStoredLong(pPX, _T("CustomStyle"), nCustomStyle, xtpButtonAutomatic, xtpButtonAutomatic,
                           xtpButtonIconAndCaption);
    if (pPX->IsLoading()) m_buttonCustomStyle = static_cast<XTPButtonStyle>(nCustomStyle);
  }
}

void AFXAPI XTPCopyCommandIdSet(CXTPCommandIdSet& dest, const CXTPCommandIdSet& src) {
  dest.RemoveAll();
  UINT nKey = 0;
  BOOL bValue = FALSE;
  for (POSITION pos = src.GetStartPosition(); pos != nullptr;) {
    src.GetNextAssoc(pos, nKey, bValue);
    dest.SetAt(nKey, TRUE);
  }
}

void CXTPControl::Copy(CXTPControl* pControl, BOOL /*bRecursive*/) {
  if (pControl == nullptr || pControl == this) return;
  m_nId = pControl->m_nId;
  m_nTag = pControl->m_nTag;
  m_dwFlags = pControl->m_dwFlags;
  m_controlType = pControl->m_controlType;
  m_strCaption = pControl->m_strCaption;
  m_strShortcutText = pControl->m_strShortcutText;
  m_strDefaultShortcutText = pControl->m_strDefaultShortcutText;
  m_strTooltipText = pControl->m_strTooltipText;
  m_strDescriptionText = pControl->m_strDescriptionText;
  m_strParameter = pControl->m_strParameter;
  m_nCustomIconId = pControl->m_nCustomIconId;
  m_nIconId = pControl->m_nIconId;
  m_bTemporary = pControl->m_bTemporary;
  m_strCustomCaption = pControl->m_strCustomCaption;
  m_strCategory = pControl->m_strCategory;
  m_dwHideFlags = pControl->m_dwHideFlags;
  m_bDefaultItem = pControl->m_bDefaultItem;
  m_bEnabled = pControl->m_bEnabled;
  m_bChecked = pControl->m_bChecked;
  m_buttonCustomStyle = pControl->m_buttonCustomStyle;
  m_buttonStyle = pControl->m_buttonStyle;
  m_bBeginGroup = pControl->m_bBeginGroup;
  m_bCloseSubMenuOnClick = pControl->m_bCloseSubMenuOnClick;
  XTPCopyCommandIdSet(m_mapDocTemplatesAssigned, pControl->m_mapDocTemplatesAssigned);
  XTPCopyCommandIdSet(m_mapDocTemplatesExcluded, pControl->m_mapDocTemplatesExcluded);
}

BOOL CXTPControl::OnLButtonDblClk(CPoint point) {
  OnClick(FALSE, point);
  return TRUE;
}

void CXTPControl::OnMouseHover() {
  CXTPCommandBar* pParent = m_pParent;
  if (pParent == nullptr) return;
  if (pParent->SetPopuped(-1) && pParent->IsTrackingMode() == 2 && pParent->GetPosition() != xtpBarPopup)
    pParent->EnterTracking(0);
}

BOOL CXTPControl::OnSetSelected(int bSelected) {
  if (bSelected == m_bSelected) return FALSE;
  if (bSelected == 2 && m_pParent != nullptr) m_pParent->SetPopuped(-1);
  m_bSelected = bSelected;
  if (m_pParent != nullptr) {
    m_pParent->OnControlSelected(bSelected, this);
    RedrawParent();
  }
  return TRUE;
}

void CXTPControl::OnCustomizeMouseDown(CPoint point) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars == nullptr) return;
  if (pCommandBars->GetDragControl() == this && IsCustomizeResizeAllowed() && TrackCustomizeResize(point))
    return;

  InternalAddRef();
  pCommandBars->SetDragControl(this);
  CXTPCustomizeDragSource* pSource = pCommandBars->GetDragSource();
  const DROPEFFECT dropEffect = pSource != nullptr ? pSource->DoDragDrop(this, FALSE) : DROPEFFECT(5);
  if (dropEffect == DROPEFFECT_NONE || dropEffect == DROPEFFECT_MOVE) {
    CXTPCommandBar* pParent = m_pParent;
    if (pParent != nullptr) {
      pParent->SetPopuped(-1);
      pParent->SetSelected(-1);
    }
    if (pCommandBars->GetDragControl() == this) pCommandBars->SetDragControl(nullptr);
    if (CXTPControls* pControls = m_pControls) {
      const int nCount = pControls->GetCount();
      if (m_bBeginGroup && m_nIndex < nCount - 1) pControls->GetAt(m_nIndex + 1)->SetBeginGroup(TRUE);
      if (m_nIndex == 0 && nCount > 1) pControls->GetAt(1)->SetBeginGroup(FALSE);
      pControls->Remove(this);
    }
    if (pParent != nullptr) pParent->OnRecalcLayout();
  }
  pCommandBars->SetDragControl(pCommandBars->GetDragControl());
  InternalRelease();
}

namespace {

// A frame two pixels thick, inverted on the desktop: drawing it twice restores the screen.
void InvertFrame(HDC hDC, const CRect& rc) {
  ::PatBlt(hDC, rc.left, rc.top, rc.Width(), 2, DSTINVERT);
  ::PatBlt(hDC, rc.left, rc.bottom - 2, rc.Width(), 2, DSTINVERT);
  ::PatBlt(hDC, rc.left, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
  ::PatBlt(hDC, rc.right - 2, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
}

}  // namespace

BOOL CXTPControl::IsOnResizeEdge(CPoint point, BOOL* pbLeft) const {
  if (!m_rcControl.PtInRect(point)) return FALSE;
  const BOOL bLeft = point.x - m_rcControl.left <= 2;
  if (pbLeft != nullptr) *pbLeft = bLeft;
  return bLeft || m_rcControl.right - point.x <= 2;
}

void CXTPControl::OnCustomizeSetCursor(CPoint point) {
  if (!IsCustomizeResizeAllowed() || !IsOnResizeEdge(point, nullptr)) return;
  if (HCURSOR hCursor = GetToolkitResourceManager()->LoadCursor(XTP_IDC_RESIZE)) ::SetCursor(hCursor);
}

BOOL CXTPControl::TrackCustomizeResize(CPoint point) {
  CXTPCommandBar* pParent = m_pParent;
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pParent == nullptr || pParent->GetSafeHwnd() == nullptr || pCommandBars == nullptr) return FALSE;
  BOOL bLeft = FALSE;
  if (!IsOnResizeEdge(point, &bLeft)) return FALSE;

  InternalAddRef();
  pParent->InternalAddRef();
  pCommandBars->SetDragControl(nullptr);
  pParent->UpdateWindow();
  pParent->SetCapture();
  HCURSOR hCursor = GetToolkitResourceManager()->LoadCursor(XTP_IDC_RESIZE);
  if (hCursor != nullptr) ::SetCursor(hCursor);
  ::LockWindowUpdate(::GetDesktopWindow());
  HDC hDC = ::GetDCEx(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);

  CRect rcScreen = m_rcControl;
  pParent->ClientToScreen(&rcScreen);
  CPoint ptStart = point;
  pParent->ClientToScreen(&ptStart);
  const int nGrabOffset = bLeft ? ptStart.x - rcScreen.left : ptStart.x - rcScreen.right;
  CRect rcTrack = rcScreen;
  if (hDC != nullptr) InvertFrame(hDC, rcTrack);

  BOOL bAccept = FALSE;
  while (::GetCapture() == pParent->m_hWnd) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      ::ClientToScreen(msg.hwnd, &pt);
      CRect rcNew = rcScreen;
      const int nMinWidth = GetCustomizeMinWidth();
      if (bLeft) {
        rcNew.left = std::min(pt.x - nGrabOffset, rcNew.right - nMinWidth);
      } else {
        rcNew.right = std::max(pt.x - nGrabOffset, rcNew.left + nMinWidth);
      }
      if (rcNew != rcTrack) {
        if (hDC != nullptr) InvertFrame(hDC, rcTrack);
        rcTrack = rcNew;
        if (hDC != nullptr) InvertFrame(hDC, rcTrack);
      }
    } else if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) break;
    } else if (msg.message == WM_LBUTTONUP) {
      bAccept = TRUE;
      break;
    } else {
      ::DispatchMessage(&msg);
    }
  }
  if (hDC != nullptr) {
    InvertFrame(hDC, rcTrack);
    ::ReleaseDC(::GetDesktopWindow(), hDC);
  }
  ::LockWindowUpdate(nullptr);
  if (::GetCapture() == pParent->m_hWnd) ::ReleaseCapture();
  pCommandBars->SetDragControl(this);
  if (bAccept && rcTrack.Width() != rcScreen.Width()) {
    SetWidth(rcTrack.Width());
    pParent->OnRecalcLayout();
  }
  pParent->m_dwIdleFlags &= ~CXTPCommandBar::xtpIdleRedraw;
  if (pParent->GetLockRedraw() <= 0 && pParent->GetSafeHwnd() != nullptr) pParent->Invalidate(FALSE);
  pParent->InternalRelease();
  InternalRelease();
  return TRUE;
}

void CXTPControl::OnCustomizeDragOver(CXTPControl*, CPoint, DROPEFFECT&) {
  if (m_pParent == nullptr) return;
  m_pParent->SetPopuped(-1);
  m_pParent->SetSelected(-1);
}

CXTPControl* CXTPControl::Clone(BOOL bRecursive) {
  CXTPControl* pControl = static_cast<CXTPControl*>(GetRuntimeClass()->CreateObject());
  if (pControl == nullptr) return nullptr;
  pControl->Copy(this, bRecursive);
  return pControl;
}

void CXTPControl::SetCaption(LPCTSTR lpszCaption) {
  CString strCaption(lpszCaption);
  const int nTab = strCaption.Find(_T('\t'));
  if (nTab >= 0) {
    m_strDefaultShortcutText = strCaption.Mid(nTab + 1);
    strCaption = strCaption.Left(nTab);
  }
  if (m_strCaption != strCaption) {
    m_strCaption = strCaption;
    DelayLayoutParent();
  }
}

void CXTPControl::SetPrompt(LPCTSTR lpszPrompt) {
  CString strPrompt(lpszPrompt);
  if (strPrompt.IsEmpty()) return;
  const int nLineFeed = strPrompt.Find(_T('\n'));
  if (nLineFeed < 0) {
    m_strTooltipText = strPrompt;
    m_strDescriptionText = strPrompt;
  } else {
    m_strDescriptionText = strPrompt.Left(nLineFeed);
    m_strTooltipText = strPrompt.Mid(nLineFeed + 1);
  }
  if (m_strCaption.IsEmpty()) m_strCaption = m_strTooltipText;
}

void CXTPControl::SetID(int nId) {
  if (nId == m_nId) return;
  CString strPrompt;
  if (nId > 0 && GetToolkitResourceManager()->LoadString(strPrompt, static_cast<UINT>(nId)))
    SetPrompt(strPrompt);
  m_nId = nId;
}

void CXTPControl::DelayRedrawParent() {
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) m_pParent->DelayRedraw();
}

void CXTPControl::DelayLayoutParent() {
  if (m_pParent != nullptr) m_pParent->DelayLayout();
}

void CXTPControl::RedrawParent() {
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) m_pParent->Invalidate(FALSE);
}

LRESULT CXTPControl::NotifySite(UINT nCode) {
  CWnd* pSite = m_pParent != nullptr ? m_pParent->GetOwnerSite() : nullptr;
  if (pSite->GetSafeHwnd() == nullptr) return 0;
  NMXTPCONTROL tagNMCONTROL = {};
  tagNMCONTROL.hdr.hwndFrom = nullptr;
  tagNMCONTROL.hdr.idFrom = static_cast<UINT_PTR>(m_nId);
  tagNMCONTROL.hdr.code = nCode;
  tagNMCONTROL.pControl = this;
  InternalAddRef();
  LRESULT lResult = pSite->SendMessage(XTP_WM_COMMANDNOTIFY, static_cast<WPARAM>(m_nId),
                                       reinterpret_cast<LPARAM>(&tagNMCONTROL));
  InternalRelease();
  return lResult;
}

BOOL CXTPControl::IsCustomizeMode() const { return m_pParent != nullptr && m_pParent->IsBarCustomizeMode(); }

BOOL CXTPControl::IsCursorOver() const {
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return FALSE;
  CPoint pt;
  ::GetCursorPos(&pt);
  m_pParent->ScreenToClient(&pt);
  return m_rcControl.PtInRect(pt);
}

CXTPCommandBars* CXTPControl::GetCommandBars() const {
  if (m_pParent != nullptr) return m_pParent->FindOwnerCommandBars();
  return m_pControls != nullptr ? m_pControls->GetCommandBars() : nullptr;
}

CXTPBarTheme* CXTPControl::GetPaintManager() const {
  if (m_pParent != nullptr) return m_pParent->GetPaintManager();
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) return pCommandBars->GetPaintManager();
  return CXTPBarTheme::GetTheme();
}

void CXTPControl::TrackClick(CRect rcClick) {
  CXTPCommandBar* pBar = m_pParent;
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  if (rcClick.IsRectEmpty()) rcClick = m_rcControl;

  InternalAddRef();
  pBar->InternalAddRef();
  pBar->SetSelected(m_nIndex, FALSE);
  m_bPressed = 1;
  pBar->Invalidate(FALSE);
  pBar->SetCapture();

  BOOL bClick = FALSE, bMoved = FALSE;
  CPoint ptLast(0, 0);
  while (::GetCapture() == pBar->m_hWnd) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == pBar->m_hWnd) {
      ptLast = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      bMoved = TRUE;
      if (OnSetSelected(m_rcControl.PtInRect(ptLast) ? 1 : 0)) pBar->Invalidate(FALSE);
    } else if (msg.message == WM_LBUTTONUP) {
      bClick = GetSelected() != 0 && (!bMoved || rcClick.PtInRect(ptLast));
      break;
    } else {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
      if (::GetCapture() != pBar->m_hWnd) break;
    }
  }
  if (::GetCapture() == pBar->m_hWnd) ::ReleaseCapture();

  if (GetSelected() != 0) {
    pBar->SetSelected(-1, FALSE);
    m_bSelected = 0;
    pBar->m_nLastPressed = m_nIndex;
  }
  m_bPressed = 0;
  pBar->Redraw();
  if (bClick) OnExecute();
  pBar->InternalRelease();
  InternalRelease();
}

CXTPControl* PASCAL CXTPControl::GetControlFromCmdUI(CCmdUI* pCmdUI) {
  if (pCmdUI == nullptr) return nullptr;
  CXTPCommandBar* pBar = DYNAMIC_DOWNCAST(CXTPCommandBar, pCmdUI->m_pOther);
  return pBar != nullptr ? pBar->GetControl(static_cast<int>(pCmdUI->m_nIndex)) : nullptr;
}

// ---- Accessibility ---------------------------------------------------------------------------------

HRESULT CXTPControl::GetAccessibleParent(IDispatch** ppdispParent) {
  if (ppdispParent == nullptr) return E_INVALIDARG;
  *ppdispParent = nullptr;
  if (m_pParent == nullptr) return S_FALSE;
  return m_pParent->GetAccessible()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispParent));
}

HRESULT CXTPControl::GetAccessibleChildCount(long* pcountChildren) {
  if (pcountChildren == nullptr) return E_INVALIDARG;
  *pcountChildren = GetCommandBar() != nullptr ? 1 : 0;
  return S_OK;
}

HRESULT CXTPControl::GetAccessibleChild(VARIANT, IDispatch** ppdispChild) {
  if (ppdispChild == nullptr) return E_INVALIDARG;
  *ppdispChild = nullptr;
  CXTPCommandBar* pBar = GetCommandBar();
  if (pBar == nullptr) return S_FALSE;
  return pBar->GetAccessible()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispChild));
}

HRESULT CXTPControl::GetAccessibleName(VARIANT, BSTR* pszName) {
  if (pszName == nullptr) return E_INVALIDARG;
  CString strName = GetCaption();
  StripMnemonics(strName);
  CString strShortcut = GetShortcutText();
  if (!strShortcut.IsEmpty()) strName += _T('\t') + strShortcut;
  *pszName = ::SysAllocString(strName);
  return S_OK;
}

HRESULT CXTPControl::GetAccessibleDescription(VARIANT, BSTR* pszDescription) {
  if (pszDescription == nullptr) return E_INVALIDARG;
  *pszDescription = ::SysAllocString(GetDescription());
  return S_OK;
}

HRESULT CXTPControl::GetAccessibleRole(VARIANT, VARIANT* pvarRole) {
  if (pvarRole == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarRole);
  pvarRole->vt = VT_I4;
  if (m_pParent != nullptr && m_pParent->GetType() == xtpBarTypeNormal) {
    pvarRole->lVal = GetCommandBar() != nullptr ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
  } else {
    pvarRole->lVal = ROLE_SYSTEM_MENUITEM;
  }
  return S_OK;
}

HRESULT CXTPControl::GetAccessibleState(VARIANT, VARIANT* pvarState) {
  if (pvarState == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarState);
  pvarState->vt = VT_I4;
  long lState = STATE_SYSTEM_FOCUSABLE;
  if (GetSelected()) lState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
  if (m_pParent == nullptr || !m_pParent->IsWindowVisible() || m_dwHideFlags != 0)
    lState |= STATE_SYSTEM_INVISIBLE;
  if (!m_bEnabled) lState |= STATE_SYSTEM_UNAVAILABLE;
  if (m_bChecked) lState |= STATE_SYSTEM_CHECKED;
  if (m_bPressed) lState |= STATE_SYSTEM_PRESSED;
  if (GetCommandBar() != nullptr) lState |= STATE_SYSTEM_HASPOPUP;
  pvarState->lVal = lState;
  return S_OK;
}

HRESULT CXTPControl::GetAccessibleDefaultAction(VARIANT, BSTR* pszDefaultAction) {
  if (pszDefaultAction == nullptr) return E_INVALIDARG;
  *pszDefaultAction = ::SysAllocString(L"Click");
  return S_OK;
}

HRESULT CXTPControl::AccessibleDoDefaultAction(VARIANT) {
  OnClick(TRUE, CPoint(0, 0));
  return S_OK;
}

HRESULT CXTPControl::AccessibleSelect(long, VARIANT) {
  if (m_pParent == nullptr) return S_FALSE;
  m_pParent->EnterTracking(1, FALSE, TRUE);
  m_pParent->SetSelected(m_nIndex, TRUE);
  return S_OK;
}

HRESULT CXTPControl::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT) {
  if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr)
    return E_INVALIDARG;
  CRect rc = m_rcControl;
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) m_pParent->ClientToScreen(&rc);
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.Width();
  *pcyHeight = rc.Height();
  return S_OK;
}

HRESULT CXTPControl::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarChild);
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return S_FALSE;
  CPoint pt(xLeft, yTop);
  CRect rcWindow;
  m_pParent->GetWindowRect(&rcWindow);
  if (!rcWindow.PtInRect(pt)) return S_FALSE;
  m_pParent->ScreenToClient(&pt);
  if (!m_rcControl.PtInRect(pt)) return S_FALSE;
  pvarChild->vt = VT_I4;
  pvarChild->lVal = CHILDID_SELF;
  return S_OK;
}

// ---- Images ------------------------------------------------------------------------------------------

CXTPImageManagerIcon* CXTPControl::GetImage(int nWidth) {
  const int nImageId = GetImageId();
  if (nImageId == 0) return nullptr;
  return GetImageManager()->GetImage(static_cast<UINT>(nImageId), nWidth);
}

CXTPImageManager* CXTPControl::GetImageManager() const {
  if (m_pParent != nullptr) return m_pParent->GetImageManager();
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) return pCommandBars->GetImageManager();
  return XTPImageManager();
}

void CXTPControl::ExchangeCustomIcon(CXTPPropExchange* pPX) {
  // The icon lives in the image manager of the command bars being stored or loaded.
  auto* pParam = static_cast<XTP_COMMANDBARS_PROPEXCHANGE_PARAM*>(pPX->m_dwData);
  CXTPImageManager* pImageManager = pParam != nullptr && pParam->pCommandBars != nullptr
                                        ? pParam->pCommandBars->GetImageManager()
                                        : GetImageManager();
  CXTPPropExchangeSection sec(pPX, _T("CustomIcon"));
  pImageManager->ExchangeIconSet(static_cast<UINT>(m_nCustomIconId), sec);
}
