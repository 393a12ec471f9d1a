// The tab item: state that the manager lays out and the painter draws.
#include "TabManagerItem.h"

#include "TabManager.h"

IMPLEMENT_DYNCREATE(CXTPTabManagerItem, CCmdTarget)

CXTPTabManagerItem::CXTPTabManagerItem() { m_rcItem.SetRectEmpty(); }

CXTPTabManagerItem::~CXTPTabManagerItem() = default;

void CXTPTabManagerItem::Reposition() {
  if (m_pTabManager != nullptr) m_pTabManager->Reposition();
}

void CXTPTabManagerItem::SetCaption(LPCTSTR lpszCaption) {
  CString strCaption(lpszCaption);
  if (strCaption == m_strCaption) return;
  m_strCaption = strCaption;
  Reposition();
}

CString CXTPTabManagerItem::GetCaption() const {
  return m_pTabManager != nullptr ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

CString CXTPTabManagerItem::GetTooltip() const {
  return m_pTabManager != nullptr ? m_pTabManager->GetItemTooltip(this) : m_strToolTip;
}

COLORREF CXTPTabManagerItem::GetColor() const {
  return m_pTabManager != nullptr ? m_pTabManager->GetItemColor(this) : m_clrItem;
}

DWORD_PTR CXTPTabManagerItem::GetData() const {
  return m_pTabManager != nullptr ? m_pTabManager->GetItemData(this) : m_dwData;
}

void CXTPTabManagerItem::SetStateFlag(BOOL bVisible) {
  bVisible = bVisible ? TRUE : FALSE;
  if (m_bVisible == bVisible) return;
  m_bVisible = bVisible;
  Reposition();
}

void CXTPTabManagerItem::SetEnabled(BOOL bEnabled) {
  bEnabled = bEnabled ? TRUE : FALSE;
  if (m_bEnabled == bEnabled) return;
  m_bEnabled = bEnabled;
  Reposition();
}

void CXTPTabManagerItem::Remove() {
  if (m_pTabManager != nullptr) m_pTabManager->DeleteItem(m_nIndex);
}

BOOL CXTPTabManagerItem::IsSelected() const {
  return m_pTabManager != nullptr && m_pTabManager->GetSelectedItem() == this;
}

BOOL CXTPTabManagerItem::IsHighlighted() const {
  return m_pTabManager != nullptr && m_pTabManager->GetHighlightedItem() == this;
}
