// The toolkit's one window onto the system's look: system colours, display depth, the extent of the
// screen, the visual-style state and name, the version records and the system cursors. Every theme
// and colour decision of the toolkit asks through here, so that each look the toolkit tells apart can
// be reproduced in tests.
#pragma once

#include <afxwin.h>

class CXTPSystemQueries {
 public:
  virtual ~CXTPSystemQueries() = default;

  virtual COLORREF GetSysColor(int nIndex);
  // Bits per pixel of hDC, or of the desktop's DC when hDC is NULL.
  virtual int GetDeviceBitsPerPixel(HDC hDC);
  // The virtual screen (every monitor) in screen coordinates; it starts left of or above the primary
  // monitor's origin when a monitor lies there.
  virtual CRect GetVirtualScreen();
  // The visual-style state as UxTheme reports it (FALSE where UxTheme does not exist).
  virtual BOOL IsThemeActive();
  // File and colour-scheme names of the running visual style; E_FAIL where there is none.
  virtual HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                      int cchMaxColorChars);
  // A colour of a visual-style class opened without a window; FALSE when the class or colour is missing.
  virtual BOOL GetThemeClassColor(LPCWSTR pszClassList, int iPartId, int iStateId, int iPropId,
                                  COLORREF* pColor);
  // The operating system's version record (GetVersionExW).
  virtual void GetVersionInfo(OSVERSIONINFOW* pInfo);
  // comctl32's DllGetVersion as (major << 16) | minor; FALSE when the library or entry is missing.
  virtual BOOL GetComCtlVersion(DWORD* pdwVersion);
  // A system cursor (IDC_*); NULL when the system has none of that id.
  virtual HCURSOR LoadSystemCursor(LPCWSTR lpszCursor);

  // The queries in force (the system's own unless a test installed others). SetSystemQueries does not
  // take ownership and returns the previous object; NULL restores the system's.
  static CXTPSystemQueries* PASCAL Get();
  static CXTPSystemQueries* PASCAL SetSystemQueries(CXTPSystemQueries* pQueries);
};

inline CXTPSystemQueries* XTPSystemQueries() { return CXTPSystemQueries::Get(); }
