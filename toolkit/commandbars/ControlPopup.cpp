// The popup control: opens its sub-bar on click, hover or keyboard, split buttons that run on their
// left part, the stored sub-bar id, and the chain test that keeps a popup out of its own sub-menus.
#include "ControlPopup.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "DropShadows.h"
#include "PopupBar.h"
#include "StoredValues.h"

IMPLEMENT_SERIAL(CXTPControlPopup, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace {

// The depth of nested equality tests and deep copies of sub-bars; a cycle cannot pass
// XTP_MAX_POPUP_DEPTH.
int g_nEqualDepth = 0;
int g_nCopyDepth = 0;

// Whether pTarget is pRoot or a bar under one of pRoot's popup controls, at any depth.
BOOL BarTreeContains(CXTPCommandBar* pRoot, CXTPCommandBar* pTarget,
                     CArray<CXTPCommandBar*, CXTPCommandBar*>& arrSeen, int nDepth) {
  if (pRoot == nullptr || nDepth > XTP_MAX_POPUP_DEPTH) return FALSE;
  if (pRoot == pTarget) return TRUE;
  for (INT_PTR i = 0; i < arrSeen.GetSize(); ++i) {
    if (arrSeen[i] == pRoot) return FALSE;
  }
  arrSeen.Add(pRoot);
  CXTPControls* pControls = pRoot->GetControls();
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CXTPControlPopup* pPopup = DYNAMIC_DOWNCAST(CXTPControlPopup, pControls->GetAt(i));
    if (pPopup != nullptr && BarTreeContains(pPopup->GetCommandBar(), pTarget, arrSeen, nDepth + 1))
      return TRUE;
  }
  return FALSE;
}

}  // namespace

CXTPControlPopup::CXTPControlPopup() { m_controlType = xtpControlPopup; }

CXTPControlPopup::~CXTPControlPopup() { SetCommandBar(static_cast<CXTPCommandBar*>(nullptr)); }

CXTPControlPopup* PASCAL CXTPControlPopup::CreateControlPopup(XTPControlType controlType) {
  CXTPControlPopup* pControl = new CXTPControlPopup;
  pControl->m_controlType = controlType;
  return pControl;
}

void CXTPControlPopup::SetCommandBar(CXTPCommandBar* pBar) { XTPReplaceHeld(m_pCommandBar, pBar, TRUE); }

BOOL CXTPControlPopup::IsEqual(CXTPControl* pOther) {
  if (!CXTPControl::IsEqual(pOther)) return FALSE;
  CXTPControlPopup* pPopup = DYNAMIC_DOWNCAST(CXTPControlPopup, pOther);
  if (pPopup == nullptr) return FALSE;
  if (m_pCommandBar == nullptr || pPopup->m_pCommandBar == nullptr || m_pCommandBar == pPopup->m_pCommandBar)
    return TRUE;
  if (g_nEqualDepth >= XTP_MAX_POPUP_DEPTH) return FALSE;
  ++g_nEqualDepth;
  const BOOL bSame =
      m_pCommandBar->GetControls()->IsSameAs(pPopup->m_pCommandBar->GetControls(), g_nEqualDepth);
  --g_nEqualDepth;
  return bSame;
}

void CXTPControlPopup::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControl::DoPropExchange(pPX);
  long nBarId =
      pPX->IsStoring() ? (m_pCommandBar != nullptr ? static_cast<long>(m_pCommandBar->GetBarID()) : 0) : 0;
  PropExchangeLong(pPX, _T("CommandBarId"), nBarId, 0);
  if (pPX->IsLoading()) m_nCommandBarId = nBarId;
  if (pPX->GetSchema() > 4) {
    long nStyle = m_buttonStyle;
    PropExchangeStoredLong(pPX, _T("Style"), nStyle, xtpButtonAutomatic, xtpButtonAutomatic,
                           xtpButtonIconAndCaption);
    if (pPX->IsLoading()) m_buttonStyle = static_cast<XTPButtonStyle>(nStyle);
  }
}

void CXTPControlPopup::OnKeyboardActivate() {
  if (m_pParent != nullptr) m_pParent->SetPopuped(m_nIndex, TRUE);
}

void CXTPControlPopup::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
  CXTPControlPopup* pSource = DYNAMIC_DOWNCAST(CXTPControlPopup, pControl);
  if (pSource == nullptr || pSource == this) return;
  if (bRecursive && pSource->m_pCommandBar != nullptr && g_nCopyDepth < XTP_MAX_POPUP_DEPTH) {
    ++g_nCopyDepth;
    CXTPCommandBar* pCopy = pSource->m_pCommandBar->CreateCopy(TRUE);
    --g_nCopyDepth;
    SetCommandBar(pCopy);
    if (pCopy != nullptr) pCopy->InternalRelease();
  } else {
    SetCommandBar(pSource->m_pCommandBar);
  }
}

BOOL CXTPControlPopup::SetPopuped(BOOL bPopuped) {
  m_bPopuped = bPopuped;
  if (!bPopuped) {
    if (m_pCommandBar != nullptr) m_pCommandBar->EnterTracking(0);
    RedrawParent();
    return TRUE;
  }
  if (m_pCommandBar == nullptr) {
    m_bPopuped = FALSE;
    return FALSE;
  }
  if (m_pCommandBar->IsTrackingMode()) return TRUE;
  if (!m_pCommandBar->Popup(this, m_bSelected == 2)) {
    m_bPopuped = FALSE;
    return FALSE;
  }
  AddShadow();
  return TRUE;
}

int CXTPControlPopup::GetSplitArrowWidth() const {
  return m_pParent != nullptr && m_pParent->GetType() == xtpBarTypePopup ? 20 : 11;
}

void CXTPControlPopup::OnClick(BOOL bKeyboard, CPoint pt) {
  if (!m_bEnabled || m_pParent == nullptr) return;
  CXTPCommandBar* pParent = m_pParent;
  const BOOL bCustomize = IsCustomizeMode();
  const BOOL bPopupParent = pParent->GetType() == xtpBarTypePopup;
  if (bCustomize) {
    if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->SetDragControl(this);
  }
  if (m_bPopuped && !bPopupParent) {
    pParent->EnterTracking(0);
  } else if (!bCustomize) {
    const int nArrow = GetSplitArrowWidth();
    if (m_controlType == xtpControlSplitButtonPopup && bKeyboard) {
      OnExecute();
    } else if (m_controlType == xtpControlSplitButtonPopup && bPopupParent &&
               pt.x < m_rcControl.right - nArrow) {
      pParent->KillTimer(CXTPCommandBar::TID_HOVER);
    } else if (m_controlType == xtpControlSplitButtonPopup && !bPopupParent &&
               pt.x < m_rcControl.right - nArrow) {
      CRect rcClick = m_rcControl;
      rcClick.right -= nArrow;
      TrackClick(rcClick);
    } else {
      pParent->SetPopuped(m_nIndex, bKeyboard);
    }
  } else if (m_pCommandBar != nullptr && m_pCommandBar->IsCustomizable()) {
    pParent->SetPopuped(m_nIndex);
  }
  if (bCustomize) OnCustomizeMouseDown(pt);
}

void CXTPControlPopup::OnLButtonUp(CPoint point) {
  if (m_bEnabled && m_controlType == xtpControlSplitButtonPopup && m_pParent != nullptr &&
      m_pParent->GetType() == xtpBarTypePopup && point.x < m_rcControl.right - 20) {
    OnExecute();
  }
}

BOOL CXTPControlPopup::OnLButtonDblClk(CPoint point) {
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, m_pCommandBar);
  if (pPopupBar == nullptr || (m_controlType != xtpControlPopup && m_controlType != xtpControlButtonPopup) ||
      m_pParent == nullptr) {
    return CXTPControl::OnLButtonDblClk(point);
  }
  InternalAddRef();
  if (!m_bPopuped) m_pParent->OnLButtonDown(0, point);
  if (m_bPopuped) {
    const int nDefault = pPopupBar->GetDefaultItem(TRUE);
    if (CXTPControl* pDefault = pPopupBar->GetControl(nDefault)) pDefault->OnExecute();
  }
  InternalRelease();
  return TRUE;
}

void CXTPControlPopup::OnMouseHover() {
  if (m_bEnabled && m_pParent != nullptr &&
      (m_pParent->IsTrackingMode() == 2 || m_pParent->GetType() == xtpBarTypePopup)) {
    m_pParent->SetPopuped(m_nIndex);
  } else {
    CXTPControl::OnMouseHover();
  }
}

BOOL CXTPControlPopup::OnSetSelected(int bSelected) {
  if (!CXTPControl::OnSetSelected(bSelected)) return FALSE;
  CXTPCommandBar* pParent = m_pParent;
  if (pParent == nullptr) return TRUE;
  const BOOL bPopupParent = pParent->GetType() == xtpBarTypePopup;
  if ((m_controlType == xtpControlButtonPopup || m_controlType == xtpControlSplitButtonPopup) &&
      !bPopupParent) {
    if (m_bEnabled && bSelected == 2 && pParent->IsTrackingMode() == 2) pParent->SetPopuped(m_nIndex, TRUE);
  } else if (m_bEnabled && bSelected && pParent->IsTrackingMode() == 2 &&
             pParent->GetPosition() != xtpBarPopup) {
    pParent->SetPopuped(m_nIndex, bSelected == 2);
  }
  if (!bSelected && m_bPopuped && pParent->GetPosition() != xtpBarPopup) pParent->SetPopuped(-1);
  return TRUE;
}

void CXTPControlPopup::AddShadow() {
  if (m_pParent == nullptr || m_pParent->GetPosition() == xtpBarPopup) return;
  if (m_controlType < xtpControlPopup || m_controlType > xtpControlSplitButtonPopup) return;
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, m_pCommandBar);
  if (pPopupBar != nullptr && pPopupBar->GetShowShadow())
    CXTPDropShadows::GetInstance()->AddControlShadow(this);
}

void CXTPControlPopup::AdjustExcludeRect(CRect& rc) {
  const XTPBarPosition position = m_pParent != nullptr ? m_pParent->GetPosition() : xtpBarTop;
  GetPaintManager()->AdjustExcludeRect(
      rc, this, position == xtpBarLeft || position == xtpBarRight || position == xtpBarPopup);
}

void CXTPControlPopup::OnCustomizeDragOver(CXTPControl* pDataObject, CPoint, DROPEFFECT&) {
  if (m_pCommandBar == nullptr || !m_pCommandBar->IsCustomizable() || m_pParent == nullptr) return;
  CXTPControlPopup* pDragged = DYNAMIC_DOWNCAST(CXTPControlPopup, pDataObject);
  if (pDragged != nullptr && pDragged->IsPopupChainOf(this)) {
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
  } else {
    m_pParent->SetPopuped(m_nIndex);
  }
}

BOOL CXTPControlPopup::IsPopupChainOf(CXTPControlPopup* pOther) const {
  if (pOther == nullptr || m_pCommandBar == nullptr || pOther->m_pCommandBar == nullptr) return FALSE;
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrSeen;
  if (BarTreeContains(m_pCommandBar, pOther->m_pCommandBar, arrSeen, 0)) return TRUE;
  arrSeen.RemoveAll();
  return BarTreeContains(pOther->m_pCommandBar, m_pCommandBar, arrSeen, 0);
}
