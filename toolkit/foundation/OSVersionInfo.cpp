// Version tests over the cached version record.
#include "OSVersionInfo.h"

#include "SystemQueries.h"

BOOL CXTOSVersionInfo::IsWin95() const {
  return m_info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && m_info.dwMajorVersion == 4 &&
         m_info.dwMinorVersion < 10;
}

BOOL CXTOSVersionInfo::IsWin98() const {
  return m_info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && m_info.dwMajorVersion == 4 &&
         m_info.dwMinorVersion == 10;
}

BOOL CXTOSVersionInfo::IsWinNT4() const {
  return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion == 4 &&
         m_info.dwMinorVersion == 0;
}

BOOL CXTOSVersionInfo::IsWin2K() const {
  return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion == 5 &&
         m_info.dwMinorVersion == 0;
}

BOOL CXTOSVersionInfo::IsWinXP() const {
  return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion == 5 &&
         m_info.dwMinorVersion == 1;
}

BOOL CXTOSVersionInfo::IsWin2KOrGreater() const {
  return m_info.dwPlatformId >= VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion >= 5;
}

BOOL CXTOSVersionInfo::IsWinVersion(DWORD dwMajor, DWORD dwMinor) const {
  return m_info.dwMajorVersion == dwMajor && m_info.dwMinorVersion == dwMinor;
}

CXTOSVersionInfo* AFXAPI XTOSVersionInfo() {
  static CXTOSVersionInfo versionInfo([] {
    OSVERSIONINFOW info;
    XTPSystemQueries()->GetVersionInfo(&info);
    return info;
  }());
  return &versionInfo;
}

const OSVERSIONINFOW& AFXAPI GetWindowsVersionInfo() { return XTOSVersionInfo()->GetWindowsVersionInfo(); }

namespace {
// The record is filled when the program starts and never refreshed.
[[maybe_unused]] const CXTOSVersionInfo* g_pReadAtStart = XTOSVersionInfo();
}  // namespace
