// The browse edit's button.
#include "BrowseButton.h"

#include "BrowseEdit.h"
#include "ResourceSource.h"
#include "SystemResources.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNAMIC(CXTBrowseButton, CXTButton)

BEGIN_MESSAGE_MAP(CXTBrowseButton, CXTButton)
ON_WM_ENABLE()
ON_WM_KEYDOWN()
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClicked)
END_MESSAGE_MAP()

CXTBrowseButton::CXTBrowseButton() {
  m_nImageMargin = 0;
  m_nImageGap = 0;
  m_dwxStyle = XButtonVisualStyle | XButtonShowFocus;
  SwitchStyle(new CXTBrowseButtonStyle);
}

BOOL CXTBrowseButton::Create(CXTBrowseEdit* pEdit, DWORD dwBStyle, UINT nID, UINT nMenu,
                             UINT /*nSubMenuIndx*/) {
  if (pEdit == nullptr || !::IsWindow(pEdit->GetSafeHwnd())) return FALSE;
  m_pEditWnd = pEdit;
  m_dwBStyle = dwBStyle;
  m_nID = nID;
  m_nMenu = nMenu;

  DWORD dwStyle =
      (pEdit->GetStyle() & WS_VISIBLE) | WS_CHILD | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_OWNERDRAW;
  CString strText;
  if (dwBStyle & BES_XT_POPUPMENU) {
    // The strip holds the arrows of every direction; the fifth points down.
    if (XTLoadStripIcon(m_icon, XT_IDB_BROWSE, 11, 11, 4, 8)) dwStyle |= BS_ICON;
  }
  if (m_icon.GetHandle() == nullptr) GetToolkitResourceManager()->LoadString(strText, XT_IDS_DOT);

  if (!CXTButton::Create(strText, dwStyle, CRect(0, 0, 0, 0), pEdit->GetParent(), nID)) return FALSE;
  if (m_icon.GetHandle() == nullptr) SetFont(&GetSystemResources()->m_fontRegular, FALSE);
  EnableWindow(pEdit->IsWindowEnabled());
  return TRUE;
}

void CXTBrowseButton::OnClicked() {
  if (m_pEditWnd != nullptr && ::IsWindow(m_pEditWnd->GetSafeHwnd())) m_pEditWnd->OnBrowse();
}

BOOL CXTBrowseButton::OnReflectedClicked() {
  OnClicked();
  return TRUE;
}

void CXTBrowseButton::OnEnable(BOOL bEnable) {
  CXTButton::OnEnable(bEnable);
  Invalidate(FALSE);
}

void CXTBrowseButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  // The button acts on the key going down; the system button would act again on Space going up.
  if (nChar == VK_RETURN || nChar == VK_SPACE) {
    OnClicked();
    return;
  }
  CXTButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CXTBrowseButtonStyle::DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  auto* pBrowse = dynamic_cast<CXTBrowseButton*>(pButton);
  HICON hIcon = pBrowse != nullptr ? pBrowse->GetBrowseIcon() : nullptr;
  if (hIcon == nullptr || !GetShowImages()) return;
  const CSize size(10, 10);
  CPoint pt((rcItem.Width() - size.cx) / 2, (rcItem.Height() - size.cy) / 2);
  if (IsPushed(nState, pButton)) pt.Offset(1, 1);
  const UINT nFlags = DST_ICON | ((nState & XT_BUTTON_STATE_DISABLED) != 0 ? DSS_DISABLED : DSS_NORMAL);
  ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx,
               size.cy, nFlags);
}
