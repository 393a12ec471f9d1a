// CGridInPlaceEdit: the edit control a grid cell opens over itself while the user edits its text.
// It ends when it loses the focus: it tells its owner (the grid) the text and the key that ended
// it, closes, and deletes itself.
#pragma once

#include <afxwin.h>

#include "GridDefs.h"

// Created by a cell's Edit on the grid's (user-interface) thread, as a child of the grid; only
// that thread touches it. Allocate with new: the object deletes itself when its window is gone.
class CGridInPlaceEdit : public CEdit {
  DECLARE_DYNAMIC(CGridInPlaceEdit)

 public:
  // Creates the window over rect and takes the focus. nFirstChar is how editing began: VK_LBUTTON
  // for a click (arrows then move the caret), otherwise the key or character typed, which is
  // applied to the text as the user would expect.
  CGridInPlaceEdit(CWnd* pParent, const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                   CString sInitText, UINT nFirstChar);
  ~CGridInPlaceEdit() override = default;

  // Sends the end-of-edit notification (GVN_ENDLABELEDIT, GV_DISPINFO with row, column, text and
  // the last key in lParam) and closes the window.
  void EndEdit();

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PostNcDestroy() override;

  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_sInitText;
  int m_nRow;
  int m_nColumn;
  UINT m_nLastChar;
  BOOL m_bExitOnArrows;
  CRect m_Rect;
};
