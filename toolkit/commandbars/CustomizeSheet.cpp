// The customize sheet: customize mode with its thread hooks, the customize menu and its commands on
// the selected control, and the two control classes of that menu.
#include "CustomizeSheet.h"

#include "AcceleratorManager.h"
#include "BarHooks.h"
#include "BarTheme.h"
#include "ButtonImageEditor.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlPopup.h"
#include "Controls.h"
#include "CustomizeCommandsPage.h"
#include "CustomizeDragSource.h"
#include "CustomizeSettingsPage.h"
#include "CustomizeShortcutsPage.h"
#include "CustomizeToolbarsPage.h"
#include "PopupBar.h"
#include "ToolBar.h"

#include <ImageManager.h>
#include <ImageManagerIcon.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <cmath>

namespace {

// The process-wide record of the running sheet and its hooks.
struct CustomizeHookRecord {
  CXTPCustomizeSheet* pSheet = nullptr;
  HHOOK hMouseHook = nullptr;
  HHOOK hKeyboardHook = nullptr;
};
CustomizeHookRecord g_hookRecord;

BOOL IsWindowOrDescendant(HWND hWndAncestor, HWND hWnd) {
  return hWndAncestor != nullptr && hWnd != nullptr &&
         (hWnd == hWndAncestor || ::IsChild(hWndAncestor, hWnd));
}

CXTPCommandBar* CommandBarOf(HWND hWnd) {
  return hWnd != nullptr ? DYNAMIC_DOWNCAST(CXTPCommandBar, CWnd::FromHandlePermanent(hWnd)) : nullptr;
}

// Whether a click on hWnd may reach its window while the sheet runs.
BOOL PassMouseToTarget(CXTPCustomizeSheet* pSheet, HWND hTarget) {
  HWND hSite = pSheet->GetCommandBars()->GetSite()->GetSafeHwnd();
  if (!IsWindowOrDescendant(hSite, hTarget) || IsWindowOrDescendant(pSheet->GetSafeHwnd(), hTarget))
    return TRUE;
  if (IsWindowOrDescendant(::GetForegroundWindow(), hTarget)) return TRUE;
  if (CXTPCommandBar* pBar = CommandBarOf(hTarget))
    return pBar->FindOwnerCommandBars() == pSheet->GetCommandBars();
  if (CXTPCommandBar* pParent = CommandBarOf(::GetParent(hTarget)))
    return pParent->FindOwnerCommandBars() == pSheet->GetCommandBars();
  return FALSE;
}

LRESULT CALLBACK CustomizeMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode < 0 || g_hookRecord.pSheet == nullptr)
    return ::CallNextHookEx(g_hookRecord.hMouseHook, nCode, wParam, lParam);
  const UINT message = static_cast<UINT>(wParam);
  if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
    return ::CallNextHookEx(g_hookRecord.hMouseHook, nCode, wParam, lParam);
  const HWND hTarget = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam)->hwnd;
  if (CXTPBarMouseTracker::GetThreadState()->GetTrackedCount() > 0) {
    CXTPCommandBar* pBar = CommandBarOf(hTarget);
    if (pBar == nullptr) pBar = CommandBarOf(::GetParent(hTarget));
    if (pBar != nullptr && pBar->FindOwnerCommandBars() == nullptr)
      return ::CallNextHookEx(g_hookRecord.hMouseHook, nCode, wParam, lParam);
    // The open menus' own hook sees the click first: it closes them on a click outside.
    if (LRESULT lResult = ::CallNextHookEx(g_hookRecord.hMouseHook, nCode, wParam, lParam)) return lResult;
    return PassMouseToTarget(g_hookRecord.pSheet, hTarget) ? 0 : 1;
  }
  if (PassMouseToTarget(g_hookRecord.pSheet, hTarget))
    return ::CallNextHookEx(g_hookRecord.hMouseHook, nCode, wParam, lParam);
  return 1;
}

LRESULT CALLBACK CustomizeKeyboardHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode < 0 || g_hookRecord.pSheet == nullptr)
    return ::CallNextHookEx(g_hookRecord.hKeyboardHook, nCode, wParam, lParam);
  const HWND hFocus = ::GetFocus();
  const BOOL bPass = IsWindowOrDescendant(g_hookRecord.pSheet->GetSafeHwnd(), hFocus) ||
                     CommandBarOf(::GetParent(hFocus)) != nullptr ||
                     IsWindowOrDescendant(::GetForegroundWindow(), hFocus) || ::GetCapture() != nullptr;
  return bPass ? ::CallNextHookEx(g_hookRecord.hKeyboardHook, nCode, wParam, lParam) : 1;
}

// The control types whose button picture the customize menu changes: buttons and popups.
BOOL IsButtonType(const CXTPControl* pControl) {
  return pControl != nullptr && pControl->GetType() >= xtpControlButton &&
         pControl->GetType() <= xtpControlSplitButtonPopup;
}

void RelayoutParent(CXTPControl* pControl) {
  if (CXTPCommandBar* pBar = pControl->GetParent()) {
    pBar->OnRecalcLayout();
    pBar->DelayLayout();
    if (pBar->GetSafeHwnd() != nullptr) pBar->Invalidate(FALSE);
  }
}

// The popup bar a control sits on leaves tracking, which closes the customize menu.
void CloseMenuOf(CXTPControl* pControl) {
  if (CXTPCommandBar* pParent = pControl->GetParent()) {
    if (CXTPCommandBar* pRoot = pParent->GetRootBar()) pRoot->EnterTracking(0);
  }
}

LRESULT NotifySheet(CXTPControl* pControl) {
  CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet();
  if (pSheet->GetSafeHwnd() == nullptr) return 0;
  NMXTPCONTROL nm = {};
  nm.hdr.idFrom = static_cast<UINT_PTR>(pControl->GetID());
  nm.hdr.code = CBN_XTP_EXECUTE;
  nm.pControl = pControl;
  return pSheet->SendMessage(XTP_WM_COMMANDNOTIFY, static_cast<WPARAM>(pControl->GetID()),
                             reinterpret_cast<LPARAM>(&nm));
}

}  // namespace

// ---- Controls of the customize menu --------------------------------------------------------------------

IMPLEMENT_SERIAL(CXTPCustomizeMenuButton, CXTPControlButton, VERSIONABLE_SCHEMA | 1)

void CXTPCustomizeMenuButton::OnExecute() {
  InternalAddRef();
  CloseMenuOf(this);
  if (NotifySheet(this) == 0) {
    if (CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet(); pSheet->GetSafeHwnd() != nullptr)
      pSheet->SendMessage(WM_COMMAND, static_cast<WPARAM>(GetID()), 0);
  }
  InternalRelease();
}

IMPLEMENT_SERIAL(CXTPCustomizeMenuNameEdit, CXTPControlEdit, VERSIONABLE_SCHEMA | 1)

void CXTPCustomizeMenuNameEdit::OnExecute() {
  InternalAddRef();
  m_bFocused = FALSE;
  CloseMenuOf(this);
  NotifySheet(this);
  InternalRelease();
}

void CXTPCustomizeMenuNameEdit::SetFocused(BOOL bFocused) {
  const BOOL bWasFocused = m_bFocused;
  m_bFocused = bFocused;
  // Leaving the box takes the typed name over as Enter does.
  if (bWasFocused && !bFocused) NotifySheet(this);
}

// ---- The sheet -----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPCustomizeSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CXTPCustomizeSheet, CPropertySheet)
ON_MESSAGE(XTP_WM_COMMANDNOTIFY, OnCommandNotify)
ON_MESSAGE(XTP_WM_INITPOPUP, OnInitPopup)
ON_COMMAND_RANGE(XTP_ID_CUSTOMIZE_RESET, XTP_ID_CUSTOMIZE_BEGINAGROUP, OnCustomizeCommand)
ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_CUSTOMIZE_RESET, XTP_ID_CUSTOMIZE_BEGINAGROUP, OnUpdateCustomizeCommand)
END_MESSAGE_MAP()

CXTPCustomizeSheet::CXTPCustomizeSheet() = default;

CXTPCustomizeSheet::CXTPCustomizeSheet(CXTPCommandBars* pCommandBars, UINT nSelectPage)
    : m_pWndParent(pCommandBars->GetSite()), m_pCommandBars(pCommandBars) {
  CString strCaption;
  GetToolkitResourceManager()->LoadString(strCaption, XTP_IDS_CUSTOMIZE);
  Construct(strCaption, m_pWndParent, nSelectPage);
  m_pToolbarsPage = new CXTPCustomizeToolbarsPage(this);
  AddPage(m_pToolbarsPage);
  m_pCommandsPage = new CXTPCustomizeCommandsPage(this);
  AddPage(m_pCommandsPage);
  BuildCustomIcons();
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  BuildCustomizeMenu();
}

CXTPCustomizeSheet::~CXTPCustomizeSheet() {
  if (m_hWnd != nullptr) DestroyWindow();
  delete m_pToolbarsPage;
  delete m_pCommandsPage;
  if (m_pCustomizeMenu != nullptr) m_pCustomizeMenu->InternalRelease();
  if (m_pCustomIcons != nullptr) m_pCustomIcons->InternalRelease();
}

INT_PTR PASCAL CXTPCustomizeSheet::RunCustomizeSheet(CXTPCommandBars* pCommandBars, UINT nIDMenu) {
  CXTPCustomizeSheet sheet(pCommandBars);
  CXTPCustomizeShortcutsPage pageKeyboard(&sheet);
  sheet.AddPage(&pageKeyboard);
  pageKeyboard.AddCategoriesFromMenu(nIDMenu, FALSE);
  CXTPCustomizeSettingsPage pageOptions(&sheet);
  sheet.AddPage(&pageOptions);
  CXTPCustomizeCommandsPage* pCommands = sheet.GetCommandsPage();
  pCommands->AddCategoriesFromMenu(nIDMenu, FALSE);
  pCommands->AddAllCommandsCategory(XTP_IDS_ALLCOMMANDS, -1);
  pCommands->AddBuiltInMenusCategory(nIDMenu, XTP_IDS_BUILTINMENUS, -1);
  pCommands->AddNewMenuCategory(XTP_IDS_NEWMENU, -1);
  return sheet.DoModal();
}

CXTPCustomizeSheet* PASCAL CXTPCustomizeSheet::GetRunningSheet() { return g_hookRecord.pSheet; }

CXTPImageManager* CXTPCustomizeSheet::GetImageManager() const {
  CXTPImageManager* pImageManager = m_pCommandBars != nullptr ? m_pCommandBars->GetImageManager() : nullptr;
  return pImageManager != nullptr ? pImageManager : XTPImageManager();
}

void CXTPCustomizeSheet::AddPage(CPropertyPage* pPage) {
  CPropertySheet::AddPage(pPage);
  if (pPage == nullptr || !IS_INTRESOURCE(pPage->m_psp.pszTemplate) ||
      (pPage->m_psp.dwFlags & PSP_DLGINDIRECT))
    return;
  const UINT nID = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(pPage->m_psp.pszTemplate));
  if (LPCDLGTEMPLATE pTemplate = GetToolkitResourceManager()->LoadDialogTemplate(nID)) {
    pPage->m_psp.pResource = pTemplate;
    pPage->m_psp.dwFlags |= PSP_DLGINDIRECT;
  }
}

void CXTPCustomizeSheet::BuildCustomIcons() {
  m_pCustomIcons = new CXTPImageManager();
  CBitmap bmp;
  if (!GetToolkitResourceManager()->LoadBitmap(&bmp, XTP_IDB_CUSTOMIZE_ICONS)) return;
  BITMAP bm = {};
  bmp.GetBitmap(&bm);
  const int nCount = bm.bmWidth / 16;
  CArray<UINT, UINT> arrIDs;
  for (int i = 1; i <= nCount; ++i) arrIDs.Add(static_cast<UINT>(i));
  m_pCustomIcons->AddIconsFromBitmap(static_cast<HBITMAP>(bmp.GetSafeHandle()), arrIDs.GetData(), nCount,
                                     CSize(16, 16), xtpImageNormal, FALSE);
  if (m_pCommandBars->IsLayoutRTL()) m_pCustomIcons->DrawReverted(TRUE);
}

void CXTPCustomizeSheet::BuildCustomizeMenu() {
  CMenu menu;
  if (!GetToolkitResourceManager()->LoadMenu(&menu, XTP_IDR_CUSTOMIZEMENU)) return;
  CMenu* pSubMenu = menu.GetSubMenu(0);
  if (pSubMenu == nullptr) return;
  CXTPBarTheme* pTheme = m_pCommandBars->GetPaintManager();
  m_pCustomizeMenu = new CXTPPopupBar();
  if (pTheme != nullptr) {
    pTheme->InternalAddRef();
    m_pCustomizeMenu->AssignPaintTheme(pTheme);
  }
  // A bar takes over the reference it is given: each one that shows the pictures gets its own.
  m_pCustomIcons->InternalAddRef();
  m_pCustomizeMenu->AssignImageSet(m_pCustomIcons);
  CXTPControls* pControls = m_pCustomizeMenu->GetControls();
  BOOL bBeginGroup = FALSE;
  for (int i = 0; i < static_cast<int>(pSubMenu->GetMenuItemCount()); ++i) {
    const UINT nID = pSubMenu->GetMenuItemID(i);
    if (nID == 0) {
      bBeginGroup = TRUE;
      continue;
    }
    TCHAR szText[257] = {};
    ::GetMenuString(pSubMenu->GetSafeHmenu(), static_cast<UINT>(i), szText, 256, MF_BYPOSITION);
    CXTPControl* pControl = nullptr;
    if (nID == XTP_ID_CUSTOMIZE_NAME) {
      pControl = pControls->AddControl(new CXTPCustomizeMenuNameEdit(), static_cast<int>(nID));
    } else if (nID == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) {
      CXTPControlPopup* pPopup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
      pControl = pControls->AddControl(pPopup, static_cast<int>(nID));
      CXTPPopupToolBar* pImages = new CXTPPopupToolBar();
      pImages->SetBarID(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
      if (pTheme != nullptr) {
        pTheme->InternalAddRef();
        pImages->AssignPaintTheme(pTheme);
      }
      m_pCustomIcons->InternalAddRef();
      pImages->AssignImageSet(m_pCustomIcons);
      pPopup->SetCommandBar(pImages);
      pImages->InternalRelease();
    } else {
      pControl = pControls->AddControl(new CXTPCustomizeMenuButton(), static_cast<int>(nID));
    }
    pControl->SetCaption(szText);
    pControl->SetBeginGroup(bBeginGroup);
    bBeginGroup = FALSE;
  }
}

BOOL CXTPCustomizeSheet::OnInitDialog() {
  CPropertySheet::OnInitDialog();
  // Over the frame it customizes, as the class library places a sheet on its parent (a maximized frame
  // would otherwise have it in the screen's corner).
  if (m_pWndParent->GetSafeHwnd() != nullptr) CenterWindow(m_pWndParent);
  if (CWnd* pOK = GetDlgItem(IDOK)) pOK->ShowWindow(SW_HIDE);
  if (CWnd* pCancel = GetDlgItem(IDCANCEL)) {
    CString strClose;
    GetToolkitResourceManager()->LoadString(strClose, XTP_IDS_CUSTOMIZE_CLOSE);
    pCancel->SetWindowText(strClose);
  }
  return TRUE;
}

INT_PTR CXTPCustomizeSheet::DoModal() {
  if (g_hookRecord.pSheet != nullptr || m_pCommandBars == nullptr) return IDCANCEL;
  m_pCommandBars->SetCustomizeMode(TRUE);
  if (CXTPCustomizeDragSource* pSource = m_pCommandBars->GetDragSource()) pSource->SetSheet(this);
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) pApp->EnableModeless(FALSE);

  m_pParentWnd = m_pWndParent;
  g_hookRecord.pSheet = this;
  if (m_pWndParent != nullptr) {
    g_hookRecord.hMouseHook =
        ::SetWindowsHookEx(WH_MOUSE, CustomizeMouseHook, nullptr, ::GetCurrentThreadId());
    g_hookRecord.hKeyboardHook =
        ::SetWindowsHookEx(WH_KEYBOARD, CustomizeKeyboardHook, nullptr, ::GetCurrentThreadId());
  }
  if (HWND hCapture = ::GetCapture()) ::SendMessage(hCapture, WM_CANCELMODE, 0, 0);

  // Modeless under a modal loop of its own, so that the frame and its bars stay usable: the bars are
  // where controls are dropped.
  BuildPropPageArray();
  m_psh.hwndParent = m_pWndParent->GetSafeHwnd();
  m_psh.dwFlags |= PSH_MODELESS;
  m_bModeless = FALSE;
  m_nModalResult = IDCANCEL;
  m_nFlags |= WF_CONTINUEMODAL;
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheet(&m_psh));
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  m_psh.dwFlags &= ~PSH_MODELESS;
  if (hWnd != nullptr && reinterpret_cast<INT_PTR>(hWnd) != -1) {
    if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop(MLF_SHOWONIDLE);
    if (m_hWnd != nullptr)
      SetWindowPos(nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  }
  m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);

  if (g_hookRecord.hMouseHook != nullptr) ::UnhookWindowsHookEx(g_hookRecord.hMouseHook);
  if (g_hookRecord.hKeyboardHook != nullptr) ::UnhookWindowsHookEx(g_hookRecord.hKeyboardHook);
  g_hookRecord.hMouseHook = g_hookRecord.hKeyboardHook = nullptr;
  const BOOL bActive = m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd;
  if (m_hWnd != nullptr) DestroyWindow();
  if (bActive && m_pWndParent->GetSafeHwnd() != nullptr) m_pWndParent->SetActiveWindow();
  if (pApp != nullptr) pApp->EnableModeless(TRUE);

  m_pCommandBars->SetCustomizeMode(FALSE);
  if (CXTPCustomizeDragSource* pSource = m_pCommandBars->GetDragSource()) pSource->SetSheet(nullptr);
  m_pCommandBars->ClosePopups();
  g_hookRecord.pSheet = nullptr;
  return m_nModalResult;
}

void CXTPCustomizeSheet::ContextMenu(int x, int y) {
  if (m_pCustomizeMenu == nullptr) return;
  UINT nFlags = TPM_RECURSE;
  if (m_pWndParent->GetSafeHwnd() != nullptr && (m_pWndParent->GetExStyle() & WS_EX_LAYOUTRTL))
    nFlags |= TPM_RIGHTALIGN;
  m_pCommandBars->TrackPopupMenu(m_pCustomizeMenu, nFlags, x, y, nullptr, this);
}

BOOL CXTPCustomizeSheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const BOOL bOwn = (nID >= XTP_ID_CUSTOMIZE_RESET && nID <= XTP_ID_CUSTOMIZE_BEGINAGROUP) ||
                    (nCode == CN_COMMAND && (nID == IDOK || nID == IDCANCEL || nID == IDHELP));
  if (bOwn) return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  // The frame's own handlers keep working on the bars while they are customised.
  return m_pWndParent != nullptr && m_pWndParent->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CXTPCustomizeSheet::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSKEYDOWN && m_hWnd != nullptr) {
    HWND hTab = reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    const int nCount = hTab != nullptr ? static_cast<int>(::SendMessage(hTab, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < nCount; ++i) {
      TCHAR szText[257] = {};
      TCITEM item = {};
      item.mask = TCIF_TEXT;
      item.pszText = szText;
      item.cchTextMax = 256;
      ::SendMessage(hTab, TCM_GETITEM, i, reinterpret_cast<LPARAM>(&item));
      const TCHAR* pAmpersand = _tcschr(szText, _T('&'));
      if (pAmpersand == nullptr || pAmpersand[1] == 0) continue;
      if (CXTPAcceleratorManager::IsKeyForChar(static_cast<UINT>(pMsg->wParam), pAmpersand[1])) {
        SetActivePage(i);
        return TRUE;
      }
    }
  }
  return CPropertySheet::PreTranslateMessage(pMsg);
}

// ---- The customize menu
// ------------------------------------------------------------------------------------

LRESULT CXTPCustomizeSheet::OnInitPopup(WPARAM, LPARAM lParam) {
  CXTPPopupBar* pPopup = reinterpret_cast<CXTPPopupBar*>(lParam);
  if (pPopup == nullptr || pPopup->GetBarID() != XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE ||
      pPopup->GetControlCount() > 0)
    return 0;
  int nCount = 0;
  CXTPImageManager::CIconSetsMap* pImages = m_pCustomIcons->GetImages();
  CXTPImageManagerIconSet* pSet = nullptr;
  for (UINT nIconId = 1; pImages->Lookup(nIconId, pSet); ++nIconId) {
    CXTPControl* pControl =
        pPopup->GetControls()->AddControl(new CXTPCustomizeMenuButton(), XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
    pControl->SetIconId(static_cast<int>(nIconId));
    pControl->SetFlags(xtpFlagManualUpdate);
    ++nCount;
  }
  pPopup->SetMRUWidth(static_cast<int>(std::floor(std::sqrt(static_cast<double>(nCount)))) * 23 + 6);
  return 0;
}

LRESULT CXTPCustomizeSheet::OnCommandNotify(WPARAM wParam, LPARAM lParam) {
  NMXTPCONTROL* pNM = reinterpret_cast<NMXTPCONTROL*>(lParam);
  if (pNM == nullptr || pNM->hdr.code != CBN_XTP_EXECUTE) return 0;
  const UINT nID = static_cast<UINT>(wParam);
  CXTPControl* pSelected = m_pCommandBars->GetDragControl();
  if (nID == XTP_ID_CUSTOMIZE_NAME) {
    CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pNM->pControl);
    if (pSelected != nullptr && pEdit != nullptr) {
      pSelected->SetCustomCaption(pEdit->GetEditText());
      RelayoutParent(pSelected);
    }
    return TRUE;
  }
  if (nID == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) {
    if (pSelected != nullptr && pNM->pControl != nullptr)
      ChangeButtonImage(pSelected, pNM->pControl->GetImageId());
    return TRUE;
  }
  if (nID >= XTP_ID_CUSTOMIZE_RESET && nID <= XTP_ID_CUSTOMIZE_BEGINAGROUP) return 0;
  // Anything else goes on to the frame, as a bar's control would send it.
  if (pNM->pControl != nullptr && pNM->pControl->GetParent() != nullptr)
    pNM->pControl->GetParent()->GetRootBar()->EnterTracking(0);
  if (m_pWndParent->GetSafeHwnd() == nullptr) return 0;
  if (m_pWndParent->SendMessage(XTP_WM_COMMANDNOTIFY, wParam, lParam) == 0)
    m_pWndParent->SendMessage(WM_COMMAND, wParam, 0);
  return TRUE;
}

BOOL PASCAL CXTPCustomizeSheet::HasButtonImage(CXTPControl* pControl) {
  return IsButtonType(pControl) && pControl->GetImageId() > 0;
}

void CXTPCustomizeSheet::OnUpdateCustomizeCommand(CCmdUI* pCmdUI) {
  CXTPControl* pSelected = m_pCommandBars != nullptr ? m_pCommandBars->GetDragControl() : nullptr;
  switch (pCmdUI->m_nID) {
    case XTP_ID_CUSTOMIZE_RESET:
      pCmdUI->Enable(pSelected != nullptr &&
                     (pSelected->GetCustomIconId() > 0 || !pSelected->GetCustomCaption().IsEmpty() ||
                      pSelected->GetCustomStyle() != xtpButtonAutomatic));
      break;
    case XTP_ID_CUSTOMIZE_DELETE:
      pCmdUI->Enable(TRUE);
      break;
    case XTP_ID_CUSTOMIZE_NAME: {
      CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, CXTPControl::GetControlFromCmdUI(pCmdUI));
      if (pEdit != nullptr && !pEdit->IsFocused())
        pEdit->SetEditText(pSelected != nullptr ? pSelected->GetCaption() : CString());
      pCmdUI->Enable(TRUE);
      break;
    }
    case XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE:
    case XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE:
    case XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE:
      pCmdUI->Enable(HasButtonImage(pSelected));
      break;
    case XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE:
      pCmdUI->Enable(IsButtonType(pSelected) && ::IsClipboardFormatAvailable(CF_BITMAP));
      break;
    case XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE:
      pCmdUI->Enable(pSelected != nullptr && pSelected->GetCustomIconId() > 0);
      break;
    case XTP_ID_CUSTOMIZE_DEFAULTSTYLE:
    case XTP_ID_CUSTOMIZE_TEXTONLY:
    case XTP_ID_CUSTOMIZE_IMAGEANDTEXT: {
      const XTPButtonStyle style = pCmdUI->m_nID == XTP_ID_CUSTOMIZE_DEFAULTSTYLE ? xtpButtonAutomatic
                                   : pCmdUI->m_nID == XTP_ID_CUSTOMIZE_TEXTONLY   ? xtpButtonCaption
                                                                                  : xtpButtonIconAndCaption;
      pCmdUI->Enable(IsButtonType(pSelected));
      pCmdUI->SetCheck(pSelected != nullptr && pSelected->GetCustomStyle() == style);
      break;
    }
    case XTP_ID_CUSTOMIZE_BEGINAGROUP:
      pCmdUI->Enable(pSelected != nullptr && pSelected->GetIndex() > 0);
      pCmdUI->SetCheck(pSelected != nullptr && pSelected->GetBeginGroup());
      break;
    default:
      break;
  }
}

void CXTPCustomizeSheet::OnCustomizeCommand(UINT nID) {
  CXTPControl* pSelected = m_pCommandBars != nullptr ? m_pCommandBars->GetDragControl() : nullptr;
  if (pSelected == nullptr) return;
  pSelected->InternalAddRef();
  switch (nID) {
    case XTP_ID_CUSTOMIZE_RESET:
      pSelected->SetCustomIcon(0);
      pSelected->SetCustomCaption(_T(""));
      pSelected->SetCustomStyle(xtpButtonAutomatic);
      break;
    case XTP_ID_CUSTOMIZE_DELETE: {
      CXTPCommandBar* pBar = pSelected->GetParent();
      m_pCommandBars->SetDragControl(nullptr);
      if (CXTPControls* pControls = pSelected->GetControls()) pControls->Remove(pSelected);
      if (pBar != nullptr) {
        pBar->OnRecalcLayout();
        if (pBar->GetSafeHwnd() != nullptr) pBar->Invalidate(FALSE);
      }
      pSelected->InternalRelease();
      return;
    }
    case XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE:
      CopyButtonImage(pSelected);
      break;
    case XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE:
      PasteButtonImage(pSelected);
      break;
    case XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE:
      pSelected->SetCustomIcon(0);
      break;
    case XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE:
      EditButtonImage(pSelected);
      break;
    case XTP_ID_CUSTOMIZE_DEFAULTSTYLE:
      pSelected->SetCustomStyle(xtpButtonAutomatic);
      break;
    case XTP_ID_CUSTOMIZE_TEXTONLY:
      pSelected->SetCustomStyle(xtpButtonCaption);
      break;
    case XTP_ID_CUSTOMIZE_IMAGEANDTEXT:
      pSelected->SetCustomStyle(xtpButtonIconAndCaption);
      break;
    case XTP_ID_CUSTOMIZE_BEGINAGROUP:
      pSelected->SetBeginGroup(!pSelected->GetBeginGroup());
      break;
    default:
      break;
  }
  RelayoutParent(pSelected);
  pSelected->InternalRelease();
}

// ---- Button images ------------------------------------------------------------------------------------

void CXTPCustomizeSheet::ChangeButtonImage(CXTPControl* pControl, int nIconId) {
  CXTPImageManagerIcon* pIcon = m_pCustomIcons->GetImage(static_cast<UINT>(nIconId), 16);
  if (pIcon == nullptr) return;
  const UINT nCustomId = GetImageManager()->AddCustomIcon(pIcon->GetIcon());
  if (nCustomId != 0) {
    pControl->SetCustomIcon(static_cast<int>(nCustomId));
    RelayoutParent(pControl);
  }
}

void CXTPCustomizeSheet::CopyButtonImage(CXTPControl* pControl) {
  if (!HasButtonImage(pControl)) return;
  const UINT nImageId = static_cast<UINT>(pControl->GetImageId());
  CXTPImageManagerIcon* pIcon = GetImageManager()->GetImage(nImageId, 16);
  if (pIcon == nullptr) return;
  CXTPIconHandle& hIcon = pIcon->GetIcon();
  const BOOL bAlpha = hIcon.IsAlpha();
  HBITMAP hbm = nullptr;
  if (bAlpha) {
    hbm = CXTPIconHandle::CopyAlphaBitmap(hIcon.GetBitmap());
  } else {
    const CSize size = hIcon.GetExtent();
    CClientDC dcScreen(nullptr);
    hbm = ::CreateCompatibleBitmap(dcScreen.GetSafeHdc(), size.cx, size.cy);
    CDC dc;
    dc.CreateCompatibleDC(&dcScreen);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hbm);
    dc.FillSolidRect(0, 0, size.cx, size.cy, ::GetSysColor(COLOR_BTNFACE));
    ::DrawState(dc.GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon.GetIcon()), 0, 0, 0,
                size.cx, size.cy, DST_ICON | DSS_NORMAL);
    ::SelectObject(dc.GetSafeHdc(), hOld);
  }
  if (hbm == nullptr || !CXTPButtonImageEditor::OpenClipboardWithBitmap(m_hWnd, hbm, bAlpha)) return;
  if (GetImageManager()->GetIconSet(nImageId) != nullptr) GetImageManager()->CopyIconToClipboard(nImageId);
  ::CloseClipboard();
}

void CXTPCustomizeSheet::PasteButtonImage(CXTPControl* pControl) {
  if (!IsButtonType(pControl)) return;
  CXTPImageManager* pImageManager = GetImageManager();
  if (::IsClipboardFormatAvailable(CXTPImageManager::GetImageClipboardFormat())) {
    COleDataObject data;
    if (data.AttachClipboard()) {
      const UINT nID = pImageManager->PasteIconFromClipboard(&data);
      if (nID != 0) {
        pControl->SetCustomIcon(static_cast<int>(nID));
        RelayoutParent(pControl);
      }
      return;
    }
  }
  if (!::IsClipboardFormatAvailable(CF_BITMAP) || !::OpenClipboard(m_hWnd)) return;
  HBITMAP hbm = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  CXTPIconHandle hIcon;
  if (hbm != nullptr) {
    if (::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapClipboardFormat())) {
      hIcon.SetBitmap(hbm);
    } else {
      BITMAP bm = {};
      ::GetObject(hbm, sizeof(bm), &bm);
      HIMAGELIST hList = ::ImageList_Create(bm.bmWidth, abs(bm.bmHeight), ILC_COLOR24 | ILC_MASK, 1, 0);
      if (hList != nullptr) {
        ::ImageList_AddMasked(hList, hbm, ::GetSysColor(COLOR_BTNFACE));
        if (::ImageList_GetImageCount(hList) == 1) hIcon.SetIcon(::ImageList_GetIcon(hList, 0, ILD_NORMAL));
        ::ImageList_Destroy(hList);
      }
    }
  }
  ::CloseClipboard();
  if (hIcon.IsEmpty()) return;
  const UINT nID = pImageManager->AddCustomIcon(hIcon);
  if (nID != 0) {
    pControl->SetCustomIcon(static_cast<int>(nID));
    RelayoutParent(pControl);
  }
}

void CXTPCustomizeSheet::EditButtonImage(CXTPControl* pControl) {
  m_pCommandBars->ClosePopups();
  if (pControl->GetImageId() <= 0) return;
  CXTPCommandBar* pBar = pControl->GetParent();
  const CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  CXTPImageManager* pImageManager = GetImageManager();
  CXTPButtonImageEditor dlg(this);
  CXTPImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(pControl->GetImageId()), szIcon.cx);
  if (pIcon != nullptr) {
    dlg.SetIcon(pIcon->GetIcon());
  } else {
    dlg.SetSize(szIcon.cx, szIcon.cy);
  }
  if (dlg.DoModal() != IDOK) return;
  CXTPIconHandle hIcon;
  dlg.GetIcon(hIcon);
  if (hIcon.IsEmpty()) return;
  const UINT nCustomId = static_cast<UINT>(pControl->GetCustomIconId());
  if (nCustomId > 0 && pImageManager->GetIconSet(nCustomId) != nullptr) {
    pImageManager->SetIcon(hIcon, nCustomId, hIcon.GetExtent());
  } else {
    const UINT nID = pImageManager->AddCustomIcon(hIcon);
    if (nID != 0) pControl->SetCustomIcon(static_cast<int>(nID));
  }
  RelayoutParent(pControl);
}
