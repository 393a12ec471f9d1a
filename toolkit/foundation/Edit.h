// CXTEdit: an edit control with the toolkit's regular font, flicker-free painting and a context menu
// of edit commands enabled from the edit's state. User-interface thread only.
#pragma once

#include <afxwin.h>

class CXTEdit : public CEdit {
  DECLARE_DYNAMIC(CXTEdit)

 public:
  CXTEdit() = default;

  // The clipboard holds text.
  virtual BOOL CanPaste();
  virtual BOOL HasSelection();
  // FALSE unless the edit and pOwner are windows; gives the edit the regular font.
  virtual BOOL Initialize(CWnd* pOwner);

  CWnd* GetOwnerWnd() const { return m_pParentWnd; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnEditUndo();
  afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
  afx_msg void OnEditCut();
  afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
  afx_msg void OnEditCopy();
  afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
  afx_msg void OnEditPaste();
  afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
  afx_msg void OnEditClear();
  afx_msg void OnUpdateEditClear(CCmdUI* pCmdUI);
  afx_msg void OnEditSelectAll();
  afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 protected:
  CWnd* m_pParentWnd = nullptr;
};
