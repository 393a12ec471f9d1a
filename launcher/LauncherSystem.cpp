// The launcher's services as the real Win32 and C runtime calls.
#include "LauncherSystem.h"

#include <shellapi.h>

#include <io.h>

#include "LauncherMessageBox.h"

namespace {

class CWin32LauncherSystem : public CLauncherSystem {
 public:
  LONG OpenKey(HKEY hKey, LPCWSTR lpszSubKey, REGSAM samDesired, PHKEY phkResult) override {
    return ::RegOpenKeyExW(hKey, lpszSubKey, 0, samDesired, phkResult);
  }
  LONG QueryValue(HKEY hKey, LPCWSTR lpszValueName, LPDWORD lpType, LPBYTE lpData,
                  LPDWORD lpcbData) override {
    return ::RegQueryValueExW(hKey, lpszValueName, nullptr, lpType, lpData, lpcbData);
  }
  LONG EnumKey(HKEY hKey, DWORD dwIndex, LPWSTR lpszName, LPDWORD lpcchName) override {
    FILETIME ftLastWrite;
    return ::RegEnumKeyExW(hKey, dwIndex, lpszName, lpcchName, nullptr, nullptr, nullptr, &ftLastWrite);
  }
  LONG CloseKey(HKEY hKey) override { return ::RegCloseKey(hKey); }

  DWORD ReadEnvironmentVariable(LPCWSTR lpszName, LPWSTR lpszBuffer, DWORD nSize) override {
    return ::GetEnvironmentVariableW(lpszName, lpszBuffer, nSize);
  }
  BOOL WriteEnvironmentVariable(LPCWSTR lpszName, LPCWSTR lpszValue) override {
    return ::SetEnvironmentVariableW(lpszName, lpszValue);
  }
  DWORD ReadCurrentDirectory(DWORD nBufferLength, LPWSTR lpszBuffer) override {
    return ::GetCurrentDirectoryW(nBufferLength, lpszBuffer);
  }

  BOOL FileExists(LPCWSTR lpszPath) override { return _waccess(lpszPath, 0) == 0; }
  HINSTANCE ShellOpen(LPCWSTR lpszVerb, LPCWSTR lpszFile) override {
    return ::ShellExecuteW(nullptr, lpszVerb, lpszFile, nullptr, nullptr, SW_SHOWNORMAL);
  }
  int ShowMessage(const CString& strText, UINT nType) override { return LauncherMessageBox(strText, nType); }
};

}  // namespace

CLauncherSystem& CLauncherSystem::Win32() {
  static CWin32LauncherSystem system;
  return system;
}
