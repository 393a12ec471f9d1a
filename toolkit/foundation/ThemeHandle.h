// One visual-style theme-data handle, closed with its holder.
#pragma once

#include "VisualStyles.h"

class CXTThemeHandle {
 public:
  // Works through pStyles, the process's binding when NULL. Holds no handle at first.
  explicit CXTThemeHandle(CXTVisualStyles* pStyles = nullptr);
  virtual ~CXTThemeHandle();
  CXTThemeHandle(const CXTThemeHandle&) = delete;
  CXTThemeHandle& operator=(const CXTThemeHandle&) = delete;

  HTHEME GetHandle() const { return m_hTheme; }

  // Closes the held handle, then keeps the newly opened one (NULL on failure).
  void OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
  void CloseThemeData();
  // FALSE when no handle is held.
  BOOL IsAppThemed();
  HRESULT DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect, const RECT* pClipRect);
  HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor);
  HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                              int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);

 private:
  CXTVisualStyles* m_pStyles;
  HTHEME m_hTheme = nullptr;
};
