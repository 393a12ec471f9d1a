// The binding to UxTheme: the library is loaded once and every entry point is looked up by name on
// its first use, so that the program runs (with classic drawing) where visual styles do not exist.
#pragma once

#include <afxwin.h>
#include <uxtheme.h>

// User-interface thread only; the entry-point cache is not guarded.
class CXTVisualStyles {
 public:
  // The system's UxTheme and the common-controls version of the running process.
  CXTVisualStyles();
  // A binding to another library (which may not exist) and a given common-controls version
  // (major << 16 | minor, 0 when unknown).
  CXTVisualStyles(LPCWSTR lpszUxThemeModule, DWORD dwComCtlVersion);
  ~CXTVisualStyles();
  CXTVisualStyles(const CXTVisualStyles&) = delete;
  CXTVisualStyles& operator=(const CXTVisualStyles&) = delete;

  HMODULE GetModuleHandle() const { return m_hUxTheme; }
  DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }

  // UxTheme is loaded, a theme is active and the common controls are version 6 or later.
  BOOL IsVisualStyleActive();

  // The UxTheme functions of the same names. Each fails quietly (E_FAIL, FALSE or NULL) when the
  // library or the entry is missing, or when the call faults inside the library (the fault ends that
  // call only; callers then draw in the classic way).
  BOOL IsThemeActive();
  BOOL IsAppThemed();
  HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
  HRESULT CloseThemeData(HTHEME hTheme);
  HRESULT DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                              const RECT* pClipRect);
  HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
  HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                              int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);

 private:
  enum Entry {
    entryIsThemeActive,
    entryIsAppThemed,
    entryOpenThemeData,
    entryCloseThemeData,
    entryDrawThemeBackground,
    entryGetThemeColor,
    entryGetCurrentThemeName,
    entryCount
  };
  // The cached entry, looked up on the first call; NULL when the library or the entry is missing.
  FARPROC GetEntry(Entry nEntry);

  HMODULE m_hUxTheme = nullptr;
  DWORD m_dwComCtlVersion = 0;
  FARPROC m_entries[entryCount] = {};
  BOOL m_bLookedUp[entryCount] = {};
};

// The process's binding, made on first use and kept until exit.
CXTVisualStyles* AFXAPI XTVisualStyles();

// The process's visual-style state. (UxTheme's own IsThemeActive is reached through
// XTVisualStyles()->IsThemeActive(), so that its name stays free for the system header.)
BOOL AFXAPI IsVisualStyleActive();
