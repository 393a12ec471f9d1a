// The controls collection: making controls by type, importing menus, finding and removing controls,
// copies and the original set, keyboard navigation, the stored record and the row layout.
#include "Controls.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlButton.h"
#include "ControlPopup.h"
#include "PopupBar.h"

#include <DrawHelpers.h>
#include <PropExchangeArchive.h>
#include <PropItemEnumerator.h>

IMPLEMENT_DYNCREATE(CXTPControls, CCmdTarget)

namespace {

// Menu items may name a menu resource that names itself again; importing stops at this depth.
int g_nImportDepth = 0;

// Stored sets nest (an original set inside the controls, a set of a document menu): deeper than this is
// no state this program wrote, and reading on would only use up the stack.
const int kMaxStoredSetDepth = 8;
int g_nLoadDepth = 0;

const int kGroupWrapGap = 6;

// A button control for a command id: the list controls of the window, workspace and toolbar ids, else
// a control of the given class, else a plain button.
CXTPControl* CreateButtonForId(int nId, LPCSTR lpszClass) {
  if (nId == XTP_ID_WINDOWLIST) return XTPCreateControlOfClass("CXTPControlWindowList");
  if (nId == XTP_ID_WORKSPACE_ACTIONS) return XTPCreateControlOfClass("CXTPControlWorkspaceActions");
  if (nId == XTP_ID_TOOLBARLIST) return XTPCreateControlOfClass("CXTPControlToolbars");
  if (lpszClass != nullptr) return XTPCreateControlOfClass(lpszClass);
  return new CXTPControlButton;
}

BOOL IsPopupType(XTPControlType type) {
  return type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup;
}

}  // namespace

CXTPControl* AFXAPI XTPCreateControlOfClass(LPCSTR lpszClassName) {
  CRuntimeClass* pClass = CRuntimeClass::FromName(lpszClassName);
  if (pClass != nullptr && pClass->m_pfnCreateObject != nullptr &&
      pClass->IsDerivedFrom(RUNTIME_CLASS(CXTPControl))) {
    if (CObject* pObject = pClass->CreateObject()) return static_cast<CXTPControl*>(pObject);
  }
  return new CXTPControlButton;
}

CXTPControls::CXTPControls() { InterlockedIncrement(&XTPGetLiveObjectCounts()->nControlCollections); }

CXTPControls::~CXTPControls() {
  RemoveAll();
  SetOriginalControls(nullptr);
  InterlockedDecrement(&XTPGetLiveObjectCounts()->nControlCollections);
}

CXTPControl* CXTPControls::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrControls[nIndex] : nullptr;
}

CXTPControl* CXTPControls::GetNext(CXTPControl* pControl) const {
  return pControl != nullptr ? GetAt(pControl->GetIndex() + 1) : nullptr;
}

void CXTPControls::RefreshIndexes() {
  for (int i = 0; i < GetCount(); ++i) {
    CXTPControl* pControl = m_arrControls[i];
    pControl->m_nIndex = i;
    pControl->m_pControls = this;
    pControl->SetParent(m_pParent);
  }
  if (m_pParent != nullptr) m_pParent->DelayLayout();
}

CXTPControl* CXTPControls::InsertAt(CXTPControl* pControl, int nBefore) {
  if (nBefore < 0 || nBefore >= GetCount()) {
    m_arrControls.Add(pControl);
  } else {
    m_arrControls.InsertAt(nBefore, pControl);
    // The bar's remembered indexes follow the controls they name.
    if (m_pParent != nullptr) {
      if (m_pParent->m_nSelected >= nBefore) m_pParent->m_nSelected++;
      if (m_pParent->m_nPopuped >= nBefore) m_pParent->m_nPopuped++;
    }
  }
  RefreshIndexes();
  return pControl;
}

CXTPControl* CXTPControls::Add(XTPControlType controlType, int nId, LPCTSTR lpszParameter, int nBefore,
                               BOOL bTemporary) {
  CXTPControl* pControl = nullptr;
  switch (controlType) {
    case xtpControlButton:
      pControl = CreateButtonForId(nId, nId == XTP_ID_FILE_MRU ? "CXTPControlRecentFileList" : nullptr);
      break;
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup: {
      CXTPControlPopup* pPopup = CXTPControlPopup::CreateControlPopup(controlType);
      CXTPCommandBars* pCommandBars = GetCommandBars();
      CXTPPopupBar* pBar = nullptr;
      CMenu menu;
      if (nId > 0 && menu.LoadMenu(static_cast<UINT>(nId))) {
        CString strCaption;
        menu.GetMenuString(0, strCaption, MF_BYPOSITION);
        pPopup->SetCaption(strCaption.Left(256));
        CWnd* pSite = pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;
        if (pSite->GetSafeHwnd() != nullptr) {
          XTP_COMMANDBARS_CREATEBAR cs = {};
          cs.bPopup = TRUE;
          cs.lpcstrCaption = strCaption;
          cs.nID = static_cast<UINT>(nId);
          if (pSite->SendMessage(XTP_WM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs)) != 0)
            pBar = DYNAMIC_DOWNCAST(CXTPPopupBar, cs.pCommandBar);
        }
        if (pBar == nullptr) pBar = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
        if (CMenu* pSubMenu = menu.GetSubMenu(0)) pBar->LoadMenu(pSubMenu, TRUE);
      } else {
        pBar = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
      }
      pPopup->SetCommandBar(pBar);
      pBar->InternalRelease();
      pControl = pPopup;
      break;
    }
    case xtpControlComboBox:
      pControl = XTPCreateControlOfClass("CXTPControlComboBox");
      break;
    case xtpControlEdit:
      pControl = XTPCreateControlOfClass("CXTPControlEdit");
      break;
    case xtpControlCustom:
      return AddControl(XTPCreateControlOfClass("CXTPControlCustom"), nId, lpszParameter, nBefore,
                        bTemporary);
    case xtpControlLabel:
      pControl = XTPCreateControlOfClass("CXTPControlLabel");
      break;
    default:
      pControl = new CXTPControlButton;
      break;
  }
  if (controlType != xtpControlPopup) pControl->SetID(nId);
  pControl->m_strParameter = lpszParameter;
  pControl->m_bTemporary = bTemporary;
  pControl->m_controlType = controlType;
  return InsertAt(pControl, nBefore);
}

CXTPControl* CXTPControls::AddControl(CXTPControl* pControl, int nId, LPCTSTR lpszParameter, int nBefore,
                                      BOOL bTemporary) {
  if (pControl == nullptr) return nullptr;
  pControl->m_strParameter = lpszParameter;
  pControl->m_bTemporary = bTemporary;
  pControl->SetID(nId);
  return InsertAt(pControl, nBefore);
}

CXTPControl* CXTPControls::AddClone(CXTPControl* pControl, int nBefore, BOOL bRecursive) {
  if (pControl == nullptr) return nullptr;
  CXTPControl* pClone = pControl->Clone(bRecursive);
  return pClone != nullptr ? InsertAt(pClone, nBefore) : nullptr;
}

CXTPControl* CXTPControls::ImportMenuItem(CMenu* pMenu, int nIndex) {
  if (pMenu == nullptr || g_nImportDepth >= XTP_MAX_POPUP_DEPTH) return nullptr;
  CMenu* pSubMenu = pMenu->GetSubMenu(nIndex);
  int nId = static_cast<int>(pMenu->GetMenuItemID(nIndex));
  const BOOL bDefault =
      ::GetMenuDefaultItem(pMenu->GetSafeHmenu(), TRUE, GMDI_USEDISABLED) == static_cast<UINT>(nIndex);
  if (nId == 0xFF00) return nullptr;

  CString strCaption;
  pMenu->GetMenuString(static_cast<UINT>(nIndex), strCaption, MF_BYPOSITION);
  strCaption = strCaption.Left(256);
  XTPControlType controlType = pSubMenu != nullptr ? xtpControlPopup : xtpControlButton;
  XTPButtonStyle buttonStyle = xtpButtonAutomatic;

  CXTPCommandBars* pCommandBars = GetCommandBars();
  CWnd* pSite = pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;
  if (pSite == nullptr && m_pParent != nullptr)
    pSite = m_pParent->m_pOwner != nullptr ? m_pParent->m_pOwner : m_pParent->GetOwnerSite();

  XTP_COMMANDBARS_CREATECONTROL cs;
  cs.nID = nId;
  cs.pControl = nullptr;
  cs.bToolBar = FALSE;
  cs.nIndex = nIndex;
  cs.pMenu = pMenu;
  cs.pCommandBar = m_pParent;
  cs.strCaption = strCaption;
  cs.controlType = controlType;
  cs.buttonStyle = buttonStyle;
  CXTPControl* pControl = nullptr;
  if (pSite->GetSafeHwnd() != nullptr &&
      pSite->SendMessage(XTP_WM_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) != 0) {
    nId = cs.nID;
    strCaption = cs.strCaption;
    controlType = cs.controlType;
    buttonStyle = cs.buttonStyle;
    pControl = cs.pControl;
  }

  if (pControl == nullptr) {
    switch (controlType) {
      case xtpControlButton: {
        LPCSTR lpszClass = nullptr;
        if (nId == 57872 && strCaption == _T("<<OLE VERBS GO HERE>>")) lpszClass = "CXTPControlOleItems";
        if (nId == 57616) lpszClass = "CXTPControlRecentFileList";
        pControl = CreateButtonForId(nId, lpszClass);
        break;
      }
      case xtpControlComboBox:
        pControl = XTPCreateControlOfClass("CXTPControlComboBox");
        break;
      case xtpControlEdit:
        pControl = XTPCreateControlOfClass("CXTPControlEdit");
        break;
      case xtpControlPopup:
      case xtpControlButtonPopup:
      case xtpControlSplitButtonPopup: {
        CXTPControlPopup* pPopup = CXTPControlPopup::CreateControlPopup(controlType);
        CString strTitle = strCaption;
        StripMnemonics(strTitle);
        CXTPPopupBar* pBar = nullptr;
        if (pSite->GetSafeHwnd() != nullptr) {
          XTP_COMMANDBARS_CREATEBAR csBar = {};
          csBar.bPopup = TRUE;
          csBar.lpcstrCaption = strTitle;
          csBar.nID = static_cast<UINT>(nId);
          if (pSite->SendMessage(XTP_WM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&csBar)) != 0) {
            pBar = DYNAMIC_DOWNCAST(CXTPPopupBar, csBar.pCommandBar);
            if (pBar != nullptr && csBar.lpcstrCaption != nullptr) strTitle = csBar.lpcstrCaption;
          }
        }
        if (pBar == nullptr) pBar = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
        pBar->SetTitle(strTitle);
        pBar->m_dwIdleFlags &= ~CXTPCommandBar::xtpIdleRedraw;
        if (pBar->GetLockRedraw() <= 0 && pBar->GetSafeHwnd() != nullptr) pBar->Invalidate(FALSE);
        ++g_nImportDepth;
        if (pSubMenu != nullptr) {
          pBar->LoadMenu(pSubMenu, TRUE);
        } else if (nId > 0) {
          CMenu menu;
          if (menu.LoadMenu(static_cast<UINT>(nId)) && menu.GetSubMenu(0) != nullptr)
            pBar->LoadMenu(menu.GetSubMenu(0), TRUE);
        }
        --g_nImportDepth;
        pPopup->SetCommandBar(pBar);
        pBar->InternalRelease();
        pBar->DelayLayout();
        pControl = pPopup;
        break;
      }
      default:
        // A site that answers with a type the import cannot make still gets a control for the item.
        controlType = xtpControlButton;
        pControl = new CXTPControlButton;
        break;
    }
    pControl->m_controlType = controlType;
    pControl->m_buttonStyle = buttonStyle;
  }

  pControl->SetID(nId);
  pControl->SetCaption(strCaption);
  pControl->SetDefaultItem(bDefault);
  InsertAt(pControl, -1);

  if (pSite->GetSafeHwnd() != nullptr) {
    cs.nID = nId;
    cs.pControl = pControl;
    cs.strCaption = strCaption;
    cs.controlType = controlType;
    cs.buttonStyle = buttonStyle;
    pSite->SendMessage(XTP_WM_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
  }
  return pControl;
}

void CXTPControls::Remove(CXTPControl* pControl) {
  if (pControl == nullptr) return;
  const int nIndex = pControl->GetIndex();
  if (GetAt(nIndex) != pControl) return;
  if (m_pParent != nullptr) {
    if (pControl->GetSelected()) m_pParent->SetSelected(-1);
    if (m_pParent->m_nPopuped == nIndex) m_pParent->SetPopuped(-1);
    if (m_pParent->m_nSelected > nIndex) m_pParent->m_nSelected--;
    if (m_pParent->m_nPopuped > nIndex) m_pParent->m_nPopuped--;
    if (m_pParent->m_nSelected == nIndex) m_pParent->m_nSelected = -1;
  }
  m_arrControls.RemoveAt(nIndex);
  pControl->m_pControls = nullptr;
  pControl->SetParent(nullptr);
  pControl->InternalRelease();
  RefreshIndexes();
}

void CXTPControls::RemoveAt(int nIndex) { Remove(GetAt(nIndex)); }

void CXTPControls::RemoveAll() {
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) {
    if (m_pParent->m_nPopuped >= 0) m_pParent->SetPopuped(-1);
    m_pParent->m_nSelected = -1;
  }
  // Detach first: a control's release may reach this collection again.
  CArray<CXTPControl*, CXTPControl*> arrControls;
  arrControls.Copy(m_arrControls);
  m_arrControls.RemoveAll();
  for (INT_PTR i = 0; i < arrControls.GetSize(); ++i) {
    CXTPControl* pControl = arrControls[i];
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
  }
}

CXTPControl* CXTPControls::FindControl(XTPControlType controlType, int nId, BOOL bVisible,
                                       BOOL bRecursive) const {
  // Sub-bars are searched with a bounded depth, so popups that refer back to their chain end.
  struct Finder {
    static CXTPControl* Find(const CXTPControls* pControls, XTPControlType type, int nId, BOOL bVisible,
                             BOOL bRecursive, int nDepth) {
      if (nDepth > XTP_MAX_POPUP_DEPTH) return nullptr;
      for (int i = 0; i < pControls->GetCount(); ++i) {
        CXTPControl* pControl = pControls->GetAt(i);
        if ((type == xtpControlError || pControl->GetType() == type) &&
            (!bVisible || pControl->IsVisible()) && (nId == -1 || pControl->GetID() == nId)) {
          return pControl;
        }
        if (bRecursive && IsPopupType(pControl->GetType())) {
          CXTPCommandBar* pBar = pControl->GetCommandBar();
          if (pBar != nullptr) {
            if (CXTPControl* pFound = Find(pBar->GetControls(), type, nId, bVisible, TRUE, nDepth + 1))
              return pFound;
          }
        }
      }
      return nullptr;
    }
  };
  return Finder::Find(this, controlType, nId, bVisible, bRecursive, 0);
}

CXTPControl* CXTPControls::HitTest(CPoint point) const {
  for (int i = 0; i < GetCount(); ++i) {
    CXTPControl* pControl = m_arrControls[i];
    if (pControl->IsVisible() && pControl->GetRect().PtInRect(point)) return pControl;
  }
  return nullptr;
}

int CXTPControls::GetVisibleCount(BOOL bStrict) const {
  int nCount = 0;
  for (int i = 0; i < GetCount(); ++i) {
    const DWORD dwHide = m_arrControls[i]->GetHideFlags();
    if (bStrict ? dwHide == 0 : (dwHide & ~static_cast<DWORD>(xtpHideWrap)) == 0) nCount++;
  }
  return nCount;
}

int CXTPControls::GetNextNavigable(int nIndex, int nDirection, BOOL bSkipFlagged, BOOL bSkipTemporary,
                                   BOOL bStrictHide) const {
  const int nCount = GetCount();
  if (nCount == 0) return -1;
  const DWORD dwAllowed = bStrictHide ? xtpHideScroll : (xtpHideScroll | xtpHideExpand);
  int i = (nIndex == -1 && nDirection < 0) ? nCount - 1 : nIndex + nDirection;
  int nWraps = 0;
  for (int nSteps = 0; nSteps <= nCount + 1; ++nSteps) {
    if (i >= nCount) {
      if (nIndex == -1 && nDirection > 0) return -1;
      if (++nWraps > 1) return -1;
      i = 0;
    } else if (i < 0) {
      if (nIndex == -1 && nDirection < 0) return -1;
      if (++nWraps > 1) return -1;
      i = nCount - 1;
    }
    if (i == nIndex) return nIndex;
    CXTPControl* pControl = m_arrControls[i];
    const BOOL bSkip = (pControl->GetHideFlags() & ~dwAllowed) != 0 ||
                       (bSkipFlagged && (pControl->GetFlags() & xtpFlagSkipFocus)) ||
                       (bSkipTemporary && pControl->IsTemporary());
    if (!bSkip) return i;
    i += nDirection;
  }
  return -1;
}

void CXTPControls::SetParent(CXTPCommandBar* pParent) {
  m_pParent = pParent;
  if (GetCount() > 0) RefreshIndexes();
}

CXTPCommandBars* CXTPControls::GetCommandBars() const {
  return m_pParent != nullptr ? m_pParent->FindOwnerCommandBars() : m_pCommandBars;
}

CXTPControls* CXTPControls::Duplicate(BOOL bRecursive) const {
  CXTPControls* pControls = new CXTPControls;
  pControls->m_pCommandBars = GetCommandBars();
  for (int i = 0; i < GetCount(); ++i) {
    CXTPControl* pControl = m_arrControls[i];
    if (pControl->IsTemporary()) continue;
    if (CXTPControl* pClone = pControl->Clone(bRecursive)) pControls->m_arrControls.Add(pClone);
  }
  pControls->RefreshIndexes();
  if (m_pOriginalControls != nullptr)
    pControls->SetOriginalControls(m_pOriginalControls->Duplicate(bRecursive));
  return pControls;
}

void CXTPControls::SnapshotOriginal() {
  CXTPControls* pOriginal = Duplicate(TRUE);
  pOriginal->SetOriginalControls(nullptr);
  SetOriginalControls(pOriginal);
}

void CXTPControls::SetOriginalControls(CXTPControls* pControls) {
  XTPReplaceHeld(m_pOriginalControls, pControls, FALSE);
}

BOOL CXTPControls::IsSameAs(const CXTPControls* pOther, int nDepth) const {
  if (pOther == this) return TRUE;
  if (pOther == nullptr || nDepth > XTP_MAX_POPUP_DEPTH) return FALSE;
  int i = 0, j = 0;
  for (;;) {
    while (i < GetCount() && m_arrControls[i]->IsTemporary()) i++;
    while (j < pOther->GetCount() && pOther->m_arrControls[j]->IsTemporary()) j++;
    const BOOL bEndThis = i >= GetCount(), bEndOther = j >= pOther->GetCount();
    if (bEndThis || bEndOther) return bEndThis && bEndOther;
    if (!m_arrControls[i]->IsEqual(pOther->m_arrControls[j])) return FALSE;
    i++;
    j++;
  }
}

BOOL CXTPControls::IsChangedFromOriginal() const {
  return m_pOriginalControls == nullptr || !IsSameAs(m_pOriginalControls);
}

void CXTPControls::MoveBefore(CXTPControl* pControl, int nBefore) {
  if (pControl == nullptr || GetAt(pControl->GetIndex()) != pControl) return;
  const int nIndex = pControl->GetIndex();
  m_arrControls.RemoveAt(nIndex);
  if (nBefore > nIndex) nBefore--;
  if (nBefore < 0 || nBefore > GetCount()) nBefore = GetCount();
  m_arrControls.InsertAt(nBefore, pControl);
  RefreshIndexes();
}

void CXTPControls::SwapControls(CXTPControls* pOther) {
  if (pOther == nullptr || pOther == this) return;
  CArray<CXTPControl*, CXTPControl*> arrTemp;
  arrTemp.Copy(m_arrControls);
  m_arrControls.Copy(pOther->m_arrControls);
  pOther->m_arrControls.Copy(arrTemp);
  CXTPControls* pOriginal = m_pOriginalControls;
  m_pOriginalControls = pOther->m_pOriginalControls;
  pOther->m_pOriginalControls = pOriginal;
  RefreshIndexes();
  pOther->RefreshIndexes();
}

// ---- Stored record -----------------------------------------------------------------------------------

void CXTPControls::DoPropExchange(CXTPPropExchange* pPX) {
  XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam =
      static_cast<XTP_COMMANDBARS_PROPEXCHANGE_PARAM*>(pPX->m_dwData);
  if (pPX->IsStoring()) {
    DWORD dwCount = 0;
    for (int i = 0; i < GetCount(); ++i) {
      if (!m_arrControls[i]->IsTemporary()) dwCount++;
    }
    CXTPPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(_T("Control")));
    POSITION pos = pEnumerator->GetPosition(dwCount);
    for (int i = 0; i < GetCount() && pos != nullptr; ++i) {
      CXTPControl* pControl = m_arrControls[i];
      if (pControl->IsTemporary()) continue;
      CXTPPropExchangeSection sec(pEnumerator->GetNext(pos));
      CObject* pObject = pControl;
      sec->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CXTPControl));
      pControl->DoPropExchange(sec);
    }
    BOOL bOriginal = m_pOriginalControls != nullptr && (pParam == nullptr || pParam->bSaveOriginalControls);
    PropExchangeBool(pPX, _T("OriginalControls"), bOriginal, FALSE);
    if (bOriginal) {
      CXTPPropExchangeSection sec(pPX, _T("OriginalControls"));
      m_pOriginalControls->DoPropExchange(sec);
    }
    BOOL bCustomized = FALSE;
    PropExchangeBool(pPX, _T("CustomizedControls"), bCustomized, FALSE);
    return;
  }

  if (g_nLoadDepth >= kMaxStoredSetDepth) AfxThrowArchiveException(CArchiveException::badSchema);
  struct LoadDepth {
    LoadDepth() { ++g_nLoadDepth; }
    ~LoadDepth() { --g_nLoadDepth; }
  } depth;
  RemoveAll();
  {
    CXTPPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(_T("Control")));
    POSITION pos = pEnumerator->GetPosition(0);
    while (pos != nullptr) {
      CXTPPropExchangeSection sec(pEnumerator->GetNext(pos));
      CObject* pObject = nullptr;
      if (!sec->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CXTPControl)))
        AfxThrowArchiveException(CArchiveException::badClass);
      CXTPControl* pControl = static_cast<CXTPControl*>(pObject);
      m_arrControls.Add(pControl);
      pControl->m_pControls = this;
      pControl->DoPropExchange(sec);
    }
  }
  RefreshIndexes();
  if (pPX->GetSchema() > 2) {
    BOOL bOriginal = FALSE;
    PropExchangeBool(pPX, _T("OriginalControls"), bOriginal, FALSE);
    if (bOriginal) {
      CXTPControls* pOriginal = new CXTPControls;
      pOriginal->m_pCommandBars = pParam != nullptr ? pParam->pCommandBars : GetCommandBars();
      // The new set is owned before it is read, so a failing read cannot leak it.
      SetOriginalControls(pOriginal);
      CXTPPropExchangeSection sec(pPX, _T("OriginalControls"));
      pOriginal->DoPropExchange(sec);
    }
    BOOL bCustomized = FALSE;
    PropExchangeBool(pPX, _T("CustomizedControls"), bCustomized, FALSE);
    if (bCustomized) {
      CXTPControls* pDropped = new CXTPControls;
      pDropped->m_pCommandBars = pParam != nullptr ? pParam->pCommandBars : GetCommandBars();
      try {
        CXTPPropExchangeSection sec(pPX, _T("CustomizedControls"));
        pDropped->DoPropExchange(sec);
      } catch (...) {
        pDropped->InternalRelease();
        throw;
      }
      pDropped->InternalRelease();
    }
  }
}

// ---- Layout ------------------------------------------------------------------------------------------
// Mode bits: LM_STRETCH stretch to the length, LM_MRUWIDTH the bar's MRU width is the length,
// LM_HORZDOCK docked horizontally, LM_VERTDOCK docked vertically (columns), LM_LENGTHY the length is a
// height, LM_COMMIT store rectangles and hide flags, LM_HIDEWRAP hide what does not fit, LM_POPUP every
// group starts a new row and the MRU width is used.

struct CXTPControls::LayoutItem {
  CXTPControl* pControl;
  CRect rcControl;
  CRect rcRow;
  CSize szControl;
  BOOL bVisible;
  BOOL bWrap;
  BOOL bHidden;
  BOOL bBeginGroup;
};

int CXTPControls::WrapRows(LayoutItem* pItems, int nCount, int nWidth, DWORD dwMode) const {
  const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
  for (int i = 0; i < nCount; ++i) pItems[i].bWrap = pItems[i].bHidden = FALSE;
  auto extent = [&](int i) { return bVert ? pItems[i].szControl.cy : pItems[i].szControl.cx; };

  int nRows = 1;
  int nRowStart = -1;
  int nSum = 0;
  for (int i = 0; i < nCount; ++i) {
    if (!pItems[i].bVisible) continue;
    if (nRowStart < 0) {
      nRowStart = i;
      nSum = extent(i);
      continue;
    }
    const int nGap = pItems[i].bBeginGroup ? kGroupWrapGap : 0;
    const BOOL bOverflow = nSum + nGap + extent(i) > nWidth;
    const BOOL bGroupRow = (dwMode & LM_POPUP) && pItems[i].bBeginGroup;
    if (!bOverflow && !bGroupRow) {
      nSum += nGap + extent(i);
      continue;
    }
    if (dwMode & LM_HIDEWRAP) {
      for (int j = i; j < nCount; ++j) {
        if (pItems[j].bVisible) pItems[j].bHidden = TRUE;
      }
      break;
    }
    int nBreak = i;
    if (!bGroupRow) {
      for (int j = i; j > nRowStart; --j) {
        if (pItems[j].bVisible && pItems[j].bBeginGroup) {
          nBreak = j;
          break;
        }
      }
    }
    pItems[nBreak].bWrap = TRUE;
    nRows++;
    nRowStart = nBreak;
    nSum = 0;
    for (int j = nBreak; j <= i; ++j) {
      if (!pItems[j].bVisible) continue;
      nSum += (j != nBreak && pItems[j].bBeginGroup ? kGroupWrapGap : 0) + extent(j);
    }
  }
  return nRows;
}

CSize CXTPControls::PlaceRows(LayoutItem* pItems, int nCount, DWORD dwMode, CSize szGaps) const {
  const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
  CSize szTotal(0, 0);
  BOOL bFirst = TRUE, bFirstInRow = TRUE;
  if (!bVert) {
    int x = 0, y = 0, nRowHeight = 0;
    for (int i = 0; i < nCount; ++i) {
      LayoutItem& item = pItems[i];
      if (!item.bVisible || item.bHidden) continue;
      if (item.bWrap && !bFirst) {
        y += nRowHeight;
        x = 0;
        nRowHeight = 0;
        bFirstInRow = TRUE;
        if (item.bBeginGroup) y += szGaps.cy;
      } else if (!bFirstInRow && item.bBeginGroup) {
        x += szGaps.cx;
      }
      item.rcControl.SetRect(x, y, x + item.szControl.cx, y + item.szControl.cy);
      x += item.szControl.cx;
      nRowHeight = std::max<int>(nRowHeight, item.szControl.cy);
      szTotal.cx = std::max<LONG>(szTotal.cx, x);
      szTotal.cy = std::max<LONG>(szTotal.cy, y + nRowHeight);
      bFirst = bFirstInRow = FALSE;
    }
  } else {
    // Columns grow leftwards from x = 0; the commit moves the block right by its width.
    int x = 0, y = 0, nColumnWidth = 0;
    for (int i = 0; i < nCount; ++i) {
      LayoutItem& item = pItems[i];
      if (!item.bVisible || item.bHidden) continue;
      if (item.bWrap && !bFirst) {
        x -= nColumnWidth;
        y = 0;
        nColumnWidth = 0;
        bFirstInRow = TRUE;
        if (item.bBeginGroup) x -= szGaps.cx;
      } else if (!bFirstInRow && item.bBeginGroup) {
        y += szGaps.cy;
      }
      item.rcControl.SetRect(x - item.szControl.cx, y, x, y + item.szControl.cy);
      y += item.szControl.cy;
      nColumnWidth = std::max<int>(nColumnWidth, item.szControl.cx);
      szTotal.cx = std::max<LONG>(szTotal.cx, -(x - nColumnWidth));
      szTotal.cy = std::max<LONG>(szTotal.cy, y);
      bFirst = bFirstInRow = FALSE;
    }
  }
  return szTotal;
}

CSize CXTPControls::WrapAndPlace(LayoutItem* pItems, int nCount, int nWidth, DWORD dwMode, CSize szGaps,
                                 int* pnRows) const {
  const int nRows = WrapRows(pItems, nCount, nWidth, dwMode);
  if (pnRows != nullptr) *pnRows = nRows;
  return PlaceRows(pItems, nCount, dwMode, szGaps);
}

void CXTPControls::AlignAndStretch(LayoutItem* pItems, int nCount, DWORD dwMode, int nFarEnd,
                                   CRect rcBorders) const {
  const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
  const int nNear = bVert ? rcBorders.top : rcBorders.left;
  auto fits = [&](int i) { return pItems[i].bVisible && !pItems[i].bHidden; };
  auto lead = [&](const CRect& rc) { return bVert ? rc.top : rc.left; };
  auto trail = [&](const CRect& rc) { return bVert ? rc.bottom : rc.right; };
  auto shift = [&](CRect& rc, int n) { bVert ? rc.OffsetRect(0, n) : rc.OffsetRect(n, 0); };

  // Right-aligned controls at the end are packed against the far end, last first.
  CArray<BOOL, BOOL> arrPacked;
  arrPacked.SetSize(nCount);
  for (int i = 0; i < nCount; ++i) arrPacked[i] = FALSE;
  int nEdge = nFarEnd;
  for (int i = nCount - 1; i >= 0; --i) {
    if (!fits(i)) continue;
    if (!(pItems[i].pControl->GetFlags() & xtpFlagRightAlign) || pItems[i].bWrap) break;
    const int nSize = trail(pItems[i].rcControl) - lead(pItems[i].rcControl);
    if (nEdge - nSize < nNear) break;
    shift(pItems[i].rcControl, nEdge - nSize - lead(pItems[i].rcControl));
    nEdge -= nSize;
    arrPacked[i] = TRUE;
  }

  // Stretched controls share the free length of their row, row by row from the last.
  int nRowEnd = nCount;
  for (int nRowStart = nCount - 1; nRowStart >= 0; --nRowStart) {
    if (!fits(nRowStart)) continue;
    const BOOL bRowBegins = pItems[nRowStart].bWrap || nRowStart == 0;
    BOOL bFirstVisible = TRUE;
    for (int j = 0; j < nRowStart; ++j) {
      if (fits(j)) bFirstVisible = FALSE;
    }
    if (!bRowBegins && !bFirstVisible) continue;
    int nFree = nFarEnd, nLastOther = nNear, nStretched = 0;
    for (int j = nRowStart; j < nRowEnd; ++j) {
      if (!fits(j)) continue;
      if (arrPacked[j]) {
        nFree = std::min<int>(nFree, lead(pItems[j].rcControl));
      } else {
        nLastOther = std::max<int>(nLastOther, trail(pItems[j].rcControl));
        if (pItems[j].pControl->GetFlags() & xtpFlagControlStretched) nStretched++;
      }
    }
    int nFreeLength = nFree - nLastOther;
    if (nFreeLength >= 1 && nStretched > 0) {
      int nGrowth = 0;
      for (int j = nRowStart; j < nRowEnd; ++j) {
        if (!fits(j) || arrPacked[j]) continue;
        shift(pItems[j].rcControl, nGrowth);
        if (pItems[j].pControl->GetFlags() & xtpFlagControlStretched) {
          const int nAdd = nFreeLength / nStretched;
          if (bVert) {
            pItems[j].rcControl.bottom += nAdd;
          } else {
            pItems[j].rcControl.right += nAdd;
          }
          nGrowth += nAdd;
          nFreeLength -= nAdd;
          nStretched--;
        }
      }
    }
    nRowEnd = nRowStart;
  }
}

CSize CXTPControls::Layout(CDC* pDC, int nLength, DWORD dwMode, CRect rcBorders, int nMinLength) {
  CXTPBarTheme* pTheme = m_pParent != nullptr ? m_pParent->GetPaintManager() : CXTPBarTheme::GetTheme();
  const CSize szGaps =
      m_pParent != nullptr ? pTheme->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE) : CSize(6, 6);
  for (int i = GetCount() - 1; i >= 0; --i) m_arrControls[i]->OnCalcDynamicSize(dwMode);

  if (GetVisibleCount(FALSE) < 1) {
    CSize sz(23 + rcBorders.left + rcBorders.right, 22 + rcBorders.top + rcBorders.bottom);
    if (dwMode & LM_HORZDOCK) {
      sz.cy = std::max(sz.cy, static_cast<LONG>(nMinLength));
    } else {
      sz.cx = std::max(sz.cx, static_cast<LONG>(nMinLength));
    }
    return sz;
  }

  const int nCount = GetCount();
  CArray<LayoutItem, const LayoutItem&> arrItems;
  arrItems.SetSize(nCount);
  LayoutItem* pItems = arrItems.GetData();
  for (int i = 0; i < nCount; ++i) {
    CXTPControl* pControl = m_arrControls[i];
    LayoutItem& item = pItems[i];
    item.pControl = pControl;
    item.bVisible = (pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideWrap)) == 0;
    item.szControl = item.bVisible ? pControl->GetSize(pDC) : CSize(0, 0);
    item.rcControl = pControl->GetRect();
    item.rcRow.SetRectEmpty();
    item.bBeginGroup = pControl->GetBeginGroup();
    item.bWrap = item.bHidden = FALSE;
  }

  const int nMRUWidth = m_pParent != nullptr ? m_pParent->GetMRUWidth() : 0x7FFF;
  if (dwMode & LM_MRUWIDTH) nLength = nMRUWidth;
  const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;

  CSize sz;
  if (dwMode & LM_POPUP) {
    sz = WrapAndPlace(pItems, nCount, nMRUWidth, dwMode, szGaps, nullptr);
    if (sz.cy > 3 * sz.cx && nMRUWidth < 1) {
      int nMin = WrapAndPlace(pItems, nCount, 0, dwMode, szGaps, nullptr).cx;
      int nMax = WrapAndPlace(pItems, nCount, 0x7FFF, dwMode, szGaps, nullptr).cx;
      while (nMin < nMax) {
        const int nMid = (nMin + nMax) / 2;
        const CSize szTrial = WrapAndPlace(pItems, nCount, nMid, dwMode, szGaps, nullptr);
        if (szTrial.cy == szTrial.cx) break;
        if (szTrial.cy > szTrial.cx) {
          if (nMin == nMid + 1) break;
          nMin = nMid + 1;
        } else {
          if (nMax == nMid) break;
          nMax = nMid;
        }
      }
      sz = WrapAndPlace(pItems, nCount, (nMin + nMax) / 2, dwMode, szGaps, nullptr);
    } else {
      sz = WrapAndPlace(pItems, nCount, sz.cx, dwMode, szGaps, nullptr);
    }
  } else if (dwMode & LM_HORZDOCK) {
    sz = WrapAndPlace(pItems, nCount, nLength - rcBorders.left - rcBorders.right, dwMode, szGaps, nullptr);
  } else if (dwMode & LM_VERTDOCK) {
    sz = WrapAndPlace(pItems, nCount, nLength - rcBorders.top - rcBorders.bottom, dwMode, szGaps, nullptr);
  } else if (dwMode & LM_LENGTHY) {
    const int nHeight = nLength - rcBorders.top - rcBorders.bottom;
    int nMin = 0, nMax = 0x7FFF;
    int nBest = nMax;
    while (nMin <= nMax) {
      const int nMid = (nMin + nMax) / 2;
      const CSize szTrial = WrapAndPlace(pItems, nCount, nMid, dwMode, szGaps, nullptr);
      if (szTrial.cy <= nHeight) {
        nBest = nMid;
        if (szTrial.cy == nHeight) break;
        nMax = nMid - 1;
      } else {
        nMin = nMid + 1;
      }
    }
    sz = WrapAndPlace(pItems, nCount, nBest, dwMode, szGaps, nullptr);
  } else {
    const int nWidth = nLength - rcBorders.left - rcBorders.right;
    const int nRows = WrapRows(pItems, nCount, nWidth, dwMode);
    int nMin = 0, nMax = std::max(nWidth, 0);
    while (nMin < nMax) {
      const int nMid = (nMin + nMax) / 2;
      if (WrapRows(pItems, nCount, nMid, dwMode) <= nRows) {
        nMax = nMid;
      } else {
        nMin = nMid + 1;
      }
    }
    sz = WrapAndPlace(pItems, nCount, nMin, dwMode, szGaps, nullptr);
    sz = WrapAndPlace(pItems, nCount, sz.cx, dwMode, szGaps, nullptr);
  }

  if (dwMode & LM_HORZDOCK) {
    sz.cy = std::max(sz.cy, static_cast<LONG>(nMinLength - rcBorders.top - rcBorders.bottom));
  } else {
    sz.cx = std::max(sz.cx, static_cast<LONG>(nMinLength - rcBorders.left - rcBorders.right));
  }
  if (dwMode & LM_STRETCH) {
    if (bVert) {
      sz.cy = std::max(sz.cy, static_cast<LONG>(nLength - rcBorders.top - rcBorders.bottom));
    } else {
      sz.cx = std::max(sz.cx, static_cast<LONG>(nLength - rcBorders.left - rcBorders.right));
    }
  }

  if (dwMode & LM_COMMIT) {
    const int nShiftX = rcBorders.left + (bVert ? sz.cx : 0);
    for (int i = 0; i < nCount; ++i) {
      if (pItems[i].bVisible && !pItems[i].bHidden) pItems[i].rcControl.OffsetRect(nShiftX, rcBorders.top);
    }
    // Rows (columns) span the block; their controls are centred across them.
    for (int nStart = 0; nStart < nCount;) {
      while (nStart < nCount && !(pItems[nStart].bVisible && !pItems[nStart].bHidden)) nStart++;
      if (nStart >= nCount) break;
      int nEnd = nStart + 1;
      while (nEnd < nCount && !(pItems[nEnd].bVisible && !pItems[nEnd].bHidden && pItems[nEnd].bWrap)) nEnd++;
      CRect rcRow;
      if (!bVert) {
        int nTop = INT_MAX, nThick = 0;
        for (int j = nStart; j < nEnd; ++j) {
          if (!pItems[j].bVisible || pItems[j].bHidden) continue;
          nTop = std::min(nTop, static_cast<int>(pItems[j].rcControl.top));
          nThick = std::max(nThick, static_cast<int>(pItems[j].rcControl.Height()));
        }
        rcRow.SetRect(rcBorders.left, nTop, rcBorders.left + sz.cx, nTop + nThick);
        for (int j = nStart; j < nEnd; ++j) {
          if (!pItems[j].bVisible || pItems[j].bHidden) continue;
          CRect& rc = pItems[j].rcControl;
          rc.OffsetRect(0, rcRow.top + (nThick - rc.Height()) / 2 - rc.top);
          pItems[j].rcRow = rcRow;
        }
      } else {
        int nLeft = INT_MAX, nRight = INT_MIN;
        for (int j = nStart; j < nEnd; ++j) {
          if (!pItems[j].bVisible || pItems[j].bHidden) continue;
          nLeft = std::min(nLeft, static_cast<int>(pItems[j].rcControl.left));
          nRight = std::max(nRight, static_cast<int>(pItems[j].rcControl.right));
        }
        // Every control of a column was placed against the column's right edge.
        int nThick = 0;
        for (int j = nStart; j < nEnd; ++j) {
          if (pItems[j].bVisible && !pItems[j].bHidden)
            nThick = std::max(nThick, static_cast<int>(pItems[j].rcControl.Width()));
        }
        rcRow.SetRect(nRight - nThick, rcBorders.top, nRight, rcBorders.top + sz.cy);
        for (int j = nStart; j < nEnd; ++j) {
          if (!pItems[j].bVisible || pItems[j].bHidden) continue;
          CRect& rc = pItems[j].rcControl;
          rc.OffsetRect(rcRow.left + (nThick - rc.Width()) / 2 - rc.left, 0);
          pItems[j].rcRow = rcRow;
        }
        UNUSED(nLeft);
      }
      nStart = nEnd;
    }
    AlignAndStretch(pItems, nCount, dwMode, bVert ? rcBorders.top + sz.cy : rcBorders.left + sz.cx,
                    rcBorders);
    for (int i = 0; i < nCount; ++i) {
      LayoutItem& item = pItems[i];
      CXTPControl* pControl = item.pControl;
      if (item.bHidden) {
        pControl->m_dwHideFlags |= xtpHideWrap;
      } else {
        pControl->m_dwHideFlags &= ~static_cast<DWORD>(xtpHideWrap);
      }
      pControl->SetRowRect(item.rcRow);
      if (item.bVisible && !item.bHidden) pControl->SetRect(item.rcControl);
      pControl->SetWrap(item.bWrap);
    }
  }
  sz.cx += rcBorders.left + rcBorders.right;
  sz.cy += rcBorders.top + rcBorders.bottom;
  return sz;
}
