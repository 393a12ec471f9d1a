// The system's own answers to the toolkit's queries.
#include "SystemQueries.h"

#include <shlwapi.h>

#include "ThemeHandle.h"
#include "VisualStyles.h"

namespace {
CXTPSystemQueries* g_pInstalled = nullptr;
}  // namespace

COLORREF CXTPSystemQueries::GetSysColor(int nIndex) { return ::GetSysColor(nIndex); }

int CXTPSystemQueries::GetDeviceBitsPerPixel(HDC hDC) {
  if (hDC != nullptr) return ::GetDeviceCaps(hDC, BITSPIXEL);
  HDC hScreen = ::GetDC(nullptr);
  int nBits = hScreen != nullptr ? ::GetDeviceCaps(hScreen, BITSPIXEL) : 0;
  if (hScreen != nullptr) ::ReleaseDC(nullptr, hScreen);
  return nBits;
}

CRect CXTPSystemQueries::GetVirtualScreen() {
  const CPoint ptOrigin(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN));
  const CSize szVirtual(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (szVirtual.cx <= 0 || szVirtual.cy <= 0)
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  return CRect(ptOrigin, szVirtual);
}

BOOL CXTPSystemQueries::IsThemeActive() { return XTVisualStyles()->IsThemeActive(); }

HRESULT CXTPSystemQueries::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                               LPWSTR pszColorBuff, int cchMaxColorChars) {
  CXTThemeHandle theme;
  return theme.GetCurrentThemeName(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, nullptr,
                                   0);
}

BOOL CXTPSystemQueries::GetThemeClassColor(LPCWSTR pszClassList, int iPartId, int iStateId, int iPropId,
                                           COLORREF* pColor) {
  CXTThemeHandle theme;
  theme.OpenThemeData(nullptr, pszClassList);
  if (theme.GetHandle() == nullptr) return FALSE;
  return SUCCEEDED(theme.GetThemeColor(iPartId, iStateId, iPropId, pColor));
}

void CXTPSystemQueries::GetVersionInfo(OSVERSIONINFOW* pInfo) {
  ZeroMemory(pInfo, sizeof(OSVERSIONINFOW));
  pInfo->dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ::GetVersionExW(pInfo);
#pragma GCC diagnostic pop
}

BOOL CXTPSystemQueries::GetComCtlVersion(DWORD* pdwVersion) {
  HMODULE hComCtl = ::LoadLibraryW(L"COMCTL32.DLL");
  if (hComCtl == nullptr) return FALSE;
  BOOL bResult = FALSE;
  auto pfnGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(::GetProcAddress(hComCtl, "DllGetVersion")));
  if (pfnGetVersion != nullptr) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(pfnGetVersion(&info))) {
      *pdwVersion = MAKELONG(info.dwMinorVersion & 0xFFFF, info.dwMajorVersion);
      bResult = TRUE;
    }
  }
  ::FreeLibrary(hComCtl);
  return bResult;
}

HCURSOR CXTPSystemQueries::LoadSystemCursor(LPCWSTR lpszCursor) { return ::LoadCursorW(nullptr, lpszCursor); }

CXTPSystemQueries* PASCAL CXTPSystemQueries::Get() {
  static CXTPSystemQueries systemQueries;
  return g_pInstalled != nullptr ? g_pInstalled : &systemQueries;
}

CXTPSystemQueries* PASCAL CXTPSystemQueries::SetSystemQueries(CXTPSystemQueries* pQueries) {
  CXTPSystemQueries* pOld = g_pInstalled;
  g_pInstalled = pQueries;
  return pOld;
}
