// CXTItemEdit: an in-place browse edit over an item (a list entry, a cell). Editing ends on Return,
// on Escape (the edit is then marked cancelled) and when the focus goes anywhere but its own browse
// button; the parent learns of the end through the edit's EN_KILLFOCUS and reads the text and
// IsCancelled there. The window then closes itself (and, made with bAutoDelete, deletes its object).
// User-interface thread only.
#pragma once

#include "BrowseEdit.h"

class CXTItemEdit : public CXTBrowseEdit {
  DECLARE_DYNAMIC(CXTItemEdit)

 public:
  CXTItemEdit(BOOL bAutoDelete = TRUE);

  // The edit over rect of pParent holding strText, with a browse button of the given mode.
  virtual BOOL Create(CWnd* pParent, const CRect& rect, LPCTSTR lpszText, UINT nID, DWORD dwBStyle = 0,
                      UINT nMenu = 0, int nSubMenuIndx = 0);
  virtual void EndEdit(BOOL bCancel);
  BOOL IsCancelled() const { return m_bCancelled; }
  BOOL IsEnded() const { return m_bEnded; }

 protected:
  void PostNcDestroy() override;
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 protected:
  BOOL m_bAutoDelete;
  BOOL m_bCancelled = FALSE;
  BOOL m_bEnded = FALSE;
};
