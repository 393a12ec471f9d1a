// Multi-monitor work areas through USER32 entry points bound on first use; the system work area
// where the system has no multi-monitor functions.
#pragma once

#include <afxwin.h>

class CXTPMonitorApi {
 public:
  CXTPMonitorApi() = default;
  CXTPMonitorApi(const CXTPMonitorApi&) = delete;
  CXTPMonitorApi& operator=(const CXTPMonitorApi&) = delete;

  CRect GetWorkArea(const RECT& rect);
  CRect GetWorkArea(const CWnd* pWnd);
  CRect GetWorkArea(const POINT& point);

 private:
  typedef int(WINAPI* PFNGETSYSTEMMETRICS)(int);
  typedef HMONITOR(WINAPI* PFNMONITORFROMWINDOW)(HWND, DWORD);
  typedef HMONITOR(WINAPI* PFNMONITORFROMRECT)(LPCRECT, DWORD);
  typedef HMONITOR(WINAPI* PFNMONITORFROMPOINT)(POINT, DWORD);
  typedef BOOL(WINAPI* PFNGETMONITORINFO)(HMONITOR, LPMONITORINFO);

  // Binds once; all five entries or none.
  BOOL Bind();
  CRect WorkAreaOf(HMONITOR hMonitor);

  BOOL m_bBindTried = FALSE;
  PFNGETSYSTEMMETRICS m_pfnGetSystemMetrics = nullptr;
  PFNMONITORFROMWINDOW m_pfnMonitorFromWindow = nullptr;
  PFNMONITORFROMRECT m_pfnMonitorFromRect = nullptr;
  PFNMONITORFROMPOINT m_pfnMonitorFromPoint = nullptr;
  PFNGETMONITORINFO m_pfnGetMonitorInfo = nullptr;
};

CXTPMonitorApi* AFXAPI XTPMonitorApi();
