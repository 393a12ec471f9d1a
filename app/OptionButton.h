// A plain button that reports its clicks to its parent page as WM_OPTION_CLICKED and toggles its own
// check; page one uses a pair of them as an either-or choice.
#pragma once

#include <afxwin.h>

// Created by its parent page on the page's thread. A click sends the parent WM_OPTION_CLICKED with the
// check state the button is about to take and m_nOptionType, then toggles the state the parent left.
// The click does not reach the parent as a command (option buttons share their id with other controls).
class COptionButton : public CButton {
 public:
  COptionButton();

  // 1 existing NSF, 2 new NSF (OPTION_EXISTING_NSF, OPTION_NEW_NSF), set by the page that creates it.
  int m_nOptionType;

 protected:
  afx_msg void OnClicked();

  DECLARE_MESSAGE_MAP()
};
