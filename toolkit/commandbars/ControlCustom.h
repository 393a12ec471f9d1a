// CXTPControlCustom: a window of the application hosted on a bar (control type 7; its Type stays 1).
// The control re-parents the window to the bar and places it; in vertical bars it hides, stays, or
// stays as a plain button by its vertical options. Mouse moves over the window reach the bar, so hot
// tracking goes on. The window belongs to the application; copies refer to the same window.
// User-interface thread only.
#pragma once

#include "BarHooks.h"
#include "ControlButton.h"

class CXTPControlCustom : public CXTPControlButton, public CXTPHookSink {
  DECLARE_SERIAL(CXTPControlCustom)

 public:
  CXTPControlCustom();
  ~CXTPControlCustom() override;

  void SetEnabled(BOOL bEnabled) override;
  void SetRect(CRect rcControl) override;
  void SetHideFlags(DWORD dwFlags) override;
  CSize GetSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  BOOL CanCustomizeDrop(CXTPCommandBar* pCommandBar, CPoint point, DROPEFFECT& dropEffect,
                        BOOL bExtra = FALSE) override;
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

  // The hosted window (NULL for none); its size, when not given, is its current window size.
  void SetControl(CWnd* pWnd);
  HWND GetControlWindow() const { return m_hwndControl; }
  void SetSize(CSize sz) { m_szControl = sz; }
  CSize GetControlSize() const { return m_szControl; }
  void SetBorders(CRect rcBorders) { m_rcBorders = rcBorders; }
  CRect GetBorders() const { return m_rcBorders; }
  // 0 hide the control in vertical bars, 1 keep it and its window, 2 keep it as a button.
  void SetVerticalOptions(int nOptions) { m_nVerticalOptions = nOptions; }
  int GetVerticalOptions() const { return m_nVerticalOptions; }
  int GetControlId() const { return m_nControlId; }
  BOOL IsWindowShown() const;

 protected:
  void ShowHostedWindow();
  // After loading: the window with the stored dialog id in the site, else in each bar.
  void FindWindowById();

  HWND m_hwndHooked = nullptr;
  CRect m_rcBorders = CRect(0, 0, 0, 0);
  BOOL m_bControlVisible = TRUE;
  CSize m_szControl = CSize(0, 0);
  int m_nVerticalOptions = 0;
  int m_nControlId = 0;
  HWND m_hwndControl = nullptr;
};
