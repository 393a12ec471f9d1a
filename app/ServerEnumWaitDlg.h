// The modeless wait window with an animation and Stop that the main frame shows while the Domino
// searches run.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "resource.h"

// Created once by the main frame on the user-interface thread (Create(IDD, frame)), which also sets
// m_pNotifyWnd; only that thread touches its windows. ShowWait and HideWait may be called from any
// thread: from another one they are handed over to the user-interface thread (CUiHandoff). While
// m_bKeepVisible is clear the dialog's timer hides it; ShowWait sets it, HideWait clears it. Enter and
// Escape do not end it, and Stop tells m_pNotifyWnd with WM_STOP_ENUMERATION.
class CServerEnumWaitDlg : public CDialog {
 public:
  explicit CServerEnumWaitDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_SERVER_ENUM_WAIT };

  // Shows the dialog, keeps it visible and plays the animation from its start.
  void ShowWait();
  // Stops the animation and hides the dialog.
  void HideWait();

  CAnimateCtrl m_animation;
  int m_bKeepVisible;
  // Told of Stop; not owned, may be null (Stop then tells no one).
  CWnd* m_pNotifyWnd;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnCancel() override {}
  void OnOK() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg void OnStop();
  afx_msg void OnNcDestroy();
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  void PlayAnimation();
};
