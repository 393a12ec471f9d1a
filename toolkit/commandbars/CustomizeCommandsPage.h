// CXTPCustomizeCommandsPage: the "&Commands" page of the customize sheet. It lists categories of
// controls; dragging a command out of its list (CXTPCustomizeCommandList) onto a bar copies it there.
#pragma once

#include "CustomizeCategories.h"

#include <afxcmn.h>
#include <afxdlgs.h>

class CXTPCommandBars;
class CXTPControl;
class CXTPCustomizeCommandsPage;
class CXTPCustomizeSheet;

// The owner-drawn command list: its items are the controls of the selected category, drawn by the
// paint theme as list items.
class CXTPCustomizeCommandList : public CListBox {
 public:
  explicit CXTPCustomizeCommandList(CXTPCustomizeCommandsPage* pPage) : m_pPage(pPage) {}

  CXTPControl* GetItemControl(int nIndex) const;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT) override {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnLButtonDown(CPoint point);

  CXTPCustomizeCommandsPage* m_pPage;
};

// Created and owned by the customize sheet on the user-interface thread.
class CXTPCustomizeCommandsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CXTPCustomizeCommandsPage)

 public:
  explicit CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet = nullptr);
  ~CXTPCustomizeCommandsPage() override;

  BOOL AddCategoriesFromMenu(UINT nIDMenu, BOOL bListSubItems = FALSE) {
    return m_categories.AddCategoriesFromMenu(nIDMenu, bListSubItems);
  }
  BOOL AddCategory(LPCTSTR lpszCategory, CMenu* pMenu, BOOL bListSubItems = FALSE) {
    return m_categories.AddCategory(lpszCategory, pMenu, bListSubItems);
  }
  // A category (string nIDName) with a copy of every control of every category there is now.
  BOOL AddAllCommandsCategory(UINT nIDName, int nIndex = -1);
  // A category (string nIDName) with every top-level item of the menu, so whole menus can be dragged.
  BOOL AddBuiltInMenusCategory(UINT nIDMenu, UINT nIDName, int nIndex = -1);
  // A category (string nIDName) holding one empty popup captioned with that name.
  BOOL AddNewMenuCategory(UINT nIDName, int nIndex = -1);
  CXTPCustomizeCategories* GetCategories() { return &m_categories; }

  CXTPCustomizeSheet* GetSheet() const { return m_pSheet; }
  CXTPCommandBars* GetCommandBars() const;
  CListBox m_lstCategories;
  CXTPCustomizeCommandList m_lstCommands;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnCategoryChanged();
  afx_msg void OnDestroy();

  CXTPCustomizeSheet* m_pSheet;
  CXTPCustomizeCategories m_categories;

  DECLARE_MESSAGE_MAP()
};
