// The menu bar: a toolbar of type 0 filled from a menu resource, its window hooks on the frame (Alt
// and F10, MDI menus and children), the maximised child's controls, the document menu sets and reset.
#include "MenuBar.h"

#include "BarTheme.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "PopupBar.h"
#include "StoredValues.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <PropExchange.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

IMPLEMENT_SERIAL(CXTPMenuBar, CXTPToolBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlMDIButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPControlMDISysMenuPopup, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPMenuBar, CXTPToolBar)
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// The maximised child's controls and their glyphs in the "Marlett" font.
const int kSysMenuId = 9406;
const int kMinimizeId = 9405;
const int kRestoreId = 9404;
const int kCloseId = 9403;
// Control flags of the window buttons: right-aligned, skipped by keyboard, never updated, never moved.
const DWORD kMdiButtonFlags = 0x1B;
const DWORD kSysMenuFlags = 0x18;

// Menu-bar "Flags" bits.
const DWORD kFlagNoMinimize = 0x100;
const DWORD kFlagNoRestore = 0x200;
const DWORD kFlagKeepControls = 0x400;
const DWORD kFlagNoClose = 0x1000;
const DWORD kFlagSysMenu = 0x2000;

UINT SysCommandOf(int nId) {
  switch (nId) {
    case kCloseId:
      return SC_CLOSE;
    case kRestoreId:
      return SC_RESTORE;
    case kMinimizeId:
      return SC_MINIMIZE;
    default:
      return static_cast<UINT>(nId);
  }
}

// The button's glyph, or 0 for a control that is not a window button.
TCHAR GlyphOf(int nId) {
  switch (nId) {
    case kCloseId:
      return kMarlettClose;
    case kRestoreId:
      return kMarlettRestore;
    case kMinimizeId:
      return kMarlettMinimize;
    default:
      return 0;
  }
}

}  // namespace

CXTPMenuBar::CXTPMenuBar() { m_barType = xtpBarTypeMenuBar; }

CXTPMenuBar::~CXTPMenuBar() {
  ReleaseMenuSets();
  CXTPWindowSubclassHooks::GetInstance()->RemoveSinkEverywhere(this);
  if (m_bOwnMenuDefault && m_hMenuDefault != nullptr && ::IsMenu(m_hMenuDefault))
    ::DestroyMenu(m_hMenuDefault);
}

void CXTPMenuBar::ReleaseMenuSets() {
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    UINT nId = 0;
    CXTPControls* pControls = nullptr;
    m_mapMenus.GetNextAssoc(pos, nId, pControls);
    pControls->InternalRelease();
  }
  m_mapMenus.RemoveAll();
}

void CXTPMenuBar::HookWindow(HWND& hWndHooked, HWND hWnd) {
  if (hWndHooked == hWnd) return;
  if (hWndHooked != nullptr) CXTPWindowSubclassHooks::GetInstance()->RemoveSink(hWndHooked, this);
  hWndHooked = hWnd;
  if (hWnd != nullptr) CXTPWindowSubclassHooks::GetInstance()->AddSink(hWnd, this);
}

BOOL CXTPMenuBar::LoadMenuBar(UINT nIDResource) {
  if (nIDResource != 0) {
    CMenu menu;
    if (!menu.LoadMenu(nIDResource)) return FALSE;
    if (!LoadMenu(&menu, TRUE)) return FALSE;
    m_nIDResource = m_nIDResourceCurrent = nIDResource;
  }
  CWnd* pSite = GetOwnerSite();
  HWND hWndSite = pSite->GetSafeHwnd();
  CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pSite);
  m_bMdiApp = pMdiFrame != nullptr;
  if (hWndSite != nullptr) {
    HookWindow(m_hWndFrame, hWndSite);
    if (pMdiFrame != nullptr && pMdiFrame->m_hWndMDIClient != nullptr)
      HookWindow(m_hWndMDIClient, pMdiFrame->m_hWndMDIClient);
  }
  static const UINT kWindowCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
  CXTPImageManager* pImageManager = GetImageManager();
  if (pImageManager == nullptr) pImageManager = XTPImageManager();
  pImageManager->SetIcons(XTP_IDB_MENUBAR_ICONS, kWindowCommands, 4, CSize(16, 16));
  if (hWndSite != nullptr) {
    HMENU hMenu = ::GetMenu(hWndSite);
    if (hMenu != nullptr) {
      // A frame destroys its own default menu; any other menu taken from the site is ours to destroy.
      CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
      m_hMenuDefault = hMenu;
      m_bOwnMenuDefault = pFrame == nullptr || pFrame->m_hMenuDefault != hMenu;
      ::SetMenu(hWndSite, nullptr);
    }
  }
  return TRUE;
}

// ---- Hooks -------------------------------------------------------------------------------------------

int CXTPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
  // Keys of the keyboard hook come without a window.
  if (hWnd == nullptr) return CXTPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
  switch (nMessage) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      if (hWnd == m_hWndHookedChild && m_hWnd != nullptr) PostMessage(WM_TIMER, TID_REFRESHMDI, 0);
      return 0;
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
      if (m_hWnd != nullptr) PostMessage(WM_TIMER, TID_REFRESHMDI, 0);
      return 0;
    case WM_SYSCOMMAND: {
      if ((wParam & 0xFFF0) != SC_KEYMENU || lParam != 0 || hWnd != m_hWndFrame) return 0;
      CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
      CXTPCommandBars* pCommandBars = GetCommandBars();
      // The release of an Alt that closed the menus opens nothing.
      if (pState->ConsumeAltCloseRelease()) {
        lResult = 0;
        return 1;
      }
      if (!IsVisible() || pState->m_nModalCounter > 0 || ::GetKeyState(VK_SHIFT) < 0 ||
          pCommandBars == nullptr || pCommandBars->IsCustomizeMode())
        return 0;
      pCommandBars->TrackNextBar(this, 0);
      lResult = 0;
      return 1;
    }
    case WM_MDISETMENU:
      if (hWnd != m_hWndMDIClient) return 0;
      if (IsVisible()) {
        if (!(m_dwFlags & kFlagKeepControls)) {
          HMENU hNewMenu = reinterpret_cast<HMENU>(wParam);
          if (hNewMenu != nullptr) {
            SwitchMenu(hNewMenu);
          } else if (m_hMenuDefault != nullptr) {
            SwitchMenu(m_hMenuDefault);
          }
        }
        if (m_hWndFrame != nullptr) ::SetMenu(m_hWndFrame, nullptr);
        RefreshMdiState();
        wParam = 0;
        lResult = 0;
        return 1;
      }
      if (m_hWndFrame != nullptr && ::GetMenu(m_hWndFrame) == nullptr) {
        lResult = 0;
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

void CXTPMenuBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TID_REFRESHMDI) RefreshMdiState();
  CXTPToolBar::OnTimer(nIDEvent);
}

HWND CXTPMenuBar::GetActiveMdiChild(BOOL* pbMaximized) const {
  if (pbMaximized != nullptr) *pbMaximized = FALSE;
  if (!m_bMdiApp || m_hWndMDIClient == nullptr || !::IsWindow(m_hWndMDIClient)) return nullptr;
  BOOL bMaximized = FALSE;
  HWND hWnd = reinterpret_cast<HWND>(
      ::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
  if (pbMaximized != nullptr) *pbMaximized = hWnd != nullptr && bMaximized;
  return hWnd;
}

void CXTPMenuBar::RefreshMdiState() {
  if (!m_bMdiApp) return;
  HWND hWndChild = GetActiveMdiChild(nullptr);
  HookWindow(m_hWndHookedChild, hWndChild);
  if (IsVisible()) UpdateMdiControls();
}

// ---- The maximised child's controls ------------------------------------------------------------------

void CXTPMenuBar::RemoveMdiControl(int nId) {
  if (CXTPControl* pControl = m_pControls->FindControl(nId)) {
    m_pControls->Remove(pControl);
    DelayLayout();
  }
}

void CXTPMenuBar::UpdateMdiControls() {
  BOOL bMaximized = FALSE;
  HWND hWndChild = GetActiveMdiChild(&bMaximized);
  const DWORD dwStyle = hWndChild != nullptr ? static_cast<DWORD>(::GetWindowLong(hWndChild, GWL_STYLE)) : 0;
  const BOOL bMaxChild = hWndChild != nullptr && bMaximized;
  const int nCountBefore = GetControlCount();

  // The system menu control, first.
  CXTPControlMDISysMenuPopup* pSysMenu =
      DYNAMIC_DOWNCAST(CXTPControlMDISysMenuPopup, m_pControls->FindControl(kSysMenuId));
  if (!bMaxChild || !(m_dwFlags & kFlagSysMenu)) {
    if (pSysMenu != nullptr) RemoveMdiControl(kSysMenuId);
    m_hSystemMenuImported = nullptr;
  } else {
    HMENU hSysMenu = ::GetSystemMenu(hWndChild, FALSE);
    const BOOL bNew = pSysMenu == nullptr;
    if (bNew) {
      pSysMenu = new CXTPControlMDISysMenuPopup;
      CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(GetCommandBars());
      pPopup->SetCustomizable(FALSE);
      pSysMenu->SetCommandBar(pPopup);
      pPopup->InternalRelease();
      m_pControls->AddControl(pSysMenu, kSysMenuId, nullptr, 0, TRUE);
      pSysMenu->SetFlags(kSysMenuFlags);
      m_hSystemMenuImported = nullptr;
    }
    if (::IsMenu(hSysMenu) && hSysMenu != m_hSystemMenuImported) {
      m_hSystemMenuImported = hSysMenu;
      HICON hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, XTP_WM_GETMDIICON, 0, 0));
      if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, WM_GETICON, ICON_SMALL, 0));
      if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, WM_GETICON, ICON_BIG, 0));
      if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWndChild, GCLP_HICONSM));
      if (hIcon == nullptr) hIcon = ::LoadIcon(nullptr, IDI_WINLOGO);
      pSysMenu->SetIcon(hIcon != nullptr ? static_cast<HICON>(::CopyImage(hIcon, IMAGE_ICON, 16, 16, 0))
                                         : nullptr);
      pSysMenu->m_hSystemMenu = hSysMenu;
      CXTPCommandBar* pPopup = pSysMenu->GetCommandBar();
      CXTPControls* pItems = pPopup->GetControls();
      pItems->RemoveAll();
      const UINT nDefault = ::GetMenuDefaultItem(hSysMenu, TRUE, GMDI_USEDISABLED);
      CMenu* pMenu = CMenu::FromHandle(hSysMenu);
      BOOL bGroup = FALSE;
      const int nCount = ::GetMenuItemCount(hSysMenu);
      for (int i = 0; i < nCount; ++i) {
        MENUITEMINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID;
        ::GetMenuItemInfo(hSysMenu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
          bGroup = TRUE;
          continue;
        }
        CXTPControl* pItem = nullptr;
        if (info.wID < 0xF000 || info.wID > 0xF1EF) {
          pItem = pItems->ImportMenuItem(pMenu, i);
        } else {
          CXTPControlMDIButton* pButton = new CXTPControlMDIButton;
          pItems->AddControl(pButton, static_cast<int>(info.wID));
          pButton->SetFlags(xtpFlagManualUpdate);
          CString strText;
          pMenu->GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
          pButton->SetCaption(strText.Left(256));
          CString strPrompt;
          if (strPrompt.LoadString(0xEF00 + (info.wID - 0xF000) / 16)) pButton->SetDescription(strPrompt);
          pButton->SetDefaultItem(nDefault == static_cast<UINT>(i));
          pButton->SetEnabled(!(info.fState & MFS_GRAYED));
          pItem = pButton;
        }
        if (pItem != nullptr && bGroup) pItem->SetBeginGroup(TRUE);
        if (pItem != nullptr) bGroup = FALSE;
      }
      DelayRedraw();
    }
  }

  // The window buttons, last.
  struct ButtonRule {
    int nId;
    BOOL bShow;
  };
  const ButtonRule kRules[] = {
      {kMinimizeId, bMaxChild && (dwStyle & WS_MINIMIZEBOX) && !(m_dwFlags & kFlagNoMinimize)},
      {kRestoreId, bMaxChild && (dwStyle & WS_MAXIMIZEBOX) && !(m_dwFlags & kFlagNoRestore)},
      {kCloseId, bMaxChild && !(m_dwFlags & kFlagNoClose)},
  };
  for (const ButtonRule& rule : kRules) {
    CXTPControl* pButton = m_pControls->FindControl(rule.nId);
    if (!rule.bShow) {
      if (pButton != nullptr) RemoveMdiControl(rule.nId);
      continue;
    }
    if (pButton == nullptr) {
      pButton = m_pControls->AddControl(new CXTPControlMDIButton, rule.nId, nullptr, -1, TRUE);
      pButton->SetFlags(kMdiButtonFlags);
    }
  }
  if (GetControlCount() != nCountBefore) {
    DelayLayout();
    OnRecalcLayout();
  }
}

// ---- Document menus ----------------------------------------------------------------------------------

CXTPControls* CXTPMenuBar::ControlsFromMenu(HMENU hMenu) {
  // Filled through this bar's own menu import, then handed out.
  CXTPControls* pKeep = m_pControls;
  pKeep->InternalAddRef();
  SetControls(new CXTPControls);
  LoadMenu(CMenu::FromHandle(hMenu), TRUE);
  m_pControls->SnapshotOriginal();
  CXTPControls* pMade = m_pControls;
  pMade->InternalAddRef();
  SetControls(pKeep);
  return pMade;
}

void CXTPMenuBar::SwitchMenu(HMENU hMenu) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (hMenu == nullptr || !::IsMenu(hMenu)) return;
  UINT nId = hMenu == m_hMenuDefault
                 ? m_nIDResource
                 : (pCommandBars != nullptr ? static_cast<UINT>(pCommandBars->GetActiveMenuId()) : 0);
  if (nId == 0 || nId == m_nIDResourceCurrent || m_nIDResourceCurrent == 0 || ::GetMenuItemCount(hMenu) <= 0)
    return;
  InternalAddRef();
  SetPopuped(-1);
  SetSelected(-1);
  if (pCommandBars != nullptr && pCommandBars->IsCustomizable()) {
    CXTPControls* pCurrent = m_pControls;
    pCurrent->InternalAddRef();
    CXTPControls* pOlder = nullptr;
    if (m_mapMenus.Lookup(m_nIDResourceCurrent, pOlder)) pOlder->InternalRelease();
    m_mapMenus.SetAt(m_nIDResourceCurrent, pCurrent);
    CXTPControls* pStored = nullptr;
    CXTPControls* pNew = nullptr;
    if (m_mapMenus.Lookup(nId, pStored)) {
      m_mapMenus.RemoveKey(nId);
      if (pStored->GetOriginalControls() == nullptr) {
        CXTPControls* pImported = ControlsFromMenu(hMenu);
        pStored->SetOriginalControls(pImported->Duplicate(TRUE));
        pImported->InternalRelease();
      }
      pNew = pStored;
    } else {
      pNew = ControlsFromMenu(hMenu);
    }
    // The bar takes over the new set's reference; the map keeps the one it left.
    SetControls(pNew);
  } else {
    LoadMenu(CMenu::FromHandle(hMenu), TRUE);
  }
  m_nIDResourceCurrent = nId;
  DelayLayout();
  OnRecalcLayout();
  InternalRelease();
}

void CXTPMenuBar::PrepareForSave() {
  if (m_mapMenus.GetCount() == 0) return;
  if (m_hMenuDefault != nullptr) {
    SwitchMenu(m_hMenuDefault);
    m_bSwitchedForSave = TRUE;
  }
  CArray<UINT, UINT> arrDrop;
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    UINT nId = 0;
    CXTPControls* pControls = nullptr;
    m_mapMenus.GetNextAssoc(pos, nId, pControls);
    if (!pControls->IsChangedFromOriginal()) arrDrop.Add(nId);
  }
  for (INT_PTR i = 0; i < arrDrop.GetSize(); ++i) {
    CXTPControls* pControls = nullptr;
    if (m_mapMenus.Lookup(arrDrop[i], pControls)) {
      m_mapMenus.RemoveKey(arrDrop[i]);
      pControls->InternalRelease();
    }
  }
}

void CXTPMenuBar::RefreshAfterSave() {
  if (!m_bSwitchedForSave) return;
  m_bSwitchedForSave = FALSE;
  // The frame's menu is that of its active child, as the child sets it on activation: the hooks take it
  // and switch the bar as they do then.
  CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, GetOwnerSite());
  if (pMdiFrame == nullptr || pMdiFrame->m_hWndMDIClient == nullptr) return;
  CMDIChildWnd* pChild = pMdiFrame->MDIGetActive();
  HMENU hMenu =
      pChild != nullptr && pChild->m_hMenuShared != nullptr ? pChild->m_hMenuShared : m_hMenuDefault;
  if (hMenu != nullptr && ::IsMenu(hMenu))
    ::SendMessage(pMdiFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu), 0);
}

// ---- Stored record, copies and bar lists -------------------------------------------------------------

void CXTPMenuBar::DoPropExchange(CXTPPropExchange* pPX) {
  if (pPX->IsStoring()) PrepareForSave();
  CXTPToolBar::DoPropExchange(pPX);
  long nResourceId = static_cast<long>(m_nIDResource);
  PropExchangeStoredLong(pPX, _T("ResourceId"), nResourceId, 0, 0, 0xFFFF);
  if (pPX->IsStoring()) {
    pPX->WriteCount(static_cast<DWORD>(m_mapMenus.GetCount()));
    int nIndex = 0;
    POSITION pos = m_mapMenus.GetStartPosition();
    while (pos != nullptr) {
      UINT nId = 0;
      CXTPControls* pControls = nullptr;
      m_mapMenus.GetNextAssoc(pos, nId, pControls);
      CString strSection;
      strSection.Format(_T("%s%i"), _T("MDIMenu"), nIndex++);
      CXTPPropExchangeSection sec(pPX, strSection);
      long nMenuId = static_cast<long>(nId);
      PropExchangeLong(sec, _T("Id"), nMenuId, 0);
      pControls->DoPropExchange(sec);
    }
    return;
  }
  m_nIDResource = static_cast<UINT>(nResourceId);
  if (pPX->GetSchema() < 5) return;
  const DWORD dwCount = pPX->ReadCount();
  for (DWORD i = 0; i < dwCount; ++i) {
    CString strSection;
    strSection.Format(_T("%s%i"), _T("MDIMenu"), static_cast<int>(i));
    CXTPPropExchangeSection sec(pPX, strSection);
    long nId = 0;
    PropExchangeLong(sec, _T("Id"), nId, 0);
    CXTPControls* pControls = new CXTPControls;
    pControls->SetCommandBars(m_pCommandBars);
    try {
      pControls->DoPropExchange(sec);
    } catch (...) {
      pControls->InternalRelease();
      throw;
    }
    // Menus are resources: a set filed under no menu id is read past and dropped.
    if (nId <= 0 || nId > 0xFFFF) {
      pControls->InternalRelease();
      continue;
    }
    CXTPControls* pOlder = nullptr;
    if (m_mapMenus.Lookup(static_cast<UINT>(nId), pOlder)) pOlder->InternalRelease();
    m_mapMenus.SetAt(static_cast<UINT>(nId), pControls);
  }
}

void CXTPMenuBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPToolBar::CopyBarProperties(pSource, bRecursive);
  CXTPMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CXTPMenuBar, pSource);
  if (pMenuBar == nullptr || pMenuBar == this) return;
  m_nIDResource = pMenuBar->m_nIDResource;
  ReleaseMenuSets();
  POSITION pos = pMenuBar->m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    UINT nId = 0;
    CXTPControls* pControls = nullptr;
    pMenuBar->m_mapMenus.GetNextAssoc(pos, nId, pControls);
    m_mapMenus.SetAt(nId, pControls->Duplicate(TRUE));
  }
}

void CXTPMenuBar::GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                                         XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam) {
  CXTPToolBar::GenerateCommandBarList(nID, pCommandBarList, pParam);
  // The sub-bars of the document menus that are not shown are stored too.
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    UINT nId = 0;
    CXTPControls* pControls = nullptr;
    m_mapMenus.GetNextAssoc(pos, nId, pControls);
    for (int i = 0; i < pControls->GetCount(); ++i) {
      CXTPCommandBar* pBar = pControls->GetAt(i)->GetCommandBar();
      if (pBar != nullptr) pBar->GenerateCommandBarList(nID, pCommandBarList, pParam);
    }
  }
}

void CXTPMenuBar::RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, int nDepth) {
  CXTPToolBar::RestoreCommandBarList(pCommandBarList, nDepth);
  CXTPControls* pOwn = m_pControls;
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    UINT nId = 0;
    CXTPControls* pControls = nullptr;
    m_mapMenus.GetNextAssoc(pos, nId, pControls);
    m_pControls = pControls;
    CXTPToolBar::RestoreCommandBarList(pCommandBarList, nDepth);
  }
  m_pControls = pOwn;
}

CXTPCommandBar* CXTPMenuBar::CreateCopy(BOOL bRecursive) {
  CXTPMenuBar* pBar = new CXTPMenuBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

void CXTPMenuBar::ResetToolBar() {
  InternalAddRef();
  if ((m_mapMenus.GetCount() > 0 || m_pControls->GetOriginalControls() == nullptr) &&
      m_nIDResourceCurrent != 0) {
    CString strFormat, strMessage;
    GetToolkitResourceManager()->LoadString(strFormat, XTP_IDS_CONFIRM_RESET);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
    if (::MessageBox(GetOwnerSite()->GetSafeHwnd(), strMessage, AfxGetAppName(),
                     MB_OKCANCEL | MB_ICONWARNING) == IDOK) {
      CMenu menu;
      if (menu.LoadMenu(m_nIDResourceCurrent)) {
        SetPopuped(-1);
        SetSelected(-1);
        LoadMenu(&menu, TRUE);
        m_pControls->SnapshotOriginal();
      }
    }
  } else if (m_pControls->GetOriginalControls() != nullptr) {
    CXTPToolBar::ResetToolBar();
  }
  RefreshMdiState();
  OnUpdateCmdUI(TRUE);
  DelayLayout();
  OnRecalcLayout();
  InternalRelease();
}

// ---- The maximised child's buttons -------------------------------------------------------------------

CXTPControlMDIButton::CXTPControlMDIButton() = default;

void CXTPControlMDIButton::OnExecute() {
  CXTPMenuBar* pMenuBar =
      DYNAMIC_DOWNCAST(CXTPMenuBar, GetParent() != nullptr ? GetParent()->GetRootBar() : nullptr);
  if (pMenuBar != nullptr) {
    if (CXTPCommandBars* pCommandBars = pMenuBar->GetCommandBars()) pCommandBars->ClosePopups();
    if (HWND hWndChild = pMenuBar->GetActiveMdiChild(nullptr))
      ::PostMessage(hWndChild, WM_SYSCOMMAND, SysCommandOf(m_nId), 0);
  }
}

CSize CXTPControlMDIButton::GetSize(CDC* pDC) {
  if (GlyphOf(m_nId) == 0) return CXTPControlButton::GetSize(pDC);
  return CSize(16, 16);
}

void CXTPControlMDIButton::Draw(CDC* pDC) {
  const TCHAR chGlyph = GlyphOf(m_nId);
  if (chGlyph == 0) {
    CXTPControlButton::Draw(pDC);
    return;
  }
  CXTPBarTheme* pTheme = GetPaintManager();
  pTheme->DrawControlEntry(pDC, this);
  DrawMarlettGlyph(pDC, m_rcControl, chGlyph);
}

CXTPControlMDISysMenuPopup::CXTPControlMDISysMenuPopup() = default;

CXTPControlMDISysMenuPopup::~CXTPControlMDISysMenuPopup() { SetIcon(nullptr); }

void CXTPControlMDISysMenuPopup::SetIcon(HICON hIcon) {
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
  m_hIcon = hIcon;
}

CSize CXTPControlMDISysMenuPopup::GetSize(CDC*) { return CSize(16, 16); }

void CXTPControlMDISysMenuPopup::Draw(CDC* pDC) {
  if (m_hIcon != nullptr)
    pDC->DrawState(m_rcControl.TopLeft(), CSize(16, 16), m_hIcon, DST_ICON | DSS_NORMAL,
                   static_cast<HBRUSH>(nullptr));
}

void CXTPControlMDISysMenuPopup::AdjustExcludeRect(CRect& rc) { rc.InflateRect(1, 1); }
