// Work areas of the monitor that holds a rectangle, window or point.
#include "MonitorApi.h"

#include "SystemQueries.h"

namespace {
template <class T>
T EntryAs(FARPROC pfn) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}
}  // namespace

BOOL CXTPMonitorApi::Bind() {
  if (m_bBindTried) return m_pfnGetMonitorInfo != nullptr;
  m_bBindTried = TRUE;
  OSVERSIONINFOW info;
  XTPSystemQueries()->GetVersionInfo(&info);
  HMODULE hUser = ::GetModuleHandleW(L"USER32.DLL");
  if (hUser == nullptr) return FALSE;
  if ((m_pfnGetSystemMetrics = EntryAs<PFNGETSYSTEMMETRICS>(::GetProcAddress(hUser, "GetSystemMetrics"))) &&
      (m_pfnMonitorFromWindow =
           EntryAs<PFNMONITORFROMWINDOW>(::GetProcAddress(hUser, "MonitorFromWindow"))) &&
      (m_pfnMonitorFromRect = EntryAs<PFNMONITORFROMRECT>(::GetProcAddress(hUser, "MonitorFromRect"))) &&
      (m_pfnMonitorFromPoint = EntryAs<PFNMONITORFROMPOINT>(::GetProcAddress(hUser, "MonitorFromPoint"))) &&
      (m_pfnGetMonitorInfo = EntryAs<PFNGETMONITORINFO>(::GetProcAddress(
           hUser, info.dwPlatformId == VER_PLATFORM_WIN32_NT ? "GetMonitorInfoW" : "GetMonitorInfoA")))) {
    return TRUE;
  }
  m_pfnGetSystemMetrics = nullptr;
  m_pfnMonitorFromWindow = nullptr;
  m_pfnMonitorFromRect = nullptr;
  m_pfnMonitorFromPoint = nullptr;
  m_pfnGetMonitorInfo = nullptr;
  return FALSE;
}

CRect CXTPMonitorApi::WorkAreaOf(HMONITOR hMonitor) {
  if (hMonitor != nullptr) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (m_pfnGetMonitorInfo(hMonitor, &info)) return CRect(info.rcWork);
  }
  CRect rc(0, 0, 0, 0);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
  return rc;
}

CRect CXTPMonitorApi::GetWorkArea(const RECT& rect) {
  return WorkAreaOf(Bind() ? m_pfnMonitorFromRect(&rect, 0) : nullptr);
}

CRect CXTPMonitorApi::GetWorkArea(const CWnd* pWnd) {
  return WorkAreaOf(Bind() ? m_pfnMonitorFromWindow(pWnd->GetSafeHwnd(), 0) : nullptr);
}

CRect CXTPMonitorApi::GetWorkArea(const POINT& point) {
  return WorkAreaOf(Bind() ? m_pfnMonitorFromPoint(point, 0) : nullptr);
}

CXTPMonitorApi* AFXAPI XTPMonitorApi() {
  static CXTPMonitorApi monitorApi;
  return &monitorApi;
}
