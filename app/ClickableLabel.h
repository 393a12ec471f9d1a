// CClickableLabel: a child window that shows the link cursor and tells its parent, with a posted
// WM_LINK_CLICKED, of every mouse move over it and every press on it. It paints itself red.
#pragma once

#include <afxwin.h>

// Created by its parent on the parent's thread; only that thread touches it. WM_LINK_CLICKED (0 / 0)
// is posted, never sent: the parent hears of it when it next reads its queue, once per message.
class CClickableLabel : public CWnd {
 public:
  CClickableLabel() = default;

  // A child label of pParentWnd; its window class has no cursor of its own, so WM_SETCURSOR decides.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnPaint();

  DECLARE_MESSAGE_MAP()
};
