// The list placeholders (windows, toolbars, OLE verbs, recent files, tab-group actions) and the label.
#include "ControlLists.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlPopup.h"
#include "Controls.h"
#include "PopupBar.h"
#include "ToolBar.h"

#include <afxole.h>

IMPLEMENT_DYNAMIC(CXTPControlListPlaceholder, CXTPControlButton)
IMPLEMENT_SERIAL(CXTPControlWindowList, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlToolbars, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlOleItems, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlRecentFileList, CXTPControlListPlaceholder,
                 VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlWorkspaceActions, CXTPControlListPlaceholder,
                 VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlLabel, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

UINT CXTPControlWindowList::s_nFirstMDIChild = AFX_IDM_FIRST_MDICHILD;
int CXTPControlWindowList::s_nItemCount = 9;

namespace {

const LPCTSTR kToolbarItemParameter = _T("CXTPControlToolbar");
const LPCTSTR kOlePopupParameter = _T("OLEMENUPOPUP");
const int kWorkspaceFirst = 9420;
const int kWorkspaceLast = 9423;

// A toolbar item of the toolbars list: running it shows or hides the toolbar of its Tag.
class CXTPControlToolbarItem : public CXTPControlButton {
 public:
  void OnExecute() override {
    CXTPCommandBar* pParent = GetParent();
    CXTPCommandBars* pCommandBars = pParent != nullptr ? pParent->GetCommandBars() : nullptr;
    if (pCommandBars == nullptr) return;
    const int nIndex = static_cast<int>(GetTag());
    pCommandBars->ClosePopups();
    pCommandBars->ToggleVisible(nIndex);
    pCommandBars->RecalcFrameLayout();
  }
  CXTPControl* Clone(BOOL bRecursive) override {
    CXTPControlToolbarItem* pClone = new CXTPControlToolbarItem;
    pClone->Copy(this, bRecursive);
    return pClone;
  }
};

// Records whether the command-UI pass enables a command.
class CEnableProbe : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
  BOOL m_bEnabled = FALSE;
};

CFrameWnd* SiteFrame(CXTPControl* pControl) {
  CXTPCommandBar* pParent = pControl->GetParent();
  CWnd* pSite = pParent != nullptr ? pParent->GetOwnerSite() : nullptr;
  return DYNAMIC_DOWNCAST(CFrameWnd, pSite);
}

}  // namespace

// ---- Shared ------------------------------------------------------------------------------------------

BOOL CXTPControlListPlaceholder::CanCustomizeDrop(CXTPCommandBar* pCommandBar, CPoint, DROPEFFECT& dropEffect,
                                                  BOOL) {
  if (pCommandBar != nullptr && pCommandBar->GetType() == xtpBarTypePopup) return TRUE;
  dropEffect = DROPEFFECT_NONE;
  return FALSE;
}

CString PASCAL CXTPControlListPlaceholder::FormatNumberedCaption(const CString& strText, int nNumber) {
  CString strEscaped = strText;
  strEscaped.Replace(_T("&"), _T("&&"));
  CString strCaption;
  if (nNumber >= 1 && nNumber <= 9) {
    strCaption.Format(_T("&%i %s"), nNumber, static_cast<LPCTSTR>(strEscaped));
  } else if (nNumber == 10) {
    strCaption.Format(_T("1&0 %s"), static_cast<LPCTSTR>(strEscaped));
  } else if (nNumber > 10) {
    strCaption.Format(_T("%i %s"), nNumber, static_cast<LPCTSTR>(strEscaped));
  } else {
    strCaption = strEscaped;
  }
  return strCaption;
}

template <class Pred>
void CXTPControlListPlaceholder::RemoveGenerated(Pred bGenerated) {
  CXTPControls* pControls = GetControls();
  if (pControls == nullptr) return;
  while (CXTPControl* pNext = pControls->GetAt(m_nIndex + 1)) {
    if (!bGenerated(pNext)) break;
    pControls->Remove(pNext);
  }
}

CXTPControl* CXTPControlListPlaceholder::InsertItem(int& nPosition, int nId, LPCTSTR lpszParameter) {
  CXTPControl* pItem = GetControls()->Add(xtpControlButton, nId, lpszParameter, nPosition++, TRUE);
  pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
  return pItem;
}

// ---- Window list -------------------------------------------------------------------------------------

void CXTPControlWindowList::OnCalcDynamicSize(DWORD) {
  if (GetControls() == nullptr) return;
  RemoveGenerated(
      [](CXTPControl* p) { return p->IsTemporary() && static_cast<UINT>(p->GetID()) >= s_nFirstMDIChild; });
  CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, SiteFrame(this));
  if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr || IsCustomizeMode()) {
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(xtpHideGeneric));
    return;
  }
  SetHideFlags(m_dwHideFlags | xtpHideGeneric);
  HWND hWndActive = reinterpret_cast<HWND>(::SendMessage(pFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
  if (hWndActive != nullptr) {
    const int nActiveId = ::GetDlgCtrlID(hWndActive);
    if (nActiveId >= 0x8000 && nActiveId <= 0x800E) {
      s_nFirstMDIChild = 0x8000;
    } else if (nActiveId >= 1 && nActiveId <= 14) {
      s_nFirstMDIChild = 1;
    }
  }
  int nPosition = m_nIndex + 1, nNumber = 1;
  for (UINT nId = s_nFirstMDIChild; nNumber <= s_nItemCount; ++nId) {
    HWND hWndChild = ::GetDlgItem(pFrame->m_hWndMDIClient, static_cast<int>(nId));
    if (hWndChild == nullptr) break;
    if (!::IsWindowVisible(hWndChild)) continue;
    WCHAR szTitle[257] = {};
    ::GetWindowText(hWndChild, szTitle, 256);
    CXTPControl* pItem = InsertItem(nPosition, static_cast<int>(nId));
    pItem->SetCaption(FormatNumberedCaption(szTitle, nNumber));
    pItem->SetBeginGroup(nNumber == 1);
    pItem->SetChecked(hWndChild == hWndActive);
    ++nNumber;
  }
}

// ---- Toolbars list -----------------------------------------------------------------------------------

void PASCAL CXTPControlToolbars::FillToolbarsList(CXTPCommandBar* pBar, int nIndex, int nCommandId,
                                                  BOOL bAddCustomize) {
  CXTPCommandBars* pCommandBars = pBar != nullptr ? pBar->GetCommandBars() : nullptr;
  if (pCommandBars == nullptr) return;
  CXTPControls* pControls = pBar->GetControls();
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pToolBar = pCommandBars->GetAt(i);
    if (pToolBar->GetType() != xtpBarTypeNormal || !pToolBar->IsContextMenuPresent() ||
        !pToolBar->IsCloseable())
      continue;
    CXTPControlToolbarItem* pItem = new CXTPControlToolbarItem;
    pControls->AddControl(pItem, nCommandId, kToolbarItemParameter, nIndex++, TRUE);
    pItem->SetTag(static_cast<DWORD_PTR>(i));
    pItem->SetCaption(pToolBar->GetTitle());
    pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
    pItem->SetChecked(pToolBar->IsVisible());
  }
  if (bAddCustomize && pCommandBars->IsCustomizable()) {
    CXTPControl* pCustomize = pControls->Add(xtpControlButton, XTP_ID_CUSTOMIZE, nullptr, nIndex, TRUE);
    if (pCustomize->GetCaption().IsEmpty()) pCustomize->SetCaption(_T("&Customize..."));
    pCustomize->SetBeginGroup(TRUE);
  }
}

void CXTPControlToolbars::OnCalcDynamicSize(DWORD) {
  if (GetControls() == nullptr) return;
  RemoveGenerated([](CXTPControl* p) { return p->GetParameter() == kToolbarItemParameter; });
  if (IsCustomizeMode()) {
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(xtpHideGeneric));
    return;
  }
  SetHideFlags(m_dwHideFlags | xtpHideGeneric);
  FillToolbarsList(GetParent(), m_nIndex + 1, m_nId, FALSE);
}

// ---- OLE verbs ---------------------------------------------------------------------------------------

void CXTPControlOleItems::OnCalcDynamicSize(DWORD) {
  CXTPControls* pControls = GetControls();
  if (pControls == nullptr) return;
  RemoveGenerated([](CXTPControl* p) { return p->GetParameter() == kOlePopupParameter; });
  if (IsCustomizeMode()) {
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(xtpHideGeneric));
    return;
  }
  // Like the other lists, the placeholder never shows outside customize mode: its caption is a
  // marker, not a command.
  SetHideFlags(m_dwHideFlags | xtpHideGeneric);
  CFrameWnd* pFrame = SiteFrame(this);
  CFrameWnd* pActiveFrame = pFrame != nullptr ? pFrame->GetActiveFrame() : nullptr;
  CView* pView = pActiveFrame != nullptr ? pActiveFrame->GetActiveView() : nullptr;
  COleDocument* pDocument = pView != nullptr ? DYNAMIC_DOWNCAST(COleDocument, pView->GetDocument()) : nullptr;
  COleClientItem* pItem = pDocument != nullptr ? pDocument->GetPrimarySelectedItem(pView) : nullptr;
  if (pItem == nullptr || pItem->GetItemState() == COleClientItem::activeState) return;
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, _T(""));
  AfxOleSetEditMenu(pItem, &menu, 0, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  if (menu.GetMenuItemCount() != 1) return;
  CMenu* pSubMenu = menu.GetSubMenu(0);
  if (pSubMenu == nullptr) return;
  CXTPPopupBar* pBar = CXTPPopupBar::CreatePopupBarForCommandBars(pControls->GetCommandBars());
  pBar->LoadMenu(pSubMenu, TRUE);
  CXTPControlPopup* pPopup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
  pControls->AddControl(pPopup, 0, kOlePopupParameter, m_nIndex + 1, TRUE);
  pPopup->SetType(xtpControlPopup);
  pPopup->SetCommandBar(pBar);
  pBar->InternalRelease();
  CString strCaption;
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  pPopup->SetCaption(strCaption.Left(256));
}

// ---- Recent files ------------------------------------------------------------------------------------

CRecentFileList* CXTPControlRecentFileList::GetRecentFileList() {
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr ? pApp->m_pRecentFileList : nullptr;
}

void CXTPControlRecentFileList::OnCalcDynamicSize(DWORD) {
  CRecentFileList* pList = GetRecentFileList();
  if (pList == nullptr || GetControls() == nullptr) return;
  const int nFirst = GetFirstRecentId(), nLast = nFirst + pList->GetSize();
  RemoveGenerated([nFirst, nLast](CXTPControl* p) {
    return p->IsTemporary() && p->GetID() >= nFirst && p->GetID() < nLast;
  });
  if (IsCustomizeMode()) {
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(xtpHideGeneric));
    SetEnabled(TRUE);
    return;
  }
  if (pList->GetSize() == 0 || (*pList)[0].IsEmpty()) {
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(xtpHideGeneric));
    SetEnabled(FALSE);
    return;
  }
  SetHideFlags(m_dwHideFlags | xtpHideGeneric);
  WCHAR szCurDir[MAX_PATH + 1] = {};
  ::GetCurrentDirectory(MAX_PATH, szCurDir);
  CString strCurDir = szCurDir;
  if (strCurDir.Right(1) != _T("\\")) strCurDir += _T("\\");
  int nPosition = m_nIndex + 1;
  for (int i = 0; i < pList->GetSize(); ++i) {
    CString strName;
    if (!pList->GetDisplayName(strName, i, strCurDir, strCurDir.GetLength(), TRUE)) break;
    CXTPControl* pItem = InsertItem(nPosition, nFirst + i);
    pItem->SetCaption(FormatNumberedCaption(strName, i + 1));
    if (i == 0) pItem->SetBeginGroup(m_nIndex != 0);
  }
}

// ---- Tab-group actions -------------------------------------------------------------------------------

void CXTPControlWorkspaceActions::OnCalcDynamicSize(DWORD) {
  if (GetParent() == nullptr || GetControls() == nullptr) return;
  RemoveGenerated(
      [](CXTPControl* p) { return p->GetID() >= kWorkspaceFirst && p->GetID() <= kWorkspaceLast; });
  CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, SiteFrame(this));
  if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr) return;
  // The tab client subclasses the MDI client window; it answers which actions are possible through
  // its command-update handler.
  CWnd* pClient = CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient);
  CRuntimeClass* pTabClientClass = CRuntimeClass::FromName("CXTPTabClientWnd");
  if (pClient == nullptr || pTabClientClass == nullptr || !pClient->IsKindOf(pTabClientClass)) return;
  SetHideFlags(m_dwHideFlags | xtpHideGeneric);
  int nPosition = m_nIndex + 1;
  BOOL bFirst = TRUE;
  for (int nId : {9422, 9423, 9420, 9421}) {
    CEnableProbe probe;
    probe.m_nID = static_cast<UINT>(nId);
    if (!pClient->OnCmdMsg(static_cast<UINT>(nId), static_cast<int>(CN_UPDATE_COMMAND_UI), &probe, nullptr) ||
        !probe.m_bEnabled)
      continue;
    CXTPControl* pItem = InsertItem(nPosition, nId);
    if (bFirst) pItem->SetBeginGroup(GetBeginGroup());
    bFirst = FALSE;
  }
}

// ---- Label -------------------------------------------------------------------------------------------

CXTPControlLabel::CXTPControlLabel() {
  m_controlType = xtpControlLabel;
  m_dwFlags = 0x12;
}
