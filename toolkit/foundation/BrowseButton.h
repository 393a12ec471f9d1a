// CXTBrowseButton: the small button beside a CXTBrowseEdit that starts its browse operation.
// User-interface thread only.
#pragma once

#include "Button.h"
#include "OwnedIcon.h"

class CXTBrowseEdit;

class CXTBrowseButton : public CXTButton {
  DECLARE_DYNAMIC(CXTBrowseButton)

 public:
  CXTBrowseButton();

  // Created beside pEdit in its parent; FALSE when the window cannot be made.
  virtual BOOL Create(CXTBrowseEdit* pEdit, DWORD dwBStyle, UINT nID, UINT nMenu = 0, UINT nSubMenuIndx = 0);
  // Runs the owning edit's browse operation.
  virtual void OnClicked();

  CXTBrowseEdit* GetBrowseEdit() const { return m_pEditWnd; }
  HICON GetBrowseIcon() const { return m_icon.GetHandle(); }

 protected:
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnReflectedClicked();
  DECLARE_MESSAGE_MAP()

 protected:
  CXTBrowseEdit* m_pEditWnd = nullptr;
  DWORD m_dwBStyle = 0;
  UINT m_nID = 0;
  UINT m_nMenu = 0;
  CXTOwnedIcon m_icon;
};

// The browse button's private classic style: its icon drawn centred through DrawState, embossed
// when disabled.
class CXTBrowseButtonStyle : public CXTButtonStyleBase {
 public:
  void DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) override;
};
