// CMenu: the framework's wrapper of a menu handle (menu bars, pop-ups, the system menu).
#pragma once

#include "afx.h"
#include "framework/Gdi.h"

class CWnd;

// Owns the menu it created, loaded or attached and destroys it with the object. Sub-menus and
// FromHandle of a menu nobody owns give temporaries of the calling thread that never destroy the
// menu (released by DeleteTempMap). A sub-menu still inside its parent is destroyed with the parent.
class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  HMENU m_hMenu = nullptr;

  CMenu() = default;
  ~CMenu() override;

  operator HMENU() const { return GetSafeHmenu(); }
  HMENU GetSafeHmenu() const {
    const CMenu* volatile self = this;
    return self == nullptr ? nullptr : self->m_hMenu;
  }
  BOOL operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
  BOOL operator!=(const CMenu& menu) const { return m_hMenu != menu.m_hMenu; }

  static CMenu* PASCAL FromHandle(HMENU hMenu);
  static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
  static void PASCAL DeleteTempMap();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the resource module (AfxGetResourceHandle). FALSE when it is missing.
  BOOL LoadMenu(LPCTSTR lpszResourceName);
  BOOL LoadMenu(UINT nIDResource);
  BOOL LoadMenuIndirect(const void* lpMenuTemplate);
  BOOL DestroyMenu();
  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  // ---- items; nPosition is a command id or, with MF_BYPOSITION, a zero-based position
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  // RemoveMenu leaves a removed sub-menu alive; DeleteMenu destroys it.
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                          const CBitmap* pBmpChecked);

  // Previous state (MF_CHECKED/MF_UNCHECKED, MF_ENABLED/MF_GRAYED/MF_DISABLED) or -1 when no such item.
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE);

  int GetMenuItemCount() const;
  // The command id at nPos; 0 for a separator, -1 (as UINT) for a sub-menu or no such item.
  UINT GetMenuItemID(int nPos) const;
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  // Copies at most nMaxCount - 1 characters; returns the number copied.
  int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  // The sub-menu at nPos (a temporary unless someone owns it), or NULL.
  CMenu* GetSubMenu(int nPos) const;
  BOOL GetMenuInfo(LPMENUINFO lpcmi) const;
  BOOL SetMenuInfo(LPCMENUINFO lpcmi);
  BOOL SetMenuContextHelpId(DWORD dwContextHelpId);
  DWORD GetMenuContextHelpId() const;

  // Shows the pop-up at screen point (x, y) for pWnd, which receives the chosen command (or,
  // with TPM_RETURNCMD, the command is returned instead).
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);

  // Owner-drawn items.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};
