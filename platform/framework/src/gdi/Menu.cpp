// CMenu: ownership and handle maps of menus, and the item members.
#include "framework/Menu.h"

#include "HandleMap.h"

#include <vector>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuPolicy {
  static CMenu* Wrap(HMENU h) {
    auto* menu = new CMenu;
    menu->m_hMenu = h;
    return menu;
  }
  static void Release(CMenu* object) { object->m_hMenu = nullptr; }
};
using MenuMaps = framework_detail::HandleMaps<HMENU, CMenu, MenuPolicy>;

LPCTSTR BitmapItem(const CBitmap* pBmp) { return reinterpret_cast<LPCTSTR>(pBmp->GetSafeHandle()); }

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) { return MenuMaps::FromHandle(hMenu); }

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) { return MenuMaps::FromHandlePermanent(hMenu); }

void PASCAL CMenu::DeleteTempMap() { MenuMaps::DeleteTempMap(); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (hMenu == nullptr || m_hMenu != nullptr) return FALSE;
  m_hMenu = hMenu;
  MenuMaps::Permanent().Add(hMenu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  if (hMenu != nullptr) MenuMaps::Permanent().Remove(hMenu, this);
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::CreateMenu() { return m_hMenu == nullptr && Attach(::CreateMenu()); }

BOOL CMenu::CreatePopupMenu() { return m_hMenu == nullptr && Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
  return m_hMenu == nullptr && Attach(::LoadMenu(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
  return m_hMenu == nullptr && lpMenuTemplate != nullptr && Attach(::LoadMenuIndirect(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenu(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::InsertMenu(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::ModifyMenu(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

// A sub-menu owned by a wrapper is destroyed here by Windows, so its wrapper lets the handle go.
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
  HMENU hSubMenu = nullptr;
  if (nFlags & MF_BYPOSITION) {
    hSubMenu = ::GetSubMenu(m_hMenu, static_cast<int>(nPosition));
  } else {
    MENUITEMINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_SUBMENU;
    if (::GetMenuItemInfo(m_hMenu, nPosition, FALSE, &info)) hSubMenu = info.hSubMenu;
  }
  BOOL bResult = ::DeleteMenu(m_hMenu, nPosition, nFlags);
  if (bResult && hSubMenu != nullptr) {
    if (CMenu* owner = FromHandlePermanent(hSubMenu)) owner->Detach();
  }
  return bResult;
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return lpMenuItemInfo != nullptr && ::InsertMenuItem(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags,
                              static_cast<HBITMAP>(pBmpUnchecked->GetSafeHandle()),
                              static_cast<HBITMAP>(pBmpChecked->GetSafeHandle()));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
  return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) {
  return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}

int CMenu::GetMenuItemCount() const { return m_hMenu ? ::GetMenuItemCount(m_hMenu) : -1; }

UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  return ::GetMenuString(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int nLength = ::GetMenuString(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (nLength <= 0) {
    rString.Empty();
    return 0;
  }
  std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1);
  int nCopied = ::GetMenuString(m_hMenu, nIDItem, buffer.data(), nLength + 1, nFlags);
  rString = CString(buffer.data(), nCopied);
  return nCopied;
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return lpMenuItemInfo != nullptr && ::GetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return lpMenuItemInfo != nullptr && ::SetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
  return m_hMenu ? FromHandle(::GetSubMenu(m_hMenu, nPos)) : nullptr;
}

BOOL CMenu::GetMenuInfo(LPMENUINFO lpcmi) const { return lpcmi != nullptr && ::GetMenuInfo(m_hMenu, lpcmi); }

BOOL CMenu::SetMenuInfo(LPCMENUINFO lpcmi) { return lpcmi != nullptr && ::SetMenuInfo(m_hMenu, lpcmi); }

BOOL CMenu::SetMenuContextHelpId(DWORD dwContextHelpId) {
  return ::SetMenuContextHelpId(m_hMenu, dwContextHelpId);
}

DWORD CMenu::GetMenuContextHelpId() const { return ::GetMenuContextHelpId(m_hMenu); }

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
