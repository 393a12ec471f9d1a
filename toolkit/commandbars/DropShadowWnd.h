// CXTPDropShadowWnd: one shadow strip along the right or the bottom side of an open popup (or of a
// control whose popup is open). With layered windows it is 4 pixels thick and drawn with per-pixel
// alpha; otherwise a 2-pixel solid strip. It follows its owner bar's window through a subclass hook.
// Made and touched only by the user-interface thread, through CXTPDropShadows.
#pragma once

#include "BarHooks.h"

class CXTPCommandBar;

class CXTPDropShadowWnd : public CWnd, public CXTPHookSink {
 public:
  enum { xtpShadowRight = 0, xtpShadowBottom = 1 };

  CXTPDropShadowWnd(int nOrientation, BOOL bFlat, CXTPCommandBar* pOwnerBar);

  // The premultiplied pixels of a strip cx by cy (a 32-bit bottom-up bitmap: row 0 is the bottom one)
  // for a bottom strip or a right strip in the shadow colour. Every write stays inside the cx * cy
  // pixels, whatever the size; a colour channel never exceeds its pixel's alpha.
  static void PASCAL FillShadowBits(DWORD* pBits, int cx, int cy, BOOL bBottom, COLORREF clrShadow,
                                    BOOL bFlat);

  BOOL IsBottom() const { return m_nOrientation == xtpShadowBottom; }
  CXTPCommandBar* GetOwnerBar() const { return m_pOwnerBar; }
  void SetOwnerBar(CXTPCommandBar* pBar) { m_pOwnerBar = pBar; }
  // Creates the window when needed; FALSE when that fails.
  BOOL CreateShadowWindow(CWnd* pOwnerSite, BOOL bLayered);
  // Cuts a screen rectangle out of the strip's window region (what is already cut stays cut).
  void ExcludeRect(CRect rcScreen);

  // Follows the owner bar's window: hidden and shown with it, destroyed with it.
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

 protected:
  void PostNcDestroy() override {}
  // The layered form: the pixels of FillShadowBits given to UpdateLayeredWindow.
  void UpdateLayeredShadow(int cx, int cy);

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnNcHitTest(CPoint point);

  int m_nOrientation;
  BOOL m_bFlat;
  CXTPCommandBar* m_pOwnerBar;

  DECLARE_MESSAGE_MAP()
};
