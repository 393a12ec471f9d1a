// CXTCaptionPopupWnd: the window a CXTCaption lifts its child window into, with a small caption and
// a push pin. It never destroys itself: closing and pinning are posted to the caption, which
// destroys and deletes the popup from its own message handler. User-interface thread only.
#pragma once

#include "Caption.h"
#include "OwnedIcon.h"

class CXTCaptionPopupWnd : public CWnd {
  DECLARE_DYNAMIC(CXTCaptionPopupWnd)

 public:
  // Registers the window class "XTCaptionPopupWnd" when absent (CResourceException* on failure).
  CXTCaptionPopupWnd();
  ~CXTCaptionPopupWnd() override;

  // FALSE unless both pCaption and pChild are windows. rect is in screen coordinates.
  virtual BOOL Create(const CRect& rect, CXTCaption* pCaption, CWnd* pChild);
  virtual void RecalcLayout();
  // Gives the child back to the parent it had before.
  virtual void RestoreChildParent();
  // Asks the caption to close the popup when the focus has left it.
  virtual void CheckFocus();

  CXTCaption& GetEmbeddedCaption() { return m_Caption; }
  CXTCaptionButton& GetPushPin() { return m_btnPushPin; }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPushPin();
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 protected:
  // Posts msg to the caption once; later requests are dropped until the caption answers.
  void PostToCaption(UINT msg);

  CXTCaption* m_pCaption = nullptr;
  CWnd* m_pChildWnd = nullptr;
  HWND m_hWndOldParent = nullptr;
  CXTCaption m_Caption;
  CXTCaptionButton m_btnPushPin;
  CXTOwnedIcon m_iconPushPin;
  CXTOwnedIcon m_iconPushPinHot;
  BOOL m_bRequestPosted = FALSE;
};
