// The operating-system version, read once when first asked and never refreshed, with the tests the
// toolkit makes of it.
#pragma once

#include <afxwin.h>

class CXTOSVersionInfo {
 public:
  // Tests over a given record.
  explicit CXTOSVersionInfo(const OSVERSIONINFOW& info) : m_info(info) {}

  const OSVERSIONINFOW& GetWindowsVersionInfo() const { return m_info; }

  BOOL IsWin95() const;
  BOOL IsWin98() const;
  BOOL IsWinNT4() const;
  BOOL IsWin2K() const;
  BOOL IsWinXP() const;
  BOOL IsWin2KOrGreater() const;
  // Major and minor both equal.
  BOOL IsWinVersion(DWORD dwMajor, DWORD dwMinor) const;

 private:
  OSVERSIONINFOW m_info;
};

// The process's record, filled from the system on first use.
CXTOSVersionInfo* AFXAPI XTOSVersionInfo();
const OSVERSIONINFOW& AFXAPI GetWindowsVersionInfo();
