// Categories of the customize pages, filled from menus.
#include "CustomizeCategories.h"

#include "CommandBar.h"
#include "ControlPopup.h"
#include "Controls.h"

#include <ResourceSource.h>

XTP_COMMANDBARS_CATEGORYINFO::XTP_COMMANDBARS_CATEGORYINFO(LPCTSTR lpszCategory,
                                                           CXTPCommandBars* pCommandBars)
    : strCategory(lpszCategory), pControls(new CXTPControls()) {
  pControls->SetCommandBars(pCommandBars);
}

XTP_COMMANDBARS_CATEGORYINFO::~XTP_COMMANDBARS_CATEGORYINFO() { pControls->InternalRelease(); }

CXTPCustomizeCategories::CXTPCustomizeCategories(CXTPCommandBars* pCommandBars, BOOL bCaptionSubItems)
    : m_pCommandBars(pCommandBars), m_bCaptionSubItems(bCaptionSubItems) {}

CXTPCustomizeCategories::~CXTPCustomizeCategories() {
  for (INT_PTR i = 0; i < m_arrCategories.GetSize(); ++i) delete m_arrCategories[i];
}

XTP_COMMANDBARS_CATEGORYINFO* CXTPCustomizeCategories::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrCategories[nIndex] : nullptr;
}

XTP_COMMANDBARS_CATEGORYINFO* CXTPCustomizeCategories::FindCategory(LPCTSTR lpszCategory) const {
  for (INT_PTR i = 0; i < m_arrCategories.GetSize(); ++i) {
    if (m_arrCategories[i]->strCategory == lpszCategory) return m_arrCategories[i];
  }
  return nullptr;
}

XTP_COMMANDBARS_CATEGORYINFO* CXTPCustomizeCategories::GetOrAddCategory(LPCTSTR lpszCategory, int nIndex) {
  if (XTP_COMMANDBARS_CATEGORYINFO* pInfo = FindCategory(lpszCategory)) return pInfo;
  auto* pInfo = new XTP_COMMANDBARS_CATEGORYINFO(lpszCategory, m_pCommandBars);
  if (nIndex < 0 || nIndex >= GetCount()) {
    m_arrCategories.Add(pInfo);
  } else {
    m_arrCategories.InsertAt(nIndex, pInfo);
  }
  return pInfo;
}

BOOL CXTPCustomizeCategories::AddCategoriesFromMenu(UINT nIDMenu, BOOL bListSubItems) {
  CMenu menu;
  if (!GetToolkitResourceManager()->LoadMenu(&menu, nIDMenu)) return FALSE;
  return AddCategoriesFromMenu(&menu, bListSubItems);
}

BOOL CXTPCustomizeCategories::AddCategoriesFromMenu(CMenu* pMenu, BOOL bListSubItems) {
  const int nCount = static_cast<int>(pMenu->GetMenuItemCount());
  for (int i = 0; i < nCount; ++i) {
    CString strText;
    TCHAR szText[257] = {};
    ::GetMenuString(pMenu->GetSafeHmenu(), static_cast<UINT>(i), szText, 256, MF_BYPOSITION);
    strText = szText;
    CMenu* pSubMenu = pMenu->GetSubMenu(i);
    if (strText.IsEmpty() || pSubMenu == nullptr) continue;
    if (!AddCategory(strText, pSubMenu, bListSubItems)) return FALSE;
  }
  return TRUE;
}

BOOL CXTPCustomizeCategories::AddCategory(LPCTSTR lpszCategory, CMenu* pMenu, BOOL bListSubItems) {
  CString strName = lpszCategory;
  strName.Remove(_T('&'));
  CXTPControls* pControls = GetOrAddCategory(strName)->pControls;
  const int nCount = static_cast<int>(pMenu->GetMenuItemCount());
  for (int i = 0; i < nCount; ++i) {
    if (pMenu->GetMenuItemID(i) == 0) continue;
    CXTPControl* pControl = pControls->ImportMenuItem(pMenu, i);
    if (!bListSubItems || pControl == nullptr || !pControl->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)))
      continue;
    CXTPCommandBar* pSubBar = pControl->GetCommandBar();
    if (pSubBar == nullptr) continue;
    CString strPopup = pControl->GetCaption();
    strPopup.Remove(_T('&'));
    for (int j = 0; j < pSubBar->GetControlCount(); ++j) {
      CXTPControl* pCopy = pControls->AddClone(pSubBar->GetControl(j));
      if (pCopy != nullptr && m_bCaptionSubItems) {
        CString strCaption = pCopy->GetCaption();
        strCaption.Remove(_T('&'));
        pCopy->SetCaption(strPopup + _T(" | ") + strCaption);
      }
    }
  }
  return TRUE;
}
