// CXTPDropShadows: the soft shadows that open popups (and, in flat themes, some controls) cast on their
// right and bottom sides. One process-wide object that creates, places, joins and removes the strips.
// User-interface thread only.
#pragma once

#include <afxwin.h>

class CXTPCommandBar;
class CXTPControl;
class CXTPDropShadowWnd;

class CXTPDropShadows {
 public:
  CXTPDropShadows();
  CXTPDropShadows(const CXTPDropShadows&) = delete;
  CXTPDropShadows& operator=(const CXTPDropShadows&) = delete;

  static CXTPDropShadows* PASCAL GetInstance();

  // Two strips (bottom, right) for the bar's window, keeping clear of the exclude rectangle (screen).
  // Nothing in customize mode; a theme that is not flat casts shadows only with layered windows and
  // the system's drop-shadow setting on.
  void AddShadow(CXTPCommandBar* pBar, LPCRECT lprcExclude = nullptr);
  // Two strips for the control's rectangle, owned by the bar the control opens; flat themes only.
  void AddControlShadow(CXTPControl* pControl);
  // Every strip the bar owns goes.
  void RemoveShadows(CXTPCommandBar* pBar);
  // One strip (orientation 1 bottom, 0 right) for the rectangle; NULL when the bar's theme casts no
  // shadows or the window cannot be made.
  CXTPDropShadowWnd* CreateShadow(int nOrientation, CRect rc, LPCRECT lprcExclude, CXTPCommandBar* pOwnerBar);
  void DestroyShadow(CXTPDropShadowWnd* pShadow);

  BOOL IsLayered() const { return m_bLayered; }
  // Strip thickness: 4 with layered windows, 2 without.
  int GetThickness() const { return m_bLayered ? 4 : 2; }
  int GetShadowCount() const { return static_cast<int>(m_arrShadows.GetSize()); }
  CXTPDropShadowWnd* GetShadowAt(int nIndex) const { return m_arrShadows[nIndex]; }

  typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);
  PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayeredWindow; }

 private:
  PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
  BOOL m_bLayered = FALSE;
  CArray<CXTPDropShadowWnd*, CXTPDropShadowWnd*> m_arrShadows;
};
