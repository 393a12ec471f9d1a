// CTovinCommonBaseView: the base of every wizard page. It gives each page the five buttons at the
// bottom right, the step list at the left with the current step marked, the picture at the bottom
// left, and the six page operations that the buttons and the page-activated message call.
#pragma once

#include <afxwin.h>

#include <atomic>
#include <functional>

#include "Button.h"
#include "TabWnd.h"

// Created by the main view as a child of its tab window, on the user-interface thread; only that
// thread touches its windows. A worker of a page has the page act through RunOnPage, the one hand-off
// from workers to windows: the action is posted to the page and runs on its thread, in the order
// posted, while the page's window exists.
class CTovinCommonBaseView : public CView {
  DECLARE_DYNAMIC(CTovinCommonBaseView)

 public:
  ~CTovinCommonBaseView() override;

  // ---- Page operations (user-interface thread) ----
  virtual void OnNext();
  virtual void OnBack();
  virtual void OnExit();
  virtual void OnStop();
  virtual void OnPreview();
  // WM_WIZARD_PAGE_ACTIVATED; returns the message's result (1).
  virtual LRESULT OnPageActivated(WPARAM wParam, LPARAM lParam);
  // Stops the page's workers and waits for them (bounded): the frame is about to close, or another
  // page starts a worker of its own. Nothing in a page without workers.
  virtual void StopWorkers();

  void AddStep(LPCTSTR lpszCaption, LPCTSTR lpszText);
  // The caller repaints.
  void SetCurrentStep(int nStep) { m_nCurrentStep = nStep; }
  int GetCurrentStep() const { return m_nCurrentStep; }

  void HideBackButton();
  void ShowBackButton();
  void HideNextButton();
  void ShowNextButton();
  void HideExitButton();
  void ShowExitButton();
  void HideStopButton();
  void ShowStopButton();

  // Runs action on the page's thread (at once when called there); FALSE when the page has no window.
  BOOL RunOnPage(std::function<void()> action);

  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;
  // Tab and Shift+Tab move the focus through the page's tab stops, and Enter presses the focused
  // button, as in a dialog.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // ---- The keyboard, as a dialog keeps it (user-interface thread) ----
  // Focus that reaches the page itself (the frame activated again after a dialog, the page selected)
  // goes on to the control that had it when the frame was last deactivated, while the user can still
  // reach that control, and otherwise to the page's natural control.
  // The control the focus goes to when none is remembered: by default the page's first tab stop.
  virtual HWND GetNaturalFocus() const;
  // Notes hWnd (the window with the focus as the frame is deactivated) when it is one of the page's.
  void RememberFocus(HWND hWnd);
  // Puts the focus where focus reaching the page goes, while the frame is the active window and the
  // focus is on the page itself or on none of its controls (bAnew: or on any of them); never activates
  // the frame.
  void TakeFocus(BOOL bAnew = FALSE);

  // The step list's drawing: a box of style 0, 1 or 2, and one step row.
  void DrawBox(CDC* pDC, CRect rc, int nStyle);
  void DrawStep(CDC* pDC, int nStep);

  CStringArray m_arrStepCaptions;
  CStringArray m_arrStepTexts;
  // Never created as a window: only its image manager, with the step marks, is used.
  CXTPTabWnd m_wndStepImages;
  CXTButton m_btnNext;
  CXTButton m_btnBack;
  CXTButton m_btnStop;
  CXTButton m_btnExit;
  CXTButton m_btnPreview;
  int m_nStepMargin;
  int m_nCaptionOffset;
  int m_nTextOffset;
  int m_nStepHeight;
  int m_nCaptionTop;
  int m_nCaptionBottom;
  int m_nTextTop;
  int m_nRowBottom;
  int m_nCurrentStep;

  // Images of the step marks.
  enum { STEP_IMAGE_CURRENT = 46, STEP_IMAGE_DONE = 53 };

 protected:
  CTovinCommonBaseView();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnNcDestroy();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT OnPageActivatedMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNextButton();
  afx_msg void OnBackButton();
  afx_msg void OnExitButton();
  afx_msg void OnStopButton();
  afx_msg void OnPreviewButton();

  DECLARE_MESSAGE_MAP()

 private:
  // Exit where Back is when Back is hidden, else left of Back (as the size handler places them).
  void PlaceExitButton();
  // Tab (pMsg) moves the focus to the next or, with Shift, the previous of the page's tab stops that
  // the user can reach, in reading order and round; FALSE when the focused window keeps the key.
  BOOL MoveFocusByTab(MSG* pMsg);
  // Enter (pMsg) on one of the page's push buttons presses it; FALSE when the focus is elsewhere.
  BOOL PressFocusedButton(MSG* pMsg);

  // Where focus that reaches the page goes now: the remembered control or the natural one; null when
  // the user can reach neither.
  HWND FocusTarget() const;

  // The page's window for the hand-offs of its workers: set at creation, cleared at destruction.
  std::atomic<HWND> m_hWndHandoff;
  // The control that had the focus when the frame was last deactivated; may be gone or hidden since.
  HWND m_hWndLastFocus;
};

// Waits for a worker thread to end, dispatching the messages that other threads send to this one
// meanwhile (a worker that sends to a window of this thread is never left waiting). TRUE when it
// ended within nTimeoutMs (INFINITE waits without a limit).
BOOL WaitForWorker(HANDLE hThread, DWORD nTimeoutMs);
