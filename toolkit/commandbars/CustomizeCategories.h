// CXTPCustomizeCategories: the named groups of controls that the keyboard and commands pages of the
// customize sheet list, filled from menus. One category is a name (without mnemonic ampersands) and
// a controls collection made for the customised command bars.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

class CXTPCommandBars;
class CXTPControls;

struct XTP_COMMANDBARS_CATEGORYINFO {
  XTP_COMMANDBARS_CATEGORYINFO(LPCTSTR lpszCategory, CXTPCommandBars* pCommandBars);
  ~XTP_COMMANDBARS_CATEGORYINFO();
  XTP_COMMANDBARS_CATEGORYINFO(const XTP_COMMANDBARS_CATEGORYINFO&) = delete;
  XTP_COMMANDBARS_CATEGORYINFO& operator=(const XTP_COMMANDBARS_CATEGORYINFO&) = delete;

  CString strCategory;
  // The category holds this collection's reference.
  CXTPControls* pControls;
};

// Owned by a page; deletes its categories (releasing their controls) when destroyed. User-interface
// thread only.
class CXTPCustomizeCategories {
 public:
  // bCaptionSubItems: copies of popup items are captioned "popup | item" (the keyboard page's way).
  CXTPCustomizeCategories(CXTPCommandBars* pCommandBars, BOOL bCaptionSubItems);
  ~CXTPCustomizeCategories();
  CXTPCustomizeCategories(const CXTPCustomizeCategories&) = delete;
  CXTPCustomizeCategories& operator=(const CXTPCustomizeCategories&) = delete;

  // One category per top-level item of the menu that has a text and a submenu; FALSE when the menu
  // cannot be loaded.
  BOOL AddCategoriesFromMenu(UINT nIDMenu, BOOL bListSubItems);
  BOOL AddCategoriesFromMenu(CMenu* pMenu, BOOL bListSubItems);
  // Imports every item of pMenu with a non-zero id into the category of that name (found or appended).
  BOOL AddCategory(LPCTSTR lpszCategory, CMenu* pMenu, BOOL bListSubItems);
  // The category of exactly that name (first match), or NULL.
  XTP_COMMANDBARS_CATEGORYINFO* FindCategory(LPCTSTR lpszCategory) const;
  // Finds or makes the category; nIndex -1 appends a new one.
  XTP_COMMANDBARS_CATEGORYINFO* GetOrAddCategory(LPCTSTR lpszCategory, int nIndex = -1);

  int GetCount() const { return static_cast<int>(m_arrCategories.GetSize()); }
  XTP_COMMANDBARS_CATEGORYINFO* GetAt(int nIndex) const;
  CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }

 private:
  CArray<XTP_COMMANDBARS_CATEGORYINFO*, XTP_COMMANDBARS_CATEGORYINFO*> m_arrCategories;
  CXTPCommandBars* m_pCommandBars;
  BOOL m_bCaptionSubItems;
};
