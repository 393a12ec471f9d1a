// The modeless wait dialog with a progress bar, a wait text and Stop that the main frame shows while
// a worker of the browser page scans an NSF, and while the user-interface thread waits for a worker to
// end.
#pragma once

#include <afxwin.h>

#include "PercentProgressCtrl.h"
#include "resource.h"

// The dialog's wait text: a static that paints itself on the dialog's face colour.
class CWaitLabel : public CStatic {
 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

// Created once by the main frame on the user-interface thread (Create(IDD, frame)), which also sets
// m_pOwner; only that thread touches its windows. ShowWait, HideWait, SetProgressPos and
// SetScanProgressText may be called from any thread: called from another one they are handed over to
// the user-interface thread (CUiHandoff) and run there in the order called; once the window is gone
// they do nothing. The frame does not close while m_bShown is set.
//
// BeginWorkerWait and EndWorkerWait (user-interface thread only) frame a wait for a worker's end: the
// dialog shows what is waited for, without bar and Stop (it is cut below the text meanwhile), and stays
// up whatever the workers' ShowWait and HideWait say meanwhile; EndWorkerWait puts it back as they left
// it. OfferToEndProgram, during such a wait that has lasted too long, adds a line that says the user
// may end the program now, and two buttons: Keep Waiting, focused and the default, so that Enter, the
// key a waiting user presses, waits on; and Exit Now, which ends the process at once, as a kill from
// outside would, since the worker may never come back. Keep Waiting takes the offer back until the
// wait has lasted as long again.
class CProcessProgressDlg : public CDialog {
 public:
  explicit CProcessProgressDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_PROCESS_PROGRESS };

  // The frame's show: bar to 0, text kept in m_strText (not displayed), the dialog shown, m_bShown 1.
  void ShowWait(const CString& strText);
  // The frame's hide: bar to 100, the dialog hidden, m_bShown 0.
  void HideWait();
  // Moves the bar (a percentage) and repaints it.
  void SetProgressPos(int nPos);
  // The wait text during an NSF scan: counts so far and the last folder's name.
  void SetScanProgressText(int nFoldersFound, int nEntriesFound, const CString& strLastFolder);
  // Shows strText as the wait text until EndWorkerWait; waits nest.
  void BeginWorkerWait(const CString& strText);
  void EndWorkerWait();
  // Shows the offer to end the program until the last EndWorkerWait or Keep Waiting; nothing outside a
  // wait, nor within nAgainAfterMs of a Keep Waiting.
  void OfferToEndProgram(DWORD nAgainAfterMs);
  // The line that the offer adds under the wait text.
  static const wchar_t END_PROGRAM_OFFER_TEXT[];
  // The wait text that SetScanProgressText shows for these values.
  static CString FormatScanProgressText(int nFoldersFound, int nEntriesFound, const CString& strLastFolder);

  CWaitLabel m_label;
  CPercentProgressCtrl m_bar;
  // Handed over by ShowWait; not displayed.
  CString m_strText;
  // Receives WM_STOP_PROCESS from Stop; not owned, may be null (Stop then does nothing).
  CWnd* m_pOwner;
  // 1 while the frame means the dialog to be visible; the timer hides it otherwise.
  int m_bShown;
  // Waits for a worker's end that are under way (BeginWorkerWait not yet ended).
  int m_nWorkerWaits;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter and Escape do not end a wait that the frame controls.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnStop();
  afx_msg void OnEndProgram();
  afx_msg void OnKeepWaiting();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnNcDestroy();
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  // Shows or hides the dialog as m_bShown says, unless a wait for a worker holds it up.
  void ApplyVisibility();
  // Shows the wait text, the bar and Stop of a scan, or the wait text alone.
  void ShowScanControls(BOOL bShow);

  // The first wait's text with the offer to end the program under it.
  CString OfferedWaitText() const;
  // Shows or hides the offer's two buttons.
  void ShowOfferButtons(BOOL bShow);

  // The dialog's size before the first BeginWorkerWait cut it below the text, and after.
  CSize m_sizeBeforeWait;
  CSize m_sizeWaiting;
  // When Keep Waiting took the offer back; 0: it did not during this wait.
  DWORD m_dwOfferTakenBack;
  // The first wait's text, under which the offer goes.
  CString m_strWaitText;
  BOOL m_bEndOffered;
};
