// CHoverButton: a button that keeps its own check state as a push button, check box or option
// button, unchecks the other option buttons of its dialog group, looks hovered while the mouse is over
// it and pushed while it is pressed, and relays its mouse messages to a tool-tip window.
#pragma once

#include <afxwin.h>

// Created (or subclassed) by its parent on the parent's thread; only that thread touches it. Its kind
// comes from the button-type bits of its creation style (BS_CHECKBOX or BS_AUTOCHECKBOX: check box;
// BS_RADIOBUTTON or BS_AUTORADIOBUTTON: option button; anything else: push button), and the window
// becomes owner-drawn so that what shows is the button's own state. BM_SETCHECK and BM_GETCHECK work
// on m_bChecked alone. An option button that becomes checked posts WM_GROUP_UNCHECK to every other
// control of its dialog group; a hover button that receives it clears its check, whatever its kind.
class CHoverButton : public CButton {
 public:
  // The kinds, as the values of the button-type styles.
  enum { KIND_PUSH = BS_PUSHBUTTON, KIND_CHECK_BOX = BS_CHECKBOX, KIND_OPTION = BS_RADIOBUTTON };

  CHoverButton();

  // The tool-tip window that receives the relayed mouse messages; null for none. Not owned.
  void SetToolTipWindow(HWND hToolTip) { m_hToolTip = hToolTip; }

  BYTE m_bChecked;
  int m_nButtonKind;
  BYTE m_bHover;
  BYTE m_bPressed;
  HWND m_hToolTip;

 protected:
  void PreSubclassWindow() override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGroupUncheck(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  void RelayToolTip(UINT message, WPARAM wParam, LPARAM lParam);
  // TRUE when the window under the client point is this button.
  BOOL IsOverButton(CPoint point) const;
  // What a release over the button or the space bar does to the check: a check box toggles, an option
  // button checks, a push button stays as it is.
  void ClickCheck();
};
